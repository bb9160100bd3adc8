#include "core/beams/photon_beam.h"
#include "core/linac/linac_spec.h"
#include "core/workbench/beam_file.h"
#include "core/workbench/beam_input.h"
#include "kova_mu/report.h"
#include "support/linac_text.h"
#include "support/near.h"
#include "support/program_run.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <utility>
#include <vector>

namespace kova {
namespace {

using mu::ToJson;

using test::IsNear;

std::vector<std::string> Messages(const std::vector<InputError>& errors) {
    std::vector<std::string> messages;
    for (const InputError& error : errors) {
        messages.push_back(error.ToString());
    }
    return messages;
}

TEST(ParseBeamText, TitlesEntriesAndComments) {
    std::vector<InputError> errors;
    const std::vector<BeamBlock> blocks =
        ParseBeamText("f.ini", "# comment\n\n[ Beam 1 ]\n  BeamDose =  200 \r\n[B2]\n", errors);
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].title, "Beam 1");
    EXPECT_EQ(blocks[0].line, 3);
    ASSERT_EQ(blocks[0].entries.size(), 1u);
    EXPECT_EQ(blocks[0].entries[0].key, "BeamDose");
    EXPECT_EQ(blocks[0].entries[0].value, "200");
    EXPECT_EQ(blocks[0].entries[0].line, 4);
    EXPECT_EQ(blocks[1].title, "B2");
    EXPECT_TRUE(blocks[1].entries.empty());
}

TEST(ParseBeamText, SyntaxErrorsWithFileLineAndText) {
    struct Case {
        const char* text;
        std::string error;
    };
    const Case cases[] = {
        {"Linac = A\n", "f.ini:1: an entry comes before the first [beam title]: 'Linac = A'"},
        {"\n[B\n", "f.ini:2: a beam title must end with ']': '[B'"},
        {"[B]\nnonsense\n", "f.ini:2: expected 'Key = Value': 'nonsense'"},
        {"[B]\nBeamDose = 1\n# x\nBeamDose = 2\n",
         "f.ini:4: the key is given twice in this beam: 'BeamDose'"},
    };
    for (const Case& c : cases) {
        std::vector<InputError> errors;
        ParseBeamText("f.ini", c.text, errors);
        EXPECT_EQ(Messages(errors), std::vector<std::string>{c.error}) << c.text;
    }
}

/// One linac "Test" from the default linac text: photon energy X6 whose only reference field
/// 10x10 (FF 1, depth dose 0.67 at 10 cm) limits every field to 10 x 10; wedge W60, tray
/// "Tray" 0.97, shield "Block", multileaf "MLC"; electron energy E9.
class KovaMuTest : public ::testing::Test {
protected:
    KovaMuTest() {
        linacs.push_back(std::make_unique<TLinacSpec>());
        const LoadResult read = ReadLinacText(test::LinacText{}.Text(), *linacs.back());
        EXPECT_TRUE(read.accepted()) << read.reason;
    }

    /// A fixed SSD 10x10 beam at 10 cm, 200 cGy; `changes` replace lines in place (same line
    /// number), an empty value drops the line, a new key goes at the end (line 10).
    std::string BeamText(const std::vector<std::pair<std::string, std::string>>& changes = {}) {
        std::vector<std::pair<std::string, std::string>> lines = {
            {"Linac", "Test"},   {"Energy", "X6"},    {"Technique", "Not Isocentric"},
            {"BeamSSD", "100"},  {"BeamDose", "200"}, {"BeamDepth", "10"},
            {"BeamWidth", "10"}, {"BeamHeight", "10"}};
        for (const auto& [key, value] : changes) {
            bool replaced = false;
            for (auto& line : lines) {
                if (line.first == key) {
                    line.second = value;
                    replaced = true;
                }
            }
            if (!replaced) {
                lines.emplace_back(key, value);
            }
        }
        std::string text = "[B]\n";
        for (const auto& [key, value] : lines) {
            if (!value.empty()) {
                text += key + " = " + value + "\n";
            }
        }
        return text;
    }

    std::optional<ResolvedBeam> Resolve(const std::string& text) {
        blocks = ParseBeamText("f.ini", text, errors);
        EXPECT_EQ(blocks.size(), 1u);
        return blocks.empty() ? std::nullopt : ResolveBeam(blocks[0], linacs, errors);
    }

    std::vector<std::unique_ptr<TLinacSpec>> linacs;
    std::vector<BeamBlock> blocks;
    std::vector<InputError> errors;
};

TEST_F(KovaMuTest, ResolveErrorsNameFileLineAndText) {
    struct Case {
        std::vector<std::pair<std::string, std::string>> changes;
        std::string error;
    };
    const Case cases[] = {
        {{{"Foo", "1"}}, "f.ini:10: unknown key: 'Foo'"},
        {{{"Linac", ""}}, "f.ini:1: the beam names no Linac: 'B'"},
        {{{"Linac", "Nope"}}, "f.ini:2: no linac of the linac folder has this Name: 'Nope'"},
        {{{"Energy", "X7"}}, "f.ini:3: the linac Test has no photon energy of this name: 'X7'"},
        {{{"Energy", ""}}, "f.ini:1: the beam names no Energy: 'B'"},
        {{{"Technique", "2"}, {"BeamSSD", ""}},
         "f.ini:4: Technique must be 0 (Isocentric) or 1 (Not Isocentric): '2'"},
        {{{"Technique", "Isocentric"}},
         "f.ini:5: BeamSSD cannot be typed in the isocentric technique (it follows the depth): "
         "'100'"},
        {{{"BeamLeft", "5"}},
         "f.ini:10: the field must be given through one sheet only: 'BeamLeft'"},
        {{{"WedgeComp", "W99"}}, "f.ini:10: no WedgeComp entry has this name: 'W99'"},
        {{{"WedgeComp", "W : 0.5"}}, "f.ini:10: no WedgeComp entry has this name: 'W : 0.5'"},
        {{{"TrayComp", "T1 : 0"}},
         "f.ini:10: an entry made on the spot needs a name and a factor other than 0 "
         "(NAME : FACTOR): 'T1 : 0'"},
        {{{"ShieldComp", " : 0.9"}},
         "f.ini:10: an entry made on the spot needs a name and a factor other than 0 "
         "(NAME : FACTOR): ': 0.9'"},
        {{{"isOffset", "yes"}}, "f.ini:10: isOffset must be 0 or 1: 'yes'"},
        {{{"BeamKind", "Proton Beam"}}, "f.ini:10: unknown BeamKind: 'Proton Beam'"},
        // X6 supports neither open/wedged nor TBI beams; E9 is no photon energy, X6 no
        // electron energy.
        {{{"BeamKind", "Photon Open/Wedged Beam"}},
         "f.ini:10: the energy X6 does not offer Photon Open/Wedged Beam: "
         "'Photon Open/Wedged Beam'"},
        {{{"BeamKind", "Total Body Irradiation"}},
         "f.ini:10: the energy X6 does not offer Total Body Irradiation: "
         "'Total Body Irradiation'"},
        {{{"BeamKind", "Electron Beam"}},
         "f.ini:3: the linac Test has no electron energy of this name: 'X6'"},
        {{{"Energy", "E9"}}, "f.ini:3: the linac Test has no photon energy of this name: 'E9'"},
        // A control of another kind's dialog, and a value shown but never typed.
        {{{"ApplicatorComp", "A10"}},
         "f.ini:10: this beam kind has no such control: 'ApplicatorComp'"},
        {{{"BeamEquivSize", "10"}},
         "f.ini:10: BeamEquivSize is worked out by the dialog, not typed: 'BeamEquivSize'"},
    };
    for (const Case& c : cases) {
        errors.clear();
        const std::optional<ResolvedBeam> beam = Resolve(BeamText(c.changes));
        EXPECT_FALSE(beam.has_value()) << c.error;
        EXPECT_EQ(Messages(errors), std::vector<std::string>{c.error});
    }
}

TEST_F(KovaMuTest, ComputedAndRefusedBeams) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> changes;
        bool computed;
        double mu;
        const char* reason;
    };
    const Case cases[] = {
        // 200 / 0.67 = 298.507
        {"fixed SSD", {}, true, 200 / 0.67, ""},
        // Isocentric SAD 100, s = 90: MU = 200 / (0.67 x (110/100)^2) = 246.700.
        {"isocentric",
         {{"Technique", "Isocentric"}, {"BeamSSD", ""}},
         true,
         200 / (0.67 * 1.21),
         ""},
        {"table tray", {{"TrayComp", "Tray"}}, true, 200 / 0.67 / 0.97, ""},
        // Not isocentric without BeamSSD: the dialog's SSD, the SCD of the energy (100 cm).
        {"SSD from the energy", {{"BeamSSD", ""}}, true, 200 / 0.67, ""},
        // A tray made on the spot: 200 / 0.67 / 0.95 = 314.218.
        {"tray on the spot", {{"TrayComp", "T1 : 0.95"}}, true, 200 / 0.67 / 0.95, ""},
        {"dose 0", {{"BeamDose", "0"}}, false, 0, "The dose must be above 0 cGy"},
        // A value the calculation needs is never left at the dialog's 0: the beam is refused,
        // naming it, as an empty value is.
        {"no depth", {{"BeamDepth", ""}}, false, 0, "the beam gives no BeamDepth"},
        {"no dose, no height",
         {{"BeamDose", ""}, {"BeamHeight", ""}},
         false,
         0,
         "the beam gives no BeamDose, BeamHeight"},
        {"dose text",
         {{"BeamDose", "2OO"}},
         false,
         0,
         "Dose: '2OO' is not a valid floating point value"},
    };
    const Date today{2026, 6, 1};
    for (const Case& c : cases) {
        errors.clear();
        std::optional<ResolvedBeam> resolved = Resolve(BeamText(c.changes));
        ASSERT_TRUE(resolved.has_value()) << c.what << ": " << Messages(errors).at(0);
        const BeamOutcome outcome = ComputeBeam(*resolved, today);
        EXPECT_EQ(outcome.computed, c.computed) << c.what << ": " << outcome.reason;
        EXPECT_EQ(outcome.reason, c.reason) << c.what;
        if (c.computed) {
            EXPECT_TRUE(IsNear(outcome.beam->MU, c.mu)) << c.what;
            EXPECT_EQ(outcome.beam->name, "B") << c.what;
        }
    }
}

TEST_F(KovaMuTest, TrayMadeOnTheSpotBelongsToTheBeam) {
    std::optional<ResolvedBeam> resolved = Resolve(BeamText({{"TrayComp", "T 1 : 0.95"}}));
    ASSERT_TRUE(resolved.has_value());
    const BeamOutcome outcome = ComputeBeam(*resolved, Date{2026, 6, 1});
    ASSERT_TRUE(outcome.computed) << outcome.reason;
    const auto& beam = static_cast<const TPhotonBeam&>(*outcome.beam);
    ASSERT_EQ(beam.adHoc.trays.size(), 1u);
    EXPECT_EQ(beam.tray, beam.adHoc.trays[0].get());
    EXPECT_EQ(beam.adHoc.trays[0]->Name, "T 1");
    EXPECT_EQ(beam.adHoc.trays[0]->TF, 0.95);
    EXPECT_EQ(linacs[0]->gEnergies[0]->Trays.size(), 1u) << "the energy's table is untouched";
}

// ---------------------------------------------------------------- the real program

using test::ProgramRun;
using test::ReadAll;

/// Runs kova-mu with `arguments` (already quoted where needed).
ProgramRun RunKovaMu(const test::TempDir& work, const std::string& arguments) {
    return test::RunShell(work, test::Quoted(KOVA_MU_PROGRAM) + " " + arguments);
}

std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

const std::string kLinacsOption = std::string("--linacs '") + KOVA_LINACS_DIR + "'";
const std::string kDate = "--date 15/06/2026";

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(KovaMuProgram, EveryExampleIsComputed) {
    const test::TempDir work;
    int examples = 0;
    for (const auto& file : std::filesystem::directory_iterator(KOVA_EXAMPLES_DIR)) {
        if (file.path().extension() != ".ini") {
            continue;
        }
        ++examples;
        const ProgramRun run =
            RunKovaMu(work, kLinacsOption + " " + kDate + " " + Quoted(file.path()));
        EXPECT_EQ(run.code, 0) << file.path() << "\n" << run.out << run.err;
        EXPECT_FALSE(Contains(run.out, "refused")) << run.out;
    }
    EXPECT_GT(examples, 0);
}

TEST(KovaMuProgram, DemoSixMegavoltFigures) {
    const test::TempDir work;
    const ProgramRun run =
        RunKovaMu(work, kLinacsOption + " " + kDate + " " +
                            Quoted(std::filesystem::path(KOVA_EXAMPLES_DIR) / "demo_6mv.ini"));
    ASSERT_EQ(run.code, 0) << run.out << run.err;
    // 6MV 10x10 at 10 cm, SSD 100: FF 1, P 0.6706, 1 cGy/MU: 200 / 0.6706 = 298.240.
    EXPECT_TRUE(Contains(run.out, "== Fixed SSD 10x10: MU = 298.24\n")) << run.out;
    // Isocentric, s = 90: the depth-dose field 10 x 100/110 = 9.0909 has four neighbours:
    // 10x10 (q = 200/121, P 0.6706), 8x8 (q = 288/121, P 0.6585), 5x20 and 20x5
    // (q = 16425/121 each, P 0.6585). P = (0.6706/200 + 0.6585 (1/288 + 2/16425)) /
    // (1/200 + 1/288 + 2/16425) = 0.665540; MU = 200 / (P x 1.21) = 248.354.
    EXPECT_TRUE(Contains(run.out, "== Isocentric 10x10 at 10 cm: MU = 248.35\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, "== Wedged asymmetric with tray and offset: MU = ")) << run.out;
}

TEST(KovaMuProgram, ExitCodes) {
    const test::TempDir work;
    const std::filesystem::path beams = work.File("beams.ini");
    std::ofstream(beams) << "[Build-up]\nLinac = DualDemo\nEnergy = 6MV\nBeamDose = 200\n"
                            "BeamDepth = 1.5\nBeamWidth = 10\nBeamHeight = 10\n";
    // Isocentric at the build-up depth: P = 1, ssdPDD = 1, S = (101.5 / 100)^2 = 1.030225;
    // MU = 200 / 1.030225 = 194.132.
    ProgramRun run = RunKovaMu(work, kLinacsOption + " " + kDate + " " + Quoted(beams));
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "== Build-up: MU = 194.13\n")) << run.out;

    const std::filesystem::path refused = work.File("refused.ini");
    std::ofstream(refused) << "[Zero dose]\nLinac = DualDemo\nEnergy = 6MV\nBeamDose = 0\n"
                              "BeamDepth = 10\nBeamWidth = 10\nBeamHeight = 10\n";
    run =
        RunKovaMu(work, kLinacsOption + " " + kDate + " " + Quoted(beams) + " " + Quoted(refused));
    EXPECT_EQ(run.code, 1) << run.err;
    EXPECT_TRUE(Contains(run.out, "== Build-up: MU = 194.13\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, "== Zero dose: refused: The dose must be above 0 cGy\n"))
        << run.out;

    // 248.35 MU against a TPS MU of 260: +4.7 %, beyond the photon action level of 3 %.
    const std::filesystem::path beyond = work.File("beyond.ini");
    std::ofstream(beyond) << "[Beyond]\nLinac = DualDemo\nEnergy = 6MV\nBeamDose = 200\n"
                             "BeamDepth = 10\nBeamWidth = 10\nBeamHeight = 10\nTPSMU = 260\n";
    run = RunKovaMu(work, kLinacsOption + " " + kDate + " " + Quoted(beyond));
    EXPECT_EQ(run.code, 3) << run.err;
    EXPECT_TRUE(Contains(run.out, "== Beyond: MU = 248.35, TPS 260, 4.7 %, beyond action level\n"))
        << run.out;
    const std::filesystem::path levels = work.File("levels.ini");
    std::ofstream(levels) << "Photon Beam = 5\n";
    run = RunKovaMu(work, kLinacsOption + " " + kDate + " --action-levels " + Quoted(levels) + " " +
                              Quoted(beyond));
    EXPECT_EQ(run.code, 0) << run.err;
    // A --action-levels file that is missing is named, with why; the defaults apply.
    const std::string none = work.File("none.ini").string();
    run = RunKovaMu(work, kLinacsOption + " " + kDate + " --action-levels " + Quoted(none) + " " +
                              Quoted(beyond));
    EXPECT_EQ(run.code, 3) << run.err;
    EXPECT_TRUE(Contains(run.err, "--action-levels: Cannot open file " + none + ": no such file"))
        << run.err;
    run =
        RunKovaMu(work, kLinacsOption + " " + kDate + " " + Quoted(beyond) + " " + Quoted(refused));
    EXPECT_EQ(run.code, 1) << "a refusal outweighs a difference";

    const std::filesystem::path broken = work.File("broken.ini");
    std::ofstream(broken) << "[Typo]\nLinac = DualDemo\nFoo = 1\n";
    run = RunKovaMu(work, kLinacsOption + " " + kDate + " " + Quoted(broken));
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(Contains(run.err, broken.string() + ":3: unknown key: 'Foo'")) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;

    const std::string fifo = work.File("fifo.ini").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string usage[] = {
        kLinacsOption,                                         // no beam file
        kLinacsOption + " --date 31/02/2026 " + Quoted(beams), // no such day
        "--linacs '" + work.File("none").string() + "' " + Quoted(beams),
        kLinacsOption + " " + Quoted(work.File("missing.ini")),
        kLinacsOption + " " + Quoted(fifo), // refused at once, never waited on
        kLinacsOption + " --frobnicate " + Quoted(beams),
    };
    for (const std::string& arguments : usage) {
        run = RunKovaMu(work, arguments);
        EXPECT_EQ(run.code, 2) << arguments << "\n" << run.out << run.err;
        EXPECT_FALSE(run.err.empty()) << arguments;
    }
}

TEST(KovaMuProgram, EveryKindInTextAndJson) {
    const test::TempDir work;
    const std::filesystem::path examples(KOVA_EXAMPLES_DIR);
    const ProgramRun run = RunKovaMu(work, "--json " + kLinacsOption + " " + kDate + " " +
                                               Quoted(examples / "demo_open_wedged.ini") + " " +
                                               Quoted(examples / "demo_electron.ini") + " " +
                                               Quoted(examples / "demo_tbi.ini"));
    ASSERT_EQ(run.code, 0) << run.err;
    for (const char* part :
         {"\"wedgeDose\": 40", "\"wedgeMU\": ", "\"wedgedSsdPDD\": ", "\"applicator\": \"15x15\"",
          "\"applicatorFactor\": 0.9018", "\"lungShieldFactor\": ", "\"headDose\": ",
          "\"lungShieldFactor\": null", "\"shield\": \"Lead 3\"", "\"e-\"", "\"tbi\""}) {
        EXPECT_TRUE(Contains(run.out, part)) << part;
    }
    const ProgramRun text =
        RunKovaMu(work, kLinacsOption + " " + kDate + " " + Quoted(examples / "demo_electron.ini"));
    // 200 cGy / 0.9018 cGy/MU (the 15x15 applicator's output at the 90% depth) = 221.78 MU.
    EXPECT_TRUE(Contains(text.out, "== Chest wall 9 MeV: MU = 221.78\n")) << text.out;
}

TEST(KovaMuProgram, MultileafFieldFromAnMLCFile) {
    const test::TempDir work;
    const std::string plan = std::string(KOVA_MLC_DATA_DIR) + "/plan.mlc";
    const auto run = [&](const std::string& keys) {
        const std::filesystem::path beams = work.File("mlc.ini");
        std::ofstream(beams) << "[B]\nLinac = DualDemo\nEnergy = 6MV\nBeamDose = 200\n"
                                "BeamDepth = 10\n"
                             << keys << "MultileafFile = " << plan << "\n";
        return RunKovaMu(work, "--json " + kLinacsOption + " " + kDate + " " + Quoted(beams));
    };
    // 10 x 10 opening under 10 x 10 jaws: both factors exactly 1.
    ProgramRun result = run("BeamWidth = 10\nBeamHeight = 10\n");
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_TRUE(Contains(result.out, "\"text\": \"plan.mlc:: AP 10x10\"")) << result.out;
    EXPECT_TRUE(Contains(result.out, "\"sqrtFactor\": 1.0,")) << result.out;
    EXPECT_TRUE(Contains(result.out, "\"multileafFactor\": 1.0,")) << result.out;
    // The same opening behind 6 x 6 jaws: only the 6 x 6 inside them counts, all open, so the
    // factors stay 1 (the whole opening would give Sp(10) / Sp(6) above 1).
    result = run("BeamWidth = 6\nBeamHeight = 6\n");
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_TRUE(Contains(result.out, "\"area\": 36.0,")) << result.out;
    EXPECT_TRUE(Contains(result.out, "\"multileafFactor\": 1.0,")) << result.out;
    // Recommended jaws replace the typed field, but a typed text that is no number is refused.
    result = run("BeamWidth = nan\nBeamHeight = 10\nMLCJaws = Recommended\n");
    EXPECT_EQ(result.code, 1) << result.err;
    EXPECT_TRUE(Contains(result.out, "Width: 'nan' is not a valid floating point value"))
        << result.out;
    // Jaws wider than the largest reference field cannot be kept: the beam is refused.
    result = run("BeamWidth = 45\nBeamHeight = 10\nMultileafField = Off axis 8x6\n");
    EXPECT_EQ(result.code, 1) << result.err;
    EXPECT_TRUE(Contains(result.out, "the jaws cannot be kept with the multileaf field"))
        << result.out;
    const struct {
        const char* keys;
        const char* error;
    } usage[] = {
        {"BeamWidth = 10\nBeamHeight = 10\nMultileafField = F9\n",
         "no field of plan.mlc has this name: 'F9'"},
        {"BeamWidth = 10\nBeamHeight = 10\nMLCJaws = Widest\n",
         "MLCJaws must be Current or Recommended: 'Widest'"},
        {"BeamWidth = 10\nBeamHeight = 10\nMultileafComp = MLC-Prostate\n",
         "MultileafComp and MultileafFile cannot both be given: 'MLC-Prostate'"},
    };
    for (const auto& u : usage) {
        result = run(u.keys);
        EXPECT_EQ(result.code, 2) << u.keys;
        EXPECT_TRUE(Contains(result.err, u.error)) << result.err;
    }
}

TEST(KovaMuProgram, SavedWorkbenchKeepsItsPatientsAndTreatments) {
    const test::TempDir work;
    const std::filesystem::path beams = work.File("saved.ini");
    const std::string beam = "Linac = DualDemo\nEnergy = 6MV\nBeamDose = 200\n"
                             "BeamDepth = 10\nBeamWidth = 10\nBeamHeight = 10\n";
    std::ofstream(beams) << "[AP]\nPatient = Rossi\nTreatment = Prostata\n"
                         << beam << "[PA]\nPatient = Rossi\nTreatment = Prostata\n"
                         << beam << "[LAT]\nPatient = Rossi\nTreatment = Boost\n"
                         << beam;
    const ProgramRun run = RunKovaMu(work, kLinacsOption + " " + kDate + " " + Quoted(beams));
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "# Patient Rossi, treatment Prostata\n== AP: MU = 248.35\n"))
        << run.out;
    EXPECT_EQ(run.out.find("# Patient Rossi, treatment Prostata", 1), std::string::npos)
        << "one heading for the two beams of a treatment";
    EXPECT_TRUE(Contains(run.out, "# Patient Rossi, treatment Boost\n== LAT:")) << run.out;
}

// A title that would clear the screen and ring the bell is shown escaped; its characters are
// the same in text and JSON (Windows-1252 in UTF-8 there too, e acute as 0xE9 from a file
// that is no UTF-8), and JSON keeps the control characters in its own escapes.
TEST(KovaMuProgram, TextsFromFilesNeverActOnTheTerminal) {
    const test::TempDir work;
    const std::filesystem::path beams = work.File("escape.ini");
    std::ofstream(beams) << "[a\x1B[2J\x07title \xE9]\nLinac = DualDemo\nEnergy = 6MV\n"
                            "BeamDose = 200\nBeamDepth = 10\nBeamWidth = 10\nBeamHeight = 10\n";
    const ProgramRun text = RunKovaMu(work, kLinacsOption + " " + kDate + " " + Quoted(beams));
    EXPECT_EQ(text.code, 0) << text.err;
    EXPECT_TRUE(Contains(text.out, "== a\\x1B[2J\\x07title \xC3\xA9: MU = 248.35\n")) << text.out;
    EXPECT_EQ(text.out.find('\x1B'), std::string::npos);
    const ProgramRun json =
        RunKovaMu(work, "--json " + kLinacsOption + " " + kDate + " " + Quoted(beams));
    EXPECT_TRUE(Contains(json.out, "\"title\": \"a\\u001b[2J\\u0007title \xC3\xA9\"")) << json.out;
    std::ofstream(work.File("key.ini")) << "[x]\nLinac = Kova\x1B[2JDemo\n";
    const ProgramRun error = RunKovaMu(work, kLinacsOption + " " + Quoted(work.File("key.ini")));
    EXPECT_EQ(error.code, 2);
    EXPECT_TRUE(Contains(error.err, "has this Name: 'Kova\\x1B[2JDemo'")) << error.err;
}

TEST(KovaMuJson, TextsAsUtf8NumbersAtFullPrecision) {
    // A quote, a backslash, a TAB, e acute (0xE9) and the euro sign (0x80) of Windows-1252.
    const nlohmann::ordered_json text = ToJson(std::string("a\"b\\c\td\xE9\x80"));
    EXPECT_EQ(text.dump(), "\"a\\\"b\\\\c\\td\xC3\xA9\xE2\x82\xAC\"");
    // The shortest text that reads back to the same double.
    EXPECT_EQ(ToJson(0.1).dump(), "0.1");
    EXPECT_EQ(ToJson(200 / 0.67).get<double>(), 200 / 0.67);
    EXPECT_EQ(ToJson(std::numeric_limits<double>::infinity()).dump(), "null");
    EXPECT_EQ(ToJson(std::monostate{}).dump(), "null");
    EXPECT_EQ(ToJson(false).dump(), "false");
    EXPECT_EQ(ToJson(1).dump(), "1");
}

TEST(KovaMuProgram, JsonCarriesInputsFactorsAndTexts) {
    const test::TempDir work;
    const ProgramRun run =
        RunKovaMu(work, "--json " + kLinacsOption + " " + kDate + " " +
                            Quoted(std::filesystem::path(KOVA_EXAMPLES_DIR) / "demo_6mv.ini"));
    ASSERT_EQ(run.code, 0) << run.err;
    for (const char* part :
         {"\"date\": \"15/06/2026\"", "\"title\": \"Fixed SSD 10x10\"", "\"computed\": true",
          "\"technique\": 1", "\"ssdPDD\": 0.6706,", "\"tray\": \"Tray-Block\"",
          "\"text\": \"MU = 298.24\"", "\"gamma (SSD)\"", "\"column\": \"UM\"", "\"298\""}) {
        EXPECT_TRUE(Contains(run.out, part)) << part << "\n" << run.out;
    }
    // Each computed beam carries the 37 texts of its report column: the first and the last.
    EXPECT_TRUE(Contains(run.out, "\"details\": [\n        \"gamma (SSD)\",")) << run.out;
    EXPECT_TRUE(Contains(run.out, "\"298.24\"\n      ],\n      \"setupRow\"")) << run.out;
}

} // namespace
} // namespace kova
