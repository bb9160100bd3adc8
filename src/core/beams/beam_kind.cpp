#include "core/beams/beam_kind.h"

#include "core/linac/energy.h"

#include <array>

namespace kova {
namespace {

constexpr std::array<BeamKind, 4> kKinds = {BeamKind::Photon, BeamKind::PhotonOpenWedged,
                                            BeamKind::Electron, BeamKind::TotalBody};

} // namespace

std::string BeamKindText(BeamKind kind) {
    switch (kind) {
    case BeamKind::Photon:
        return "Photon Beam";
    case BeamKind::PhotonOpenWedged:
        return "Photon Open/Wedged Beam";
    case BeamKind::Electron:
        return "Electron Beam";
    case BeamKind::TotalBody:
        return "Total Body Irradiation";
    }
    return "";
}

std::optional<BeamKind> BeamKindFromText(std::string_view text) {
    for (const BeamKind kind : kKinds) {
        if (text == BeamKindText(kind)) {
            return kind;
        }
    }
    return std::nullopt;
}

std::vector<BeamKind> KindsOffered(const TgEnergy* photon, bool hasElectronEnergies) {
    std::vector<BeamKind> kinds;
    if (photon != nullptr) {
        kinds.push_back(BeamKind::Photon);
        if (photon->OpenWedgeMUSupported) {
            kinds.push_back(BeamKind::PhotonOpenWedged);
        }
    }
    if (hasElectronEnergies) {
        kinds.push_back(BeamKind::Electron);
    }
    if (photon != nullptr && photon->TBISupported) {
        kinds.push_back(BeamKind::TotalBody);
    }
    return kinds;
}

} // namespace kova
