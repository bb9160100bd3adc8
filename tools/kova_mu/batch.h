#pragma once

#include "core/beams/photon_beam.h"
#include "core/linac/linac_spec.h"
#include "core/workbench/treatment.h"
#include "kova_mu/beam_file.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kova::mu {

/// A modifier as a beam file names it: an entry of the energy's table, or one made on the spot
/// ("NAME : FACTOR") as "Set on fly..." makes it.
struct ModifierChoice {
    const EnergyListItem* entry = nullptr;
    bool adHoc = false;
    std::string adHocName;
    double adHocFactor = 1;
};

/// A beam of a beam file checked against the linacs: what to type, in the order a user types.
struct ResolvedBeam {
    const BeamBlock* block = nullptr;
    const TLinacSpec* linac = nullptr;
    const TEnergy* energy = nullptr;
    BeamKind kind = BeamKind::Photon;
    int technique = kIsocentric;
    FieldSheet sheet = FieldSheet::Symmetric;
    /// Texts typed after the technique: beam identity and dose, the depth, the field sheet's
    /// edits (in file order), then the SSDs.
    std::vector<std::pair<PhotonControl, std::string>> typing;
    ModifierChoice wedge, tray, shield, multileaf;
    bool isOffset = false;
};

/// Checks one beam: every key known, the linac and energy found, each entry name existing.
/// Problems go to `errors` (with file, line and text); none is returned then.
std::optional<ResolvedBeam> ResolveBeam(const BeamBlock& block,
                                        const std::vector<std::unique_ptr<TLinacSpec>>& linacs,
                                        std::vector<InputError>& errors);

/// The outcome of one beam: computed, or refused with the reason.
struct BeamOutcome {
    const ResolvedBeam* resolved = nullptr;
    bool computed = false;
    std::string reason;
    std::unique_ptr<TTreatment> treatment;
    std::unique_ptr<TPhotonBeam> beam;
};

/// Types the beam into the photon beam form as a user would, then runs OK on `today`.
BeamOutcome ComputeBeam(const ResolvedBeam& resolved, const Date& today);

} // namespace kova::mu
