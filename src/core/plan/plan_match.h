#pragma once

// How the names and values of a plan are matched to the linacs and their tables.

#include "core/linac/energy.h"
#include "core/linac/linac_spec.h"
#include "core/plan/plan_data.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kova {

/// True when the two texts are equal once ASCII letters are folded to one case.
bool SameIgnoringCase(std::string_view a, std::string_view b);

/// The entry of `list` named `name`: the first of that exact name, else the first whose name
/// differs only in case; null when none.
template <class T>
const T* FindNamed(const EntryList<T>& list, std::string_view name) {
    for (const auto& entry : list) {
        if (entry->Name == name) {
            return entry.get();
        }
    }
    for (const auto& entry : list) {
        if (SameIgnoringCase(entry->Name, name)) {
            return entry.get();
        }
    }
    return nullptr;
}

/// The names of a table's entries, in table order.
template <class T>
std::vector<std::string> NamesOf(const EntryList<T>& list) {
    std::vector<std::string> names;
    for (const auto& entry : list) {
        names.push_back(entry->Name);
    }
    return names;
}

/// "A, B, C" ("none" for no name).
std::string JoinNames(const std::vector<std::string>& names);

/// The linac whose `Name` is `machine`: exactly, else ignoring case; null when none.
const TLinacSpec* MatchMachine(std::string_view machine,
                               const std::vector<std::unique_ptr<TLinacSpec>>& linacs);

/// The energies of `linac` of the kind (electron or photon) whose nominal energy is `nominal`
/// (MV or MeV), in table order.
std::vector<const TEnergy*> EnergiesAt(const TLinacSpec& linac, bool electron, double nominal);

/// The energies of `linac` of the kind, in table order.
std::vector<const TEnergy*> EnergiesOf(const TLinacSpec& linac, bool electron);

/// The wedges of `energy` that a plan's wedge may be: the one named by its ID (exactly, else
/// ignoring case); otherwise those whose name holds the wedge angle as a number ("W30",
/// "EDW30" for 30 degrees) and whose type agrees with the plan's (STATIC, DYNAMIC,
/// MOTORIZED for the Static, Dynamic and Universal wedge types; any type when the plan gives
/// none).
std::vector<const Wedge*> WedgesFor(const PlanWedge& wedge, const TgEnergy& energy);

/// The applicator of `energy` a plan's applicator is: by its ID, else by its description
/// (each exactly, else ignoring case); null when none.
const Applicator* ApplicatorFor(const PlanApplicator& applicator, const TeEnergy& energy);

} // namespace kova
