// kova-mu's report options and the patient its report prints: which beams form one
// treatment, its name and dose, the patient's name, and the comment's lines. The beams are
// typed and computed as kova-mu does it, on the demo linacs of this build.

#include "core/linac/linac_folder.h"
#include "core/workbench/beam_file.h"
#include "core/workbench/beam_input.h"
#include "kova_mu/report_request.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kova::mu {
namespace {

TEST(ReportRequest, CommentLines) {
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"SSD = 93 cm\\nSHIFT = 2 cm", {"SSD = 93 cm", "SHIFT = 2 cm"}},
        {"SSD = 93 cm\nSHIFT = 2 cm", {"SSD = 93 cm", "SHIFT = 2 cm"}},
        {"a\r\nb\\n\\nc", {"a", "b", "", "c"}}, // a blank line inside stays
        {"a\\n\\n  \n", {"a"}},                 // blank lines at the end do not
        {"C:\\data\\nb", {"C:\\data", "b"}},    // a backslash before anything else stays
        {"end\\", {"end\\"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CommentLinesOf(c.text), c.lines) << c.text;
    }
}

TEST(ReportRequest, OptionsThatGoTogether) {
    struct Case {
        const char* what;
        ReportRequest request;
        std::string reason;
    } cases[] = {
        {"nothing", {}, ""},
        {"all", {"out.pdf", "Rossi", true, "x"}, ""},
        {"empty file name",
         {"", {}, false, {}},
         "--report needs the name of the PDF file to write"},
        {"patient alone",
         {{}, "Rossi", false, {}},
         "--patient, --form and --comment go with --report"},
        {"form alone", {{}, {}, true, {}}, "--patient, --form and --comment go with --report"},
        {"comment alone", {{}, {}, false, ""}, "--patient, --form and --comment go with --report"},
        {"a beam file's name",
         {"beams.INI", {}, false, {}},
         "--report beams.INI: .ini is the extension of beam files, never of the PDF report; "
         "name it .pdf"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckReportOptions(c.request).reason(), c.reason) << c.what;
    }
}

TEST(ReportRequest, PrintOptions) {
    // Both pages always; the form only with --form; the comment only when it has a line.
    ReportRequest request{"out.pdf", {}, false, {}};
    report::PrintOptions options = ReportPrintOptions(request);
    EXPECT_TRUE(options.report && options.summary && !options.empty);
    EXPECT_FALSE(options.form);
    EXPECT_FALSE(options.comment);
    request.form = true;
    request.comment = "\\n";
    options = ReportPrintOptions(request);
    EXPECT_TRUE(options.form);
    EXPECT_FALSE(options.comment);
    request.comment = "SSD = 93";
    options = ReportPrintOptions(request);
    EXPECT_TRUE(options.comment);
    EXPECT_EQ(options.commentLines, std::vector<std::string>{"SSD = 93"});
}

/// Beam texts of the demo linacs: a photon beam of `dose` cGy (6 MV, or `energy`), an
/// open/wedged one of 100 cGy, electron ones of 9 and 6 MeV and a cobalt beam.
std::string Photon(int dose, const char* energy = "6MV") {
    return std::string("Linac = DualDemo\nEnergy = ") + energy +
           "\nBeamDose = " + std::to_string(dose) +
           "\nBeamDepth = 10\nBeamWidth = 10\nBeamHeight = 10\n";
}
const std::string kOpenWedged = "Linac = DualDemo\nEnergy = 6MV\n"
                                "BeamKind = Photon Open/Wedged Beam\nBeamDose = 100\n"
                                "BeamDepth = 5\nBeamWidth = 10\nBeamHeight = 10\n";
std::string Electron(const char* energy) {
    return std::string("Linac = DualDemo\nEnergy = ") + energy +
           "\nBeamKind = Electron Beam\nBeamDose = 250\nBeamWidth = 5\nBeamHeight = 5\n";
}
const std::string kCobalt = "Linac = CobaltDemo\nEnergy = Co60\nBeamDose = 150\n"
                            "BeamDepth = 5\nBeamWidth = 10\nBeamHeight = 12\n";

/// One beam of a beam file: its title, its keys, and the Treatment and Patient keys it
/// names (empty: none).
struct Beam {
    std::string title;
    std::string keys;
    std::string treatment = {};
    std::string patient = {};
};

class ReportPatientTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_scan = ScanLinacFolder(KOVA_LINACS_DIR); }
    static void TearDownTestSuite() { s_scan = {}; }

    /// Types and computes the beams; the Treatment and Patient keys are added to the blocks
    /// afterwards, as the report reads them from there.
    std::vector<ResolvedBeam>& Compute(const std::vector<Beam>& beams) {
        std::string text;
        for (const Beam& beam : beams) {
            text += "[" + beam.title + "]\n" + beam.keys;
        }
        std::vector<InputError> errors;
        m_blocks = ParseBeamText("patient.ini", text, errors);
        for (const BeamBlock& block : m_blocks) {
            if (auto resolved = ResolveBeam(block, s_scan.linacs, errors)) {
                m_beams.push_back(std::move(*resolved));
            }
        }
        EXPECT_TRUE(errors.empty()) << errors.front().ToString();
        for (std::size_t i = 0; i < beams.size() && i < m_blocks.size(); ++i) {
            AddKey(m_blocks[i], "Treatment", beams[i].treatment);
            AddKey(m_blocks[i], "Patient", beams[i].patient);
        }
        for (ResolvedBeam& beam : m_beams) {
            ComputeBeam(beam, Date{2026, 6, 15});
        }
        return m_beams;
    }

    static void AddKey(BeamBlock& block, const std::string& key, const std::string& value) {
        if (!value.empty()) {
            block.entries.push_back({key, value, 0});
        }
    }

    static LinacFolderScan s_scan;
    std::vector<BeamBlock> m_blocks;
    std::vector<ResolvedBeam> m_beams;
};

LinacFolderScan ReportPatientTest::s_scan;

/// "NAME: N beams, DOSE cGy" for each treatment.
std::vector<std::string> Treatments(const Patient& patient) {
    std::vector<std::string> found;
    for (const auto& treatment : patient.treatments) {
        found.push_back(treatment->name + ": " + std::to_string(treatment->beams.size()) +
                        " beams, " + std::to_string(static_cast<int>(treatment->DoseTotal())) +
                        " cGy");
    }
    return found;
}

TEST_F(ReportPatientTest, ConsecutiveBeamsOnOneMachineFormATreatment) {
    struct Case {
        const char* what;
        std::vector<Beam> beams;
        std::vector<std::string> treatments;
    } cases[] = {
        {"one machine",
         {{"Pelvis", Photon(60)}, {"PA", Photon(60)}, {"LL", Photon(40)}},
         {"Pelvis: 3 beams, 160 cGy"}},
        // Another kind, energy or linac starts a treatment; coming back starts another.
        {"kinds",
         {{"A", Photon(100)}, {"B", kOpenWedged}, {"C", Photon(50)}},
         {"A: 1 beams, 100 cGy", "B: 1 beams, 100 cGy", "C: 1 beams, 50 cGy"}},
        {"energies",
         {{"E9", Electron("9MeV")}, {"E6", Electron("6MeV")}, {"X18", Photon(70, "18MV")}},
         {"E9: 1 beams, 250 cGy", "E6: 1 beams, 250 cGy", "X18: 1 beams, 70 cGy"}},
        {"linacs",
         {{"Co", kCobalt}, {"Co 2", kCobalt}, {"DE", Photon(100)}},
         {"Co: 2 beams, 300 cGy", "DE: 1 beams, 100 cGy"}},
        // A Treatment key names the treatment; naming another one starts it.
        {"treatment keys",
         {{"1", Photon(100), "Left breast"},
          {"2", Photon(100)},
          {"3", Photon(100), "Right breast"},
          {"4", Photon(100), "Right breast"}},
         {"Left breast: 2 beams, 200 cGy", "Right breast: 2 beams, 200 cGy"}},
        // A refused beam (dose 0) is left out; its neighbours stay one treatment.
        {"refused beam",
         {{"A", Photon(100)}, {"Zero", Photon(0)}, {"B", Photon(100)}},
         {"A: 2 beams, 200 cGy"}},
        {"refused first beam", {{"Zero", Photon(0)}, {"A", Photon(100)}}, {"A: 1 beams, 100 cGy"}},
    };
    for (const Case& c : cases) {
        m_beams.clear();
        std::vector<ResolvedBeam>& beams = Compute(c.beams);
        const Result<Patient> patient = TakeReportPatient(beams, ReportRequest{"out.pdf"});
        ASSERT_TRUE(patient.ok()) << c.what << ": " << patient.reason();
        EXPECT_EQ(Treatments(*patient), c.treatments) << c.what;
    }
}

TEST_F(ReportPatientTest, PatientName) {
    struct Case {
        const char* what;
        std::optional<std::string> option;
        std::vector<std::string> keys; ///< the Patient key of each beam
        std::string name;              ///< Windows-1252, as the workbench keeps it
        std::string reason;
    } cases[] = {
        {"none", {}, {"", ""}, "", ""},
        // u with diaeresis: UTF-8 on the command line, 0xFC in Windows-1252.
        {"option", "Rossi M\xC3\xBCller", {"", ""}, "Rossi M\xFCller", ""},
        {"one key", {}, {"", "Bianchi"}, "Bianchi", ""},
        {"same keys", {}, {"Bianchi", "Bianchi"}, "Bianchi", ""},
        {"option over keys", "Rossi", {"Bianchi", "Verdi"}, "Rossi", ""},
        {"two patients",
         {},
         {"Bianchi", "Verdi"},
         "",
         "the beams name different patients ('Bianchi' and 'Verdi'); give --patient or report "
         "them separately"},
    };
    for (const Case& c : cases) {
        m_beams.clear();
        std::vector<Beam> file;
        for (const std::string& key : c.keys) {
            file.push_back({"B" + std::to_string(file.size()), Photon(100), "", key});
        }
        std::vector<ResolvedBeam>& beams = Compute(file);
        const Result<Patient> patient = TakeReportPatient(beams, {"out.pdf", c.option});
        EXPECT_EQ(patient.reason(), c.reason) << c.what;
        if (patient.ok()) {
            EXPECT_EQ(patient->name, c.name) << c.what;
        }
    }
}

TEST_F(ReportPatientTest, NothingComputedIsNoReport) {
    std::vector<ResolvedBeam>& beams = Compute({{"Zero", Photon(0)}});
    EXPECT_EQ(TakeReportPatient(beams, ReportRequest{"out.pdf"}).reason(),
              "no beam was computed, so there is nothing to report");
}

} // namespace
} // namespace kova::mu
