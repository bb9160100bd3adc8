#include "core/plan/plan_import.h"
#include "support/demo_linacs.h"
#include "support/near.h"
#include "support/test_plans.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kova {
namespace {

using test::AddStepMLC;
using test::ElectronBeam;
using test::IsNear;
using test::Lines;
using test::PlanOf;
using test::StaticBeam;

class PlanImportTest : public ::testing::Test {
protected:
    ImportedBeam Import(const PlanData& plan, const PlanAnswers& answers = {}) {
        return ImportPlanBeam(plan, 0, linacs, answers, "plan.dcm");
    }

    std::vector<std::unique_ptr<TLinacSpec>> linacs = test::DemoLinacs();
};

TEST_F(PlanImportTest, BlocksTypedFromThePlan) {
    struct Case {
        const char* what;
        std::function<void(PlanData&)> change;
        std::vector<std::string> lines;
    };
    const std::vector<std::string> identity = {
        "Linac = DualDemo", "Energy = 6MV", "BeamKind = Photon Beam", "BeamName = AP", "BeamID = 1",
        "GantryRot = 0",    "JawsRot = 0",  "CouchRot = 0",           "BeamDose = 100"};
    const auto with = [&identity](std::vector<std::string> more) {
        std::vector<std::string> lines = identity;
        lines.insert(lines.end(), more.begin(), more.end());
        return lines;
    };
    const Case cases[] = {
        // Isocentric: depth = SAD - SSD = 100 - 90 cm; 1 Gy is 100 cGy.
        {"isocentric", [](PlanData&) {},
         with({"Technique = 0", "BeamDepth = 10", "BeamRealSSD = 90", "BeamWidth = 10",
               "BeamHeight = 10", "TPSMU = 150"})},
        // The machine's name in another case still finds the linac.
        {"machine in lower case", [](PlanData& p) { p.beams[0].machine = "dualdemo"; },
         with({"Technique = 0", "BeamDepth = 10", "BeamRealSSD = 90", "BeamWidth = 10",
               "BeamHeight = 10", "TPSMU = 150"})},
        // X1 = 3, X2 = 7: width 10 shifted by (7 - 3) / 2 = 2; the offset factor applies.
        {"asymmetric",
         [](PlanData& p) {
             p.beams[0].controlPoints[0].devices[0].positions = {-30, 70};
         },
         with({"Technique = 0", "BeamDepth = 10", "BeamRealSSD = 90", "BeamWidthAsymm = 10",
               "BeamHeightAsymm = 10", "BeamAsymmWidth = 2", "isOffset = 1", "TPSMU = 150"})},
        // FIXED_SSD with the dose point at 50 mm: SSD 100 cm, depth 5 cm, field x 100/100.
        {"fixed SSD",
         [](PlanData& p) {
             p.setups[0].technique = "FIXED_SSD";
             p.beams[0].controlPoints[0].SSD = 1000;
             p.fractionGroups[0].beams[0].dosePointDepth = 50;
         },
         with({"Technique = 1", "BeamDepth = 5", "BeamSSD = 100", "BeamRealSSD = 100",
               "BeamWidth = 10", "BeamHeight = 10", "TPSMU = 150"})},
        // Without a dose point depth the isocentre's: 100 - 90 cm.
        {"fixed SSD at the isocentre", [](PlanData& p) { p.setups[0].technique = "FIXED_SSD"; },
         with({"Technique = 1", "BeamDepth = 10", "BeamSSD = 90", "BeamRealSSD = 90",
               "BeamWidth = 10", "BeamHeight = 10", "TPSMU = 150"})},
        {"wedge by ID, tray and shield by name, no meterset",
         [](PlanData& p) {
             p.beams[0].wedges = {{"w30", 30, "STATIC"}};
             p.beams[0].blocks = {{"Shield-Lung", "Tray-Block", "SHIELDING"}};
             p.fractionGroups[0].beams[0].meterset.reset();
         },
         with({"Technique = 0", "BeamDepth = 10", "BeamRealSSD = 90", "BeamWidth = 10",
               "BeamHeight = 10", "WedgeComp = W30", "TrayComp = Tray-Block",
               "ShieldComp = Shield-Lung"})},
        // EDW60 is the only dynamic wedge of 60 degrees.
        {"wedge by angle and type",
         [](PlanData& p) {
             p.beams[0].wedges = {{"EDW", 60, "DYNAMIC"}};
         },
         with({"Technique = 0", "BeamDepth = 10", "BeamRealSSD = 90", "BeamWidth = 10",
               "BeamHeight = 10", "WedgeComp = EDW60", "TPSMU = 150"})},
        // Leaves parked outside the jaws make no multileaf entry.
        {"open leaves",
         [](PlanData& p) {
             AddStepMLC(p.beams[0]);
             p.beams[0].controlPoints[0].devices[2].positions = std::vector<double>(24, 0);
             for (int i = 0; i < 12; ++i) {
                 p.beams[0].controlPoints[0].devices[2].positions[i] = -120;
                 p.beams[0].controlPoints[0].devices[2].positions[12 + i] = 120;
             }
         },
         with({"Technique = 0", "BeamDepth = 10", "BeamRealSSD = 90", "BeamWidth = 10",
               "BeamHeight = 10", "TPSMU = 150"})},
    };
    for (const Case& c : cases) {
        PlanData plan = PlanOf({StaticBeam(1, "AP")});
        c.change(plan);
        const ImportedBeam beam = Import(plan);
        EXPECT_TRUE(beam.Ready()) << c.what << ": " << beam.Problem();
        EXPECT_EQ(Lines(beam.block), c.lines) << c.what;
        EXPECT_EQ(beam.block.file, "plan.dcm");
        EXPECT_EQ(beam.block.title, "AP");
    }
}

TEST_F(PlanImportTest, ElectronBeamWithItsApplicator) {
    const ImportedBeam beam = Import(PlanOf({ElectronBeam(3)}));
    EXPECT_TRUE(beam.Ready()) << beam.Problem();
    EXPECT_EQ(beam.kind, BeamKind::Electron);
    EXPECT_EQ(Lines(beam.block),
              (std::vector<std::string>{
                  "Linac = DualDemo", "Energy = 9MeV", "BeamKind = Electron Beam", "BeamName = E9",
                  "BeamID = 3", "GantryRot = 0", "JawsRot = 0", "CouchRot = 0", "BeamDose = 100",
                  "BeamWidth = 10", "BeamHeight = 10", "ApplicatorComp = 10x10", "TPSMU = 150"}));
}

TEST_F(PlanImportTest, MultileafEntryFromTheLeafOpening) {
    PlanData plan = PlanOf({StaticBeam(1, "AP")});
    AddStepMLC(plan.beams[0]);
    const ImportedBeam beam = Import(plan);
    ASSERT_TRUE(beam.Ready()) << beam.Problem();
    const BeamEntry* multileaf = beam.block.Find("MultileafComp");
    ASSERT_NE(multileaf, nullptr);
    // a = 60, p = 36 under 10 x 10 jaws (e = 10, Sp 1): sqrt(a) = 7.7460 and 4a / p = 6.6667
    // between the 6x6 (Sp 0.965) and 8x8 (0.985) reference fields of 6MV:
    // Sp = 0.965 + 0.02 x 1.7460 / 2 = 0.982460 and 0.965 + 0.02 x 0.6667 / 2 = 0.971667;
    // their mean 0.977063.
    const std::string prefix = "P1::AP : ";
    ASSERT_EQ(multileaf->value.substr(0, prefix.size()), prefix);
    EXPECT_TRUE(IsNear(std::stod(multileaf->value.substr(prefix.size())), 0.977063, {1e-6, 1e-6}));
}

TEST_F(PlanImportTest, RefusedBeamsWithTheirReason) {
    struct Case {
        std::function<void(PlanData&)> change;
        std::string reason;
    };
    // A beam that moves is an IMRT/VMAT beam now: on linacs without MLC parameters it is
    // refused, naming the missing one.
    const std::string noMlc = "no IMRT/VMAT check: the energy 6MV has no leaf transmission (.ini)";
    const auto first = [](PlanData& p) -> PlanControlPoint& { return p.beams[0].controlPoints[0]; };
    const auto later = [](PlanData& p) -> PlanControlPoint& { return p.beams[0].controlPoints[1]; };
    const Case cases[] = {
        {[](PlanData& p) { p.beams[0].deliveryType = "SETUP"; }, "not a treatment beam (SETUP)"},
        {[](PlanData& p) { p.beams[0].radiationType = "PROTON"; },
         "the radiation type 'PROTON' is not checked: only photon and electron beams are"},
        {[](PlanData& p) { p.beams[0].radiationType.clear(); }, "the beam gives no radiation type"},
        {[](PlanData& p) { p.beams[0].controlPoints.clear(); }, "the beam has no control point"},
        {[&](PlanData& p) { later(p).gantryAngle = 20; }, noMlc},
        {[&](PlanData& p) { first(p).gantryRotation = "CW"; }, noMlc},
        {[&](PlanData& p) { later(p).collimatorAngle = 90; }, noMlc},
        {[&](PlanData& p) { later(p).couchAngle = 10; }, noMlc},
        {[&](PlanData& p) { later(p).nominalEnergy = 18; },
         "the energy changes between control points: no point dose is computed for such a "
         "beam"},
        {[&](PlanData& p) {
             later(p).devices = {{"ASYMY", {-50, 40}}};
         },
         noMlc},
        {[&](PlanData& p) {
             AddStepMLC(p.beams[0]);
             later(p).devices = {{"MLCX", std::vector<double>(24, 1)}};
         },
         noMlc},
        // Damaged values are not taken for a moving jaw or leaf.
        {[&](PlanData& p) {
             first(p).devices[0].positions = {std::nan(""), 50};
         },
         "the ASYMX positions of control point 1 are not all numbers: the plan is damaged"},
        {[&](PlanData& p) {
             later(p).devices = {{"ASYMY", {-50, std::nan("")}}};
         },
         "the ASYMY positions of control point 2 are not all numbers: the plan is damaged"},
        {[&](PlanData& p) {
             AddStepMLC(p.beams[0]);
             p.beams[0].devices.back().leafJawPairs = 12;
             first(p).devices[2].positions.pop_back();
         },
         "the MLCX positions of control point 1 are 23, not 2 x 12 for its "
         "NumberOfLeafJawPairs: the plan is damaged"},
        {[](PlanData& p) { p.beams[0].beamType = "DYNAMIC"; }, noMlc},
        {[](PlanData& p) { p.beams[0].number.reset(); },
         "the beam has no number, so no dose refers to it"},
        {[](PlanData& p) { p.fractionGroups.clear(); },
         "the plan gives the beam no dose (no BeamDose above 0 in a fraction group)"},
        {[](PlanData& p) { p.fractionGroups[0].beams[0].dose = 0; },
         "the plan gives the beam no dose (no BeamDose above 0 in a fraction group)"},
        {[](PlanData& p) { p.fractionGroups[0].beams[0].dose = 1e308; },
         "the plan's BeamDose of the beam is too large"},
        {[](PlanData& p) {
             p.fractionGroups.push_back({2, {{1, 2.0, 150, {}, {}}}});
         },
         "two fraction groups give the beam different doses or metersets"},
        {[](PlanData& p) { p.setups[0].technique = "TBI"; },
         "a total body irradiation set-up: TBI beams are entered in their own dialog"},
        {[&](PlanData& p) {
             p.setups[0].technique = "FIXED_SSD";
             first(p).SSD = 1000;
         },
         "the plan gives no depth of the dose point of this fixed SSD beam"},
        {[](PlanData& p) { p.beams[0].SAD = 800; },
         "the plan's source-axis distance 80 cm is not the SAD of DualDemo (100 cm)"},
        {[](PlanData& p) { p.beams[0].SAD = std::nan(""); },
         "the plan's source-axis distance is not a number"},
        {[&](PlanData& p) { first(p).SSD.reset(); },
         "the first control point gives no SourceToSurfaceDistance"},
        {[&](PlanData& p) { first(p).nominalEnergy.reset(); },
         "the first control point gives no NominalBeamEnergy"},
        {[&](PlanData& p) { first(p).devices.erase(first(p).devices.begin()); },
         "the first control point gives no X jaws (ASYMX or X)"},
        {[&](PlanData& p) { first(p).devices[1].positions = {-50}; },
         "the first control point gives no Y jaws (ASYMY or Y)"},
        {[&](PlanData& p) {
             first(p).devices[0].positions = {600, 700};
         },
         "the field centre lies more than 50 cm off the axis"},
        {[](PlanData& p) {
             p.beams[0].machine = "CobaltDemo";
             p.beams[0].SAD = 800;
             p.beams[0].controlPoints[0].nominalEnergy = 1.25;
             p.beams[0].controlPoints[0].SSD = 700;
             p.beams[0].controlPoints[0].devices[0].positions = {-30, 70};
         },
         "the X jaws are asymmetric, but CobaltDemo has no independent X jaws"},
        {[](PlanData& p) {
             p.beams[0].wedges = {{"W30", 30, ""}, {"W30", 30, ""}};
         },
         "the beam has 2 wedges; a beam takes one"},
        {[](PlanData& p) {
             p.beams[0].blocks = {{"A", "T1", "APERTURE"}, {"B", "T2", "APERTURE"}};
         },
         "the beam has 2 block trays (T1, T2); a beam takes one"},
        {[](PlanData& p) {
             p.beams[0].blocks = {{"A", "T1", "SHIELDING"}, {"B", "T1", "SHIELDING"}};
         },
         "the beam has 2 shielding blocks (A, B); a beam takes one"},
        {[&](PlanData& p) {
             AddStepMLC(p.beams[0]);
             first(p).devices.push_back({"MLCY", {}});
         },
         "the beam has two multileaf collimators (MLCX and MLCY)"},
        {[&](PlanData& p) {
             AddStepMLC(p.beams[0]);
             p.beams[0].devices.clear();
         },
         "the plan gives no leaf boundaries of the MLCX"},
        {[&](PlanData& p) {
             AddStepMLC(p.beams[0]);
             first(p).devices[2].positions.pop_back();
         },
         "the MLCX leaf data are damaged: 13 leaf boundaries need 24 leaf positions, the plan "
         "gives 23"},
        {[&](PlanData& p) {
             AddStepMLC(p.beams[0]);
             first(p).nominalEnergy = 18;
         },
         "no multileaf factor for the leaf opening: the energy 18MV has no multileaf collimator"},
        {[&](PlanData& p) {
             AddStepMLC(p.beams[0]);
             first(p).devices[2].positions = std::vector<double>(24, 0);
         },
         "no multileaf factor for the leaf opening: the multileaf field area (cm^2) is 0; it "
         "must be above 0"},
        {[](PlanData& p) {
             p.beams[0] = ElectronBeam(1);
             p.beams[0].applicators.clear();
         },
         "the electron beam names no applicator"},
        {[](PlanData& p) {
             p.beams[0] = ElectronBeam(1);
             p.beams[0].applicators[0].ID = "A99";
         },
         "the applicator 'A99' matches no applicator of 9MeV (applicators: 6x6, 10x10, 15x15, "
         "20x20, 25x25)"},
        {[](PlanData& p) {
             p.beams[0] = ElectronBeam(1);
             p.beams[0].machine = "CobaltDemo";
         },
         "the linac CobaltDemo has no electron energy"},
    };
    for (const Case& c : cases) {
        PlanData plan = PlanOf({StaticBeam(1, "AP")});
        c.change(plan);
        const ImportedBeam beam = Import(plan);
        EXPECT_EQ(beam.refusal, c.reason);
        EXPECT_TRUE(beam.questions.empty()) << c.reason;
        EXPECT_FALSE(beam.Ready());
    }
    EXPECT_EQ(ImportPlanBeam(PlanOf({}), 0, linacs).refusal, "the plan has no beam 1");
    EXPECT_EQ(ImportPlanBeam(PlanOf({StaticBeam(1, "AP")}), 0, {}).refusal, "no linac is loaded");
}

} // namespace
} // namespace kova
