#include "core/linac/energies_tree.h"

#include "core/text/number_text.h"

#include <algorithm>

namespace kova {
namespace {

/// A group node for `list` whose children are the entries' captions, each built by `child`.
template <class T, class MakeChild>
EnergiesTreeNode Group(const char* caption, int image, EntryList<T>& list, MakeChild child) {
    EnergiesTreeNode group{caption, image, &list, {}};
    for (auto& entry : list) {
        group.Children.push_back(child(*entry));
    }
    return group;
}

template <class T>
EnergiesTreeNode Group(const char* caption, int image, EntryList<T>& list) {
    return Group(caption, image, list, [image](T& entry) {
        return EnergiesTreeNode{entry.Caption(), image, static_cast<EnergyListItem*>(&entry), {}};
    });
}

EnergiesTreeNode PhotonNode(TgEnergy& energy, bool showMultileaf) {
    EnergiesTreeNode node{energy.Name + " (" + FormatGeneral(energy.NominalEnergy) + " MV)",
                          kImagePhotonEnergy,
                          &energy,
                          {}};
    node.Children.push_back(
        Group("Reference Fields", kImageRefField, energy.RefFields, [](RefField& field) {
            EnergiesTreeNode fieldNode{
                field.Caption(), kImageRefField, static_cast<EnergyListItem*>(&field), {}};
            fieldNode.Children.push_back(Group("PDD", kImagePDD, field.PDDValues));
            return fieldNode;
        }));
    node.Children.push_back(Group("Wedges", kImageWedge, energy.Wedges, [](Wedge& wedge) {
        EnergiesTreeNode wedgeNode{
            wedge.Caption(), kImageWedge, static_cast<EnergyListItem*>(&wedge), {}};
        wedgeNode.Children.push_back(Group("Wedge Factors", kImageWedgeFactor, wedge.WFValues));
        return wedgeNode;
    }));
    node.Children.push_back(Group("Trays", kImageTray, energy.Trays));
    node.Children.push_back(Group("Offset Factors", kImageOffset, energy.OffsetFactors));
    if (showMultileaf) {
        node.Children.push_back(
            Group("Multileaf Factors", kImageMultileaf, energy.MultileafFactors));
    }
    node.Children.push_back(Group("Shields", kImageShield, energy.Shields));
    return node;
}

EnergiesTreeNode ElectronNode(TeEnergy& energy) {
    EnergiesTreeNode node{energy.Name + " (" + FormatGeneral(energy.NominalEnergy) + " MeV)",
                          kImageElectronEnergy,
                          &energy,
                          {}};
    node.Children.push_back(Group("Applicators", kImageApplicator, energy.Applicators));
    return node;
}

} // namespace

std::vector<EnergiesTreeNode> BuildEnergiesTree(TLinacSpec& linac,
                                                const std::vector<const TgEnergy*>& addedInWindow) {
    std::vector<EnergiesTreeNode> roots;
    for (auto& energy : linac.gEnergies) {
        const bool added = std::find(addedInWindow.begin(), addedInWindow.end(), energy.get()) !=
                           addedInWindow.end();
        const bool showMultileaf =
            !added || energy->MLCSupported || !energy->MultileafFactors.empty();
        roots.push_back(PhotonNode(*energy, showMultileaf));
    }
    for (auto& energy : linac.eEnergies) {
        roots.push_back(ElectronNode(*energy));
    }
    return roots;
}

} // namespace kova
