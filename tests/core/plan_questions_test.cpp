#include "core/beams/beam_form.h"
#include "core/beams/tps_check.h"
#include "core/plan/plan_import.h"
#include "core/workbench/beam_input.h"
#include "core/workbench/treatment.h"
#include "support/demo_linacs.h"
#include "support/near.h"
#include "support/test_plans.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kova {
namespace {

using test::AddStepMLC;
using test::IsNear;
using test::PlanOf;
using test::StaticBeam;

class PlanQuestionsTest : public ::testing::Test {
protected:
    std::vector<std::unique_ptr<TLinacSpec>> linacs = test::DemoLinacs();
};

TEST_F(PlanQuestionsTest, WhatThePlanDoesNotSettleIsAskedThenAnswered) {
    struct Case {
        const char* what;
        std::function<void(PlanData&)> change;
        PlanPick pick;
        std::vector<std::string> candidates;
        std::string text;
        PlanAnswers answers;
        std::string answeredLine; ///< the line of the block the answer gives
    };
    const auto firstPoint = [](PlanData& p) -> PlanControlPoint& {
        return p.beams[0].controlPoints[0];
    };
    const Case cases[] = {
        {"machine",
         [](PlanData& p) { p.beams[0].machine = "Linac-9"; },
         PlanPick::Machine,
         {"DualDemo", "CobaltDemo"},
         "the plan's machine 'Linac-9' is no linac of the linac folder (linacs: DualDemo, "
         "CobaltDemo)",
         {"DualDemo", "", "", {}, {}, "", ""},
         "Linac = DualDemo"},
        {"no energy",
         [&](PlanData& p) { firstPoint(p).nominalEnergy = 10; },
         PlanPick::Energy,
         {"6MV", "18MV"},
         "the plan's 10 MV photon beam matches no photon energy of DualDemo (energies: 6MV, "
         "18MV)",
         {"", "18MV", "", {}, {}, "", ""},
         "Energy = 18MV"},
        {"wedge angle of two wedges",
         [](PlanData& p) {
             p.beams[0].wedges = {{"W", 60, ""}};
         },
         PlanPick::Wedge,
         {"W60", "EDW60"},
         "the plan's wedge 'W' (60 degrees) may be several wedges of 6MV (wedges: W60, EDW60)",
         {"", "", "EDW60", {}, {}, "", ""},
         "WedgeComp = EDW60"},
        {"no such wedge",
         [](PlanData& p) {
             p.beams[0].wedges = {{"X", 10, "STATIC"}};
         },
         PlanPick::Wedge,
         {"W15", "W30", "W45", "W60", "EDW60"},
         "the plan's wedge 'X' (10 degrees) is no wedge of 6MV (wedges: W15, W30, W45, W60, "
         "EDW60)",
         {"", "", "W15", {}, {}, "", ""},
         "WedgeComp = W15"},
        {"tray",
         [](PlanData& p) {
             p.beams[0].blocks = {{"Cut", "Tray-X", "APERTURE"}};
         },
         PlanPick::Tray,
         {"Tray-Block", "Tray-Mesh"},
         "the plan's block tray 'Tray-X' is no tray of 6MV: a name and factor must be given",
         {"", "", "", ModifierValue{"Tray-X", 0.96}, {}, "", ""},
         "TrayComp = Tray-X : 0.96"},
        {"tray picked from the energy's",
         [](PlanData& p) {
             p.beams[0].blocks = {{"Cut", "Tray-X", "APERTURE"}};
         },
         PlanPick::Tray,
         {"Tray-Block", "Tray-Mesh"},
         "the plan's block tray 'Tray-X' is no tray of 6MV: a name and factor must be given",
         {"", "", "", {}, {}, "tray-mesh", ""},
         "TrayComp = Tray-Mesh"},
        {"shield",
         [](PlanData& p) {
             p.beams[0].blocks = {{"Lung L", "Tray-Mesh", "SHIELDING"}};
         },
         PlanPick::Shield,
         {"Shield-Lung", "Shield-Cord"},
         "the plan's shielding block 'Lung L' is no shield of 6MV: a name and factor must be "
         "given",
         {"", "", "", {}, ModifierValue{"Lung L", 0.93}, "", ""},
         "ShieldComp = Lung L : 0.93"},
        {"shield picked from the energy's",
         [](PlanData& p) {
             p.beams[0].blocks = {{"Lung L", "Tray-Mesh", "SHIELDING"}};
         },
         PlanPick::Shield,
         {"Shield-Lung", "Shield-Cord"},
         "the plan's shielding block 'Lung L' is no shield of 6MV: a name and factor must be "
         "given",
         {"", "", "", {}, {}, "", "Shield-Lung"},
         "ShieldComp = Shield-Lung"},
    };
    for (const Case& c : cases) {
        PlanData plan = PlanOf({StaticBeam(1, "AP")});
        c.change(plan);
        const ImportedBeam asked = ImportPlanBeam(plan, 0, linacs);
        EXPECT_TRUE(asked.refusal.empty()) << c.what << ": " << asked.refusal;
        ASSERT_EQ(asked.questions.size(), 1u) << c.what;
        EXPECT_EQ(asked.questions[0].pick, c.pick) << c.what;
        EXPECT_EQ(asked.questions[0].candidates, c.candidates) << c.what;
        EXPECT_EQ(asked.questions[0].text, c.text);
        EXPECT_EQ(asked.Problem(), c.text);
        const ImportedBeam answered = ImportPlanBeam(plan, 0, linacs, c.answers);
        EXPECT_TRUE(answered.Ready()) << c.what << ": " << answered.Problem();
        const std::vector<std::string> lines = test::Lines(answered.block);
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.answeredLine), lines.end()) << c.what;
    }
}

TEST_F(PlanQuestionsTest, TwoEnergiesOfTheSameNominalEnergyAreAsked) {
    static_cast<TgEnergy&>(*linacs[0]->gEnergies[1]).NominalEnergy = 6;
    const ImportedBeam beam = ImportPlanBeam(PlanOf({StaticBeam(1, "AP")}), 0, linacs);
    ASSERT_EQ(beam.questions.size(), 1u);
    EXPECT_EQ(beam.questions[0].text, "the plan's 6 MV photon beam matches several photon "
                                      "energies of DualDemo (energies: 6MV, 18MV)");
}

TEST_F(PlanQuestionsTest, AWedgeWithoutAnEnergyWedgeIsRefused) {
    linacs[0]->gEnergies[0]->Wedges.clear();
    PlanData plan = PlanOf({StaticBeam(1, "AP")});
    plan.beams[0].wedges = {{"W30", 30, "STATIC"}};
    EXPECT_EQ(ImportPlanBeam(plan, 0, linacs).refusal,
              "the plan's wedge 'W30' has no wedge of 6MV to match");
}

TEST_F(PlanQuestionsTest, ComputedMUAndTheDifferenceFromThePlan) {
    struct Case {
        const char* what;
        bool mlc;
        double mu;
        double difference;
        std::string tpsText;
    };
    // A fixed SSD beam at SSD 100 cm, 10 x 10 at the calibration distance, dose point at
    // 10 cm, 100 cGy: the 10x10 depth dose 0.6706 at 10 cm is read as tabulated (SSD = SCD),
    // field factor 1, inverse square 1, 1 cGy/MU: MU = 100 / 0.6706 = 149.1202. With the
    // step MLC (multileaf factor 0.977063, see PlanImportTest): 152.6211. TPS MU 150.
    const Case cases[] = {
        {"open", false, 100 / 0.6706, (150 - 100 / 0.6706) / (100 / 0.6706) * 100,
         "TPS MU = 150 (difference 0.6 %)"},
        {"step MLC", true, 100 / 0.6706 / 0.977063,
         (150 - 100 / 0.6706 / 0.977063) / (100 / 0.6706 / 0.977063) * 100,
         "TPS MU = 150 (difference -1.7 %)"},
    };
    for (const Case& c : cases) {
        PlanData plan = PlanOf({StaticBeam(1, "AP")});
        plan.setups[0].technique = "FIXED_SSD";
        plan.beams[0].controlPoints[0].SSD = 1000;
        plan.fractionGroups[0].beams[0].dosePointDepth = 100;
        if (c.mlc) {
            AddStepMLC(plan.beams[0]);
        }
        const ImportedBeam imported = ImportPlanBeam(plan, 0, linacs);
        ASSERT_TRUE(imported.Ready()) << imported.Problem();
        std::vector<InputError> errors;
        std::optional<ResolvedBeam> resolved = ResolveBeam(imported.block, linacs, errors);
        ASSERT_TRUE(resolved.has_value()) << (errors.empty() ? "" : errors[0].ToString());
        const BeamOutcome outcome = ComputeBeam(*resolved, Date{2026, 11, 2});
        ASSERT_TRUE(outcome.computed) << outcome.reason;
        EXPECT_TRUE(IsNear(outcome.beam->MU, c.mu, {1e-5, 0})) << c.what;
        const std::optional<TPSComparison> tps = CompareWithTPS(*outcome.beam, ActionLevels{});
        ASSERT_TRUE(tps.has_value());
        EXPECT_TRUE(IsNear(tps->difference, c.difference, {1e-4, 0})) << c.what;
        EXPECT_EQ(TPSText(*tps), c.tpsText);
    }
}

TEST_F(PlanQuestionsTest, ImportedBeamTypedIntoATreatmentOfItsOwn) {
    // The way a window puts a plan's beam into a treatment of the workbench: the treatment
    // of the beam's linac, energy and kind, a new beam in it, its form typed from the block.
    PlanData plan = PlanOf({StaticBeam(1, "AP")});
    plan.setups[0].technique = "FIXED_SSD";
    plan.beams[0].controlPoints[0].SSD = 1000;
    plan.fractionGroups[0].beams[0].dosePointDepth = 100;
    const ImportedBeam imported = ImportPlanBeam(plan, 0, linacs);
    ASSERT_TRUE(imported.Ready()) << imported.Problem();
    Result<std::unique_ptr<TTreatment>> treatment =
        MakeTreatment("Plan", *imported.linac, imported.kind, *imported.energy);
    ASSERT_TRUE(treatment.ok()) << treatment.reason();
    TBeam& beam = treatment.value()->AddBeam(treatment.value()->CreateBeam(imported.title));
    const std::unique_ptr<BeamForm> form = beam.CreateForm();
    std::vector<InputError> errors;
    ASSERT_TRUE(TypeBeamBlock(imported.block, *form, errors));
    ASSERT_TRUE(form->Accept(Date{2026, 11, 2}).ok());
    // 100 cGy over the 10x10 depth dose 0.6706 at 10 cm at SSD 100 (see above).
    EXPECT_TRUE(IsNear(beam.MU, 100 / 0.6706, {1e-5, 0}));
    EXPECT_EQ(beam.tpsMU, 150);
    // A block with a control the kind does not have says so.
    BeamBlock wrong = imported.block;
    wrong.entries.push_back({"ApplicatorComp", "10x10", 0});
    EXPECT_FALSE(TypeBeamBlock(wrong, *beam.CreateForm(), errors));
    EXPECT_EQ(errors.back().message, "this beam kind has no such control");
}

TEST(PlanPatientName, ComponentsWithoutTheEmptyOnes) {
    const std::pair<const char*, const char*> cases[] = {
        {"Last^First^mid^pre", "Last First mid pre"},
        {"Doe^Jane^^Dr", "Doe Jane Dr"},
        {" Doe ^ Jane ", "Doe Jane"},
        {"Yamada^Tarou=Ideographic^Name=Phonetic", "Yamada Tarou"},
        {"^^^", ""},
        {"", ""},
    };
    for (const auto& [dicom, shown] : cases) {
        EXPECT_EQ(PlanPatientName(dicom), shown) << dicom;
    }
    PlanData plan;
    plan.patientName = "M\xc3\xbcller^Hans";
    plan.patientID = "ID-\xc3\xa9";
    const PlanPatient patient = PlanPatientOf(plan);
    EXPECT_EQ(patient.name, "M\xfcller Hans"); // in Windows-1252
    EXPECT_EQ(patient.ID, "ID-\xe9");
}

} // namespace
} // namespace kova
