// A plan imported with the user's answers and put into the workbench, as the desktop
// program's "Import RT Plan..." does it, on the demo linacs.

#include "core/beams/tps_check.h"
#include "core/plan/plan_answers.h"
#include "core/plan/plan_workbench.h"
#include "support/demo_linacs.h"
#include "support/near.h"
#include "support/test_plans.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace kova {
namespace {

using test::ElectronBeam;
using test::IsNear;
using test::PlanOf;
using test::StaticBeam;

const Date kToday{2026, 11, 2};
const std::string kMachineQuestion = "the plan's machine 'Linac-9' is no linac of the linac "
                                     "folder (linacs: DualDemo, CobaltDemo)";

class PlanWorkbenchTest : public ::testing::Test {
protected:
    std::vector<std::unique_ptr<TLinacSpec>> linacs = test::DemoLinacs();
};

TEST_F(PlanWorkbenchTest, EachQuestionIsAskedOnceForThePlan) {
    struct Case {
        const char* what;
        std::function<void(PlanData&)> change; ///< of a plan of two 6 MV beams, AP and PA
        std::map<PlanPick, std::optional<PlanAnswer>> user;
        std::vector<PlanPick> asked;       ///< the questions put to the user, in order
        std::vector<std::string> problems; ///< per beam: empty when ready
        std::string energy;                ///< of the ready beams
    };
    const auto bothBeams = [](std::function<void(PlanBeam&)> change) {
        return [change](PlanData& p) {
            for (PlanBeam& beam : p.beams) {
                change(beam);
            }
        };
    };
    const auto unknownMachine = [](PlanBeam& b) { b.machine = "Linac-9"; };
    const std::string wedgeQuestion = "the plan's wedge 'W' (60 degrees) may be several wedges "
                                      "of 6MV (wedges: W60, EDW60)";
    const Case cases[] = {
        {"nothing to ask", [](PlanData&) {}, {}, {}, {"", ""}, "6MV"},
        {"one machine for both beams",
         bothBeams(unknownMachine),
         {{PlanPick::Machine, PlanAnswer{"DualDemo", {}}}},
         {PlanPick::Machine},
         {"", ""},
         "6MV"},
        {"the machine, then the energy on it",
         bothBeams([](PlanBeam& b) {
             b.machine = "Linac-9";
             b.controlPoints[0].nominalEnergy = 10;
         }),
         {{PlanPick::Machine, PlanAnswer{"DualDemo", {}}},
          {PlanPick::Energy, PlanAnswer{"18MV", {}}}},
         {PlanPick::Machine, PlanPick::Energy},
         {"", ""},
         "18MV"},
        {"only the second beam's machine",
         [&](PlanData& p) { unknownMachine(p.beams[1]); },
         {{PlanPick::Machine, PlanAnswer{"DualDemo", {}}}},
         {PlanPick::Machine},
         {"", ""},
         "6MV"},
        {"declined: every beam that raises it is refused",
         bothBeams(unknownMachine),
         {{PlanPick::Machine, std::nullopt}},
         {PlanPick::Machine},
         {kMachineQuestion + ": not answered", kMachineQuestion + ": not answered"},
         ""},
        {"an answer that settles nothing",
         bothBeams(unknownMachine),
         {{PlanPick::Machine, PlanAnswer{"Nope", {}}}},
         {PlanPick::Machine},
         {kMachineQuestion, kMachineQuestion},
         ""},
        {"a wedge picked",
         bothBeams([](PlanBeam& b) {
             b.wedges = {{"W", 60, ""}};
         }),
         {{PlanPick::Wedge, PlanAnswer{"EDW60", {}}}},
         {PlanPick::Wedge},
         {"", ""},
         "6MV"},
        {"a wedge declined",
         bothBeams([](PlanBeam& b) {
             b.wedges = {{"W", 60, ""}};
         }),
         {{PlanPick::Wedge, std::nullopt}},
         {PlanPick::Wedge},
         {wedgeQuestion + ": not answered", wedgeQuestion + ": not answered"},
         ""},
        {"a tray made on the spot",
         bothBeams([](PlanBeam& b) {
             b.blocks = {{"Cut", "Tray-X", "APERTURE"}};
         }),
         {{PlanPick::Tray, PlanAnswer{"", ModifierValue{"Tray-X", 0.96}}}},
         {PlanPick::Tray},
         {"", ""},
         "6MV"},
        {"a refused beam raises no question",
         [&](PlanData& p) {
             p.beams[0].deliveryType = "SETUP";
             unknownMachine(p.beams[0]);
         },
         {},
         {},
         {"not a treatment beam (SETUP)", ""},
         "6MV"},
    };
    for (const Case& c : cases) {
        PlanData plan = PlanOf({StaticBeam(1, "AP"), StaticBeam(2, "PA")});
        c.change(plan);
        std::vector<PlanPick> asked;
        const PlanAsker ask = [&](const ImportedBeam&, const PlanQuestion& question) {
            asked.push_back(question.pick);
            return c.user.at(question.pick);
        };
        const std::vector<ImportedBeam> beams = ImportPlanAsking(plan, linacs, ask);
        EXPECT_EQ(asked, c.asked) << c.what;
        ASSERT_EQ(beams.size(), 2u);
        for (std::size_t i = 0; i < beams.size(); ++i) {
            EXPECT_EQ(beams[i].Problem(), c.problems[i]) << c.what << ", beam " << i;
            EXPECT_EQ(beams[i].Ready(), c.problems[i].empty()) << c.what;
            if (beams[i].Ready()) {
                EXPECT_EQ(beams[i].energy->Name, c.energy) << c.what;
            }
        }
    }
}

TEST_F(PlanWorkbenchTest, ReadyBeamsGoIntoOneTreatmentPerLinacEnergyAndKind) {
    PlanBeam big = StaticBeam(4, "Big 18");
    big.controlPoints[0].nominalEnergy = 18;
    big.controlPoints[0].devices = {{"ASYMX", {-300, 300}}, {"ASYMY", {-300, 300}}};
    PlanBeam setup = StaticBeam(5, "Setup");
    setup.deliveryType = "SETUP";
    PlanData plan = PlanOf({StaticBeam(1, "AP"), ElectronBeam(2), StaticBeam(3, "PA"), big, setup});
    plan.label = "Pelvi\xc3\xa8"; // UTF-8 in the plan, Windows-1252 in the workbench
    const std::vector<ImportedBeam> beams = ImportPlan(plan, linacs);
    ASSERT_TRUE(beams[3].Ready()) << beams[3].Problem(); // refused by OK, not by the import

    Patient patient;
    patient.treatments.push_back(std::make_unique<TTreatment>());
    const std::vector<RefusedPlanBeam> refused = AddPlanBeams(patient, plan, beams, kToday);

    // The treatment there before stays first; the 18 MV one, whose only beam OK refused, is
    // not added.
    ASSERT_EQ(patient.treatments.size(), 3u);
    const TTreatment& photons = *patient.treatments[1];
    const TTreatment& electrons = *patient.treatments[2];
    EXPECT_EQ(photons.name, "Pelvi\xe8 6MV");
    EXPECT_EQ(photons.linac->Name, "DualDemo");
    EXPECT_EQ(photons.kind, BeamKind::Photon);
    ASSERT_EQ(photons.beams.size(), 2u);
    EXPECT_EQ(photons.beams[0]->name, "AP");
    EXPECT_EQ(photons.beams[1]->name, "PA");
    EXPECT_EQ(photons.DoseTotal(), 200); // 1 Gy a beam
    EXPECT_EQ(electrons.name, "Pelvi\xe8 9MeV");
    EXPECT_EQ(electrons.kind, BeamKind::Electron);
    ASSERT_EQ(electrons.beams.size(), 1u);
    // 100 cGy with the 10x10 applicator at 0.9 cGy/MU (its output at the 90% depth):
    // 111.11 MU against the plan's 150, +35 %.
    const TBeam& electron = *electrons.beams[0];
    EXPECT_TRUE(electron.calculated);
    EXPECT_TRUE(IsNear(electron.MU, 100 / 0.9));
    const std::optional<TPSComparison> tps = CompareWithTPS(electron, ActionLevels{});
    ASSERT_TRUE(tps.has_value());
    EXPECT_TRUE(IsNear(tps->difference, 35));
    for (const auto& beam : photons.beams) {
        EXPECT_TRUE(beam->calculated);
        EXPECT_EQ(beam->tpsMU, 150);
    }

    ASSERT_EQ(refused.size(), 2u);
    EXPECT_EQ(refused[0].title, "Big 18");
    EXPECT_EQ(refused[0].reason, "Width 60 cm is above the maximum 40 cm (energy 18MV)");
    EXPECT_EQ(RefusedLine(refused[1]), "Setup: not a treatment beam (SETUP)");
}

TEST(PlanPatientCaption, NameAndID) {
    const struct {
        PlanPatient patient;
        const char* caption;
    } rows[] = {
        {{"Last First mid pre", "id00001"}, "Last First mid pre (id00001)"},
        {{"Doe Jane", ""}, "Doe Jane"},
        {{"", "KOVA-0003"}, "KOVA-0003"},
        {{"", ""}, "New Patient"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(PlanPatientCaption(row.patient), row.caption);
    }
}

} // namespace
} // namespace kova
