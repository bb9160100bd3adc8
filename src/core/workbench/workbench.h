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

/// Where a dragged node goes: just before or just after the node it is dropped on.
enum class DropPlace { Before, After };

/// Moves `dragged` to just before or just after `target` among the siblings of `list`. False
/// (and nothing moves) when either is not in `list`, they are the same, or the order would
/// not change.
template <class T>
bool MoveNextTo(std::vector<std::unique_ptr<T>>& list, const T* target, const T* dragged,
                DropPlace place) {
    const auto position = [&list](const T* item) {
        return std::find_if(list.begin(), list.end(),
                            [item](const auto& owned) { return owned.get() == item; });
    };
    const auto from = position(dragged);
    if (from == list.end() || position(target) == list.end() || target == dragged) {
        return false;
    }
    const auto oldIndex = from - list.begin();
    std::unique_ptr<T> moving = std::move(*from);
    list.erase(from);
    const auto to = position(target) + (place == DropPlace::After ? 1 : 0);
    const auto newIndex = to - list.begin();
    list.insert(to, std::move(moving));
    return newIndex != oldIndex;
}

/// The day's work: patients, their treatments and the beams of each, in tree order.
class Workbench {
public:
    const std::vector<std::unique_ptr<Patient>>& patients() const { return m_patients; }

    Patient& AddPatient();
    bool DeletePatient(const Patient* patient);
    TTreatment& AddTreatment(Patient& patient, std::unique_ptr<TTreatment> treatment);
    bool DeleteTreatment(const TTreatment* treatment);
    /// Deletes a beam from its treatment.
    bool DeleteBeam(const TBeam* beam);

    // Taking a record out and putting it back whole, for changes that may be undone. A record
    // taken out keeps everything under it (treatments, beams, results, entries made on the
    // spot); an index beyond the end puts it last.
    /// The patient taken out with its place; none when it is not one of the workbench's.
    std::unique_ptr<Patient> TakePatient(const Patient* patient, std::size_t& index);
    void PutPatient(std::size_t index, std::unique_ptr<Patient> patient);
    std::unique_ptr<TTreatment> TakeTreatment(const TTreatment* treatment, std::size_t& index);
    void PutTreatment(Patient& patient, std::size_t index, std::unique_ptr<TTreatment> treatment);
    std::unique_ptr<TBeam> TakeBeam(const TBeam* beam, std::size_t& index);
    /// Puts the beam back among the treatment's beams, on the treatment's machine.
    void PutBeam(TTreatment& treatment, std::size_t index, std::unique_ptr<TBeam> beam);
    /// Puts `beam` in the place of `old`, on the same machine; returns `old`, or none (and
    /// `beam` is lost) when `old` is no beam of the workbench.
    std::unique_ptr<TBeam> ReplaceBeam(const TBeam* old, std::unique_ptr<TBeam> beam);

    Patient* PatientOf(const TTreatment* treatment) const;
    TTreatment* TreatmentOf(const TBeam* beam) const;

    /// Moves a treatment next to another: allowed only among the treatments of one patient.
    bool DropTreatment(const TTreatment* target, const TTreatment* dragged, DropPlace place);
    /// Moves a beam next to another: allowed only among the beams of one treatment.
    bool DropBeam(const TBeam* target, const TBeam* dragged, DropPlace place);

private:
    std::vector<std::unique_ptr<Patient>> m_patients;
};

} // namespace kova
