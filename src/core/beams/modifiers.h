#pragma once

#include "core/common/result.h"
#include "core/linac/energy.h"

#include <memory>
#include <string>
#include <vector>

namespace kova {

/// Item texts shared by every beam dialog.
inline constexpr const char* kNoneItem = "None";
inline constexpr const char* kNotAvailableItem = "Not available";
inline constexpr const char* kSetOnFlyItem = "Set on fly...";
inline constexpr const char* kComputeFromFileItem = "Compute from file...";

/// What an item of a list stands for. Actions are told apart by their role, never by their
/// text, which a table entry could also carry.
enum class ItemRole {
    None,            ///< "None": no entry
    Entry,           ///< a table entry, or one made on the spot
    NotAvailable,    ///< "Not available": the list offers nothing
    SetOnFly,        ///< "Set on fly...": make an entry from a typed name and factor
    ComputeFromFile, ///< "Compute from file...": make a multileaf entry from an MLC file
    Option,          ///< a choice of a radio group or a command of a menu
};

/// One item of a list: its text, its role and, for an entry, the entry it stands for.
struct ModifierItem {
    std::string text;
    const EnergyListItem* entry = nullptr;
    ItemRole role = ItemRole::Entry;
};

/// Entries a beam dialog made on the spot; the beam owns them, they never reach the energy.
/// A copy holds copies of the entries, in the same order.
struct AdHocModifiers {
    EntryList<Tray> trays;
    EntryList<Shield> shields;
    EntryList<MLCFValue> multileafs;

    AdHocModifiers() = default;
    AdHocModifiers(const AdHocModifiers& other);
    AdHocModifiers& operator=(const AdHocModifiers& other);
    AdHocModifiers(AdHocModifiers&&) = default;
    AdHocModifiers& operator=(AdHocModifiers&&) = default;
    ~AdHocModifiers() = default;

    /// The entry of this copy that stands where `entry` stands in `original`; `entry` itself
    /// when it is none of the original's (an energy's entry, or none).
    const Tray* CopyOf(const AdHocModifiers& original, const Tray* entry) const;
    const Shield* CopyOf(const AdHocModifiers& original, const Shield* entry) const;
    const MLCFValue* CopyOf(const AdHocModifiers& original, const MLCFValue* entry) const;
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
/// The energy's applicators, in table order.
std::vector<ModifierItem> ApplicatorItems(const TeEnergy& energy);
/// Items of a radio group or menu, one per text.
std::vector<ModifierItem> OptionItems(const std::vector<std::string>& texts);

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

/// Reads "NAME : FACTOR", the way a beam file names an entry made on the spot; the name is
/// the text before the last colon without trailing blanks. Fails with the reason when the
/// text has no colon, no name or a factor that CheckModifierValue refuses.
Result<ModifierValue> ParseModifierValue(const std::string& text);

/// Appends an entry made on the spot to a beam's own `list` and returns it.
template <class T>
const T* MakeAdHocEntry(EntryList<T>& list, const ModifierValue& value, double T::*factor) {
    auto entry = std::make_unique<T>();
    entry->Name = value.name;
    (*entry).*factor = value.factor;
    list.push_back(std::move(entry));
    return list.back().get();
}

/// Index of the first item holding `entry`, or -1.
int IndexOfEntry(const std::vector<ModifierItem>& items, const EnergyListItem* entry);

/// Index of the first item with `role`, or -1.
int IndexOfRole(const std::vector<ModifierItem>& items, ItemRole role);

} // namespace kova
