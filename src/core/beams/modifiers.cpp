#include "core/beams/modifiers.h"

#include "core/text/number_text.h"

namespace kova {
namespace {

template <class T>
void AppendEntries(std::vector<ModifierItem>& items, const EntryList<T>& list) {
    for (const auto& entry : list) {
        items.push_back({entry->Name, entry.get(), ItemRole::Entry});
    }
}

ModifierItem NoneItem() {
    return {kNoneItem, nullptr, ItemRole::None};
}

ModifierItem SetOnFlyItem() {
    return {kSetOnFlyItem, nullptr, ItemRole::SetOnFly};
}

} // namespace

std::vector<ModifierItem> WedgeItems(const TgEnergy& energy) {
    std::vector<ModifierItem> items{NoneItem()};
    AppendEntries(items, energy.Wedges);
    return items;
}

std::vector<ModifierItem> TrayItems(const TgEnergy& energy, const AdHocModifiers& adHoc) {
    std::vector<ModifierItem> items{NoneItem()};
    AppendEntries(items, energy.Trays);
    AppendEntries(items, adHoc.trays);
    items.push_back(SetOnFlyItem());
    return items;
}

std::vector<ModifierItem> ShieldItems(const TgEnergy& energy, const AdHocModifiers& adHoc) {
    std::vector<ModifierItem> items{NoneItem()};
    AppendEntries(items, energy.Shields);
    AppendEntries(items, adHoc.shields);
    items.push_back(SetOnFlyItem());
    return items;
}

std::vector<ModifierItem> MultileafItems(const TgEnergy& energy, const AdHocModifiers& adHoc) {
    if (!energy.MLCSupported) {
        return {{kNotAvailableItem, nullptr, ItemRole::NotAvailable}};
    }
    std::vector<ModifierItem> items{NoneItem()};
    AppendEntries(items, energy.MultileafFactors);
    AppendEntries(items, adHoc.multileafs);
    items.push_back(SetOnFlyItem());
    items.push_back({kComputeFromFileItem, nullptr, ItemRole::ComputeFromFile});
    return items;
}

std::vector<ModifierItem> ApplicatorItems(const TeEnergy& energy) {
    std::vector<ModifierItem> items;
    AppendEntries(items, energy.Applicators);
    return items;
}

std::vector<ModifierItem> OptionItems(const std::vector<std::string>& texts) {
    std::vector<ModifierItem> items;
    for (const std::string& text : texts) {
        items.push_back({text, nullptr, ItemRole::Option});
    }
    return items;
}

Result<ModifierValue> CheckModifierValue(const std::string& name, const std::string& factorText) {
    const Result<double> factor = StrToFloat(factorText);
    if (!factor) {
        return factor.status();
    }
    if (name.empty()) {
        return Result<ModifierValue>::Fail("The modifier needs a name");
    }
    if (*factor == 0) {
        return Result<ModifierValue>::Fail("The factor must not be 0: the MU are divided by it");
    }
    return ModifierValue{name, *factor};
}

Result<ModifierValue> ParseModifierValue(const std::string& text) {
    const auto colon = text.rfind(':');
    if (colon == std::string::npos) {
        return Result<ModifierValue>::Fail("an entry made on the spot is written NAME : FACTOR");
    }
    std::string name = text.substr(0, colon);
    name.erase(name.find_last_not_of(" \t") + 1);
    std::string factor = text.substr(colon + 1);
    factor.erase(0, factor.find_first_not_of(" \t"));
    factor.erase(factor.find_last_not_of(" \t") + 1);
    return CheckModifierValue(name, factor);
}

int IndexOfEntry(const std::vector<ModifierItem>& items, const EnergyListItem* entry) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (entry != nullptr && items[i].entry == entry) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int IndexOfRole(const std::vector<ModifierItem>& items, ItemRole role) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].role == role) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace kova
