#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kova {

class TgEnergy;

/// The beam kinds a treatment can hold, by their kind code.
enum class BeamKind { Photon = 0, PhotonOpenWedged = 1, Electron = 2, TotalBody = 3 };

/// "Photon Beam", "Photon Open/Wedged Beam", "Electron Beam", "Total Body Irradiation".
std::string BeamKindText(BeamKind kind);

/// The kind whose text is `text`; none for any other text.
std::optional<BeamKind> BeamKindFromText(std::string_view text);

/// The kinds offered for a photon energy (null when the linac has none) on a linac that has
/// electron energies or not, in code order: photon beams on any photon energy, open/wedged
/// beams where the energy supports their MU, electron beams where the linac has electron
/// energies, total body irradiation where the energy supports it.
std::vector<BeamKind> KindsOffered(const TgEnergy* photon, bool hasElectronEnergies);

/// True for the kinds that are computed on a photon energy.
inline bool UsesPhotonEnergy(BeamKind kind) {
    return kind != BeamKind::Electron;
}

} // namespace kova
