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
/// nobody refers to is Ok. Removing it anyway would leave them pointing at nothing.
Status CheckRemoval(const Workbench& workbench, const EnergiesRemoval& removal);

} // namespace kova
