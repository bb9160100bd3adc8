#include "core/linac/energies_tree.h"
#include "core/linac/energy.h"
#include "core/linac/linac_spec.h"
#include "support/near.h"

#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kova {
namespace {

using test::IsNear;

const std::string kE7(1, static_cast<char>(0xE7));

template <class T>
T& Append(EntryList<T>& list) {
    list.push_back(std::make_unique<T>());
    return *list.back();
}

std::vector<std::string> Tokens(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;) {
        tokens.push_back(token);
    }
    return tokens;
}

template <class T>
std::string Written(const T& item) {
    std::ostringstream out;
    item.WriteTo(out);
    return out.str();
}

TEST(LinacModel, NewLinacHasItsDefaults) {
    const TLinacSpec linac;
    EXPECT_EQ(linac.Name, "n/a");
    EXPECT_EQ(linac.Brand, "n/a");
    EXPECT_EQ(linac.Model, "n/a");
    EXPECT_EQ(linac.SerialNumber, "");
    EXPECT_EQ(linac.SAD, 100);
    EXPECT_EQ(linac.isAsymmetricFieldsOnWidth, 1);
    EXPECT_EQ(linac.isAsymmetricFieldsOnHeight, 1);
    const std::vector<std::string> labels = {linac.WidthChar, linac.HeightChar, linac.LeftChar,
                                             linac.RightChar, linac.BottomChar, linac.TopChar};
    EXPECT_EQ(labels, (std::vector<std::string>{"LR", "BT", "L", "R", "B", "T"}));
    EXPECT_TRUE(linac.gEnergies.empty());
    EXPECT_TRUE(linac.eEnergies.empty());
    EXPECT_EQ(linac.FileName, "");
}

TEST(LinacModel, NewEnergiesHaveTheirDefaults) {
    const TgEnergy photon;
    EXPECT_EQ(photon.Name, "n/a");
    for (double value :
         {photon.NominalEnergy, photon.MaxWidth,  photon.MaxHeight,    photon.MaxLeft,
          photon.MaxRight,      photon.MaxBottom, photon.MaxTop,       photon.MinWidth,
          photon.MinHeight,     photon.MinLeft,   photon.MinRight,     photon.MinBottom,
          photon.MinTop,        photon.SCD,       photon.Buildup,      photon.cGyUMRatio,
          photon.HalfLife,      photon.TBIRef,    photon.TBIFieldSize, photon.IgnoreOffset}) {
        EXPECT_EQ(value, 0);
    }
    EXPECT_EQ(photon.CalDate, "");
    EXPECT_TRUE(photon.TBISupported); // the one capability on by default
    EXPECT_FALSE(photon.OpenWedgeMUSupported);
    EXPECT_FALSE(photon.PrintOffset);
    EXPECT_FALSE(photon.MLCSupported);
    EXPECT_TRUE(photon.RefFields.empty() && photon.Wedges.empty() && photon.Trays.empty() &&
                photon.OffsetFactors.empty() && photon.MultileafFactors.empty() &&
                photon.Shields.empty());

    const TeEnergy electron;
    EXPECT_EQ(electron.Name, "n/a");
    EXPECT_EQ(electron.NominalEnergy, 0);
    EXPECT_EQ(electron.SSD, 0);
    EXPECT_EQ(electron.Buildup90, 0);
    EXPECT_TRUE(electron.Applicators.empty());
}

TEST(LinacModel, NewEntriesHaveTheirDefaults) {
    const RefField field;
    EXPECT_EQ(field.Width, 10);
    EXPECT_EQ(field.Height, 10);
    EXPECT_EQ(field.FieldFactor, 1);
    EXPECT_FALSE(field.isScatterPhantomFactorAvailable);
    EXPECT_EQ(field.ScatterPhantomFactor, 1);
    EXPECT_TRUE(field.PDDValues.empty());
    const PDDValue pdd;
    EXPECT_EQ(pdd.Depth, 0);
    EXPECT_EQ(pdd.PercentDose, 0);
    const Wedge wedge;
    EXPECT_EQ(wedge.Name, "");
    EXPECT_EQ(wedge.MaxWidth, 0);
    EXPECT_EQ(wedge.MaxHeight, 0);
    EXPECT_EQ(wedge.WedgeType, 0);
    EXPECT_FALSE(wedge.isOffsetWedged);
    EXPECT_TRUE(wedge.WFValues.empty());
    const WFValue wf;
    EXPECT_EQ(wf.PDDWarp, 1);
    EXPECT_EQ(wf.FieldSize, 0);
    EXPECT_EQ(wf.WF, 1);
    EXPECT_EQ(Tray().TF, 0); // unlike every other factor
    EXPECT_EQ(Shield().SF, 1);
    EXPECT_EQ(MLCFValue().MLCF, 1);
    EXPECT_EQ(OFValue().CenterFieldOffset, 0);
    EXPECT_EQ(OFValue().OF, 1);
    EXPECT_EQ(Applicator().AF, 1);
    EXPECT_EQ(Applicator().Name, "");
}

TEST(LinacModel, Captions) {
    PDDValue pdd;
    pdd.Depth = 1.5;
    pdd.PercentDose = 1;
    RefField field;
    field.Height = 12.5;
    WFValue wf;
    wf.FieldSize = 7.5;
    OFValue offset;
    offset.CenterFieldOffset = -2.5;
    Tray tray;
    tray.Name = "Tray A";
    PDDValue thirds;
    thirds.Depth = 0.1 + 0.2; // general form: 15 digits -> "0.3"
    thirds.PercentDose = 2.0 / 3.0;

    struct Case {
        const EnergyListItem* item;
        const char* caption;
    };
    const Case cases[] = {
        {&pdd, "1.5 cm = 1"},        {&thirds, "0.3 cm = 0.666666666666667"},
        {&field, "10 cm x 12.5 cm"}, {&wf, "7.5 cm"},
        {&offset, "-2.5 cm"},        {&tray, "Tray A"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.item->Caption(), c.caption);
    }

    Wedge wedge;
    wedge.Name = "W";
    const char* const typeTexts[] = {"W (Static)", "W (Dynamic)", "W (Universal)", "W ()"};
    for (int type = 0; type < 4; ++type) {
        wedge.WedgeType = static_cast<std::uint8_t>(type);
        EXPECT_EQ(wedge.Caption(), typeTexts[type]);
    }
    wedge.WedgeType = 255;
    EXPECT_EQ(wedge.Caption(), "W ()");
}

/// A wedge factor row: field size [cm], wedge factor, PDD warp.
struct Row {
    double fieldSize;
    double wf;
    double warp = 1;
};

struct WedgeCase {
    const char* why;
    std::vector<Row> rows;
    double s;
    std::optional<WedgeFactors> expected;
};

TEST(LinacModel, WedgeFactorsInterpolateAlongFieldSize) {
    const WedgeCase cases[] = {
        // 10 cm WF 0.5 and 20 cm WF 0.7: 15 is halfway, 0.5 + 0.2 / 2 = 0.6. The warp goes
        // from 1 to 0.9 the same way: 0.95.
        {"halfway", {{10, 0.5, 1}, {20, 0.7, 0.9}}, 15, WedgeFactors{0.6, 0.95}},
        {"exact hit", {{10, 0.5, 1}, {20, 0.7, 0.9}}, 10, WedgeFactors{0.5, 1}},
        {"exact hit on the last", {{10, 0.5, 1}, {20, 0.7, 0.9}}, 20, WedgeFactors{0.7, 0.9}},
        {"beyond the top: held", {{10, 0.5, 1}, {20, 0.7, 0.9}}, 25, WedgeFactors{0.7, 0.9}},
        {"below the bottom: held", {{10, 0.5, 1}, {20, 0.7, 0.9}}, 5, WedgeFactors{0.5, 1}},
        // Two rows at 10: the earlier (0.5) is the nearest; with 20 as partner at s = 12:
        // 0.5 + (0.7 - 0.5) * 2 / 10 = 0.54 (the later row would give 0.86).
        {"tie: earlier wins", {{10, 0.5}, {10, 0.9}, {20, 0.7}}, 12, WedgeFactors{0.54, 1}},
        // Nearest to 13 is 12 (0.6); the partner is the nearest on the other side (20, 0.9),
        // not the next nearest (10): 0.6 + 0.3 * 1 / 8 = 0.6375.
        {"partner on the other side",
         {{10, 0.5}, {12, 0.6}, {20, 0.9}},
         13,
         WedgeFactors{0.6375, 1}},
        // Nearest to 120 is 150 (30 away); 10 is 110 away, beyond the 100 cm reach.
        {"partner too far", {{10, 0.5}, {150, 0.8}}, 120, WedgeFactors{0.8, 1}},
        // Partner 95 away is still used: 0.5 + 0.4 * 20 / 115 = 0.569565217391304.
        {"partner just within reach",
         {{10, 0.5}, {125, 0.9}},
         30,
         WedgeFactors{0.569565217391304, 1}},
        {"nearest 99.5 away", {{10, 0.5}}, 109.5, WedgeFactors{0.5, 1}},
        {"nearest exactly 100 away", {{10, 0.5}}, 110, std::nullopt},
        {"empty table", {}, 10, std::nullopt},
    };
    for (const WedgeCase& c : cases) {
        Wedge wedge;
        for (const Row& row : c.rows) {
            WFValue& value = Append(wedge.WFValues);
            value.FieldSize = row.fieldSize;
            value.WF = row.wf;
            value.PDDWarp = row.warp;
        }
        const std::optional<WedgeFactors> got = wedge.GetFactors(c.s);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.why;
        if (got) {
            EXPECT_TRUE(IsNear(got->WF, c.expected->WF)) << c.why;
            EXPECT_TRUE(IsNear(got->PDDWarp, c.expected->PDDWarp)) << c.why;
        }
    }
}

TEST(LinacModel, EnergiesDescribeThemselvesInThreeLines) {
    TgEnergy photon;
    photon.Name = "6 MV";
    photon.Buildup = 1.5;
    photon.SCD = 100;
    EXPECT_EQ(photon.DescribeInTree(),
              (std::vector<std::string>{"Energy = 6 MV", "Buildup = 1.5 cm", "SCD = 100 cm"}));
    EXPECT_EQ(TgEnergy().DescribeInTree(),
              (std::vector<std::string>{"Energy = n/a", "Buildup = 0 cm", "SCD = 0 cm"}));
    TeEnergy electron;
    electron.Name = "E9";
    electron.Buildup90 = 2.7;
    electron.SSD = 105;
    EXPECT_EQ(electron.DescribeInTree(),
              (std::vector<std::string>{"Energy = E9", "Buildup90 = 2.7 cm", "SSD = 105 cm"}));
}

TEST(LinacModel, EntriesWriteTabSeparatedLines) {
    RefField field;
    field.Width = 5;
    field.Height = 7.5;
    field.FieldFactor = 0.987654321;
    field.isScatterPhantomFactorAvailable = true;
    field.ScatterPhantomFactor = 0.99;
    Append(field.PDDValues).Depth = 1.5;
    field.PDDValues.back()->PercentDose = 1;
    Wedge wedge;
    wedge.Name = "W 60";
    wedge.WedgeType = 1;
    wedge.MaxWidth = 20;
    wedge.MaxHeight = 30;
    wedge.isOffsetWedged = true;
    WFValue& row = Append(wedge.WFValues);
    row.FieldSize = 10;
    row.PDDWarp = 0.98;
    row.WF = 0.3;
    Tray tray;
    tray.Name = "Tray 1";
    tray.TF = 0.97;
    OFValue offset;
    offset.CenterFieldOffset = -2;
    offset.OF = 1.0123456789;
    Applicator unnamed; // an empty name is written as one 0xE7, so a token is still there

    struct Case {
        std::string written;
        std::string expected;
    };
    const Case cases[] = {
        // Numbers keep their digits (general form), not a six-digit rounding.
        {Written(field), "5\t7.5\t0.987654321\t1\t0.99\n1\n1.5\t1\n"},
        // field size, warp, wedge factor
        {Written(wedge), "W" + kE7 + "60\t1\t20\t30\t1\n1\n10\t0.98\t0.3\n"},
        {Written(tray), "Tray" + kE7 + "1\t0.97\n"},
        {Written(offset), "-2\t1.0123456789\n"},
        {Written(unnamed), kE7 + "\t1\n"},
        {Written(Shield()), kE7 + "\t1\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.written, c.expected);
    }
}

TEST(LinacModel, WriterFillsEmptyTexts) {
    // An empty serial number and an empty CalDate still give one token each.
    TLinacSpec linac;
    Append(linac.gEnergies);
    Append(linac.eEnergies);
    const std::vector<std::string> expected = {
        "DAZUZODADIDUSPECFILE", "0", "n/a", "n/a", "n/a", kE7, "100", "LR", "BT", "L", "R", "B",
        "T", "1", "1",
        // one photon energy at its defaults
        "1", "n/a", "0",              // name, nominal energy
        "0", "0", "0", "0",           // field sizes
        "0", "0", "0", "0",           // largest jaw positions
        "0", "0", "0", "0",           // smallest jaw positions
        "0", "0",                     // SCD, build-up
        "1", "0", "0",                // TBI: supported, distance, field size
        "0", "0", "0",                // open/wedge, print offset, MLC
        "0",                          // IgnoreOffset
        "0", "0", "-",                // calibration factor, half-life, empty CalDate
        "0", "0", "0", "0", "0", "0", // six empty tables
        // one electron energy at its defaults
        "1", "n/a", "0", "0", "0", "0"};
    EXPECT_EQ(Tokens(Written(linac)), expected);
}

/// One line per node: depth, caption and image index, in display order.
void Flatten(const std::vector<EnergiesTreeNode>& nodes, int depth, std::vector<std::string>& out) {
    for (const EnergiesTreeNode& node : nodes) {
        out.push_back(std::string(static_cast<std::size_t>(depth) * 2, ' ') + node.Caption + " [" +
                      std::to_string(node.ImageIndex) + "]");
        Flatten(node.Children, depth + 1, out);
    }
}

TEST(LinacModel, EnergiesTreeLayout) {
    TLinacSpec linac;
    TgEnergy& x6 = Append(linac.gEnergies);
    x6.Name = "X6";
    x6.NominalEnergy = 6;
    RefField& field = Append(x6.RefFields);
    PDDValue& pdd = Append(field.PDDValues);
    pdd.Depth = 1.5;
    pdd.PercentDose = 1;
    Wedge& wedge = Append(x6.Wedges);
    wedge.Name = "W60";
    Append(wedge.WFValues).FieldSize = 10;
    Append(x6.Trays).Name = "T1";
    Append(x6.OffsetFactors).CenterFieldOffset = 2.5;
    Append(x6.MultileafFactors).Name = "M1";
    Append(x6.Shields).Name = "S1";
    TgEnergy& x18 = Append(linac.gEnergies);
    x18.Name = "X18";
    x18.NominalEnergy = 18;
    TeEnergy& e9 = Append(linac.eEnergies);
    e9.Name = "E9";
    e9.NominalEnergy = 9;
    Append(e9.Applicators).Name = "A10";

    const std::vector<EnergiesTreeNode> tree = BuildEnergiesTree(linac);
    std::vector<std::string> lines;
    Flatten(tree, 0, lines);
    const std::vector<std::string> expected = {
        "X6 (6 MV) [0]", "  Reference Fields [1]", "    10 cm x 10 cm [1]", "      PDD [5]",
        "        1.5 cm = 1 [5]", "  Wedges [2]", "    W60 (Static) [2]", "      Wedge Factors [6]",
        "        10 cm [6]", "  Trays [7]", "    T1 [7]", "  Offset Factors [3]", "    2.5 cm [3]",
        "  Multileaf Factors [4]", "    M1 [4]", "  Shields [8]", "    S1 [8]",
        // empty groups are still there, in the same order
        "X18 (18 MV) [0]", "  Reference Fields [1]", "  Wedges [2]", "  Trays [7]",
        "  Offset Factors [3]", "  Multileaf Factors [4]", "  Shields [8]",
        // electron energies after every photon energy
        "E9 (9 MeV) [9]", "  Applicators [10]", "    A10 [10]"};
    EXPECT_EQ(lines, expected);

    // Each node points at what it stands for.
    ASSERT_EQ(tree.size(), 3u);
    const EnergiesTreeNode& photon = tree[0];
    EXPECT_EQ(std::get<TgEnergy*>(photon.Object), &x6);
    EXPECT_EQ(std::get<EntryList<RefField>*>(photon.Children[0].Object), &x6.RefFields);
    const EnergiesTreeNode& fieldNode = photon.Children[0].Children[0];
    EXPECT_EQ(std::get<EnergyListItem*>(fieldNode.Object), &field);
    EXPECT_EQ(std::get<EntryList<PDDValue>*>(fieldNode.Children[0].Object), &field.PDDValues);
    EXPECT_EQ(std::get<EnergyListItem*>(fieldNode.Children[0].Children[0].Object), &pdd);
    const EnergiesTreeNode& wedgeNode = photon.Children[1].Children[0];
    EXPECT_EQ(std::get<EntryList<Wedge>*>(photon.Children[1].Object), &x6.Wedges);
    EXPECT_EQ(std::get<EnergyListItem*>(wedgeNode.Object), &wedge);
    EXPECT_EQ(std::get<EntryList<WFValue>*>(wedgeNode.Children[0].Object), &wedge.WFValues);
    EXPECT_EQ(std::get<EntryList<Tray>*>(photon.Children[2].Object), &x6.Trays);
    EXPECT_EQ(std::get<EntryList<OFValue>*>(photon.Children[3].Object), &x6.OffsetFactors);
    EXPECT_EQ(std::get<EntryList<MLCFValue>*>(photon.Children[4].Object), &x6.MultileafFactors);
    EXPECT_EQ(std::get<EnergyListItem*>(photon.Children[4].Children[0].Object),
              x6.MultileafFactors[0].get());
    EXPECT_EQ(std::get<EntryList<Shield>*>(photon.Children[5].Object), &x6.Shields);
    EXPECT_EQ(std::get<TgEnergy*>(tree[1].Object), &x18);
    EXPECT_EQ(std::get<TeEnergy*>(tree[2].Object), &e9);
    EXPECT_EQ(std::get<EntryList<Applicator>*>(tree[2].Children[0].Object), &e9.Applicators);
    EXPECT_EQ(std::get<EnergyListItem*>(tree[2].Children[0].Children[0].Object),
              e9.Applicators[0].get());

    TLinacSpec empty;
    EXPECT_TRUE(BuildEnergiesTree(empty).empty());
}

} // namespace
} // namespace kova
