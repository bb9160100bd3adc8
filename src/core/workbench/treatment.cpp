#include "core/workbench/treatment.h"

#include "core/text/number_text.h"

#include <algorithm>

namespace kova {

TTreatment::TTreatment() = default;
TTreatment::~TTreatment() = default;

const TgEnergy* TTreatment::PhotonEnergy() const {
    return KindInfo(kind).electron ? nullptr : gEnergy;
}

const TEnergy* TTreatment::Energy() const {
    if (KindInfo(kind).electron) {
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
    return "Dose = " + FormatGeneral(DoseTotal()) + " cGy";
}

BeamMachine TTreatment::Machine() const {
    return {linac, PhotonEnergy(), KindInfo(kind).electron ? eEnergy : nullptr};
}

std::unique_ptr<TBeam> TTreatment::CreateBeam(const std::string& beamName) const {
    return kova::CreateBeam(kind, beamName, Machine());
}

TBeam& TTreatment::AddBeam(std::unique_ptr<TBeam> beam) {
    beam->machine = Machine();
    beams.push_back(std::move(beam));
    return *beams.back();
}

bool TTreatment::DeleteBeam(const TBeam* beam) {
    const auto it = std::find_if(beams.begin(), beams.end(),
                                 [beam](const auto& owned) { return owned.get() == beam; });
    if (it == beams.end()) {
        return false;
    }
    beams.erase(it);
    return true;
}

double TTreatment::DoseTotal() const {
    double total = 0;
    for (const auto& beam : beams) {
        total += beam->TotalDose();
    }
    return total;
}

} // namespace kova

namespace kova {
namespace {

template <class T>
bool Holds(const EntryList<T>& list, const TEnergy& energy) {
    return std::any_of(list.begin(), list.end(),
                       [&energy](const auto& owned) { return owned.get() == &energy; });
}

} // namespace

Result<std::unique_ptr<TTreatment>> MakeTreatment(const std::string& name, const TLinacSpec& linac,
                                                  BeamKind kind, const TEnergy& energy) {
    using Made = Result<std::unique_ptr<TTreatment>>;
    auto treatment = std::make_unique<TTreatment>();
    treatment->name = name;
    treatment->linac = &linac;
    treatment->kind = kind;
    if (KindInfo(kind).electron) {
        if (!Holds(linac.eEnergies, energy)) {
            return Made::Fail("the linac " + linac.Name + " has no electron energy " + energy.Name);
        }
        treatment->eEnergy = static_cast<const TeEnergy*>(&energy);
        return Made(std::move(treatment));
    }
    if (!Holds(linac.gEnergies, energy)) {
        return Made::Fail("the linac " + linac.Name + " has no photon energy " + energy.Name);
    }
    const auto* photon = static_cast<const TgEnergy*>(&energy);
    if (!KindInfo(kind).offered(photon, !linac.eEnergies.empty())) {
        return Made::Fail("the energy " + energy.Name + " does not offer " + BeamKindText(kind));
    }
    treatment->gEnergy = photon;
    return Made(std::move(treatment));
}

} // namespace kova
