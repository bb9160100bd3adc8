#include "core/linac/energies_commands.h"

#include <algorithm>

namespace kova {
namespace {

/// Anything a node can stand for, as one address.
struct KeyOf {
    template <class T>
    const void* operator()(T* object) const {
        return object;
    }
};

/// A new entry for a group's list; nothing for a node that is not a list.
struct NewEntryFor {
    template <class T>
    EnergiesAddition operator()(EntryList<T>* list) const {
        return EnergiesAddition::EntryFor(list);
    }
    template <class Other>
    EnergiesAddition operator()(Other*) const {
        return {};
    }
};

/// The group a selection adds to: the group itself, or the group of the selected entry.
const EnergiesTreeNode* GroupOf(const EnergiesSelection& selection) {
    const bool isGroup = selection.level == 1 || selection.level == 3;
    return isGroup ? selection.node : selection.parent;
}

EnergiesAddition NewEntryIn(const EnergiesTreeNode* group) {
    return group == nullptr ? EnergiesAddition() : std::visit(NewEntryFor{}, group->Object);
}

void CollectEntry(const EnergyListItem& entry, std::vector<const EnergyListItem*>& out) {
    out.push_back(&entry);
}

void CollectEntry(const RefField& field, std::vector<const EnergyListItem*>& out) {
    out.push_back(&field);
    for (const auto& value : field.PDDValues) {
        out.push_back(value.get());
    }
}

void CollectEntry(const Wedge& wedge, std::vector<const EnergyListItem*>& out) {
    out.push_back(&wedge);
    for (const auto& value : wedge.WFValues) {
        out.push_back(value.get());
    }
}

template <class T>
void CollectList(const EntryList<T>& list, std::vector<const EnergyListItem*>& out) {
    for (const auto& entry : list) {
        CollectEntry(*entry, out);
    }
}

/// Every entry that goes with what a node stands for.
struct CollectRemoved {
    EnergiesRemoval& removal;

    void operator()(TgEnergy* energy) const {
        removal.energies.push_back(energy);
        std::vector<const EnergyListItem*>& out = removal.entries;
        CollectList(energy->RefFields, out);
        CollectList(energy->Wedges, out);
        CollectList(energy->Trays, out);
        CollectList(energy->OffsetFactors, out);
        CollectList(energy->MultileafFactors, out);
        CollectList(energy->Shields, out);
    }
    void operator()(TeEnergy* energy) const {
        removal.energies.push_back(energy);
        CollectList(energy->Applicators, removal.entries);
    }
    void operator()(EnergyListItem*) const {
        // An entry's own values are its node's children; the caller walks them.
    }
    template <class T>
    void operator()(EntryList<T>* list) const {
        CollectList(*list, removal.entries);
    }
};

/// An entry node's entry and everything under it.
void CollectSubtree(const EnergiesTreeNode& node, std::vector<const EnergyListItem*>& out) {
    if (const auto* entry = std::get_if<EnergyListItem*>(&node.Object)) {
        out.push_back(*entry);
    }
    for (const EnergiesTreeNode& child : node.Children) {
        CollectSubtree(child, out);
    }
}

template <class T>
void EraseOwned(std::vector<std::unique_ptr<T>>& list, const void* object) {
    list.erase(std::remove_if(list.begin(), list.end(),
                              [object](const auto& owned) {
                                  return static_cast<const void*>(owned.get()) == object;
                              }),
               list.end());
}

/// Removes one entry from the list a group node stands for.
struct EraseEntry {
    const EnergyListItem* entry;

    template <class T>
    void operator()(EntryList<T>* list) const {
        list->erase(std::remove_if(list->begin(), list->end(),
                                   [this](const auto& owned) {
                                       return static_cast<const EnergyListItem*>(owned.get()) ==
                                              entry;
                                   }),
                    list->end());
    }
    template <class Other>
    void operator()(Other*) const {}
};

struct ClearList {
    template <class T>
    void operator()(EntryList<T>* list) const {
        list->clear();
    }
    template <class Other>
    void operator()(Other*) const {}
};

} // namespace

EnergiesSelection SelectionAt(const std::vector<EnergiesTreeNode>& roots,
                              const std::vector<int>& path) {
    EnergiesSelection selection;
    const std::vector<EnergiesTreeNode>* level = &roots;
    for (std::size_t depth = 0; depth < path.size(); ++depth) {
        const int index = path[depth];
        if (index < 0 || static_cast<std::size_t>(index) >= level->size()) {
            return {};
        }
        selection.parent = selection.node;
        selection.node = &(*level)[static_cast<std::size_t>(index)];
        selection.level = static_cast<int>(depth);
        level = &selection.node->Children;
    }
    return selection;
}

const void* ObjectKey(const EnergiesTreeObject& object) {
    return std::visit(KeyOf{}, object);
}

void EnergiesAddition::Commit(TLinacSpec& linac) {
    if (m_photon) {
        linac.gEnergies.push_back(std::move(m_photon));
    } else if (m_electron) {
        linac.eEnergies.push_back(std::move(m_electron));
    } else if (m_entry) {
        m_append(std::move(m_entry));
    }
    m_record = nullptr;
    m_key = nullptr;
    m_append = nullptr;
}

EnergiesAddition EnergiesAddition::Photon() {
    EnergiesAddition addition;
    addition.m_photon = std::make_unique<TgEnergy>();
    addition.m_record = addition.m_photon.get();
    addition.m_key = addition.m_photon.get();
    return addition;
}

EnergiesAddition EnergiesAddition::Electron() {
    EnergiesAddition addition;
    addition.m_electron = std::make_unique<TeEnergy>();
    addition.m_record = addition.m_electron.get();
    addition.m_key = addition.m_electron.get();
    return addition;
}

template <class T>
EnergiesAddition EnergiesAddition::EntryFor(EntryList<T>* list) {
    EnergiesAddition addition;
    auto entry = std::make_unique<T>();
    addition.m_record = entry.get();
    // The tree holds entries as EnergyListItem pointers: the key is that address.
    addition.m_key = static_cast<const EnergyListItem*>(entry.get());
    addition.m_entry = std::move(entry);
    addition.m_append = [list](std::unique_ptr<EnergyListItem> item) {
        // The item was made above as a T for this very list.
        list->push_back(std::unique_ptr<T>(static_cast<T*>(item.release())));
    };
    return addition;
}

EnergiesAddition AddGamma(const EnergiesSelection& selection) {
    if (selection.node == nullptr) {
        return EnergiesAddition::Photon();
    }
    const int image = selection.node->ImageIndex;
    if (image == kImageElectronEnergy || image == kImageApplicator) {
        return {};
    }
    if (image == kImagePhotonEnergy) {
        return EnergiesAddition::Photon();
    }
    return NewEntryIn(GroupOf(selection));
}

EnergiesAddition AddElectron(const EnergiesSelection& selection) {
    if (selection.node == nullptr || selection.node->ImageIndex == kImageElectronEnergy) {
        return EnergiesAddition::Electron();
    }
    if (selection.node->ImageIndex != kImageApplicator || selection.level >= 3) {
        return {};
    }
    return NewEntryIn(GroupOf(selection));
}

EnergiesRemoval PlanRemoval(const EnergiesSelection& selection) {
    EnergiesRemoval removal;
    if (selection.node == nullptr) {
        return removal;
    }
    removal.what = selection.node->Caption;
    std::visit(CollectRemoved{removal}, selection.node->Object);
    if (std::holds_alternative<EnergyListItem*>(selection.node->Object)) {
        CollectSubtree(*selection.node, removal.entries);
    }
    return removal;
}

void Remove(TLinacSpec& linac, const EnergiesSelection& selection) {
    if (selection.node == nullptr) {
        return;
    }
    const EnergiesTreeObject& object = selection.node->Object;
    if (const auto* photon = std::get_if<TgEnergy*>(&object)) {
        EraseOwned(linac.gEnergies, *photon);
    } else if (const auto* electron = std::get_if<TeEnergy*>(&object)) {
        EraseOwned(linac.eEnergies, *electron);
    } else if (const auto* entry = std::get_if<EnergyListItem*>(&object)) {
        if (selection.parent != nullptr) {
            std::visit(EraseEntry{*entry}, selection.parent->Object);
        }
    } else {
        std::visit(ClearList{}, object);
    }
}

} // namespace kova
