#pragma once

#include "core/linac/linac_spec.h"

#include <string>
#include <variant>
#include <vector>

namespace kova {

/// What a node of the linac window's energies tree stands for.
using EnergiesTreeObject =
    std::variant<TgEnergy*, TeEnergy*, EnergyListItem*, EntryList<RefField>*, EntryList<PDDValue>*,
                 EntryList<Wedge>*, EntryList<WFValue>*, EntryList<Tray>*, EntryList<OFValue>*,
                 EntryList<MLCFValue>*, EntryList<Shield>*, EntryList<Applicator>*>;

/// Image indexes of the energies tree; the index tells the window what a node is.
enum EnergiesTreeImage : int {
    kImagePhotonEnergy = 0,
    kImageRefField = 1,
    kImageWedge = 2,
    kImageOffset = 3,
    kImageMultileaf = 4,
    kImagePDD = 5,
    kImageWedgeFactor = 6,
    kImageTray = 7,
    kImageShield = 8,
    kImageElectronEnergy = 9,
    kImageApplicator = 10,
};

struct EnergiesTreeNode {
    std::string Caption;
    int ImageIndex = -1;
    EnergiesTreeObject Object;
    std::vector<EnergiesTreeNode> Children;
};

/// The energies tree of a linac: one root per photon energy (in list order) with its six
/// table groups, then one root per electron energy with its applicators. A photon energy of
/// `addedInWindow` (made with "Add gamma" rather than read from the file) shows its
/// "Multileaf Factors" group only while it supports multileaf collimators or has factors.
std::vector<EnergiesTreeNode>
BuildEnergiesTree(TLinacSpec& linac, const std::vector<const TgEnergy*>& addedInWindow = {});

} // namespace kova
