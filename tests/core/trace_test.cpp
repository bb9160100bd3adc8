// The trace of every looked-up value: worked out again from the trace alone, it gives the
// value the beam shows to the last bit, on every beam kind of the examples and the demo linacs.

#include "core/dosimetry/trace.h"
#include "core/workbench/workbench_file.h"
#include "core/workbench/workbench_text.h"
#include "support/demo_linacs.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace kova {
namespace {

/// After the cobalt source's calibration (01/06/2026): its decay enters the MU.
const Date kDay{2026, 9, 1};

std::string Example(const char* file) {
    std::ifstream in(std::filesystem::path(KOVA_EXAMPLES_DIR) / file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Beam(const char* keys) {
    return std::string("[Beam]\nLinac = DualDemo\nEnergy = 6MV\nBeamDose = 200\n") + keys;
}

/// The lines a looked-up value is shown on: each must carry its trace.
bool ShowsLookedUpValue(const std::string& text) {
    for (const char* name :
         {"Field Factor =", "Scale Factor =", "TMR =", "SSD PDD =", "SCD PDD =", "Wedge Factor =",
          "Wedge PPD Warp Factor =", "Effective Depth =", "Tray Factor =", "Shield Factor =",
          "Offset Factor =", "Multileaf Factor =", "Phantom Scatter Factor =",
          "Actual Calibration Factor =", "Lung Shield Thickness =", "SCD PDD Size =",
          "Collimators Scatter Factor ="}) {
        if (text.rfind(name, 0) == 0) {
            return true;
        }
    }
    return text.find(" cGy/MU)") != std::string::npos; // an electron applicator
}

double FactorOf(const TBeam& beam, const std::string& name) {
    for (const NamedValue& value : beam.Factors()) {
        if (value.name == name && std::holds_alternative<double>(value.value)) {
            return std::get<double>(value.value);
        }
    }
    ADD_FAILURE() << "no factor " << name;
    return 0;
}

/// Checks every traced line under `nodes`.
void CheckLines(const TBeam& beam, const std::vector<TextNode>& nodes) {
    for (const TextNode& node : nodes) {
        EXPECT_EQ(node.trace != nullptr, ShowsLookedUpValue(node.text)) << node.text;
        if (node.trace != nullptr) {
            EXPECT_EQ(Reevaluate(*node.trace), node.trace->value) << node.text;
            EXPECT_EQ(Reevaluate(*node.trace), FactorOf(beam, node.trace->factor)) << node.text;
        }
        CheckLines(beam, node.children);
    }
}

TEST(Trace, ReevaluatingEveryTraceGivesTheValueShown) {
    const std::string tbi = "[TBI]\nLinac = DualDemo\nEnergy = 18MV\nBeamDose = 200\n"
                            "BeamKind = Total Body Irradiation\nBuild = Normal Build\n";
    const struct {
        const char* what;
        std::string beams;
        const char* factor; ///< a trace of the first beam, with its rule and formula
        TraceRule rule;
        TraceFormula formula;
        bool fallback;
    } rows[] = {
        {"photon examples", Example("demo_6mv.ini"), "fieldFactor", TraceRule::Exact,
         TraceFormula::None, false},
        {"18 MV and cobalt examples", Example("demo_18mv_cobalt.ini"), "MUperCGy",
         TraceRule::Formula, TraceFormula::Reciprocal, false},
        {"open/wedged examples", Example("demo_open_wedged.ini"), "tmr", TraceRule::Formula,
         TraceFormula::Tmr, false},
        {"multileaf examples", Example("demo_mlc.ini"), "ssdPDD", TraceRule::Formula,
         TraceFormula::SsdPdd, false},
        {"electron examples", Example("demo_electron.ini"), "applicatorFactor", TraceRule::Entry,
         TraceFormula::None, false},
        {"TBI examples", Example("demo_tbi.ini"), "lungShieldFactor", TraceRule::Formula,
         TraceFormula::LungShield, false},
        {"decayed source",
         "[Co]\nLinac = CobaltDemo\nEnergy = Co60\nBeamDose = 150\nBeamDepth = 5\n"
         "BeamWidth = 10\nBeamHeight = 12\n",
         "MUperCGy", TraceRule::Formula, TraceFormula::Decay, false},
        {"field off every table",
         Beam("Technique = Not Isocentric\nBeamSSD = 95\nBeamDepth = 8.3\nWedgeComp = W30\n"
              "BeamLeft = 5.25\nBeamRight = 7.25\nBeamBottom = 6\nBeamTop = 8.5\n"
              "isOffset = 1\n"),
         "fieldFactor", TraceRule::FourQuadrant, TraceFormula::None, false},
        {"depth at the build-up",
         Beam("Technique = Not Isocentric\nBeamSSD = 100\nBeamDepth = 1.5\nBeamWidth = 10\n"
              "BeamHeight = 10\n"),
         "scdPDD", TraceRule::BuildUp, TraceFormula::None, false},
        {"exact table field",
         Beam("Technique = Not Isocentric\nBeamSSD = 100\nBeamDepth = 10\nBeamWidth = 10\n"
              "BeamHeight = 10\n"),
         "scdPDD", TraceRule::Exact, TraceFormula::None, false},
        {"field clamped beyond the table", tbi + "AbdomenWidth = 90\nTorsoHeight = 90\n",
         "torsoPhantomScatter", TraceRule::EndClamp, TraceFormula::None, false},
        {"one-dimensional fallback",
         Beam("Technique = Not Isocentric\nBeamSSD = 100\nBeamDepth = 10\nBeamWidth = 4\n"
              "BeamHeight = 40\n"),
         "fieldFactor", TraceRule::Linear, TraceFormula::None, true},
    };
    const auto linacs = test::DemoLinacs();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string path = std::string(KOVA_EXAMPLES_DIR) + "/in.ini";
        const WorkbenchFile file = ReadWorkbench(path, row.beams, linacs, kDay);
        ASSERT_TRUE(file.refused.empty()) << file.refused.front();
        std::vector<const TBeam*> beams;
        for (const auto& patient : file.workbench.patients()) {
            for (const auto& treatment : patient->treatments) {
                for (const auto& beam : treatment->beams) {
                    CheckLines(*beam, ResultLines(*beam, {}));
                    beams.push_back(beam.get());
                }
            }
        }
        ASSERT_FALSE(beams.empty());
        const auto trace = FindTrace(beams.front()->Traces(), row.factor);
        ASSERT_NE(trace, nullptr) << row.factor;
        EXPECT_EQ(trace->rule, row.rule);
        EXPECT_EQ(trace->formula, row.formula);
        EXPECT_EQ(trace->fallback, row.fallback);
    }
}

} // namespace
} // namespace kova
