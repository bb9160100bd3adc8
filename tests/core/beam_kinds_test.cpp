// The open/wedged, electron and total body irradiation beams: MU and factors worked out by
// hand on the small test energy of support/photon_energy.h (every reference field has the
// same depth doses 1 at 1.5, 0.67 at 10, 0.40 at 20, 0.20 at 30 cm, so a depth dose depends
// only on the depth), their refusals, and the texts they show and print.

#include "core/beams/electron_beam.h"
#include "core/beams/open_wedged_beam.h"
#include "core/beams/tbi_beam.h"
#include "core/beams/tps_check.h"
#include "core/text/number_text.h"
#include "support/near.h"
#include "support/photon_energy.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kova {
namespace {

using test::IsNear;

const Date kToday{2026, 6, 1};

std::vector<std::string> Cell(const std::vector<SetupCell>& row, SetupColumn column) {
    for (const SetupCell& cell : row) {
        if (cell.column == column) {
            return cell.lines;
        }
    }
    return {"(no cell)"};
}

std::vector<std::string> Texts(const std::vector<TextNode>& nodes) {
    std::vector<std::string> texts;
    for (const TextNode& node : nodes) {
        texts.push_back(node.text);
    }
    return texts;
}

/// Fixed SSD 100 = SCD, 10 cm deep, X jaws x1 and x2, Y jaws 5 and 5, open dose 100 cGy.
PhotonBeamInput Field(double x1 = 5, double x2 = 5) {
    PhotonBeamInput in;
    in.technique = kFixedSsd;
    in.name = "OW";
    in.dose = 100;
    in.X1 = x1;
    in.X2 = x2;
    in.Y1 = in.Y2 = 5;
    in.width = x1 + x2;
    in.height = 10;
    in.equivSize = 10;
    in.offset = std::abs(x2 - x1) / 2;
    in.depth = 10;
    in.SSD = in.realSSD = 100;
    return in;
}

/// Depth dose of the test energy at depth t (cm) between 10 and 20 cm: linear from the
/// nearer entry 10 cm (0.67) to 20 cm (0.40).
double DepthDose10To20(double t) {
    return 0.40 + (0.67 - 0.40) * (t - 20) / (10 - 20);
}

class OpenWedgedTest : public ::testing::Test {
protected:
    OpenWedgedTest() { beam.machine = setup.treatment.Machine(); }

    test::PhotonSetup setup;
    TPhotonOWBeam beam{"OW"};
};

TEST_F(OpenWedgedTest, TwoPartsComputedByHand) {
    struct Case {
        const char* what;
        PhotonBeamInput in;
        const Wedge* wedge;
        double wedgeDose;
        double openMU, wedgeMU;
    };
    // W30 at E 10: WF 0.525 and warp 1.15 (halfway between 5 and 15 cm); the wedged part is
    // read at 1.5 + 8.5 x 1.15 = 11.275 cm, the open part at 10 cm (0.67).
    const double warped = DepthDose10To20(11.275); // 0.635575
    PhotonBeamInput shifted = Field(3, 7);         // offset 2 cm
    shifted.offsetOff = false;
    // Offset 2 between 0 (1.000) and 5 cm (0.980): 0.992. EDW (WF 0.80, warp 1) spares the
    // wedged part from the offset factor; the open part carries it.
    const Case cases[] = {
        {"W30", Field(), setup.w30, 50, 100 / 0.67, 50 / (warped * 0.525)},
        {"EDW with offset", shifted, setup.edw, 50, 100 / 0.67 / 0.992, 50 / (0.67 * 0.80)},
        {"open dose 0", Field(), setup.w30, 50, 0, 50 / (warped * 0.525)},
        {"wedge dose 0 drops the wedge", Field(), setup.w30, 0, 100 / 0.67, 0},
    };
    for (const Case& c : cases) {
        PhotonBeamInput in = c.in;
        in.wedge = c.wedge;
        if (std::string(c.what) == "open dose 0") {
            in.dose = 0;
        }
        const Status status = beam.Accept(in, c.wedgeDose, kToday);
        ASSERT_TRUE(status.ok()) << c.what << ": " << status.reason();
        EXPECT_TRUE(IsNear(beam.MU, c.openMU)) << c.what << ": " << beam.MU;
        EXPECT_TRUE(IsNear(beam.WedgeMU, c.wedgeMU)) << c.what << ": " << beam.WedgeMU;
        EXPECT_EQ(beam.wedge, c.wedgeDose > 0 ? c.wedge : nullptr) << c.what;
        EXPECT_TRUE(IsNear(beam.TotalDose(), in.dose + c.wedgeDose)) << c.what;
        EXPECT_TRUE(IsNear(beam.factors.ssdPDD, 0.67)) << c.what << ": the open part is not warped";
    }
}

TEST_F(OpenWedgedTest, RefusalsStoreNothing) {
    ASSERT_TRUE(beam.Accept(
                        [&] {
                            PhotonBeamInput in = Field();
                            in.wedge = setup.w30;
                            return in;
                        }(),
                        50, kToday)
                    .ok());
    const double mu = beam.MU, wedgeMU = beam.WedgeMU;
    Wedge empty; // no wedge factors: the wedged lookup fails after the open part succeeded
    empty.Name = "Empty";
    empty.MaxWidth = empty.MaxHeight = 40;
    struct Case {
        double dose, wedgeDose;
        const Wedge* wedge;
        const char* reason;
    };
    const Case cases[] = {
        {0, 0, setup.w30, "The open and wedge doses must add up to more than 0 cGy"},
        {-1, 50, setup.w30, "The dose must be 0 cGy or above"},
        {100, -1, setup.w30, "The wedge dose must be 0 cGy or above"},
        {100, 50, nullptr, "A wedge dose needs a wedge: choose one of the available wedges"},
        {100, 50, &empty, "the wedge Empty has no wedge factor for 10 cm"},
        {3000, 2500, setup.w30,
         "The open and wedge doses add up to 5500 cGy, above the maximum 5000 cGy of one beam"},
    };
    for (const Case& c : cases) {
        PhotonBeamInput in = Field();
        in.dose = c.dose;
        in.wedge = c.wedge;
        EXPECT_EQ(beam.Accept(in, c.wedgeDose, kToday).reason(), c.reason);
        EXPECT_EQ(beam.MU, mu) << c.reason;
        EXPECT_EQ(beam.WedgeMU, wedgeMU) << c.reason;
        EXPECT_EQ(beam.wedge, setup.w30) << c.reason;
        EXPECT_EQ(beam.WedgeDose, 50) << c.reason;
    }
}

TEST_F(OpenWedgedTest, ResultsPairTheTwoParts) {
    PhotonBeamInput in = Field();
    in.wedge = setup.w30;
    ASSERT_TRUE(beam.Accept(in, 50, kToday).ok());
    // Open 100 / 0.67 = 149.25; wedged 50 / (0.635575 x 0.525) = 149.85.
    EXPECT_EQ(beam.MUText(), "149.25 + 149.85 (wedged)");
    const std::vector<TextNode> tree = beam.ShowResults();
    const std::vector<std::string> top = Texts(tree);
    ASSERT_GE(top.size(), 2u);
    EXPECT_EQ(top[top.size() - 2], "Wedge Dose = 50 cGy");
    EXPECT_EQ(top.back(), "Wedge MU = 149.85");
    const TextNode& details = tree[tree.size() - 3];
    ASSERT_EQ(details.text, "Dosimetric details");
    const TextNode* wedgeNode = nullptr;
    for (const TextNode& node : details.children) {
        wedgeNode = node.image == kImageWedgeLine ? &node : wedgeNode;
    }
    ASSERT_NE(wedgeNode, nullptr);
    EXPECT_EQ(Texts(wedgeNode->children),
              (std::vector<std::string>{"Wedge Factor = 0.525", "Wedge PPD Warp Factor = 1.15",
                                        "Effective Depth = 11.275", "Depth Dose"}));
    EXPECT_EQ(Texts(wedgeNode->children.back().children),
              (std::vector<std::string>{"TMR = 0.746", "SSD PDD = 0.636", "SCD PDD = 0.636"}));

    const std::vector<std::string> rows = beam.DetailsColumn(kToday);
    ASSERT_EQ(rows.size(), 37u);
    EXPECT_EQ(rows[11], "10.00\\\\10.00");
    EXPECT_EQ(rows[17], "0.670\\\\0.636");
    EXPECT_EQ(rows[19], "0.787\\\\0.746"); // P x (110 / 101.5)^2 at d = 10
    EXPECT_EQ(rows[20], "W30");
    EXPECT_EQ(rows[35], "100\\\\50");
    EXPECT_EQ(rows[36], "149.25\\\\149.85");

    // 1 cGy per MU: whole MU part by part, the total their sum.
    EXPECT_EQ(Cell(beam.SetupRow(), SetupColumn::UM), (std::vector<std::string>{"299", "(150)"}));
    beam.MU = 100.5;
    beam.WedgeMU = 50.5;
    EXPECT_EQ(Cell(beam.SetupRow(), SetupColumn::UM), (std::vector<std::string>{"152", "(51)"}));
    beam.factors.MUperCGy = 1 / 0.98;
    EXPECT_EQ(Cell(beam.SetupRow(), SetupColumn::UM), (std::vector<std::string>{"151", "(50.5)"}));
}

TEST_F(OpenWedgedTest, RenamingTheBeamRenamesItEverywhere) {
    ASSERT_TRUE(beam.Accept(Field(), 0, kToday).ok());
    beam.name = "LAT"; // as the tree does when the node is renamed in place
    EXPECT_EQ(beam.ShowResults().empty(), false);
    EXPECT_EQ(beam.DetailsColumn(kToday)[1], "LAT");
    EXPECT_EQ(Cell(beam.SetupRow(), SetupColumn::Fascio), std::vector<std::string>{"LAT"});
    EXPECT_EQ(std::get<std::string>(beam.Inputs()[1].value), "LAT");
}

TEST_F(OpenWedgedTest, FormSelectsTheOnlyWedgeAndForgetsItWithoutWedgeDose) {
    setup.energy->Wedges.pop_back(); // W30 alone
    PhotonOWBeamForm form(beam);
    EXPECT_EQ(form.SelectedEntry("WedgeComp"), setup.w30);
    form.SetText("BeamDose", "100");
    form.SetText("BeamDepth", "10");
    form.SetText("BeamWidth", "10");
    form.SetText("BeamHeight", "10");
    ASSERT_TRUE(form.Accept(kToday).ok());
    EXPECT_EQ(form.Selected("WedgeComp"), 0) << "a wedge dose of 0 selects None";
    EXPECT_EQ(beam.wedge, nullptr);
    EXPECT_EQ(beam.MUText(), "123.35"); // isocentric: 100 / (0.67 x 1.21) = 123.349
}

// One row per kind: its text reads back to it, its factory makes a beam of it, and it has its
// energy and default action level (3 % on photon fields, 5 % electron, total body, IMRT/VMAT).
TEST(BeamKindRegistry, EveryRowNamesMakesAndChecksItsKind) {
    const struct {
        BeamKind kind;
        const char* text;
        bool electron;
        double level;
    } rows[] = {{BeamKind::Photon, "Photon Beam", false, 3},
                {BeamKind::PhotonOpenWedged, "Photon Open/Wedged Beam", false, 3},
                {BeamKind::Electron, "Electron Beam", true, 5},
                {BeamKind::TotalBody, "Total Body Irradiation", false, 5},
                {BeamKind::Dynamic, "IMRT/VMAT Beam", false, 5}};
    ASSERT_EQ(BeamKinds().size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const auto& row = rows[i];
        EXPECT_EQ(BeamKinds()[i].kind, row.kind) << "code order";
        EXPECT_EQ(BeamKindText(row.kind), row.text);
        EXPECT_EQ(BeamKindFromText(row.text), row.kind);
        EXPECT_EQ(KindInfo(row.kind).electron, row.electron) << row.text;
        EXPECT_EQ(ActionLevels{}.For(row.kind), row.level) << row.text;
        EXPECT_EQ(CreateBeam(row.kind, "B", {})->Kind(), row.kind) << row.text;
    }
    EXPECT_FALSE(BeamKindFromText("photon beam").has_value()) << "texts are exact";
}

TEST(ElectronBeam, MuFromTheApplicatorAlone) {
    test::PhotonSetup setup;
    TeEnergy& energy = test::Append(setup.linac.eEnergies);
    energy.Name = "E9";
    energy.SSD = 100;
    energy.Buildup90 = 2.7;
    Applicator& a10 = test::Append(energy.Applicators);
    a10.Name = "A10";
    a10.AF = 1.02;
    Applicator& broken = test::Append(energy.Applicators);
    broken.Name = "Broken";
    broken.AF = 0;
    TElectronBeam beam("E");
    beam.machine = {&setup.linac, nullptr, &energy};
    ElectronBeamForm form(beam);
    EXPECT_EQ(form.Text("BeamSSD"), "100");
    EXPECT_EQ(form.SelectedEntry("ApplicatorComp"), &a10) << "item 0 is selected";
    EXPECT_EQ(form.MissingRequired({"BeamDose"}).reason(),
              "the beam gives no BeamWidth, BeamHeight");

    struct Case {
        const char *dose, *width, *height;
        int applicator;
        const char* reason;
    };
    const Case cases[] = {
        {"0", "10", "10", 0, "The dose must be above 0 cGy"},
        {"200", "1O", "10", 0, "Width: '1O' is not a valid floating point value"},
        {"200", "10", "10", 1, "The Applicator Factor is 0: no MU can be computed"},
        {"200", "-5", "10", 0, "Width -5 cm must be above 0 cm"},
        {"200", "10", "1e300", 0,
         "Height 1E300 cm is above the maximum 40 cm of an electron field"},
        {"5001", "10", "10", 0, "The dose 5001 cGy is above the maximum 5000 cGy of one beam"},
        // 0.5 / 1.02 = 0.49 MU would print as 0 on the set-up sheet.
        {"0.5", "10", "10", 0,
         "The factors give 0.490196078431373 MU, below the least 0.5 MU "
         "of a beam: the set-up sheet would show 0 MU"},
        {"152.5", "0.3", "0.5", 0, ""},
    };
    for (const Case& c : cases) {
        form.SetText("BeamDose", c.dose);
        form.SetText("BeamWidth", c.width);
        form.SetText("BeamHeight", c.height);
        form.Select("ApplicatorComp", c.applicator);
        EXPECT_EQ(form.Accept(kToday).reason(), c.reason) << c.dose;
        EXPECT_EQ(beam.calculated, std::string(c.reason).empty()) << "nothing stored on refusal";
    }
    // 152.5 / 1.02 = 149.5098; the SSD and depth are the energy's; 0.3 + 0.5 is not above 1.
    EXPECT_TRUE(IsNear(beam.MU, 152.5 / 1.02));
    EXPECT_EQ(beam.SSD, 100);
    EXPECT_EQ(beam.depth, 2.7);
    EXPECT_EQ(beam.equivSize, 0);
    EXPECT_EQ(Texts(beam.ShowResults()),
              (std::vector<std::string>{"Size @ SCD = 0.3 cm x 0.5 cm",
                                        "Gantry\\\\Jaws\\\\Couch = *\\\\*\\\\*", "Dose = 152.5 cGy",
                                        "MU = 149.51", "A10 (1.02 cGy/MU)"}));
    const std::vector<std::string> rows = beam.DetailsColumn(kToday);
    EXPECT_EQ(rows[0], "e-");
    EXPECT_EQ(rows[10], "0");
    EXPECT_EQ(rows[26], "A10");
    EXPECT_EQ(rows[32], "1.020");
    EXPECT_EQ(rows[36], "149.51");
    EXPECT_EQ(rows[19], "") << "no TMR for electrons";
    const std::vector<SetupCell> row = beam.SetupRow();
    EXPECT_EQ(Cell(row, SetupColumn::UM), std::vector<std::string>{"150"});
    EXPECT_EQ(Cell(row, SetupColumn::DimCampoWidth), std::vector<std::string>{".3"});
    EXPECT_EQ(Cell(row, SetupColumn::Blocchi), std::vector<std::string>{"A10"});
    EXPECT_EQ(Cell(row, SetupColumn::Cunei), std::vector<std::string>{"(no cell)"});
}

/// The test energy with phantom scatter 0.95, 1.00 and 1.05 on its 4x4, 10x10 and 30x30
/// fields, TBI reference field 30 x 30 (field factor 1.10) at 200 cm.
class TBITest : public ::testing::Test {
protected:
    TBITest() {
        const double scatter[] = {0.95, 1.00, 1.05};
        for (std::size_t i = 0; i < 3; ++i) {
            setup.energy->RefFields[i]->isScatterPhantomFactorAvailable = true;
            setup.energy->RefFields[i]->ScatterPhantomFactor = scatter[i];
        }
        setup.energy->TBISupported = true;
        setup.energy->TBIFieldSize = 30;
        setup.energy->TBIRef = 200;
        beam.machine = setup.treatment.Machine();
    }

    /// "Normal Build", 200 cGy at 200 cm, with the shield `shield`.
    Status TypeAndAccept(bool lungShields = true, const char* shield = "None") {
        TBIBeamForm form(beam);
        form.Select("Build", 0);
        form.SetText("BeamDose", "200");
        form.SetChecked("isLungShields", lungShields);
        for (int i = 0; i < static_cast<int>(form.Items("ShieldComp").size()); ++i) {
            if (form.Items("ShieldComp")[static_cast<std::size_t>(i)].text == shield) {
                form.Select("ShieldComp", i);
            }
        }
        return form.Accept(kToday);
    }

    test::PhotonSetup setup;
    TTBIBeam beam{"TBI"};
};

TEST_F(TBITest, NormalBuildWorkedByHand) {
    ASSERT_TRUE(TypeAndAccept().ok());
    const TBIFactors& f = beam.factors;
    // Torso: depth 27 / 2 = 13.5, SSD 186.5, P(13.5) = 0.5755; field 31 x 30 (EqSq 30.49)
    // beyond the largest field: Sp 1.05. Reference 30 x 30: OF 1.10, Sp 1.05. c 100, b 1.5.
    const double pddT = 0.5755 * std::pow((113.5 * 188) / (101.5 * 200), 2);
    const double isfT = std::pow(101.5 / 188, 2);
    const double mu = 200 * 1.05 / (pddT * 1.05 * 1.10 * isfT);
    EXPECT_TRUE(IsNear(f.torso.depthDose.ssdPDD, pddT));
    EXPECT_TRUE(IsNear(beam.MU, mu)) << beam.MU << " vs " << mu;
    // Head: depth 9.25, SSD 190.75, P = 1 - 0.33 x 7.75 / 8.5; EqSq(15.5, 20.5) = 17.653
    // between 10x10 (1.00) and 30x30 (1.05): Sp = 1.05 - 0.05 x (17.653 - 30) / (10 - 30).
    const double pddH = (1 - 0.33 * 7.75 / 8.5) * std::pow((109.25 * 192.25) / (101.5 * 200), 2);
    const double eqHead = 2 * 15.5 * 20.5 / 36;
    const double spH = 1.05 + (1.00 - 1.05) * (eqHead - 30) / (10 - 30);
    const double isfH = std::pow(101.5 / 192.25, 2);
    EXPECT_TRUE(IsNear(f.headDose, pddH * spH * 1.10 * isfH * mu / 1.05, {1e-9, 1e-9}));
    // Lungs: density 0.341; water depth 11.57/2 + 3.16 = 8.945, lung depth 5.132685; TMR =
    // P x ((100 + d) / 101.5)^2; factor = TMR lung / (TMR water x 0.9).
    const double pLung = 0.67 + 0.33 * (5.132685 - 10) / (1.5 - 10);
    const double pWater = 1 - 0.33 * (8.945 - 1.5) / 8.5;
    const double factor =
        pLung * std::pow(105.132685 / 101.5, 2) / (pWater * std::pow(108.945 / 101.5, 2) * 0.9);
    EXPECT_TRUE(IsNear(f.lungShieldFactor, factor, {1e-9, 1e-9}));
    EXPECT_TRUE(IsNear(f.lungShieldThickness, std::log(factor) / 0.0482, {1e-9, 1e-9}));

    const std::vector<std::string> rows = beam.DetailsColumn(kToday);
    EXPECT_EQ(rows[0], "tbi");
    EXPECT_EQ(rows[8], "31\\\\15.5\\\\27.5");
    EXPECT_EQ(rows[9], "30\\\\20.5\\\\30");
    EXPECT_EQ(rows[12], "1.100=1.048x1.050");
    EXPECT_EQ(rows[15], "13.5\\\\9.25\\\\10.5");
    EXPECT_EQ(rows[16], "200");
    EXPECT_EQ(rows[24], "Lung " + FormatFloat("#.#;;0", f.lungShieldThickness) + "mm");
    const std::vector<SetupCell> row = beam.SetupRow();
    EXPECT_EQ(Cell(row, SetupColumn::DimCampoWidth), std::vector<std::string>{"X30"});
    EXPECT_EQ(Cell(row, SetupColumn::UM),
              std::vector<std::string>{FormatFloat("0", std::trunc(mu + 0.5))});
}

TEST_F(TBITest, ShieldDividesTheMuButNotTheDoses) {
    ASSERT_TRUE(TypeAndAccept(false).ok());
    const double mu = beam.MU, head = beam.factors.headDose, thorax = beam.factors.thoraxDose;
    ASSERT_TRUE(TypeAndAccept(false, "Block").ok()); // SF 0.95
    EXPECT_TRUE(IsNear(beam.MU, mu / 0.95));
    EXPECT_EQ(beam.factors.headDose, head);
    EXPECT_EQ(beam.factors.thoraxDose, thorax);
    const std::vector<std::string> rows = beam.DetailsColumn(kToday);
    EXPECT_EQ(rows[24], "Block");
    EXPECT_EQ(rows[25], "0.950");
    EXPECT_EQ(Texts(beam.ShowResults())[6],
              "Thorax Dose = " + FormatFloat("#.#;;0", thorax) + " cGy")
        << "no lung shield thickness without lung shields";
}

TEST_F(TBITest, InputLimitsAndRefusals) {
    struct Case {
        const char* control;
        const char* text;
        bool lungShields;
        const char* reason;
    };
    const Case cases[] = {
        {"HeadWidth", "5", true, "Head width must be above 5 cm (it is 5 cm)"},
        {"HeadWidth", "5.01", true, ""},
        {"TorsoHeight", "10", true, "Torso height must be above 10 cm (it is 10 cm)"},
        {"MeanCTLungs", "-800", true, "Mean lung CT number must be above -800 HU (it is -800 HU)"},
        {"MeanCTLungs", "-799", true, ""},
        {"MeanCTLungs", "-800", false, ""},
        {"BeamRefDistance", "13", true,
         "The dose point distance 13 cm is not beyond half the abdomen thickness (13.5 cm)"},
        {"BeamDose", "0", true, "The dose must be above 0 cGy"},
        // Beyond a person, or beyond any treatment room.
        {"ThoraxWidth", "101", true, "Thorax width must be at most 100 cm (it is 101 cm)"},
        {"HeadDepth", "40", true, ""},
        {"MeanCTLungs", "1", true, "Mean lung CT number must be at most 0 HU (it is 1 HU)"},
        {"BeamRefDistance", "1001", true,
         "The dose point distance 1001 cm is above the maximum 1000 cm"},
    };
    for (const Case& c : cases) {
        TTBIBeam fresh("T");
        fresh.machine = beam.machine;
        TBIBeamForm form(fresh);
        form.Select("Build", 0);
        form.SetText("BeamDose", "200");
        form.SetChecked("isLungShields", c.lungShields);
        form.SetText(c.control, c.text);
        EXPECT_EQ(form.Accept(kToday).reason(), c.reason) << c.control << " " << c.text;
        EXPECT_EQ(fresh.calculated, std::string(c.reason).empty());
    }
}

TEST_F(TBITest, BeamFileGivesTheBodyOrNormalBuild) {
    std::vector<std::string_view> body = {"BeamDose",     "ThoraxWidth",  "ThoraxDepth",
                                          "AbdomenWidth", "AbdomenDepth", "TorsoHeight"};
    const struct {
        std::vector<std::string_view> set;
        bool lungShields;
        const char* reason;
    } cases[] = {{{"BeamDose", "Build"}, true, ""},
                 {{"Build"}, true, "the beam gives no BeamDose"},
                 {body, true,
                  "the beam gives no HeadWidth, HeadHeight, HeadDepth, "
                  "MeanLungDepth, MeanSkinLungDepth, MeanCTLungs"}};
    for (const auto& c : cases) {
        TBIBeamForm form(beam);
        form.SetChecked("isLungShields", c.lungShields);
        EXPECT_EQ(form.MissingRequired(c.set).reason(), c.reason);
    }
}

TEST_F(TBITest, LungShieldsBoxOnlyOpensTheLungEdits) {
    ASSERT_TRUE(TypeAndAccept(true).ok());
    TBIBeamForm form(beam);
    form.LoadControls();
    form.SetChecked("isLungShields", false);
    EXPECT_FALSE(form.Enabled("MeanCTLungs"));
    EXPECT_FALSE(form.CanSet("MeanLungDepth").ok());
    EXPECT_TRUE(beam.isLungShields) << "the beam changes only on OK";
    EXPECT_TRUE(form.Enabled("HeadWidth"));
}

} // namespace
} // namespace kova
