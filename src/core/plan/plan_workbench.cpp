#include "core/plan/plan_workbench.h"

#include "core/beams/beam_form.h"
#include "core/text/cp1252.h"
#include "core/workbench/beam_input.h"

#include <algorithm>
#include <memory>
#include <tuple>

namespace kova {
namespace {

/// The new treatments of one import, found by what makes a treatment.
class PlanTreatments {
public:
    explicit PlanTreatments(std::string label) : m_label(std::move(label)) {}

    /// The treatment of the beam's linac, energy and kind, made when it is the first.
    Result<TTreatment*> For(const ImportedBeam& beam) {
        const auto same = [&beam](const std::unique_ptr<TTreatment>& t) {
            return t->linac == beam.linac && t->Energy() == beam.energy && t->kind == beam.kind;
        };
        const auto found = std::find_if(m_made.begin(), m_made.end(), same);
        if (found != m_made.end()) {
            return found->get();
        }
        std::string name = m_label.empty() ? beam.energy->Name : m_label + " " + beam.energy->Name;
        if (KindInfo(beam.kind).fromPlanOnly) {
            // Beside the plan's static beams of the same energy.
            name += " (" + BeamKindText(beam.kind) + ")";
        }
        Result<std::unique_ptr<TTreatment>> made =
            MakeTreatment(name, *beam.linac, beam.kind, *beam.energy);
        if (!made) {
            return Result<TTreatment*>::Fail(made.reason());
        }
        m_made.push_back(std::move(made.value()));
        return m_made.back().get();
    }

    /// Moves the treatments that hold beams into `patient`, in the order they were made.
    void MoveInto(Patient& patient) {
        for (auto& treatment : m_made) {
            if (!treatment->beams.empty()) {
                patient.treatments.push_back(std::move(treatment));
            }
        }
        m_made.clear();
    }

private:
    std::string m_label;
    std::vector<std::unique_ptr<TTreatment>> m_made;
};

/// Types the beam's block into a new beam of `treatment` and presses OK; the reason when
/// either refuses it, and the beam is then removed again.
std::string AddBeam(TTreatment& treatment, const ImportedBeam& imported, const Date& today) {
    TBeam& beam = treatment.AddBeam(treatment.CreateBeam(imported.title));
    std::string reason;
    {
        // The form refers to the beam: it goes before the beam may.
        const std::unique_ptr<BeamForm> form = beam.CreateForm();
        std::vector<InputError> errors;
        if (!TypeBeamBlock(imported.block, *form, errors)) {
            reason = InputErrorsText(errors);
        } else if (const Status accepted = form->Accept(today); !accepted) {
            reason = accepted.reason();
        }
    }
    if (!reason.empty()) {
        treatment.DeleteBeam(&beam);
    }
    return reason;
}

} // namespace

std::string PlanPatientCaption(const PlanPatient& patient) {
    if (patient.name.empty()) {
        return patient.ID.empty() ? Patient{}.name : patient.ID;
    }
    return patient.ID.empty() ? patient.name : patient.name + " (" + patient.ID + ")";
}

std::vector<RefusedPlanBeam> AddPlanBeams(Patient& patient, const PlanData& plan,
                                          const std::vector<ImportedBeam>& beams,
                                          const Date& today) {
    PlanTreatments treatments(Utf8ToCp1252Lossy(plan.label));
    std::vector<RefusedPlanBeam> refused;
    for (const ImportedBeam& beam : beams) {
        if (!beam.Ready() || beam.linac == nullptr || beam.energy == nullptr) {
            refused.push_back({beam.title, beam.Ready() ? "no linac or energy" : beam.Problem()});
            continue;
        }
        const Result<TTreatment*> treatment = treatments.For(beam);
        const std::string reason =
            treatment ? AddBeam(*treatment.value(), beam, today) : treatment.reason();
        if (!reason.empty()) {
            refused.push_back({beam.title, reason});
        }
    }
    treatments.MoveInto(patient);
    return refused;
}

std::string RefusedLine(const RefusedPlanBeam& refused) {
    return refused.title + ": " + refused.reason;
}

} // namespace kova
