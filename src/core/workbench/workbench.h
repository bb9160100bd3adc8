#pragma once

#include "core/workbench/treatment.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace kova {

/// A patient is only a name with its treatments.
struct Patient {
    std::string name = "New Patient";
    std::vector<std::unique_ptr<TTreatment>> treatments;
};

/// Moves one of two siblings dropped on each other: when `dragged` immediately follows
/// `target` the two swap; otherwise `target` moves to just before `dragged`. False (and
/// nothing moves) when either is not in `list` or they are the same.
template <class T>
bool ApplyDropRule(std::vector<std::unique_ptr<T>>& list, const T* target, const T* dragged) {
    const auto position = [&list](const T* item) {
        return std::find_if(list.begin(), list.end(),
                            [item](const auto& owned) { return owned.get() == item; }) -
               list.begin();
    };
    const auto t = position(target);
    const auto d = position(dragged);
    const auto size = static_cast<decltype(t)>(list.size());
    if (t == size || d == size || t == d) {
        return false;
    }
    if (d == t + 1) {
        std::swap(list[static_cast<std::size_t>(t)], list[static_cast<std::size_t>(d)]);
        return true;
    }
    std::unique_ptr<T> moving = std::move(list[static_cast<std::size_t>(t)]);
    list.erase(list.begin() + t);
    const auto before = position(dragged);
    list.insert(list.begin() + before, std::move(moving));
    return true;
}

/// The day's work: patients, their treatments and the beams of each, in tree order. Nothing
/// of it is saved.
class Workbench {
public:
    const std::vector<std::unique_ptr<Patient>>& patients() const { return m_patients; }

    Patient& AddPatient();
    bool DeletePatient(const Patient* patient);
    TTreatment& AddTreatment(Patient& patient, std::unique_ptr<TTreatment> treatment);
    bool DeleteTreatment(const TTreatment* treatment);
    /// Deletes a beam and recomputes its treatment's dose total.
    bool DeleteBeam(const TBeam* beam);

    Patient* PatientOf(const TTreatment* treatment) const;
    TTreatment* TreatmentOf(const TBeam* beam) const;

    /// Drops a treatment on another: allowed only between treatments of one patient.
    bool DropTreatment(const TTreatment* target, const TTreatment* dragged);
    /// Drops a beam on another: allowed only between beams of one treatment.
    bool DropBeam(const TBeam* target, const TBeam* dragged);

private:
    std::vector<std::unique_ptr<Patient>> m_patients;
};

} // namespace kova
