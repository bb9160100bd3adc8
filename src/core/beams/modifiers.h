#pragma once

#include "core/common/result.h"
#include "core/linac/energy.h"

#include <string>
#include <vector>

namespace kova {

/// Item texts shared by every beam dialog, compared by value.
inline constexpr const char* kNoneItem = "None";
inline constexpr const char* kNotAvailableItem = "Not available";
inline constexpr const char* kSetOnFlyItem = "Set on fly...";
inline constexpr const char* kComputeFromFileItem = "Compute from file...";

/// One item of a modifier list: its text and the entry it stands for (none for "None",
/// "Not available", "Set on fly..." and "Compute from file...").
struct ModifierItem {
    std::string text;
    const EnergyListItem* entry = nullptr;
};

/// Entries a beam dialog made on the spot; the beam owns them, they never reach the energy.
struct AdHocModifiers {
    EntryList<Tray> trays;
    EntryList<Shield> shields;
    EntryList<MLCFValue> multileafs;
};

/// "None", then the energy's wedges.
std::vector<ModifierItem> WedgeItems(const TgEnergy& energy);
/// "None", the energy's trays, the beam's own trays, "Set on fly...".
std::vector<ModifierItem> TrayItems(const TgEnergy& energy, const AdHocModifiers& adHoc);
/// "None", the energy's shields, the beam's own shields, "Set on fly...".
std::vector<ModifierItem> ShieldItems(const TgEnergy& energy, const AdHocModifiers& adHoc);
/// With multileaf support: "None", the energy's entries, the beam's own entries,
/// "Set on fly...", "Compute from file..."; without it only "Not available".
std::vector<ModifierItem> MultileafItems(const TgEnergy& energy, const AdHocModifiers& adHoc);

/// Offset controls are offered only when the energy has offset factors.
inline bool OffsetAvailable(const TgEnergy& energy) {
    return !energy.OffsetFactors.empty();
}

/// A modifier typed on the spot: its name and the factor the MU are divided by.
struct ModifierValue {
    std::string name;
    double factor = 1;
};

/// Checks what the modifier value dialog collected: the factor must be a number other than 0
/// (negative factors are allowed) and the name must not be empty.
Result<ModifierValue> CheckModifierValue(const std::string& name, const std::string& factorText);

/// Index of the first item holding `entry`, or -1.
int IndexOfEntry(const std::vector<ModifierItem>& items, const EnergyListItem* entry);

} // namespace kova
