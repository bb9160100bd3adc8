#pragma once

#include "core/common/result.h"
#include "core/linac/energies_commands.h"
#include "core/workbench/workbench.h"

#include <string>
#include <vector>

namespace kova {

/// Who on the workbench refers to what a removal would take away, one text each in tree
/// order: `treatment "T" of patient "P"` for a treatment bound to a removed energy,
/// `beam "B" of treatment "T"` for a beam that uses a removed table entry (a beam of a
/// treatment already named is not named again).
std::vector<std::string> UsersOf(const Workbench& workbench, const EnergiesRemoval& removal);

/// Refuses a removal that a treatment or beam still refers to, naming them; a removal
/// nobody refers to is Ok. Removing it anyway would leave them pointing at nothing, or take
/// away data their MU came from.
Status CheckRemoval(const Workbench& workbench, const EnergiesRemoval& removal);

/// The table entries a beam's MU came from, each once: the entries it selected (a wedge with
/// its wedge factors), and for a beam on a photon energy every reference field with its
/// depth doses (the field factor weighs the fields around the beam's, the phantom scatter
/// and the depth dose read across them, and the smallest and largest set the field limits),
/// and the offset factors when its field is off the axis or the offset factor is applied.
std::vector<const EnergyListItem*> UsedData(const TBeam& beam);

/// Refuses a change of `entry` (captioned `what`) that a beam used, naming the beams: its
/// MU would no longer be the one its inputs give. An entry no beam used may change.
Status CheckChange(const Workbench& workbench, const EnergyListItem& entry,
                   const std::string& what);

/// What a change of a linac's data did to the beams computed on it.
struct LinacChangeOutcome {
    int computedAgain = 0;            ///< beams whose inputs gave results on the new data
    std::vector<std::string> refused; ///< `beam "B" of treatment "T": REASON` for the others
};

/// After the data of `linac` changed: every beam on it is computed again from its stored
/// inputs on `today`, as Edit and OK would compute it, so no MU of the old data stays shown.
/// A beam whose inputs the new data refuse loses its results and keeps the reason in
/// outOfDate, shown under it until an edit computes it again.
LinacChangeOutcome ComputeAgainOn(Workbench& workbench, const TLinacSpec& linac, const Date& today);

} // namespace kova
