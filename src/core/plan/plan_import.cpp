#include "core/plan/plan_import.h"

#include "core/plan/plan_checks.h"
#include "core/plan/plan_controls.h"
#include "core/plan/plan_match.h"
#include "core/text/cp1252.h"
#include "core/text/number_text.h"

#include <algorithm>

namespace kova {
namespace {

std::string Cp(const std::string& utf8) {
    return Utf8ToCp1252Lossy(utf8);
}

/// The beam with its texts in the linac files' encoding, so that names compare.
PlanBeam InLinacEncoding(PlanBeam beam) {
    for (std::string* text : {&beam.name, &beam.machine}) {
        *text = Cp(*text);
    }
    for (PlanWedge& wedge : beam.wedges) {
        wedge.ID = Cp(wedge.ID);
    }
    for (PlanBlock& block : beam.blocks) {
        block.name = Cp(block.name);
        block.trayID = Cp(block.trayID);
    }
    for (PlanApplicator& applicator : beam.applicators) {
        applicator.ID = Cp(applicator.ID);
        applicator.description = Cp(applicator.description);
    }
    return beam;
}

std::string TitleOf(const PlanBeam& beam, std::size_t index) {
    if (!beam.name.empty()) {
        return beam.name;
    }
    return "Beam " + std::to_string(beam.number ? *beam.number : static_cast<int>(index + 1));
}

std::vector<std::string> LinacNames(const std::vector<std::unique_ptr<TLinacSpec>>& linacs) {
    std::vector<std::string> names;
    for (const auto& linac : linacs) {
        names.push_back(linac->Name);
    }
    return names;
}

const TLinacSpec* FindLinac(const PlanBeam& beam,
                            const std::vector<std::unique_ptr<TLinacSpec>>& linacs,
                            const PlanAnswers& answers, ImportedBeam& imported) {
    if (!answers.linac.empty()) {
        for (const auto& linac : linacs) {
            if (linac->Name == answers.linac) {
                return linac.get();
            }
        }
    } else if (const TLinacSpec* linac = MatchMachine(beam.machine, linacs)) {
        return linac;
    }
    const std::vector<std::string> names = LinacNames(linacs);
    if (names.empty()) {
        imported.refusal = "no linac is loaded";
        return nullptr;
    }
    imported.questions.push_back(
        {PlanPick::Machine, beam.machine, names,
         "the plan's machine '" + beam.machine +
             "' is no linac of the linac folder (linacs: " + JoinNames(names) + ")"});
    return nullptr;
}

std::vector<std::string> EnergyNames(const std::vector<const TEnergy*>& energies) {
    std::vector<std::string> names;
    for (const TEnergy* energy : energies) {
        names.push_back(energy->Name);
    }
    return names;
}

const TEnergy* FindEnergy(const PlanBeam& beam, const TLinacSpec& linac, const PlanAnswers& answers,
                          ImportedBeam& imported) {
    const bool electron = beam.radiationType == "ELECTRON";
    const std::vector<const TEnergy*> all = EnergiesOf(linac, electron);
    const char* kind = electron ? "electron" : "photon";
    const std::optional<double> nominal = beam.controlPoints.front().nominalEnergy;
    if (!nominal) {
        imported.refusal = "the first control point gives no NominalBeamEnergy";
        return nullptr;
    }
    if (all.empty()) {
        imported.refusal = "the linac " + linac.Name + " has no " + kind + " energy";
        return nullptr;
    }
    for (const TEnergy* energy : all) {
        if (!answers.energy.empty() && energy->Name == answers.energy) {
            return energy;
        }
    }
    const std::vector<const TEnergy*> matches = EnergiesAt(linac, electron, *nominal);
    if (answers.energy.empty() && matches.size() == 1) {
        return matches.front();
    }
    const std::string what =
        "the plan's " + FormatGeneral(*nominal) + (electron ? " MeV " : " MV ") + kind + " beam ";
    const std::vector<std::string> names = EnergyNames(matches.size() > 1 ? matches : all);
    imported.questions.push_back(
        {PlanPick::Energy, FormatGeneral(*nominal), names,
         what +
             (matches.size() > 1 ? "matches several " + std::string(kind) + " energies"
                                 : "matches no " + std::string(kind) + " energy") +
             " of " + linac.Name + " (energies: " + JoinNames(names) + ")"});
    return nullptr;
}

/// The beam's controls once its linac and energy are known.
void AddControls(const PlanBeamContext& context, const TEnergy& energy, ImportedBeam& imported) {
    AddControl(imported, "Linac", context.linac.Name);
    AddControl(imported, "Energy", energy.Name);
    AddControl(imported, "BeamKind", BeamKindText(imported.kind));
    Status added = Status::Ok();
    if (imported.kind == BeamKind::Electron) {
        added = AddElectronControls(context, static_cast<const TeEnergy&>(energy), imported);
    } else if (imported.kind == BeamKind::Dynamic) {
        added = AddDynamicControls(context, static_cast<const TgEnergy&>(energy), imported);
    } else {
        added = AddPhotonControls(context, static_cast<const TgEnergy&>(energy), imported);
    }
    if (!added) {
        imported.refusal = added.reason();
        imported.questions.clear();
    }
}

} // namespace

std::string ImportedBeam::Problem() const {
    if (!refusal.empty()) {
        return refusal;
    }
    std::string text;
    for (const PlanQuestion& question : questions) {
        text += (text.empty() ? "" : "; ") + question.text;
    }
    return text;
}

ImportedBeam ImportPlanBeam(const PlanData& plan, std::size_t index,
                            const std::vector<std::unique_ptr<TLinacSpec>>& linacs,
                            const PlanAnswers& answers, const std::string& source) {
    ImportedBeam imported;
    imported.index = index;
    if (index >= plan.beams.size()) {
        imported.refusal = "the plan has no beam " + std::to_string(index + 1);
        return imported;
    }
    const PlanBeam beam = InLinacEncoding(plan.beams[index]);
    imported.title = TitleOf(beam, index);
    imported.block = {source, imported.title, 0, {}};
    const bool dynamic = MovesBetweenControlPoints(beam);
    const Status checked =
        dynamic ? CheckDynamicTreatmentBeam(beam) : CheckStaticTreatmentBeam(beam);
    if (!checked) {
        imported.refusal = checked.reason();
        return imported;
    }
    const Result<PlanBeamDose> dose = BeamDoseOf(plan, beam);
    if (!dose) {
        imported.refusal = dose.reason();
        return imported;
    }
    imported.kind = dynamic                            ? BeamKind::Dynamic
                    : beam.radiationType == "ELECTRON" ? BeamKind::Electron
                                                       : BeamKind::Photon;
    imported.linac = FindLinac(beam, linacs, answers, imported);
    if (imported.linac == nullptr) {
        return imported;
    }
    imported.energy = FindEnergy(beam, *imported.linac, answers, imported);
    if (imported.energy == nullptr) {
        return imported;
    }
    const PlanBeamContext context{plan,  beam,    Cp(plan.label), *imported.linac,
                                  *dose, answers, imported.title};
    AddControls(context, *imported.energy, imported);
    return imported;
}

std::vector<ImportedBeam> ImportPlan(const PlanData& plan,
                                     const std::vector<std::unique_ptr<TLinacSpec>>& linacs,
                                     const std::string& source) {
    std::vector<ImportedBeam> beams;
    for (std::size_t i = 0; i < plan.beams.size(); ++i) {
        beams.push_back(ImportPlanBeam(plan, i, linacs, {}, source));
    }
    return beams;
}

PlanPatient PlanPatientOf(const PlanData& plan) {
    return {Cp(PlanPatientName(plan.patientName)), Cp(plan.patientID)};
}

std::string PlanPatientName(const std::string& dicomName) {
    // Only the alphabetic group: ideographic and phonetic forms follow after "=".
    const std::string alphabetic = dicomName.substr(0, dicomName.find('='));
    std::string name;
    std::size_t start = 0;
    while (start <= alphabetic.size()) {
        const std::size_t end = std::min(alphabetic.find('^', start), alphabetic.size());
        std::string part = alphabetic.substr(start, end - start);
        part.erase(0, part.find_first_not_of(' '));
        part.erase(part.find_last_not_of(' ') + 1);
        if (!part.empty()) {
            name += (name.empty() ? "" : " ") + part;
        }
        start = end + 1;
    }
    return name;
}

} // namespace kova
