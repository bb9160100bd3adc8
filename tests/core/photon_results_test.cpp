#include "core/beams/photon_beam.h"
#include "support/photon_energy.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kova {
namespace {

const Date kToday{2026, 6, 1};
const Date kPrintDay{2026, 6, 15};

/// Fixed SSD 100, 10 cm deep, 10 x 10 with X jaws x1, x2 and Y jaws y1, y2, dose 200 cGy.
PhotonBeamInput Input(double x1 = 5, double x2 = 5, double y1 = 5, double y2 = 5) {
    PhotonBeamInput in;
    in.technique = kFixedSsd;
    in.name = "AP";
    in.ID = "7";
    in.gantry = "0";
    in.couch = "15";
    in.dose = 200;
    in.X1 = x1;
    in.X2 = x2;
    in.Y1 = y1;
    in.Y2 = y2;
    in.width = in.height = in.equivSize = 10;
    in.depth = 10;
    in.SSD = 100;
    in.realSSD = 98.5;
    return in;
}

std::vector<std::string> Texts(const std::vector<TextNode>& nodes) {
    std::vector<std::string> texts;
    for (const TextNode& node : nodes) {
        texts.push_back(node.text);
    }
    return texts;
}

/// The children of "Dosimetric details".
const std::vector<TextNode>& Details(const std::vector<TextNode>& tree) {
    return tree.back().children;
}

std::vector<std::string> Cell(const std::vector<SetupCell>& row, SetupColumn column) {
    for (const SetupCell& cell : row) {
        if (cell.column == column) {
            return cell.lines;
        }
    }
    return {"(no cell)"};
}

class PhotonResultsTest : public ::testing::Test {
protected:
    PhotonResultsTest() { beam.machine = setup.treatment.Machine(); }

    void Accept(const PhotonBeamInput& in) {
        const Status status = beam.Accept(in, kToday);
        ASSERT_TRUE(status.ok()) << status.reason();
    }

    test::PhotonSetup setup;
    TPhotonBeam beam;
};

TEST_F(PhotonResultsTest, LinesOfASymmetricBeam) {
    EXPECT_TRUE(beam.ShowResults().empty()) << "nothing before a calculation";
    EXPECT_TRUE(beam.SetupRow().empty());
    Accept(Input());
    const std::vector<TextNode> tree = beam.ShowResults();
    // "\\\\" is two backslashes. MU = 200 / 0.67 = 298.507; tmr = 0.67 x (110/101.5)^2 = 0.787.
    EXPECT_EQ(Texts(tree),
              (std::vector<std::string>{"Size @ SCD = 10 cm x 10 cm (10 cm)", "Depth = 10 cm",
                                        "SSD\\\\RealSSD = 100 cm\\\\98.5 cm",
                                        "Gantry\\\\Jaws\\\\Couch = 0\\\\*\\\\15", "Dose = 200 cGy",
                                        "MU = 298.51", "Dosimetric details"}));
    EXPECT_TRUE(tree[0].children.empty());
    const std::vector<TextNode>& details = Details(tree);
    ASSERT_EQ(Texts(details), (std::vector<std::string>{"Actual Calibration Factor = 1.000 cGy/UM",
                                                        "Field Factor = 1.000",
                                                        "Scale Factor = 1.000", "Depth Dose"}))
        << "offset 0 without its factor has no line";
    EXPECT_EQ(Texts(details[0].children),
              (std::vector<std::string>{"Actual Date = 01/06/2026",
                                        "Original Calibration Factor = 1.000 cGy/UM",
                                        "Calibration Date = 01/01/2026"}));
    EXPECT_EQ(Texts(details[3].children),
              (std::vector<std::string>{"TMR = 0.787", "SSD PDD = 0.670", "SCD PDD = 0.670"}));
    EXPECT_EQ(Texts(details[3].children[2].children),
              (std::vector<std::string>{"SCD PDD Size = 10.00 cm"}));
    for (const TextNode& node : details) {
        EXPECT_EQ(node.image, -1) << node.text;
    }
}

TEST_F(PhotonResultsTest, OffsetLines) {
    struct Case {
        double x1, x2;
        bool isOffset;
        const char* node;
        std::vector<std::string> children;
        const char* row31;
        const char* row32;
    };
    const Case cases[] = {
        // (6.2 - 3.8) / 2 = 1.2, not used.
        {3.8, 6.2, false, "Ignored 1.2 cm", {}, "1.2", ""},
        // 3 cm used: 1.000 + (0.980 - 1.000) x 3 / 5 = 0.988.
        {2, 8, true, "3 cm", {"Offset Factor = 0.988"}, "3", "0.988"},
    };
    for (const Case& c : cases) {
        PhotonBeamInput in = Input(c.x1, c.x2);
        in.offset = (c.x2 - c.x1) / 2;
        in.offsetOff = !c.isOffset;
        Accept(in);
        const std::vector<TextNode> tree = beam.ShowResults();
        const TextNode& offset = Details(tree).back();
        EXPECT_EQ(offset.text, c.node);
        EXPECT_EQ(offset.image, kImageOffsetLine);
        EXPECT_EQ(Texts(offset.children), c.children) << c.node;
        const std::vector<std::string> column = beam.DetailsColumn(kPrintDay);
        ASSERT_EQ(column.size(), 37u);
        EXPECT_EQ(column[30], c.row31) << c.node;
        EXPECT_EQ(column[31], c.row32) << c.node;
    }
}

TEST_F(PhotonResultsTest, InterpolatedValuesAreMarked) {
    PhotonBeamInput in = Input(6, 6, 6, 6);
    in.width = in.height = in.equivSize = 12;
    Accept(in);
    // 12x12 lies between 10x10 and 30x30: FF 1.00 + 0.10 x 2 / 20 = 1.01, depth dose
    // interpolated too (0.67 on both sides).
    const std::vector<TextNode> tree = beam.ShowResults();
    const std::vector<TextNode>& details = Details(tree);
    EXPECT_EQ(details[1].text, "Field Factor = 1.010*");
    EXPECT_EQ(Texts(details[3].children),
              (std::vector<std::string>{"TMR = 0.787*", "SSD PDD = 0.670*", "SCD PDD = 0.670*"}));
    EXPECT_EQ(details[3].children[2].children.at(0).text, "SCD PDD Size = 12.00 cm");
}

TEST_F(PhotonResultsTest, ModifierLines) {
    PhotonBeamInput in = Input();
    in.wedge = setup.w30;
    in.tray = setup.tray;
    in.shield = setup.shield;
    in.multileaf = setup.multileaf;
    Accept(in);
    const std::vector<TextNode> tree = beam.ShowResults();
    const std::vector<TextNode>& details = Details(tree);
    ASSERT_EQ(details.size(), 8u);
    struct Line {
        std::string text;
        int image;
        std::vector<std::string> children;
    };
    // W30 at 10 cm: WF 0.525, warp 1.15, t = 1.5 + 8.5 x 1.15 = 11.275.
    const Line expected[] = {
        {"W30",
         kImageWedgeLine,
         {"Wedge Factor = 0.525", "Wedge PPD Warp Factor = 1.15", "Effective Depth = 11.275"}},
        {"Tray", kImageTrayLine, {"Tray Factor = 0.96"}},
        {"Block", kImageShieldLine, {"Shield Factor = 0.95"}},
        {"MLC", kImageMultileafLine, {"Multileaf Factor = 0.990"}},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const TextNode& node = details[4 + i];
        EXPECT_EQ(node.text, expected[i].text);
        EXPECT_EQ(node.image, expected[i].image) << node.text;
        EXPECT_EQ(Texts(node.children), expected[i].children) << node.text;
    }
    const std::vector<std::string> column = beam.DetailsColumn(kPrintDay);
    ASSERT_EQ(column.size(), 37u);
    // Rows 21 to 30: wedge, shield, then tray (unlike the tree), multileaf.
    EXPECT_EQ(std::vector<std::string>(column.begin() + 20, column.begin() + 30),
              (std::vector<std::string>{"W30", "0.525", "1.150", "11.28", "Block", "0.950", "Tray",
                                        "0.960", "MLC", "0.990"}));
    const std::vector<SetupCell> row = beam.SetupRow();
    EXPECT_EQ(Cell(row, SetupColumn::Blocchi), std::vector<std::string>{"MLC"});
    EXPECT_EQ(Cell(row, SetupColumn::Schermi), std::vector<std::string>{"Block"});
    EXPECT_EQ(Cell(row, SetupColumn::Cunei), std::vector<std::string>{"W30"});
}

TEST_F(PhotonResultsTest, DetailsColumnRows) {
    PhotonBeamInput in = Input(4, 6, 3, 7);
    in.jaws = "";
    in.shield = setup.shield;
    in.offset = std::sqrt(5.0); // sqrt((1^2 + 2^2)): not used
    Accept(in);
    // clang-format off
    const std::vector<std::string> expected = {
        "gamma (SSD)", "AP", "7", "0", "", "15",               // rows 1-6, no jaws text
        "4\\\\6", "7\\\\3",                                    // Left\\Right, Top\\Bottom
        "10", "10", "10", "10.00", "1.000", "",                // rows 9-14
        "100", "10", "98.5", "0.670", "0.670", "0.787",        // rows 15-20
        "", "", "", "",                                        // no wedge
        "Block", "0.950", "", "", "", "",                      // shield; no tray, no MLC
        "2.23606797749979", "",                                // offset not used
        "1.000", "15/06/2026", "1.000", "200",
        "314.22",                                              // 200 / 0.67 / 0.95 = 314.218
    };
    // clang-format on
    const std::vector<std::string> column = beam.DetailsColumn(kPrintDay);
    ASSERT_EQ(column.size(), expected.size());
    for (std::size_t row = 0; row < expected.size(); ++row) {
        EXPECT_EQ(column[row], expected[row]) << "row " << row + 1;
    }
    const std::vector<TextNode> tree = beam.ShowResults();
    EXPECT_EQ(Texts(tree[0].children),
              (std::vector<std::string>{"Left X1 = 4 cm", "Right X2 = 6 cm", "Bottom Y1 = 3 cm",
                                        "Top Y2 = 7 cm"}));
    EXPECT_EQ(tree[3].text, "Gantry\\\\Jaws\\\\Couch = 0\\\\*\\\\15");
    const std::vector<SetupCell> row = beam.SetupRow();
    EXPECT_EQ(Cell(row, SetupColumn::Blocchi), std::vector<std::string>{"NO"});
    EXPECT_EQ(Cell(row, SetupColumn::Cunei), std::vector<std::string>{"NO"});
    EXPECT_EQ(Cell(row, SetupColumn::RotColl), std::vector<std::string>{""});
    EXPECT_EQ(Cell(row, SetupColumn::DSP), std::vector<std::string>{"98.5"});

    in.technique = kIsocentric;
    in.offset = 0;
    Accept(in);
    EXPECT_EQ(beam.DetailsColumn(kPrintDay).front(), "gamma (SAD)");
    in.tray = setup.tray;
    in.shield = nullptr;
    Accept(in);
    EXPECT_EQ(Cell(beam.SetupRow(), SetupColumn::Blocchi), std::vector<std::string>{"SI"});
}

TEST_F(PhotonResultsTest, SetupFieldCells) {
    struct Case {
        bool philips;
        double x1, x2, y1, y2;
        std::vector<std::string> width, height;
    };
    const Case cases[] = {
        // Shift (3 - 7) / 2 = -2 is written 100 - 2 = 98.
        {true, 7, 3, 5, 5, {"X10", "OF98"}, {"Y10"}},
        {true, 5, 5, 3, 7, {"X10"}, {"Y10", "OF2"}},
        // "##.#;;0" drops the leading zero: shift 0.5 is ".5".
        {true, 4.5, 5.5, 5, 5, {"X10", "OF.5"}, {"Y10"}},
        // Varian: the jaw positions with their labels X1 / X2 and Y1 / Y2, a blank between
        // label and value so that X1 = 3.8 cannot read as 13.8.
        {false, 7, 3, 2.5, 7.5, {"X1 7", "X2 3"}, {"Y1 2.5", "Y2 7.5"}},
        {false, 3.8, 6.2, 5, 5, {"X1 3.8", "X2 6.2"}, {"Y10"}},
    };
    for (const Case& c : cases) {
        setup.energy->PrintOffset = c.philips;
        PhotonBeamInput in = Input(c.x1, c.x2, c.y1, c.y2);
        in.offset = 0;
        Accept(in);
        const std::vector<SetupCell> row = beam.SetupRow();
        EXPECT_EQ(Cell(row, SetupColumn::DimCampoWidth), c.width) << c.x1;
        EXPECT_EQ(Cell(row, SetupColumn::DimCampoHeight), c.height) << c.x1;
        // Either axis asymmetric: the size line lists the four jaws.
        EXPECT_EQ(beam.ShowResults()[0].children.size(), 4u) << c.x1;
    }
}

TEST_F(PhotonResultsTest, MonitorUnitTexts) {
    struct Case {
        double ratio, dose;
        const char *tree, *row37, *um, *calibration;
    };
    const Case cases[] = {
        // 123.456 x 0.67 = 82.71552 cGy gives MU 123.456; 1 MU per cGy: whole MU on the sheet.
        {1, 82.71552, "MU = 123.46", "123.46", "123", "1.000"},
        // 0.98 cGy/MU: 82.71552 x 0.98 = 81.0612096 cGy gives 123.456 MU, two decimals.
        {0.98, 81.0612096, "MU = 123.46", "123.46", "123.46", "0.980"},
        // 200 / 0.67 = 298.507: whole MU rounds up.
        {1, 200, "MU = 298.51", "298.51", "299", "1.000"},
    };
    for (const Case& c : cases) {
        setup.energy->cGyUMRatio = c.ratio;
        PhotonBeamInput in = Input();
        in.dose = c.dose;
        Accept(in);
        const std::vector<TextNode> tree = beam.ShowResults();
        EXPECT_EQ(tree[5].text, c.tree);
        const std::vector<std::string> column = beam.DetailsColumn(kPrintDay);
        EXPECT_EQ(column[36], c.row37);
        EXPECT_EQ(column[32], c.calibration);
        EXPECT_EQ(Cell(beam.SetupRow(), SetupColumn::UM), std::vector<std::string>{c.um});
        EXPECT_EQ(Details(tree)[0].text,
                  std::string("Actual Calibration Factor = ") + c.calibration + " cGy/UM");
    }
}

} // namespace
} // namespace kova
