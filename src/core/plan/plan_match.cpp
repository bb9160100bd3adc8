#include "core/plan/plan_match.h"

#include <algorithm>
#include <cmath>

namespace kova {
namespace {

/// Nominal energies are given with a few decimals (6, 6.0, 6.00000000000); anything closer
/// than this is the same energy.
constexpr double kSameNominalEnergy = 1e-6;

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

/// The whole numbers written in a name ("EDW60" holds 60, "W 15-30" holds 15 and 30).
std::vector<double> NumbersIn(std::string_view name) {
    std::vector<double> numbers;
    double value = 0;
    bool inNumber = false;
    for (const char c : name) {
        if (c >= '0' && c <= '9') {
            value = (inNumber ? value * 10 : 0) + (c - '0');
            inNumber = true;
        } else if (inNumber) {
            numbers.push_back(value);
            inNumber = false;
        }
    }
    if (inNumber) {
        numbers.push_back(value);
    }
    return numbers;
}

bool TypeAgrees(const std::string& planType, const Wedge& wedge) {
    if (planType.empty()) {
        return true;
    }
    const char* const types[] = {"STATIC", "DYNAMIC", "MOTORIZED"};
    return wedge.WedgeType < std::size(types) && planType == types[wedge.WedgeType];
}

} // namespace

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldCase(x) == FoldCase(y);
           });
}

std::string JoinNames(const std::vector<std::string>& names) {
    if (names.empty()) {
        return "none";
    }
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

const TLinacSpec* MatchMachine(std::string_view machine,
                               const std::vector<std::unique_ptr<TLinacSpec>>& linacs) {
    for (const auto& linac : linacs) {
        if (linac->Name == machine) {
            return linac.get();
        }
    }
    for (const auto& linac : linacs) {
        if (SameIgnoringCase(linac->Name, machine)) {
            return linac.get();
        }
    }
    return nullptr;
}

std::vector<const TEnergy*> EnergiesOf(const TLinacSpec& linac, bool electron) {
    std::vector<const TEnergy*> energies;
    if (electron) {
        for (const auto& energy : linac.eEnergies) {
            energies.push_back(energy.get());
        }
    } else {
        for (const auto& energy : linac.gEnergies) {
            energies.push_back(energy.get());
        }
    }
    return energies;
}

std::vector<const TEnergy*> EnergiesAt(const TLinacSpec& linac, bool electron, double nominal) {
    std::vector<const TEnergy*> energies;
    for (const TEnergy* energy : EnergiesOf(linac, electron)) {
        const double own = electron ? static_cast<const TeEnergy*>(energy)->NominalEnergy
                                    : static_cast<const TgEnergy*>(energy)->NominalEnergy;
        if (std::fabs(own - nominal) < kSameNominalEnergy) {
            energies.push_back(energy);
        }
    }
    return energies;
}

std::vector<const Wedge*> WedgesFor(const PlanWedge& wedge, const TgEnergy& energy) {
    if (const Wedge* named = FindNamed(energy.Wedges, wedge.ID); named != nullptr) {
        return {named};
    }
    std::vector<const Wedge*> wedges;
    if (!wedge.angle) {
        return wedges;
    }
    for (const auto& entry : energy.Wedges) {
        const std::vector<double> numbers = NumbersIn(entry->Name);
        const bool angle = std::find(numbers.begin(), numbers.end(), *wedge.angle) != numbers.end();
        if (angle && TypeAgrees(wedge.type, *entry)) {
            wedges.push_back(entry.get());
        }
    }
    return wedges;
}

const Applicator* ApplicatorFor(const PlanApplicator& applicator, const TeEnergy& energy) {
    if (!applicator.ID.empty()) {
        if (const Applicator* byID = FindNamed(energy.Applicators, applicator.ID)) {
            return byID;
        }
    }
    if (!applicator.description.empty()) {
        return FindNamed(energy.Applicators, applicator.description);
    }
    return nullptr;
}

} // namespace kova
