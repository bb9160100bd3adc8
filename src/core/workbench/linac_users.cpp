#include "core/workbench/linac_users.h"

#include "core/beams/beam.h"
#include "core/beams/beam_form.h"

#include <algorithm>

namespace kova {
namespace {

template <class T>
bool Contains(const std::vector<T>& list, const T& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

bool UsesEnergy(const TTreatment& treatment, const EnergiesRemoval& removal) {
    const TEnergy* photon = treatment.gEnergy;
    const TEnergy* electron = treatment.eEnergy;
    return (photon != nullptr && Contains(removal.energies, photon)) ||
           (electron != nullptr && Contains(removal.energies, electron));
}

bool UsesEntries(const TBeam& beam, const EnergiesRemoval& removal) {
    const std::vector<const EnergyListItem*> used = UsedData(beam);
    return std::any_of(used.begin(), used.end(), [&removal](const EnergyListItem* entry) {
        return Contains(removal.entries, entry);
    });
}

std::string Quoted(const std::string& name) {
    return "\"" + name + "\"";
}

template <class T>
void AddEntries(const EntryList<T>& list, std::vector<const EnergyListItem*>& used) {
    for (const auto& entry : list) {
        used.push_back(entry.get());
    }
}

std::string UsersText(const std::vector<std::string>& users) {
    std::string list;
    for (const std::string& user : users) {
        list += (list.empty() ? "" : "; ") + user;
    }
    return list;
}

/// The beam computed again from what it stores, through its form as Edit and OK compute it.
Status ComputeAgain(TBeam& beam, const Date& today) {
    const std::unique_ptr<BeamForm> form = beam.CreateForm();
    if (!form) {
        return Status::Fail("the beam has no form to compute it with");
    }
    form->LoadControls();
    return form->Accept(today);
}

} // namespace

std::vector<const EnergyListItem*> UsedData(const TBeam& beam) {
    std::vector<const EnergyListItem*> used = beam.UsedEntries();
    if (const TgEnergy* energy = beam.machine.gEnergy) {
        for (const auto& field : energy->RefFields) {
            used.push_back(field.get());
            AddEntries(field->PDDValues, used);
        }
    }
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    return used;
}

std::vector<std::string> UsersOf(const Workbench& workbench, const EnergiesRemoval& removal) {
    std::vector<std::string> users;
    for (const auto& patient : workbench.patients()) {
        for (const auto& treatment : patient->treatments) {
            if (UsesEnergy(*treatment, removal)) {
                users.push_back("treatment " + Quoted(treatment->name) + " of patient " +
                                Quoted(patient->name));
                continue;
            }
            for (const auto& beam : treatment->beams) {
                if (UsesEntries(*beam, removal)) {
                    users.push_back("beam " + Quoted(beam->name) + " of treatment " +
                                    Quoted(treatment->name));
                }
            }
        }
    }
    return users;
}

Status CheckRemoval(const Workbench& workbench, const EnergiesRemoval& removal) {
    const std::vector<std::string> users = UsersOf(workbench, removal);
    if (users.empty()) {
        return Status::Ok();
    }
    return Status::Fail(Quoted(removal.what) + " cannot be removed: it is used by " +
                        UsersText(users) + ". Delete or change those first.");
}

Status CheckChange(const Workbench& workbench, const EnergyListItem& entry,
                   const std::string& what) {
    EnergiesRemoval changed;
    changed.entries = {&entry};
    const std::vector<std::string> users = UsersOf(workbench, changed);
    if (users.empty()) {
        return Status::Ok();
    }
    return Status::Fail(Quoted(what) + " cannot be changed: it is used by " + UsersText(users) +
                        ". Delete or change those first.");
}

LinacChangeOutcome ComputeAgainOn(Workbench& workbench, const TLinacSpec& linac,
                                  const Date& today) {
    LinacChangeOutcome outcome;
    for (const auto& patient : workbench.patients()) {
        for (const auto& treatment : patient->treatments) {
            if (treatment->linac != &linac) {
                continue;
            }
            for (const auto& beam : treatment->beams) {
                if (const Status computed = ComputeAgain(*beam, today); computed) {
                    beam->outOfDate.clear();
                    ++outcome.computedAgain;
                } else {
                    // Never an MU of data that are gone: the beam shows why it has none.
                    beam->calculated = false;
                    beam->outOfDate = computed.reason();
                    outcome.refused.push_back("beam " + Quoted(beam->name) + " of treatment " +
                                              Quoted(treatment->name) + ": " + computed.reason());
                }
            }
        }
    }
    return outcome;
}

} // namespace kova
