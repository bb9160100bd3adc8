// The commands of the linac window on the energies tree: what "Add gamma" and "Add e-" make
// for each node, what "Remove" takes away, and who on the workbench stops a removal.

#include "core/beams/beam.h"
#include "core/beams/beam_form.h"
#include "core/beams/photon_beam.h"
#include "core/linac/energies_commands.h"
#include "core/linac/linac_spec.h"
#include "core/workbench/linac_users.h"
#include "support/linac_text.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kova {
namespace {

using Path = std::vector<int>;

// Paths in the tree of the test linac (LinacText defaults): X6 with the reference field
// 10 x 10 (two depth doses), wedge W60 (one factor), "Tray", an offset factor, "MLC" and
// "Block"; then E9 with applicator A10.
const Path kX6{0};
const Path kRefFields{0, 0};
const Path kField{0, 0, 0};
const Path kPdd{0, 0, 0, 0};
const Path kSecondDepthDose{0, 0, 0, 0, 1};
const Path kWedges{0, 1};
const Path kW60{0, 1, 0};
const Path kWedgeFactors{0, 1, 0, 0};
const Path kTrays{0, 2};
const Path kE9{1};
const Path kApplicators{1, 0};
const Path kA10{1, 0, 0};

TLinacSpec TestLinac(const test::LinacText& text = {}) {
    TLinacSpec linac;
    const LoadResult read = ReadLinacText(text.Text(), linac);
    EXPECT_TRUE(read.accepted()) << read.reason;
    return linac;
}

/// The path of the node standing for `key`; empty when there is none.
bool FindPath(const std::vector<EnergiesTreeNode>& nodes, const void* key, Path& path) {
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        path.push_back(static_cast<int>(i));
        if (ObjectKey(nodes[i].Object) == key || FindPath(nodes[i].Children, key, path)) {
            return true;
        }
        path.pop_back();
    }
    return false;
}

std::string Text(const Path& path) {
    std::string text;
    for (int index : path) {
        text += (text.empty() ? "" : ",") + std::to_string(index);
    }
    return "{" + text + "}";
}

TEST(EnergiesCommands, AddMakesTheRecordOfTheSelectedNode) {
    struct Case {
        Path selected;
        bool gamma;           // "Add gamma", else "Add e-"
        const char* form;     // the window of the new record; empty when nothing is added
        Path expectedNewNode; // where the record shows after OK
    };
    const Case cases[] = {
        // Nothing selected, or an energy of the button's kind: a new energy, after the others
        // of its kind (photon energies come first).
        {{}, true, "gEnergyForm", {1}},
        {kX6, true, "gEnergyForm", {1}},
        {{}, false, "eEnergyForm", {2}},
        {kE9, false, "eEnergyForm", {2}},
        // A group or one of its entries: a new entry at the end of that group.
        {kRefFields, true, "RefFieldForm", {0, 0, 1}},
        {kField, true, "RefFieldForm", {0, 0, 1}},
        {kWedges, true, "WedgeForm", {0, 1, 1}},
        {kW60, true, "WedgeForm", {0, 1, 1}},
        {kTrays, true, "TrayForm", {0, 2, 1}},
        {{0, 2, 0}, true, "TrayForm", {0, 2, 1}},
        {{0, 3}, true, "OFValueForm", {0, 3, 1}},
        {{0, 4, 0}, true, "MLCFValueForm", {0, 4, 1}},
        {{0, 5}, true, "ShieldForm", {0, 5, 1}},
        {kApplicators, false, "ApplicatorForm", {1, 0, 1}},
        {kA10, false, "ApplicatorForm", {1, 0, 1}},
        // Inside a "PDD" or "Wedge Factors" group: a value of that reference field or wedge.
        {kPdd, true, "PDDValueForm", {0, 0, 0, 0, 2}},
        {kSecondDepthDose, true, "PDDValueForm", {0, 0, 0, 0, 2}},
        {kWedgeFactors, true, "WFValueForm", {0, 1, 0, 0, 1}},
        {{0, 1, 0, 0, 0}, true, "WFValueForm", {0, 1, 0, 0, 1}},
        // The other kind's nodes: nothing.
        {kA10, true, "", {}},
        {kE9, true, "", {}},
        {kApplicators, true, "", {}},
        {kX6, false, "", {}},
        {kW60, false, "", {}},
        {kSecondDepthDose, false, "", {}},
    };
    for (const Case& c : cases) {
        const std::string what = (c.gamma ? "Add gamma on " : "Add e- on ") + Text(c.selected);
        TLinacSpec linac = TestLinac();
        const std::vector<EnergiesTreeNode> tree = BuildEnergiesTree(linac);
        const EnergiesSelection selection = SelectionAt(tree, c.selected);
        EnergiesAddition addition = c.gamma ? AddGamma(selection) : AddElectron(selection);
        if (*c.form == '\0') {
            EXPECT_TRUE(addition.empty()) << what;
            continue;
        }
        ASSERT_FALSE(addition.empty()) << what;
        EXPECT_EQ(addition.record()->EditorLayout().formName, c.form) << what;
        EXPECT_EQ(addition.isEnergy(), c.selected.size() <= 1) << what;
        const void* key = addition.key();
        addition.Commit(linac);
        EXPECT_TRUE(addition.empty());
        Path found;
        EXPECT_TRUE(FindPath(BuildEnergiesTree(linac), key, found)) << what;
        EXPECT_EQ(found, c.expectedNewNode) << what;
    }
}

TEST(EnergiesCommands, NewPhotonEnergyShowsMultileafFactorsOnlyWithMultileafSupport) {
    test::LinacText text;
    text.Photons[0].MLCSupported = "0";
    TLinacSpec linac = TestLinac(text);
    EnergiesAddition addition = AddGamma({});
    auto* added = static_cast<const TgEnergy*>(addition.key());
    addition.Commit(linac);
    const auto groups = [&](std::size_t root) {
        std::vector<std::string> captions;
        const std::vector<EnergiesTreeNode> tree = BuildEnergiesTree(linac, {added});
        for (const EnergiesTreeNode& group : tree[root].Children) {
            captions.push_back(group.Caption);
        }
        return captions;
    };
    const std::vector<std::string> withoutMultileaf = {"Reference Fields", "Wedges", "Trays",
                                                       "Offset Factors", "Shields"};
    EXPECT_EQ(groups(1), withoutMultileaf);
    // An energy read from the file shows the group whatever its flag says.
    EXPECT_EQ(groups(0).size(), 6u);
    linac.gEnergies[1]->MLCSupported = true;
    EXPECT_EQ(groups(1).size(), 6u);
    EXPECT_EQ(groups(1)[4], "Multileaf Factors");
}

/// The captions of the children of the node at `path` (of the roots for an empty path).
std::vector<std::string> Captions(const std::vector<EnergiesTreeNode>& tree, const Path& path) {
    const std::vector<EnergiesTreeNode>& nodes =
        path.empty() ? tree : SelectionAt(tree, path).node->Children;
    std::vector<std::string> captions;
    for (const EnergiesTreeNode& node : nodes) {
        captions.push_back(node.Caption);
    }
    return captions;
}

TEST(EnergiesCommands, RemoveTakesAwayTheNodeOrEmptiesTheGroup) {
    struct Case {
        Path selected;
        std::size_t entriesGone; // the entries PlanRemoval names, sub-entries included
        Path shown;              // then the children of this node are
        std::vector<std::string> left;
    };
    const Case cases[] = {
        // An energy with its 9 entries: field + 2 depth doses, wedge + 1 factor, tray, offset,
        // multileaf, shield.
        {kX6, 9, {}, {"E9 (9 MeV)"}},
        {kE9, 1, {}, {"X6 (6 MV)"}},
        // A group: every entry goes, the group node stays.
        {kTrays, 1, kTrays, {}},
        {kRefFields, 3, kRefFields, {}},
        {kPdd, 2, kPdd, {}},
        // One entry with its own values, or one value.
        {kW60, 2, kWedges, {}},
        {kSecondDepthDose, 1, kPdd, {"1.5 cm = 1"}},
        {kA10, 1, kApplicators, {}},
    };
    for (const Case& c : cases) {
        TLinacSpec linac = TestLinac();
        const std::vector<EnergiesTreeNode> tree = BuildEnergiesTree(linac);
        const EnergiesSelection selection = SelectionAt(tree, c.selected);
        EXPECT_EQ(PlanRemoval(selection).entries.size(), c.entriesGone) << Text(c.selected);
        Remove(linac, selection);
        EXPECT_EQ(Captions(BuildEnergiesTree(linac), c.shown), c.left) << Text(c.selected);
    }
    // Nothing selected removes nothing.
    TLinacSpec linac = TestLinac();
    EXPECT_TRUE(PlanRemoval({}).empty());
    Remove(linac, {});
    EXPECT_EQ(linac.gEnergies.size(), 1u);
}

TEST(EnergiesCommands, WrongPathsSelectNothing) {
    TLinacSpec linac = TestLinac();
    const std::vector<EnergiesTreeNode> tree = BuildEnergiesTree(linac);
    for (const Path& path : {Path{}, Path{2}, Path{-1}, Path{0, 6}, Path{0, 0, 0, 0, 2, 0}}) {
        EXPECT_EQ(SelectionAt(tree, path).node, nullptr) << Text(path);
    }
    const EnergiesSelection pdd = SelectionAt(tree, kSecondDepthDose);
    EXPECT_EQ(pdd.level, 4);
    EXPECT_EQ(pdd.parent->Caption, "PDD");
}

/// A computed beam that refers to the given entries.
class UsingBeam : public TBeam {
public:
    UsingBeam(std::string beamName, std::vector<const EnergyListItem*> used)
        : TBeam(std::move(beamName)), m_used(std::move(used)) {}
    std::vector<TextNode> ShowResults() const override { return {}; }
    std::vector<std::string> DetailsColumn(const Date&) const override { return {}; }
    std::vector<SetupCell> SetupRow() const override { return {}; }
    std::vector<const EnergyListItem*> UsedEntries() const override { return m_used; }
    BeamKind Kind() const override { return BeamKind::Photon; }
    std::vector<NamedValue> Inputs() const override { return {}; }
    std::vector<NamedValue> Factors() const override { return {}; }
    std::unique_ptr<BeamForm> CreateForm() override { return nullptr; }
    std::unique_ptr<TBeam> Clone() const override {
        return std::make_unique<UsingBeam>(name, m_used);
    }

private:
    std::vector<const EnergyListItem*> m_used;
};

TEST(EnergiesCommands, RemovingWhatTheWorkbenchUsesIsRefusedNamingTheUsers) {
    TLinacSpec linac = TestLinac();
    const std::vector<EnergiesTreeNode> tree = BuildEnergiesTree(linac);
    TgEnergy& x6 = *linac.gEnergies[0];
    Workbench workbench;
    Patient& rossi = workbench.AddPatient();
    rossi.name = "Rossi";
    auto photon = std::make_unique<TTreatment>();
    photon->name = "Prostata";
    photon->linac = &linac;
    photon->gEnergy = &x6;
    // AP selects a wedge and a shield, as a photon beam stores them, and is off the axis.
    auto apBeam = std::make_unique<TPhotonBeam>("AP");
    apBeam->wedge = x6.Wedges[0].get();
    apBeam->shield = x6.Shields[0].get();
    apBeam->offset = 3;
    photon->AddBeam(std::move(apBeam));
    photon->AddBeam(std::make_unique<UsingBeam>("PA", std::vector<const EnergyListItem*>{}));
    workbench.AddTreatment(rossi, std::move(photon));
    Patient& bianchi = workbench.AddPatient();
    bianchi.name = "Bianchi";
    auto electron = std::make_unique<TTreatment>();
    electron->name = "Cute";
    electron->linac = &linac;
    electron->kind = BeamKind::Electron;
    electron->eEnergy = linac.eEnergies[0].get();
    workbench.AddTreatment(bianchi, std::move(electron));

    struct Case {
        Path selected;
        std::vector<std::string> users;
    };
    const std::string prostata = "treatment \"Prostata\" of patient \"Rossi\"";
    const std::string ap = "beam \"AP\" of treatment \"Prostata\"";
    const std::string pa = "beam \"PA\" of treatment \"Prostata\"";
    const Case cases[] = {
        // The treatment is named once; its beams go with it.
        {kX6, {prostata}},
        {kE9, {"treatment \"Cute\" of patient \"Bianchi\""}},
        {kW60, {ap}},
        {kWedges, {ap}},
        {{0, 5, 0}, {ap}},
        // The factors of AP's wedge; the reference fields and their depth doses, which every
        // photon beam of the energy read (the table, one field, one depth dose).
        {kWedgeFactors, {ap}},
        {kRefFields, {ap, pa}},
        {kField, {ap, pa}},
        {kSecondDepthDose, {ap, pa}},
        // The offset factors that AP, off the axis, read.
        {{0, 3}, {ap}},
        // Nothing refers to these: removed as usual.
        {kTrays, {}},
        {kA10, {}},
    };
    for (const Case& c : cases) {
        const EnergiesRemoval removal = PlanRemoval(SelectionAt(tree, c.selected));
        EXPECT_EQ(UsersOf(workbench, removal), c.users) << Text(c.selected);
        EXPECT_EQ(CheckRemoval(workbench, removal).ok(), c.users.empty()) << Text(c.selected);
    }
    EXPECT_EQ(CheckRemoval(workbench, PlanRemoval(SelectionAt(tree, kW60))).reason(),
              "\"W60 (Static)\" cannot be removed: it is used by beam \"AP\" of treatment "
              "\"Prostata\". Delete or change those first.");
    // A change of what a beam used is refused alike; of what none used, not.
    EXPECT_EQ(CheckChange(workbench, *x6.Wedges[0]->WFValues[0], "10 cm").reason(),
              "\"10 cm\" cannot be changed: it is used by beam \"AP\" of treatment "
              "\"Prostata\". Delete or change those first.");
    EXPECT_TRUE(CheckChange(workbench, *x6.Trays[0], "Tray").ok());
}

} // namespace
} // namespace kova
