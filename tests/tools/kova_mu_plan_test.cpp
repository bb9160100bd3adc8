// The real kova-mu on RT Plans: pydicom's public plan on a linac named "unit001" and the
// test plans on the demo linacs of this build.

#include "support/demo_linacs.h"
#include "support/lnc_file.h"
#include "support/program_run.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace kova {
namespace {

using test::ProgramRun;

ProgramRun RunKovaMu(const test::TempDir& work, const std::string& arguments) {
    return test::RunShell(work, test::Quoted(KOVA_MU_PROGRAM) + " " + arguments);
}

std::string TestPlan(const std::string& name) {
    return std::string("'") + KOVA_RTPLAN_DIR + "/" + name + ".dcm'";
}

const std::string kDemo = std::string("--linacs '") + KOVA_LINACS_DIR + "' --date 02/11/2026";

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(KovaMuRTPlan, PydicomPlanOnUnit001) {
    const test::TempDir work;
    const std::filesystem::path linacs = work.File("Linacs");
    std::filesystem::create_directory(linacs);
    test::WriteLncFile(linacs, "unit001.lnc", [] {
        std::string text = test::DemoLinacText("demo_dual_energy.txt");
        return text.replace(text.find("DualDemo"), std::string("DualDemo").size(), "unit001");
    }());
    const std::string plan = std::string("'") + KOVA_PYDICOM_TEST_FILES + "/rtplan.dcm'";
    const ProgramRun run =
        RunKovaMu(work, "--linacs '" + linacs.string() + "' --date 02/11/2026 --rtplan " + plan);
    EXPECT_EQ(run.code, 0) << run.out << run.err;
    // MU 114.2483 and +1.5 % against 116.0037 (worked in rt_plan_reader_test.cpp), the
    // plan's depth, SSD and dose typed to 0.01 as a user types them.
    EXPECT_TRUE(Contains(run.out, "Plan Plan1: Last First mid pre (id00001)\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, "== Field 1: MU = 114.25, TPS 116, 1.5 %\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, "  Depth = 10.16 cm\n  SSD\\\\RealSSD = 89.84 cm\\\\89.84 cm\n"))
        << run.out;
    EXPECT_TRUE(Contains(run.out, "  TPS MU = 116 (difference 1.5 %)\n")) << run.out;
}

// IMRT and VMAT plans: the point dose by Clarkson integration, the MU for the plan's dose
// and the plan's MU compared at the 5 % level of the kind; the JSON carries the factors.
TEST(KovaMuRTPlan, ImrtAndVmatBeamsAreComputedAgainstThePlansMU) {
    const test::TempDir work;
    const struct {
        const char* plan;
        std::string first; ///< the beam's first line
        int segments;
        double dosePerMU; ///< cGy/MU
    } rows[] = {
        // A constant 10 x 10 cm aperture at SSD 90 cm, 10 cm deep all round: the static
        // photon beam of that field gives 200 cGy with 248.35 MU (TMR 0.782, scale 1.231),
        // 0.8053 cGy/MU; Clarkson's sectors give 0.26 % less.
        {"vmat", "== Arc 1: MU = 248.99, TPS 250, 0.4 %\n", 36, 0.80326},
        // A 2 cm gap (+ 0.16 cm leaf gap) over the point for about 2.16 / 8 of the sweep of
        // 16 segments, the rest under leaves (1.6 %): about a quarter of the open field.
        {"sliding_window", "== Sliding window: MU = 238.18, TPS 240, 0.8 %\n", 16, 0.20993},
    };
    for (const auto& row : rows) {
        const ProgramRun text = RunKovaMu(work, kDemo + " --rtplan " + TestPlan(row.plan));
        EXPECT_EQ(text.code, 0) << text.out << text.err;
        EXPECT_TRUE(Contains(text.out, row.first + "  Gantry")) << text.out;
        const ProgramRun json = RunKovaMu(work, kDemo + " --json --rtplan " + TestPlan(row.plan));
        const nlohmann::json beam = nlohmann::json::parse(json.out)["beams"][0];
        EXPECT_EQ(beam["beamKind"], "IMRT/VMAT Beam") << row.plan;
        EXPECT_NEAR(beam["factors"]["dosePerMU"].get<double>(), row.dosePerMU, 5e-6) << row.plan;
        EXPECT_EQ(beam["factors"]["segments"], row.segments) << row.plan;
        EXPECT_EQ(beam["beyondActionLevel"], false) << row.plan;
    }
}

TEST(KovaMuRTPlan, RefusedBeamsNameWhyAndTheRestIsComputed) {
    const test::TempDir work;
    const ProgramRun run = RunKovaMu(work, kDemo + " --rtplan " + TestPlan("arc"));
    EXPECT_EQ(run.code, 1) << run.out << run.err;
    // The arc and the sliding window are IMRT/VMAT beams, computed on the demo sidecar.
    EXPECT_TRUE(Contains(run.out, "== Arc: MU = ")) << run.out;
    EXPECT_TRUE(Contains(run.out, "== Sliding window: MU = ")) << run.out;
    EXPECT_TRUE(Contains(run.out, "== No dose: refused: the plan gives the beam no dose"))
        << run.out;
    EXPECT_TRUE(Contains(run.out, "== Static: MU = ")) << run.out;

    const ProgramRun machines = RunKovaMu(work, kDemo + " --rtplan " + TestPlan("two_machines"));
    EXPECT_EQ(machines.code, 1);
    EXPECT_TRUE(Contains(machines.out, "== Other: refused: the plan's machine 'Linac-9' is no "
                                       "linac of the linac folder (linacs: CobaltDemo, "
                                       "DualDemo)\n"))
        << machines.out;
    EXPECT_TRUE(Contains(machines.out, "== Co60: MU = ")) << machines.out;

    // A beam without a meterset that is a number is computed, not checked: exit status 1.
    const ProgramRun damaged = RunKovaMu(work, kDemo + " --rtplan " + TestPlan("damaged"));
    EXPECT_EQ(damaged.code, 1) << damaged.err;
    EXPECT_TRUE(Contains(damaged.out, "== Meterset nan: MU = 124.18, not compared: the plan's "
                                      "BeamMeterset of the beam is not a number\n"))
        << damaged.out;
    EXPECT_TRUE(Contains(damaged.out, "== Jaws nan: refused: the ASYMX positions of control "
                                      "point 1 are not all numbers: the plan is damaged\n"))
        << damaged.out;
    const ProgramRun duplicate =
        RunKovaMu(work, kDemo + " --rtplan " + TestPlan("dup_beam_number"));
    EXPECT_EQ(duplicate.code, 2);
    EXPECT_TRUE(Contains(duplicate.err, "the RT Plan is damaged: beams 1 and 2 have the same "
                                        "BeamNumber 1"))
        << duplicate.err;
}

TEST(KovaMuRTPlan, JsonKeepsThePlanOrder) {
    const test::TempDir work;
    const ProgramRun run = RunKovaMu(work, kDemo + " --json --rtplan " + TestPlan("several"));
    EXPECT_EQ(run.code, 1) << run.err;
    const nlohmann::json document = nlohmann::json::parse(run.out);
    EXPECT_EQ(document["plan"]["label"], "SEVERAL");
    EXPECT_EQ(document["plan"]["patientName"], "Doe Jane Dr");
    const nlohmann::json& beams = document["beams"];
    ASSERT_EQ(beams.size(), 6u);
    const char* const titles[] = {"AP", "PA", "Electron 9", "Setup", "SSD field", "Odd tray"};
    const bool computed[] = {true, true, true, false, true, false};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(beams[i]["title"], titles[i]);
        EXPECT_EQ(beams[i]["computed"], computed[i]) << beams[i].dump();
        EXPECT_TRUE(beams[i]["line"].is_null());
    }
    // The electron beam: 200 cGy with the 10x10 applicator (1 cGy/MU at 9MeV) is 200 MU,
    // against the plan's 205: +2.5 %.
    EXPECT_EQ(beams[2]["energy"], "9MeV");
    EXPECT_EQ(beams[2]["tpsMU"], 205);
    EXPECT_EQ(beams[3]["reason"], "not a treatment beam (SETUP)");
    EXPECT_TRUE(beams[3]["linac"].is_null());
}

TEST(KovaMuRTPlan, FilesThatCannotBeCheckedAndUsage) {
    const test::TempDir work;
    const ProgramRun dose = RunKovaMu(work, kDemo + " --rtplan " + TestPlan("not_a_plan"));
    EXPECT_EQ(dose.code, 2);
    EXPECT_TRUE(Contains(dose.err, "not_a_plan.dcm: not an RT Plan (SOP class")) << dose.err;
    const ProgramRun missing =
        RunKovaMu(work, kDemo + " --rtplan '" + work.File("none.dcm").string() + "'");
    EXPECT_EQ(missing.code, 2);
    EXPECT_TRUE(Contains(missing.err, "Cannot open file")) << missing.err;
    // Beam files and a plan together: usage.
    const ProgramRun both = RunKovaMu(work, kDemo + " --rtplan " + TestPlan("arc") + " x.ini");
    EXPECT_EQ(both.code, 2);
    EXPECT_TRUE(Contains(both.err, "--rtplan")) << both.err;
}

} // namespace
} // namespace kova
