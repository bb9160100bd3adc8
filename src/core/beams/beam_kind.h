#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kova {

class TBeam;
class TgEnergy;

/// The beam kinds a treatment can hold, by their kind code. Everything else the program
/// knows of a kind is its row in BeamKinds().
enum class BeamKind { Photon = 0, PhotonOpenWedged = 1, Electron = 2, TotalBody = 3, Dynamic = 4 };

/// One beam kind: how it is named, which energies offer it, how large a difference from the
/// planning system's MU it tolerates, and how a beam of it is made.
struct BeamKindInfo {
    BeamKind kind;
    /// "Photon Beam": shown in the treatment dialog, written in beam files and the key of the
    /// kind in ActionLevels.ini.
    std::string_view text;
    /// Computed on an electron energy of the linac (else on a photon energy).
    bool electron = false;
    /// Default action level of the TPS MU check, percent of KOVA X's MU.
    double actionLevel = 3;
    /// Whether a treatment of the kind may be made on `photon` (null when the linac has no
    /// photon energy) on a linac with electron energies or not.
    bool (*offered)(const TgEnergy* photon, bool hasElectronEnergies) = nullptr;
    /// A new beam of the kind named `name`, outside any treatment.
    std::unique_ptr<TBeam> (*create)(const std::string& name) = nullptr;
    /// Only a plan's import makes beams of the kind (their inputs are the plan's): the
    /// treatment dialog does not offer it.
    bool fromPlanOnly = false;
};

/// Every beam kind, in code order.
const std::vector<BeamKindInfo>& BeamKinds();

/// The row of `kind`.
const BeamKindInfo& KindInfo(BeamKind kind);

/// "Photon Beam", "Photon Open/Wedged Beam", "Electron Beam", "Total Body Irradiation",
/// "IMRT/VMAT Beam".
std::string BeamKindText(BeamKind kind);

/// The kind whose text is `text`; none for any other text.
std::optional<BeamKind> BeamKindFromText(std::string_view text);

/// The kinds the treatment dialog offers for a photon energy (null when the linac has none)
/// on a linac that has electron energies or not, in code order; never a kind made only from
/// a plan.
std::vector<BeamKind> KindsOffered(const TgEnergy* photon, bool hasElectronEnergies);

} // namespace kova
