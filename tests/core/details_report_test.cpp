// The dosimetric details report and what both pages share (margins, banner files, label
// texts, the energy's rows), laid out on a recording canvas whose metrics make every
// position a sum worked by hand: a font is as tall as asked and each character is half the
// height wide.

#include "core/linac/energy.h"
#include "core/report/details_report.h"
#include "core/report/print_pages.h"
#include "core/report/report_text.h"
#include "support/recording_canvas.h"
#include "support/report_patient.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace kova::report {
namespace {

using test::RecordingCanvas;

const Date kPrintDay{2026, 6, 15};

PageTexts Texts(std::vector<std::string> banner = {}) {
    PageTexts texts;
    texts.titleLine = "KOVA X v. 1.2.3";
    texts.printDay = kPrintDay;
    texts.reportBanner = std::move(banner);
    return texts;
}

/// A patient with `beams` beams of 100, 110, 120... cGy, split in two treatments.
void AddBeams(test::ReportPatient& p, int beams) {
    TTreatment& first = p.AddTreatment("Pelvis");
    TTreatment& second = p.AddTreatment("Boost");
    for (int i = 0; i < beams; ++i) {
        p.AddBeam(i < beams / 2 ? first : second, "F" + std::to_string(i + 1), 100 + 10 * i);
    }
}

TEST(ReportPage, MarginsFromThePageSize) {
    // xL = width / 27, xR = width - xL, yT = height / 26, integer divisions.
    struct Row {
        int width, height, left, right, top;
    } rows[] = {
        {3600, 4800, 133, 3467, 184}, // 3600 / 27 = 133.3; 4800 / 26 = 184.6
        {4960, 7016, 183, 4777, 269}, // A4 at 600 dpi
        {5100, 6600, 188, 4912, 253}, // Letter at 600 dpi
        {0, 0, 0, 0, 0},
    };
    for (const Row& row : rows) {
        const Margins m = PageMargins(row.width, row.height);
        EXPECT_EQ(m.left, row.left) << row.width;
        EXPECT_EQ(m.right, row.right) << row.width;
        EXPECT_EQ(m.top, row.top) << row.height;
        EXPECT_EQ(m.bottom, row.height);
    }
}

TEST(ReportPage, BannerFileLines) {
    const std::string longLine(5000, 'x');
    struct Row {
        std::string bytes;
        std::vector<std::string> lines;
    } rows[] = {
        {"", {}},
        {"Ospedale", {"Ospedale"}},
        // Three lines and a final line break: four lines, the last one empty.
        {"a\nb\nc\n", {"a", "b", "c", ""}},
        {"a\r\nb\r\n", {"a", "b", ""}},
        {"\n", {"", ""}},
        {"Citt\xC3\xA0", {"Citt\xC3\xA0"}}, // valid UTF-8 stays
        {"Citt\xE0", {"Citt\xC3\xA0"}},     // otherwise Windows-1252
        {"\x80 1", {"\xE2\x82\xAC 1"}},     // the euro sign of Windows-1252
        {longLine, {longLine}},             // no length limit
    };
    for (const Row& row : rows) {
        EXPECT_EQ(BannerLines(row.bytes), row.lines) << row.bytes.substr(0, 20);
    }
}

TEST(ReportPage, LabelTexts) {
    EXPECT_EQ(Text::ReportRows.front(), "Treatment");
    EXPECT_EQ(Text::ReportRows[Text::FirstBeamRow], "Beam Banner");
    EXPECT_EQ(Text::ReportRows[Text::BeamNameRow], "Beam Name");
    EXPECT_EQ(Text::ReportRows[14], "Left\\\\Right"); // two backslashes
    EXPECT_EQ(Text::ReportRows.back(), "MU");
    EXPECT_EQ(Text::ReportRows.size() - Text::FirstBeamRow, std::size_t{kDetailsRows});
    EXPECT_EQ(Text::SetupHeaders[5], Text::SetupHeaders[6]);
    EXPECT_EQ(Text::SetupHeaders[kDoseColumn], "Dose [cGy]");
    EXPECT_EQ(Text::SetupHeaders[15], "UM");
}

TEST(ReportPage, EnergySummaryRows) {
    test::PhotonSetup setup;
    EXPECT_EQ(setup.energy->PrintSummary(),
              (std::vector<std::string>{"X6", "1.5", "100", "1.000", "01/01/2026"}));
    TeEnergy electron;
    electron.Name = "E9";
    electron.Buildup90 = 2.6;
    electron.SSD = 100;
    // An electron energy has no calibration factor or date: rows 6 and 7 stay blank.
    EXPECT_EQ(electron.PrintSummary(), (std::vector<std::string>{"E9", "2.6", "100", "", ""}));
}

TEST(DetailsReport, ColumnOfABeam) {
    test::ReportPatient p;
    TTreatment& treatment = p.AddTreatment("Pelvis");
    TPhotonBeam& beam = p.AddBeam(treatment, "AP", 200, "7");
    const std::vector<std::string> column = DetailsReportColumn(treatment, beam, kPrintDay);
    ASSERT_EQ(column.size(), Text::ReportRows.size());
    const std::vector<std::string> head(column.begin(), column.begin() + 11);
    EXPECT_EQ(head, (std::vector<std::string>{"Pelvis", "Bench", "100", "X6", "1.5", "100", "1.000",
                                              "01/01/2026", "gamma (SSD)", "AP", "7"}));
    EXPECT_EQ(column[41], "15/06/2026"); // "Actual Date": the printing day
    EXPECT_EQ(column[44], "298.51");     // 200 / 0.67
}

TEST(DetailsReport, RenamedBeamPrintsItsNewName) {
    test::ReportPatient p;
    TTreatment& treatment = p.AddTreatment("Pelvis");
    TPhotonBeam& beam = p.AddBeam(treatment, "AP", 200);
    beam.name = "AP d\xE8x"; // as the tree does when the node is renamed in place (cp1252)
    EXPECT_EQ(DetailsReportColumn(treatment, beam, kPrintDay)[Text::BeamNameRow],
              "AP d\xC3\xA8x"); // in UTF-8 on the page
}

TEST(DetailsReport, LayoutOnA4800UnitPage) {
    test::ReportPatient p;
    AddBeams(p, 12);
    RecordingCanvas canvas(3600, 4800);
    PageSequence pages(canvas);
    PrintDetailsReport(canvas, pages, p.patient, Texts());
    // Courier 4800 / 80 = 60, step trunc(1.5 x 60) = 90; yT = 184: title 184, date 274,
    // title line 364, rows from 364 + 2 x 90 = 544.
    EXPECT_EQ(canvas.FindText("Dosimetric Details Report").a, (Point{133, 184}));
    // The patient on the title's line, two characters after it: 133 + 25 x 30 + 60 = 943.
    EXPECT_EQ(canvas.FindText("Patient: Rossi Mario").a, (Point{943, 184}));
    EXPECT_EQ(canvas.FindText("Monday 15.06.2026").a, (Point{133, 274}));
    EXPECT_EQ(canvas.FindText("KOVA X v. 1.2.3").a, (Point{133, 364}));
    EXPECT_EQ(canvas.FindText("Treatment").a, (Point{133, 544}));
    EXPECT_EQ(canvas.FindText("MU").a, (Point{133, 544 + 44 * 90}));
    EXPECT_EQ(canvas.FindText("MU").font, (Font{"Courier", 60, false}));
    // Widest label "Original Cal Factor": 19 x 30 = 570, plus one character: first column
    // at 133 + 570 + 30 = 733. Widest value "gamma (SSD)": 11 x 30 = 330, plus 30 = 360 >
    // 350. Columns fit while 733 + k x 360 + 330 <= 3467: k up to 6, seven a page.
    const DetailsLayout layout =
        LayoutDetailsReport(canvas, DetailsReportTable(p.patient, kPrintDay), 0);
    EXPECT_EQ(layout.firstColumnX, 733);
    EXPECT_EQ(layout.pitch, 360);
    EXPECT_EQ(layout.columnsPerPage, 7);
    EXPECT_EQ(layout.pages, 2);
    EXPECT_EQ(canvas.pages(), 2);
    // Beam k's MU (dose 100 + 10k over 0.67) in row 44 of its column; columns 8 to 12 on
    // the second page, which repeats the head and the labels.
    const struct {
        const char* mu;
        int page, x;
    } columns[] = {{"149.25", 1, 733},
                   {"164.18", 1, 733 + 360},
                   {"238.81", 1, 733 + 6 * 360},
                   {"253.73", 2, 733},
                   {"313.43", 2, 733 + 4 * 360}};
    for (const auto& column : columns) {
        const RecordingCanvas::Op mu = canvas.FindText(column.mu);
        EXPECT_EQ(mu.page, column.page) << column.mu;
        EXPECT_EQ(mu.a, (Point{column.x, 4504})) << column.mu;
    }
    EXPECT_EQ(canvas.FindText("MU", 2).a, (Point{133, 4504}));
    EXPECT_EQ(canvas.FindText("Dosimetric Details Report", 2).a, (Point{133, 184}));
    EXPECT_EQ(canvas.CountText("Pelvis"), 6);
    EXPECT_TRUE(canvas.Collisions(133, 3467, 4800).empty());
}

TEST(DetailsReport, PitchIs350WhenTheTextsAreNarrow) {
    test::ReportPatient p;
    AddBeams(p, 6);
    // Height 2400: Courier 30, characters 15 wide. xL = 66, xR = 1734. First column at
    // 66 + 19 x 15 + 15 = 366; widest value 11 x 15 = 165, plus 15 = 180 < 350.
    RecordingCanvas canvas(1800, 2400);
    const DetailsLayout layout =
        LayoutDetailsReport(canvas, DetailsReportTable(p.patient, kPrintDay), 0);
    EXPECT_EQ(layout.firstColumnX, 366);
    EXPECT_EQ(layout.pitch, 350);
    EXPECT_EQ(layout.columnsPerPage, 4); // 366 + 3 x 350 + 165 = 1581 <= 1734
    EXPECT_EQ(layout.pages, 2);
}

TEST(DetailsReport, BannerIsCutSoThatTheMURowStaysOnThePage) {
    // On the 4800-unit page the head and the 45 rows take 184 + 48 x 90 + 60 = 4564 units:
    // 236 are left, room for two banner lines of 90.
    struct Row {
        int bannerLines, printed, titleY, muY;
    } rows[] = {{0, 0, 184, 4504}, {1, 1, 274, 4594}, {2, 2, 364, 4684}, {5, 2, 364, 4684}};
    for (const Row& row : rows) {
        test::ReportPatient p;
        AddBeams(p, 2);
        std::vector<std::string> banner;
        for (int i = 0; i < row.bannerLines; ++i) {
            banner.push_back("Banner " + std::to_string(i + 1));
        }
        RecordingCanvas canvas(3600, 4800);
        PageSequence pages(canvas);
        PrintDetailsReport(canvas, pages, p.patient, Texts(banner));
        for (int i = 0; i < row.bannerLines; ++i) {
            const bool printed = i < row.printed;
            EXPECT_EQ(canvas.CountText(banner[static_cast<std::size_t>(i)]), printed ? 1 : 0);
        }
        EXPECT_EQ(canvas.FindText("Dosimetric Details Report").a.y, row.titleY);
        EXPECT_EQ(canvas.FindText("MU").a.y, row.muY);
        EXPECT_EQ(canvas.FindText("149.25").a.y, row.muY);
    }
}

TEST(DetailsReport, NothingOverlapsOrLeavesThePage) {
    // A4 and Letter at 600 dpi; one beam with a name far too long for any column.
    const struct { int width, height; } pages[] = {{4960, 7016}, {5100, 6600}, {2480, 3508}};
    for (const auto& page : pages) {
        test::ReportPatient p;
        AddBeams(p, 12);
        p.AddBeam(*p.patient.treatments[0], std::string(300, 'N'), 150);
        RecordingCanvas canvas(page.width, page.height);
        PageSequence sequence(canvas);
        PrintDetailsReport(canvas, sequence, p.patient, Texts({"Ospedale", "Fisica Sanitaria"}));
        const Margins m = PageMargins(page.width, page.height);
        EXPECT_EQ(canvas.Collisions(m.left, m.right, m.bottom), std::vector<std::string>{})
            << page.width;
        // Every beam printed: its MU in row 44.
        EXPECT_EQ(canvas.CountText("149.25"), 1);
        EXPECT_EQ(canvas.CountText("313.43"), 1);
        EXPECT_EQ(canvas.CountText("223.88"), 2); // 150 / 0.67: the 7th beam and the long one
    }
}

TEST(DetailsReport, LongNamesDoNotWidenTheColumns) {
    // The 4800-unit page of LayoutOnA4800UnitPage: seven columns 360 apart from 733, a text
    // may take 360 - 30 = 330 units. A name too wide even at half the height (Courier 30, 15
    // a character: 22 characters) goes on two lines of 30 in its row, broken after a blank
    // or punctuation, the second cut with an ellipsis (21 characters and the ellipsis).
    // Beyond 256 characters a name is cut first (255 and an ellipsis).
    const std::string ellipsis = "\xE2\x80\xA6";
    struct Row {
        const char* what;
        std::string beamName, multileaf;
        int y; ///< of the long name's row: 544 + row x 90
        std::string first, second;
    } rows[] = {
        {"no long name", "F1", "", 0, "", ""},
        {"a multileaf entry", "F1", "demo_fields.mlc:: Irregular", 544 + 36 * 90,
         "demo_fields.mlc::", "Irregular"},
        {"a beam name of 12,000 characters", std::string(12000, 'N'), "", 544 + 9 * 90,
         std::string(22, 'N'), std::string(21, 'N') + ellipsis},
    };
    for (const Row& row : rows) {
        test::ReportPatient p;
        AddBeams(p, 12);
        auto& beam = static_cast<TPhotonBeam&>(*p.patient.treatments[0]->beams[0]);
        beam.name = row.beamName;
        MLCFValue entry;
        entry.Name = row.multileaf;
        beam.multileaf = row.multileaf.empty() ? nullptr : &entry;
        RecordingCanvas canvas(3600, 4800);
        const DetailsLayout layout =
            LayoutDetailsReport(canvas, DetailsReportTable(p.patient, kPrintDay), 0);
        EXPECT_EQ(layout.pitch, 360) << row.what;
        EXPECT_EQ(layout.columnsPerPage, 7) << row.what;
        PageSequence pages(canvas);
        PrintDetailsReport(canvas, pages, p.patient, Texts());
        if (row.y > 0) {
            EXPECT_EQ(canvas.FindText(row.first).a, (Point{733, row.y})) << row.what;
            EXPECT_EQ(canvas.FindText(row.first).font.height, 30) << row.what;
            EXPECT_EQ(canvas.FindText(row.second).a, (Point{733, row.y + 30})) << row.what;
        }
        EXPECT_TRUE(canvas.Collisions(133, 3467, 4800).empty()) << row.what;
    }
}

TEST(DetailsReport, BeamsNotComputedAreLeftOut) {
    test::ReportPatient p;
    TTreatment& treatment = p.AddTreatment("Pelvis");
    p.AddBeam(treatment, "AP", 200);
    treatment.AddBeam(treatment.CreateBeam("never computed"));
    EXPECT_EQ(DetailsReportTable(p.patient, kPrintDay).columns.size(), 1u);
}

TEST(DetailsReport, TPSRowsWhenABeamHasATPSMU) {
    // Beams of 200 cGy: MU = 200 / 0.67 = 298.507. TPS 310.25: 310.25 x 0.67 / 200 =
    // 1.0393375, +3.93 %; TPS 297: 0.99495, -0.505 %; TPS 300: 1.005, +0.5 %.
    struct Row {
        std::vector<std::optional<double>> tps;     ///< per beam, in order
        std::vector<std::vector<std::string>> rows; ///< per beam: TPS MU, Difference
    } rows[] = {
        {{std::nullopt, std::nullopt}, {}},
        {{310.25}, {{"310.25", "3.9 %"}}},
        {{std::nullopt, 297.0, 300.0}, {{"", ""}, {"297", "-0.5 %"}, {"300", "0.5 %"}}},
    };
    for (const Row& row : rows) {
        test::ReportPatient p;
        TTreatment& treatment = p.AddTreatment("Pelvis");
        for (std::size_t i = 0; i < row.tps.size(); ++i) {
            p.AddBeam(treatment, "F" + std::to_string(i + 1), 200).tpsMU = row.tps[i];
        }
        const DetailsTable table = DetailsReportTable(p.patient, kPrintDay);
        const bool withTPS = !row.rows.empty();
        ASSERT_EQ(table.labels.size(), withTPS ? 47u : 45u);
        EXPECT_EQ(table.labels[44], "MU");
        if (withTPS) {
            EXPECT_EQ(table.labels[45], "TPS MU");
            EXPECT_EQ(table.labels[46], "Difference");
        }
        for (std::size_t i = 0; i < table.columns.size(); ++i) {
            const std::vector<std::string>& column = table.columns[i];
            ASSERT_EQ(column.size(), table.labels.size());
            EXPECT_EQ(column[44], "298.51");
            if (withTPS) {
                EXPECT_EQ(std::vector<std::string>(column.begin() + 45, column.end()), row.rows[i]);
            }
        }
    }
    // A beam that is not computed prints no column, and its TPS MU adds no rows.
    test::ReportPatient p;
    TTreatment& treatment = p.AddTreatment("Pelvis");
    p.AddBeam(treatment, "AP", 200);
    treatment.AddBeam(treatment.CreateBeam("never computed")).tpsMU = 150;
    EXPECT_EQ(DetailsReportTable(p.patient, kPrintDay).labels.size(), 45u);
}

TEST(DetailsReport, TPSRowsPrintedAfterTheMURow) {
    // On the 4800-unit page (see LayoutOnA4800UnitPage) rows start at 544, 90 apart: "MU" at
    // 544 + 44 x 90 = 4504, "TPS MU" at 4594, "Difference" at 4684. The head and 47 rows take
    // 184 + 50 x 90 + 60 = 4744 units: the 56 left leave no room for a banner line.
    test::ReportPatient p;
    TTreatment& treatment = p.AddTreatment("Pelvis");
    p.AddBeam(treatment, "AP", 200).tpsMU = 300;
    RecordingCanvas canvas(3600, 4800);
    PageSequence pages(canvas);
    PrintDetailsReport(canvas, pages, p.patient, Texts({"Ospedale"}));
    EXPECT_EQ(canvas.CountText("Ospedale"), 0);
    EXPECT_EQ(canvas.FindText("MU").a, (Point{133, 4504}));
    EXPECT_EQ(canvas.FindText("TPS MU").a, (Point{133, 4594}));
    EXPECT_EQ(canvas.FindText("Difference").a, (Point{133, 4684}));
    EXPECT_EQ(canvas.FindText("300").a, (Point{733, 4594}));
    EXPECT_EQ(canvas.FindText("0.5 %").a, (Point{733, 4684}));
    EXPECT_TRUE(canvas.Collisions(133, 3467, 4800).empty());
}

TEST(PrintPages, FormsAndPageOrder) {
    struct Row {
        FormsToPrint forms;
        bool report, summary, empty;
        int pages;
    } rows[] = {
        {FormsToPrint::Report, true, false, false, 2},  // 12 beams: two report pages
        {FormsToPrint::Summary, false, true, false, 2}, // 12 rows: two sheets
        {FormsToPrint::Both, true, true, false, 4},
        {FormsToPrint::EmptySummary, false, true, true, 1},
    };
    for (const Row& row : rows) {
        PrintOptions options;
        ChooseForms(options, row.forms);
        EXPECT_EQ(options.report, row.report);
        EXPECT_EQ(options.summary, row.summary);
        EXPECT_EQ(options.empty, row.empty);
        test::ReportPatient p;
        AddBeams(p, 12);
        RecordingCanvas canvas(3600, 4800);
        const Result<int> printed = PrintPages(canvas, &p.patient, options, Texts());
        ASSERT_TRUE(printed.ok()) << printed.reason();
        EXPECT_EQ(printed.value(), row.pages);
        EXPECT_EQ(canvas.pages(), row.pages);
        if (row.report && row.summary) {
            // The sheet starts on the page after the report's last one.
            EXPECT_EQ(canvas.FindText("Nome Paziente").page, 3);
        }
    }
}

TEST(PrintPages, PdfFileName) {
    const Date day{2026, 6, 15};
    struct Row {
        const char* patient;
        const char* file;
    } rows[] = {
        {"Rossi Mario", "Rossi Mario 2026-06-15.pdf"},
        {"Citt\xE0/Bianchi: \"A\"?", "Citt\xC3\xA0_Bianchi_ _A__ 2026-06-15.pdf"},
        {"..", "Set-up sheet 2026-06-15.pdf"},
        {"", "Set-up sheet 2026-06-15.pdf"},
        {"a\tb", "a_b 2026-06-15.pdf"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(PdfFileName(row.patient, day), row.file);
    }
}

TEST(PrintPages, DegeneratePagesDoNotBreakTheLayout) {
    // Pages no device has: nothing may crash or divide by zero, and the pages still start.
    const struct {
        int width, height;
    } pages[] = {{0, 0}, {1, 1}, {10, 4800}, {3600, 10}, {100000, 100}};
    for (const auto& page : pages) {
        test::ReportPatient p;
        AddBeams(p, 9);
        RecordingCanvas canvas(page.width, page.height);
        PrintOptions options;
        ChooseForms(options, FormsToPrint::Both);
        options.comment = false;
        const Result<int> printed = PrintPages(canvas, &p.patient, options, Texts({"Banner"}));
        ASSERT_TRUE(printed.ok()) << page.width << " x " << page.height;
        EXPECT_GE(printed.value(), 3);
        EXPECT_EQ(canvas.pages(), printed.value());
    }
}

TEST(PrintPages, CommentLines) {
    EXPECT_EQ(CommentLines("SSD = 92\r\nSHIFT = 1.5\n\n  \n"),
              (std::vector<std::string>{"SSD = 92", "SHIFT = 1.5"}));
    EXPECT_EQ(CommentLines("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(CommentLines("").empty());
}

} // namespace
} // namespace kova::report
