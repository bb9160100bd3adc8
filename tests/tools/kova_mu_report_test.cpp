// The real kova-mu writing its PDF report of the examples, read back with pdftotext: every
// beam's MU on the details report and on the set-up sheet, the patient, the date and the
// comment; and the reports it refuses, with their exit status.

#include "support/program_run.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace kova {
namespace {

namespace fs = std::filesystem;

using test::ProgramRun;
using test::Quoted;
using test::ReadAll;

ProgramRun Shell(const test::TempDir& work, const std::string& command) {
    return test::RunShell(work, command);
}

/// kova-mu on the demo linacs on 15/06/2026 with `arguments` (quoted where needed).
ProgramRun KovaMu(const test::TempDir& work, const std::string& arguments) {
    return Shell(work, Quoted(KOVA_MU_PROGRAM) + " --linacs " + Quoted(KOVA_LINACS_DIR) +
                           " --date 15/06/2026 " + arguments);
}

/// Every example beam file, quoted, in name order.
std::string Examples() {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(KOVA_EXAMPLES_DIR)) {
        if (entry.path().extension() == ".ini") {
            files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    std::string arguments;
    for (const std::string& file : files) {
        arguments += " " + Quoted(file);
    }
    return arguments;
}

/// The pages of a PDF as pdftotext -layout lays them out.
std::vector<std::string> Pages(const test::TempDir& work, const fs::path& pdf) {
    const ProgramRun run = Shell(work, Quoted(KOVA_PDFTOTEXT) + " -layout " + Quoted(pdf.string()) +
                                           " " + Quoted(work.File("pdf.txt").string()));
    EXPECT_EQ(run.code, 0) << run.err;
    std::vector<std::string> pages;
    std::istringstream text(ReadAll(work.File("pdf.txt")));
    for (std::string page; std::getline(text, page, '\f');) {
        if (page.find_first_not_of(" \n") != std::string::npos) {
            pages.push_back(page);
        }
    }
    return pages;
}

/// How often each word (a run of characters between blanks) occurs on the pages holding
/// `mark`.
std::map<std::string, int> WordsOfPages(const std::vector<std::string>& pages,
                                        const std::string& mark) {
    std::map<std::string, int> words;
    for (const std::string& page : pages) {
        if (page.find(mark) == std::string::npos) {
            continue;
        }
        std::istringstream in(page);
        for (std::string word; in >> word;) {
            ++words[word];
        }
    }
    return words;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(KovaMuReport, EveryBeamOfTheExamplesOnBothPages) {
    const test::TempDir work;
    const fs::path pdf = work.File("patient.pdf");
    // A name outside ASCII, and a comment of two lines.
    const ProgramRun run = KovaMu(work, "--json --report " + Quoted(pdf.string()) +
                                            " --patient 'Rossi M\xC3\xBC"
                                            "ller' --comment 'SSD = 93 cm\\nSHIFT = 2 cm caudal'" +
                                            Examples());
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "");
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_FALSE(fs::exists(work.File("patient.pdf.part")));
    const std::vector<std::string> pages = Pages(work, pdf);
    const std::map<std::string, int> report = WordsOfPages(pages, "Dosimetric Details Report");
    const std::map<std::string, int> sheet = WordsOfPages(pages, "Fascio");
    // Each computed beam's MU as its details column and its set-up row give it, as often
    // as the beams give it (two TBI beams may share one).
    std::map<std::string, int> reportMU, sheetMU;
    const auto json = nlohmann::json::parse(run.out);
    for (const auto& beam : json["beams"]) {
        ++reportMU[beam["details"].back().get<std::string>()];
        for (const auto& cell : beam["setupRow"]) {
            if (cell["column"] == "UM") {
                for (const auto& line : cell["lines"]) {
                    ++sheetMU[line.get<std::string>()];
                }
            }
        }
    }
    EXPECT_GE(json["beams"].size(), 12u);
    for (const auto& [mu, count] : reportMU) {
        EXPECT_GE(report.count(mu) ? report.at(mu) : 0, count) << "report: " << mu;
    }
    for (const auto& [mu, count] : sheetMU) {
        EXPECT_GE(sheet.count(mu) ? sheet.at(mu) : 0, count) << "sheet: " << mu;
    }
    std::string all;
    for (const std::string& page : pages) {
        all += page;
    }
    // The patient on every page: "Patient: NAME" on the report, "Nome Paziente NAME" on the
    // sheets.
    const int reports = report.at("Report");
    EXPECT_GE(reports, 2);
    EXPECT_EQ(report.at("Patient:"), reports);
    EXPECT_EQ(report.at("M\xC3\xBCller"), reports);
    const int sheets = sheet.at("Paziente") / 2; // "Nome Paziente" and "ID Paziente"
    EXPECT_EQ(sheets, 3);                        // 18 beams, 7 rows a sheet
    EXPECT_EQ(sheet.at("M\xC3\xBCller"), sheets);
    EXPECT_TRUE(Contains(all, "Monday 15.06.2026"));
    // The comment's two lines, each on a line of its own, on the first sheet only.
    EXPECT_TRUE(Contains(all, "\nSSD = 93 cm\n")) << all;
    EXPECT_TRUE(Contains(all, "\nSHIFT = 2 cm caudal\n")) << all;
    // Without --form the sheet has no positioning form.
    EXPECT_FALSE(Contains(all, "Supino"));
    // The Linac column prints a name's first three characters: those of the two demo linacs
    // differ, so the room tells the machines apart.
    for (const char* linac : {"Dua", "Cob"}) {
        EXPECT_GE(sheet.count(linac) ? sheet.at(linac) : 0, 1) << linac;
    }
}

TEST(KovaMuReport, TreatmentsOfTheDemoPatient) {
    const test::TempDir work;
    const fs::path pdf = work.File("demo.pdf");
    const ProgramRun run =
        KovaMu(work, "--form --report " + Quoted(pdf.string()) + " " +
                         Quoted(std::string(KOVA_EXAMPLES_DIR) + "/demo_patient.ini"));
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<std::string> pages = Pages(work, pdf);
    // Two report pages of three columns each, then one sheet with the form.
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_TRUE(Contains(pages[2], "Supino"));
    // Treatments are named by their first beam's title: the two tangents are one
    // treatment, the two TBI beams another.
    const std::map<std::string, int> words = WordsOfPages(pages, "Dosimetric Details Report");
    EXPECT_EQ(words.at("Supraclavicular"), 1);
    EXPECT_EQ(words.at("tangents"), 2);
    EXPECT_EQ(words.count("lateral"), 0u);
    EXPECT_EQ(words.at("boost"), 1);
    EXPECT_EQ(words.at("body"), 2);
    // The doses of the sheet: 200 for the one-beam photon treatment and the two tangents
    // (60 + 40 each), 250 for the boost, 400 for the two TBI beams.
    const std::map<std::string, int> sheet = WordsOfPages(pages, "Fascio");
    EXPECT_EQ(sheet.at("200"), 2);
    EXPECT_EQ(sheet.at("250"), 1); // the boost's dose
    EXPECT_EQ(sheet.at("278"), 1); // its MU: 250 cGy / 0.9 cGy/MU at the 90% depth
    EXPECT_EQ(sheet.at("400"), 3); // TBI: the dose and both rows' SSD
}

TEST(KovaMuReport, TPSRowsAfterTheMU) {
    // The fixed SSD 10x10 beam of demo_6mv.ini: 200 cGy over the 6MV 10x10 depth dose 0.6706
    // at 10 cm, 1 cGy/MU: 298.2404 MU. Against a TPS MU of 305: +2.27 %; the second beam has
    // no TPS MU and leaves both rows blank.
    const test::TempDir work;
    const fs::path beams = work.File("tps.ini");
    std::ofstream(beams) << "[With TPS]\nLinac = DualDemo\nEnergy = 6MV\n"
                            "Technique = Not Isocentric\nBeamDose = 200\nBeamDepth = 10\n"
                            "BeamSSD = 100\nBeamWidth = 10\nBeamHeight = 10\nTPSMU = 305\n"
                            "[Without]\nLinac = DualDemo\nEnergy = 6MV\nBeamDose = 100\n"
                            "BeamDepth = 10\nBeamWidth = 10\nBeamHeight = 10\n";
    const fs::path pdf = work.File("tps.pdf");
    const ProgramRun run =
        KovaMu(work, "--report " + Quoted(pdf.string()) + " " + Quoted(beams.string()));
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<std::string> pages = Pages(work, pdf);
    ASSERT_FALSE(pages.empty());
    std::istringstream lines(pages[0]);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string joined;
        for (std::string word; words >> word;) {
            joined += (joined.empty() ? "" : " ") + word;
        }
        if (!joined.empty()) {
            rows.push_back(joined);
        }
    }
    const auto mu = std::find_if(rows.begin(), rows.end(),
                                 [](const std::string& row) { return row.rfind("MU ", 0) == 0; });
    ASSERT_NE(mu, rows.end()) << pages[0];
    ASSERT_GE(rows.end() - mu, 3);
    EXPECT_EQ(mu->rfind("MU 298.24 ", 0), 0u) << *mu; // the second beam's MU follows
    EXPECT_EQ(mu[1], "TPS MU 305");
    EXPECT_EQ(mu[2], "Difference 2.3 %");
}

TEST(KovaMuReport, RefusedReports) {
    const test::TempDir work;
    const std::string beams = Quoted(std::string(KOVA_EXAMPLES_DIR) + "/demo_6mv.ini");
    const fs::path pdf = work.File("r.pdf");
    const std::string tooLong = "'1\\n2\\n3\\n4\\n5\\n6\\n7\\n8\\n9\\n10'";
    // A beam file under another name, reached through another path as the report.
    fs::create_directory(work.File("sub"));
    fs::copy_file(std::string(KOVA_EXAMPLES_DIR) + "/demo_6mv.ini", work.File("beams.txt"));
    const std::string input = work.File("beams.txt").string();
    const std::string roundabout = work.File("sub/../beams.txt").string();
    struct Case {
        const char* what;
        std::string arguments;
        int code;
        std::string message;
        bool computed; ///< the beams were computed (and written to stdout) first
    } cases[] = {
        {"missing folder", "--report " + Quoted(work.File("none/r.pdf").string()) + " " + beams, 2,
         "kova-mu: --report: the folder " + work.File("none").string() + " does not exist", false},
        {"a folder", "--report " + Quoted(work.Path().string()) + " " + beams, 2,
         "kova-mu: --report: " + work.Path().string() + " is a folder", false},
        // The form leaves room for 4 comment lines on A4.
        {"comment too long",
         "--form --comment " + tooLong + " --report " + Quoted(pdf.string()) + " " + beams, 2,
         "kova-mu: --report: The comment has 10 lines, but only 4 fit above the table of the "
         "treatment summary page with the positioning form.",
         false},
        // No one can create files in /proc: found only when the pages are printed.
        {"unwritable", "--report /proc/r.pdf " + beams, 2,
         "kova-mu: --report: Nothing was printed: could not start the PDF file", true},
        {"option without --report", "--patient Rossi " + beams, 2,
         "kova-mu: --patient, --form and --comment go with --report", false},
        {"empty name", "--report '' " + beams, 2,
         "kova-mu: --report needs the name of the PDF file to write", false},
        {"an input file", "--report " + Quoted(roundabout) + " " + Quoted(input), 2,
         "kova-mu: --report: the PDF file " + roundabout + " is the file " + input +
             ", which this run reads; name another PDF file",
         false},
        {"a beam file's name", "--report x.ini " + beams, 2,
         "kova-mu: --report x.ini: .ini is the extension of beam files, never of the PDF report",
         false},
        {"--report twice", "--report " + Quoted(pdf.string()) + " --report b.pdf " + beams, 2,
         "kova-mu: --report is given twice", false},
    };
    for (const Case& c : cases) {
        const ProgramRun run = KovaMu(work, c.arguments);
        EXPECT_EQ(run.code, c.code) << c.what << "\n" << run.err;
        EXPECT_TRUE(Contains(run.err, c.message)) << c.what << "\n" << run.err;
        EXPECT_EQ(Contains(run.out, "== Fixed SSD 10x10: MU = 298.24"), c.computed) << c.what;
        EXPECT_FALSE(fs::exists(pdf)) << c.what;
        EXPECT_FALSE(fs::exists("/proc/r.pdf.part")) << c.what;
    }
}

TEST(KovaMuReport, FailedWritesLeaveEveryFileAsItWas) {
    const std::string beams = Quoted(std::string(KOVA_EXAMPLES_DIR) + "/demo_6mv.ini");
    struct Case {
        const char* what;
        const char* shell; ///< run first, in the report's folder and the same shell
        int code;
        const char* message;
    } cases[] = {
        // A full disk without root or a mount: files may not grow past 8 KiB, and a write
        // past that fails with EFBIG (SIGXFSZ ignored) as one on a full disk fails.
        {"a full disk", "trap '' XFSZ; ulimit -f 8; ", 2,
         "kova-mu: --report: could not write r.pdf: File too large; the earlier r.pdf is as "
         "it was"},
        // The pages once went to a fixed r.pdf.part, through any link planted there.
        {"a link at the old temporary name", "ln -s victim.txt r.pdf.part; ", 0, ""},
    };
    for (const Case& c : cases) {
        const test::TempDir work;
        const fs::path folder = work.File("reports");
        fs::create_directory(folder);
        std::ofstream(folder / "r.pdf") << "earlier report";
        std::ofstream(folder / "victim.txt") << "victim";
        const ProgramRun run =
            Shell(work, "cd " + Quoted(folder.string()) + " && " + c.shell +
                            Quoted(KOVA_MU_PROGRAM) + " --linacs " + Quoted(KOVA_LINACS_DIR) +
                            " --date 15/06/2026 --report r.pdf " + beams);
        EXPECT_EQ(run.code, c.code) << c.what << "\n" << run.err;
        EXPECT_TRUE(Contains(run.err, c.message)) << c.what << "\n" << run.err;
        EXPECT_EQ(ReadAll(folder / "victim.txt"), "victim") << c.what;
        // The earlier report byte for byte, or a whole new one.
        const std::string after = ReadAll(folder / "r.pdf");
        EXPECT_EQ(c.code == 0 ? after.substr(0, 5) : after,
                  c.code == 0 ? "%PDF-" : "earlier report")
            << c.what;
        std::vector<std::string> names; // no temporary file left
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        const std::vector<std::string> left =
            c.code == 0 ? std::vector<std::string>{"r.pdf", "r.pdf.part", "victim.txt"}
                        : std::vector<std::string>{"r.pdf", "victim.txt"};
        EXPECT_EQ(names, left) << c.what;
    }
}

TEST(KovaMuReport, NothingComputedLeavesAnEarlierReportAsItWas) {
    const test::TempDir work;
    const fs::path pdf = work.File("r.pdf");
    std::ofstream(pdf) << "earlier report";
    const fs::path refused = work.File("refused.ini");
    std::ofstream(refused) << "[Zero dose]\nLinac = DualDemo\nEnergy = 6MV\nBeamDose = 0\n"
                              "BeamDepth = 10\nBeamWidth = 10\nBeamHeight = 10\n";
    const ProgramRun run =
        KovaMu(work, "--report " + Quoted(pdf.string()) + " " + Quoted(refused.string()));
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(Contains(run.out, "== Zero dose: refused: The dose must be above 0 cGy"));
    EXPECT_TRUE(Contains(run.err, "kova-mu: --report: no beam was computed, so there is "
                                  "nothing to report"))
        << run.err;
    EXPECT_EQ(ReadAll(pdf), "earlier report");
}

} // namespace
} // namespace kova
