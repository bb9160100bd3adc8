#include "core/workbench/treatment.h"

#include "core/beams/photon_beam.h"
#include "core/text/number_text.h"

#include <algorithm>

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

TTreatment::TTreatment() = default;
TTreatment::~TTreatment() = default;

const TgEnergy* TTreatment::PhotonEnergy() const {
    return kind == BeamKind::Electron ? nullptr : gEnergy;
}

const TEnergy* TTreatment::Energy() const {
    if (kind == BeamKind::Electron) {
        return eEnergy;
    }
    return gEnergy;
}

std::vector<std::string> TTreatment::InformationLines() const {
    std::vector<std::string> lines;
    if (linac == nullptr || Energy() == nullptr) {
        return lines;
    }
    lines.push_back("Machine = " + linac->Name);
    for (const std::string& line : Energy()->DescribeInTree()) {
        lines.push_back(line);
    }
    lines.push_back("SAD = " + FormatGeneral(linac->SAD) + " cm");
    lines.push_back(DoseLine());
    return lines;
}

std::string TTreatment::DoseLine() const {
    return "Dose = " + FormatGeneral(doseTotal) + " cGy";
}

std::unique_ptr<TBeam> TTreatment::CreateBeam(const std::string& beamName) const {
    std::unique_ptr<TBeam> beam;
    if (kind == BeamKind::Photon && PhotonEnergy() != nullptr && linac != nullptr) {
        beam = std::make_unique<TPhotonBeam>(beamName);
    }
    if (beam) {
        beam->treatment = this;
    }
    return beam;
}

TBeam& TTreatment::AddBeam(std::unique_ptr<TBeam> beam) {
    beam->treatment = this;
    beams.push_back(std::move(beam));
    RecomputeDoseTotal();
    return *beams.back();
}

bool TTreatment::DeleteBeam(const TBeam* beam) {
    const auto it = std::find_if(beams.begin(), beams.end(),
                                 [beam](const auto& owned) { return owned.get() == beam; });
    if (it == beams.end()) {
        return false;
    }
    beams.erase(it);
    RecomputeDoseTotal();
    return true;
}

void TTreatment::RecomputeDoseTotal() {
    doseTotal = 0;
    for (const auto& beam : beams) {
        doseTotal += beam->TotalDose();
    }
}

} // namespace kova
