#pragma once

#include "core/linac/energies_tree.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kova {

/// The selected node of a linac's energies tree, as the window's commands see it.
struct EnergiesSelection {
    const EnergiesTreeNode* node = nullptr;   ///< none: nothing is selected
    const EnergiesTreeNode* parent = nullptr; ///< the node's parent; none for an energy
    int level = 0;                            ///< 0 energy, 1 group, 2 entry, 3 group, 4 entry
};

/// The node at `path` (child indexes from the roots), with its parent and level; nothing
/// selected for an empty or wrong path.
EnergiesSelection SelectionAt(const std::vector<EnergiesTreeNode>& roots,
                              const std::vector<int>& path);

/// The address of what a node stands for, to find the same object again in a rebuilt tree.
const void* ObjectKey(const EnergiesTreeObject& object);

/// A record that "Add gamma" or "Add e-" made for a selection: not yet part of the linac.
/// The window shows it; only Commit (on OK) appends it, and otherwise it goes with this
/// object.
class EnergiesAddition {
public:
    /// True when the selection adds nothing.
    bool empty() const { return m_record == nullptr; }
    /// The new energy or entry, for its window; null when empty().
    EditableRecord* record() const { return m_record; }
    /// True for a new energy: its window shows the record's values, an entry's starts empty.
    bool isEnergy() const { return m_photon != nullptr || m_electron != nullptr; }
    /// The address of the new record, which becomes its node's ObjectKey.
    const void* key() const { return m_key; }
    /// The new photon energy; null for any other record.
    const TgEnergy* photonEnergy() const { return m_photon.get(); }

    /// Appends the record to its list (an energy to `linac`); afterwards empty().
    void Commit(TLinacSpec& linac);

    static EnergiesAddition Photon();
    static EnergiesAddition Electron();
    /// A new entry of the list's kind, for that list.
    template <class T>
    static EnergiesAddition EntryFor(EntryList<T>* list);

private:
    std::unique_ptr<TgEnergy> m_photon;
    std::unique_ptr<TeEnergy> m_electron;
    std::unique_ptr<EnergyListItem> m_entry;
    std::function<void(std::unique_ptr<EnergyListItem>)> m_append;
    EditableRecord* m_record = nullptr;
    const void* m_key = nullptr;
};

/// "Add gamma": a photon energy when nothing or a photon energy is selected; a depth dose or
/// wedge factor value inside a "PDD" or "Wedge Factors" group; an entry of the photon group
/// selected (or of the selected entry's group); nothing on an electron node.
EnergiesAddition AddGamma(const EnergiesSelection& selection);

/// "Add e-": an electron energy when nothing or an electron energy is selected; an
/// applicator on the "Applicators" group or one of its applicators; nothing on a photon node.
EnergiesAddition AddElectron(const EnergiesSelection& selection);

/// What "Remove" would take away for a selection: an energy with all its tables, every entry
/// of a group (the group stays), or one entry with its own values.
struct EnergiesRemoval {
    std::vector<const TEnergy*> energies;
    std::vector<const EnergyListItem*> entries; ///< every entry that goes, sub-entries included
    std::string what;                           ///< the selected node's caption, for messages

    bool empty() const { return energies.empty() && entries.empty(); }
};

EnergiesRemoval PlanRemoval(const EnergiesSelection& selection);

/// Removes what PlanRemoval names from `linac` and destroys it. The tree built before is
/// stale afterwards.
void Remove(TLinacSpec& linac, const EnergiesSelection& selection);

} // namespace kova
