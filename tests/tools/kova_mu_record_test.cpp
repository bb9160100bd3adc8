// The real kova-mu filling a real SQLite record with --record (beam files and an RT Plan) and
// reading it back with --history, through its record plug-in.

#include "support/program_run.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace kova {
namespace {

using test::ProgramRun;

const std::string kDemo = std::string("--linacs '") + KOVA_LINACS_DIR + "' --date 02/11/2026";

ProgramRun KovaMu(const test::TempDir& work, const std::string& arguments) {
    return test::RunShell(work, test::Quoted(KOVA_MU_PROGRAM) + " " + arguments);
}

std::size_t Lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(KovaMuRecord, EveryComputedBeamOfARunIsKeptAndPrinted) {
    const test::TempDir work;
    const std::string db = test::Quoted(work.File("checks.sqlite").string());
    const ProgramRun plan =
        KovaMu(work, kDemo + " --record " + db + " --rtplan '" + KOVA_RTPLAN_DIR + "/several.dcm'");
    // Two of the plan's six beams are refused (exit 1): the four computed are recorded.
    ASSERT_EQ(plan.code, 1) << plan.err;
    const ProgramRun files =
        KovaMu(work, kDemo + " --record " + db + " '" + KOVA_EXAMPLES_DIR + "/demo_6mv.ini'");
    ASSERT_EQ(files.code, 0) << files.err;

    const struct {
        std::string filters;
        std::size_t lines; ///< of stdout
        std::string part;  ///< a line or part of the output
    } cases[] = {
        // 4 beams of the plan, 3 of the beam file (without TPS MU), the count, 3 linac and
        // energy lines.
        {"", 4 + 3 + 1 + 3, "\n7 checks\n"},
        // Hand-worked: AP (134 - 136.19) / 136.19 = -1.61 %, SSD field 0.66 %: mean -0.47 %,
        // SD |-1.61 - 0.66| / sqrt(2) = 1.61 %.
        {"--patient kova-0003 --energy 6MV", 2 + 1 + 1,
         "DualDemo 6MV: 2 checks, mean -0.47 %, SD 1.61 %\n"},
        {"--beyond", 1 + 1 + 1,
         "Electron 9 (3)  DualDemo 9MeV Electron Beam  MU 222.22  TPS 205  -7.8 %, beyond "
         "action level 5 %\n"},
        // CSV: the inputs make lines of their own (0: not counted).
        {"--kind 'Electron Beam' --csv", 0, ",Electron 9,3,DualDemo,9MeV,Electron Beam,222.2"},
        {"--from 01/01/2000 --to 31/12/2000", 1, "0 checks\n"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = KovaMu(work, "--history " + db + " " + c.filters);
        EXPECT_EQ(run.code, 0) << c.filters << run.err;
        if (c.lines != 0) {
            EXPECT_EQ(Lines(run.out), c.lines) << c.filters << '\n' << run.out;
        }
        EXPECT_NE(run.out.find(c.part), std::string::npos) << c.filters << '\n' << run.out;
    }
}

TEST(KovaMuRecord, ARecordThatCannotBeOpenedStopsTheRunBeforeAnyBeam) {
    const test::TempDir work;
    const std::string gone = test::Quoted(work.File("gone/checks.sqlite").string());
    const ProgramRun run =
        KovaMu(work, kDemo + " --record " + gone + " '" + KOVA_EXAMPLES_DIR + "/demo_6mv.ini'");
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("kova-mu: --record: The folder of the record "), std::string::npos)
        << run.err;
    EXPECT_EQ(KovaMu(work, "--history " + gone).code, 2);
}

} // namespace
} // namespace kova
