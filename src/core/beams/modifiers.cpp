#include "core/beams/modifiers.h"

#include "core/text/number_text.h"

namespace kova {
namespace {

template <class T>
void AppendEntries(std::vector<ModifierItem>& items, const EntryList<T>& list) {
    for (const auto& entry : list) {
        items.push_back({entry->Name, entry.get()});
    }
}

} // namespace

std::vector<ModifierItem> WedgeItems(const TgEnergy& energy) {
    std::vector<ModifierItem> items{{kNoneItem, nullptr}};
    AppendEntries(items, energy.Wedges);
    return items;
}

std::vector<ModifierItem> TrayItems(const TgEnergy& energy, const AdHocModifiers& adHoc) {
    std::vector<ModifierItem> items{{kNoneItem, nullptr}};
    AppendEntries(items, energy.Trays);
    AppendEntries(items, adHoc.trays);
    items.push_back({kSetOnFlyItem, nullptr});
    return items;
}

std::vector<ModifierItem> ShieldItems(const TgEnergy& energy, const AdHocModifiers& adHoc) {
    std::vector<ModifierItem> items{{kNoneItem, nullptr}};
    AppendEntries(items, energy.Shields);
    AppendEntries(items, adHoc.shields);
    items.push_back({kSetOnFlyItem, nullptr});
    return items;
}

std::vector<ModifierItem> MultileafItems(const TgEnergy& energy, const AdHocModifiers& adHoc) {
    if (!energy.MLCSupported) {
        return {{kNotAvailableItem, nullptr}};
    }
    std::vector<ModifierItem> items{{kNoneItem, nullptr}};
    AppendEntries(items, energy.MultileafFactors);
    AppendEntries(items, adHoc.multileafs);
    items.push_back({kSetOnFlyItem, nullptr});
    items.push_back({kComputeFromFileItem, nullptr});
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

int IndexOfEntry(const std::vector<ModifierItem>& items, const EnergyListItem* entry) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (entry != nullptr && items[i].entry == entry) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace kova
