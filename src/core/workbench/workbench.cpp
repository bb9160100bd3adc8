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

namespace {

/// Takes `item` out of `list`, saying where it stood; none when it is not in the list.
template <class T>
std::unique_ptr<T> TakeFrom(std::vector<std::unique_ptr<T>>& list, const T* item,
                            std::size_t& index) {
    const auto it = std::find_if(list.begin(), list.end(),
                                 [item](const auto& owned) { return owned.get() == item; });
    if (it == list.end()) {
        return nullptr;
    }
    index = static_cast<std::size_t>(it - list.begin());
    std::unique_ptr<T> taken = std::move(*it);
    list.erase(it);
    return taken;
}

template <class T>
void PutInto(std::vector<std::unique_ptr<T>>& list, std::size_t index, std::unique_ptr<T> item) {
    if (item) {
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(index, list.size())),
                    std::move(item));
    }
}

} // namespace

std::unique_ptr<Patient> Workbench::TakePatient(const Patient* patient, std::size_t& index) {
    return TakeFrom(m_patients, patient, index);
}

void Workbench::PutPatient(std::size_t index, std::unique_ptr<Patient> patient) {
    PutInto(m_patients, index, std::move(patient));
}

std::unique_ptr<TTreatment> Workbench::TakeTreatment(const TTreatment* treatment,
                                                     std::size_t& index) {
    Patient* patient = PatientOf(treatment);
    return patient != nullptr ? TakeFrom(patient->treatments, treatment, index) : nullptr;
}

void Workbench::PutTreatment(Patient& patient, std::size_t index,
                             std::unique_ptr<TTreatment> treatment) {
    PutInto(patient.treatments, index, std::move(treatment));
}

std::unique_ptr<TBeam> Workbench::TakeBeam(const TBeam* beam, std::size_t& index) {
    TTreatment* treatment = TreatmentOf(beam);
    return treatment != nullptr ? TakeFrom(treatment->beams, beam, index) : nullptr;
}

void Workbench::PutBeam(TTreatment& treatment, std::size_t index, std::unique_ptr<TBeam> beam) {
    if (beam) {
        beam->machine = treatment.Machine();
        PutInto(treatment.beams, index, std::move(beam));
    }
}

std::unique_ptr<TBeam> Workbench::ReplaceBeam(const TBeam* old, std::unique_ptr<TBeam> beam) {
    TTreatment* treatment = TreatmentOf(old);
    std::size_t index = 0;
    std::unique_ptr<TBeam> taken = TakeBeam(old, index);
    if (treatment != nullptr && taken) {
        PutBeam(*treatment, index, std::move(beam));
    }
    return taken;
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
