#include "core/workbench/treatment.h"

#include "core/beams/beam.h"

namespace kova {

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

TTreatment::~TTreatment() = default;

const TgEnergy* TTreatment::PhotonEnergy() const {
    return kind == BeamKind::Electron ? nullptr : gEnergy;
}

} // namespace kova
