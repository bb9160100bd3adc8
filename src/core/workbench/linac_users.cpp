#include "core/workbench/linac_users.h"

#include "core/beams/beam.h"

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
    const std::vector<const EnergyListItem*> used = beam.UsedEntries();
    return std::any_of(used.begin(), used.end(), [&removal](const EnergyListItem* entry) {
        return Contains(removal.entries, entry);
    });
}

std::string Quoted(const std::string& name) {
    return "\"" + name + "\"";
}

} // namespace

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
    std::string list;
    for (const std::string& user : users) {
        list += (list.empty() ? "" : "; ") + user;
    }
    return Status::Fail(Quoted(removal.what) + " cannot be removed: it is used by " + list +
                        ". Delete or change those first.");
}

} // namespace kova
