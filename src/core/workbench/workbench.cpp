#include "core/workbench/workbench.h"

#include "core/beams/beam.h"

namespace kova {

Patient& Workbench::AddPatient() {
    m_patients.push_back(std::make_unique<Patient>());
    return *m_patients.back();
}

bool Workbench::DeletePatient(const Patient* patient) {
    const auto it = std::find_if(m_patients.begin(), m_patients.end(),
                                 [patient](const auto& owned) { return owned.get() == patient; });
    if (it == m_patients.end()) {
        return false;
    }
    m_patients.erase(it);
    return true;
}

TTreatment& Workbench::AddTreatment(Patient& patient, std::unique_ptr<TTreatment> treatment) {
    patient.treatments.push_back(std::move(treatment));
    return *patient.treatments.back();
}

bool Workbench::DeleteTreatment(const TTreatment* treatment) {
    Patient* patient = PatientOf(treatment);
    if (patient == nullptr) {
        return false;
    }
    auto& list = patient->treatments;
    list.erase(std::find_if(list.begin(), list.end(),
                            [treatment](const auto& owned) { return owned.get() == treatment; }));
    return true;
}

bool Workbench::DeleteBeam(const TBeam* beam) {
    TTreatment* treatment = TreatmentOf(beam);
    return treatment != nullptr && treatment->DeleteBeam(beam);
}

Patient* Workbench::PatientOf(const TTreatment* treatment) const {
    for (const auto& patient : m_patients) {
        for (const auto& owned : patient->treatments) {
            if (owned.get() == treatment) {
                return patient.get();
            }
        }
    }
    return nullptr;
}

TTreatment* Workbench::TreatmentOf(const TBeam* beam) const {
    for (const auto& patient : m_patients) {
        for (const auto& treatment : patient->treatments) {
            for (const auto& owned : treatment->beams) {
                if (owned.get() == beam) {
                    return treatment.get();
                }
            }
        }
    }
    return nullptr;
}

bool Workbench::DropTreatment(const TTreatment* target, const TTreatment* dragged,
                              DropPlace place) {
    Patient* patient = PatientOf(dragged);
    return patient != nullptr && patient == PatientOf(target) &&
           MoveNextTo(patient->treatments, target, dragged, place);
}

bool Workbench::DropBeam(const TBeam* target, const TBeam* dragged, DropPlace place) {
    TTreatment* treatment = TreatmentOf(dragged);
    return treatment != nullptr && treatment == TreatmentOf(target) &&
           MoveNextTo(treatment->beams, target, dragged, place);
}

} // namespace kova
