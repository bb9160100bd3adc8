// The patient set-up sheet on a recording canvas (fonts as tall as asked, characters half
// the height wide): where its parts go, how the fonts follow each other, the beam table,
// sheets that continue, and the footer within the margin. Positions are worked by hand;
// 1.4f = 1.39999997615814 where a product is truncated.

#include "core/report/print_pages.h"
#include "core/report/setup_sheet.h"
#include "support/recording_canvas.h"
#include "support/report_patient.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace kova::report {
namespace {

using test::RecordingCanvas;

PageTexts Texts(std::vector<std::string> banner = {}) {
    PageTexts texts;
    texts.titleLine = "KOVA X v. 1.2.3";
    texts.printDay = Date{2026, 6, 15}; // a Monday
    texts.sheetBanner = std::move(banner);
    return texts;
}

SheetOptions Options(bool form, bool comment, std::vector<std::string> lines = {}) {
    SheetOptions options;
    options.form = form;
    options.comment = comment;
    options.commentLines = std::move(lines);
    return options;
}

void Print(RecordingCanvas& canvas, const Patient* patient, const SheetOptions& options,
           const PageTexts& texts = Texts()) {
    PageSequence pages(canvas);
    PrintSetupSheet(canvas, pages, patient, options, texts);
}

TEST(SetupSheet, VerticalLayout) {
    struct Row {
        const char* page;
        int width, height, heightLoss;
        bool form, comment;
        int K, ruleY, formBottom, commentTop, capacity;
        int top, bodyTop, rowHeight, textOffset, linesBottom, titleY, dateY, dateFont;
    } rows[] = {
        // K = 4800 / 50 = 96; rule at 184 + 96 + trunc(1.5 x 96) = 424; form font 48, its
        // bottom 424 + 36 x 48 = 2152; comment font 80, back to trunc(80 x 1.2) = 96; cells
        // 96 x 5/7 = 68; header trunc(4.5 x 96) = 432; row trunc(68 x 1.4f x 0.5 + 1.4f x
        // 96) = trunc(181.99999) = 181 (182 with a double 1.4); offset (181 - 68) / 2 = 56;
        // table at 4800 x 38/64 = 2850, body at 3282; vertical lines to 2850 +
        // trunc((96 x 1.4f x 5/14 + 1.4f x 96) x 7 + 432) = 2850 + 1708; footer title font
        // 68 x 5/7 = 48, step 96 x 5/7 = 68, at 3282 + 7 x 181 + 68 = 4617; date font
        // trunc(48 x 1.4f) = 67, step trunc(68 x 1.4f) = 95, at 4712. Comment at 4800 x
        // 32/64 = 2400; lines of 80 every 96 up to 2850: (2850 - 80 - 2400) / 96 + 1 = 4.
        {"4800", 3600, 4800, 0, true, true, 96, 424, 2152, 2400, 4, 2850, 3282, 181, 56, 4558, 4617,
         4712, 67},
        // Without form and comment the fonts stay at 96: the same table.
        {"4800 bare", 3600, 4800, 0, false, false, 96, 424, 424, 2400, -1, 2850, 3282, 181, 56,
         4558, 4617, 4712, 67},
        // A4 at 600 dpi: K = 140, rule 269 + 140 + 210 = 619, form font 70, bottom 619 +
        // 2520 = 3139; comment font 116, back to trunc(139.2) = 139 (g stays 140); cells
        // 99; header 630; row trunc(69.29999 + 195.99999) = 265, offset 83; table at
        // 7016 x 38/64 = 4165, body 4795; lines to 4165 + trunc((139 x 1.4f x 5/14 + 1.4f x
        // 140) x 7 + 630) = 4165 + 2488; title font 70, step 100, at 4795 + 1855 + 100 =
        // 6750; date font trunc(70 x 1.4f) = 97 (98 with a double), step 139, at 6889.
        // Comment at 3508: (4165 - 116 - 3508) / 140 + 1 = 4 lines.
        {"A4", 4960, 7016, 0, true, true, 140, 619, 3139, 3508, 4, 4165, 4795, 265, 83, 6653, 6750,
         6889, 97},
        // A device that gives every font one unit less: K = 95, rule 184 + 95 + 142 = 421;
        // form font 47 -> 46, bottom 421 + 1656 = 2077; table font 92 -> 91 (g = 91);
        // comment 75 -> 74, back to trunc(74 x 1.2) = 88 -> 87; cells 62 -> 61; header
        // trunc(409.5) = 409; row trunc(42.69999 + 127.39999) = 170, offset 54; body 3259;
        // lines to 2850 + trunc((87 x 1.4f x 5/14 + 1.4f x 91) x 7 + 409.5) = 2850 + 1605;
        // title font 61 x 5/7 = 43 -> 42, step 65, at 3259 + 1190 + 65 = 4514; date font
        // trunc(42 x 1.4f) = 58 -> 57, step trunc(65 x 1.4f) = 90 (91 with a double), at
        // 4604. Comment: (2850 - 74 - 2400) / 91 + 1 = 5 lines.
        {"loss", 3600, 4800, 1, true, true, 95, 421, 2077, 2400, 5, 2850, 3259, 170, 54, 4455, 4514,
         4604, 57},
    };
    for (const Row& row : rows) {
        RecordingCanvas canvas(row.width, row.height);
        canvas.heightLoss = row.heightLoss;
        const SheetLayout layout = LayoutSetupSheet(canvas, Options(row.form, row.comment), {}, 0);
        SCOPED_TRACE(row.page);
        EXPECT_EQ(layout.K, row.K);
        EXPECT_EQ(layout.ruleY, row.ruleY);
        EXPECT_EQ(layout.formBottom, row.formBottom);
        EXPECT_EQ(layout.commentTop, row.commentTop);
        if (row.capacity >= 0) {
            EXPECT_EQ(layout.commentCapacity, row.capacity);
            EXPECT_EQ(CommentLinesThatFit(canvas, row.form), row.capacity);
        }
        EXPECT_EQ(layout.table.top, row.top);
        EXPECT_EQ(layout.table.bodyTop, row.bodyTop);
        EXPECT_EQ(layout.table.rowHeight, row.rowHeight);
        EXPECT_EQ(layout.table.textOffset, row.textOffset);
        EXPECT_EQ(layout.table.linesBottom, row.linesBottom);
        EXPECT_EQ(layout.footerTitleY, row.titleY);
        EXPECT_EQ(layout.footerDateY, row.dateY);
        // The drawn footer: the date in the font worked out above.
        Print(canvas, nullptr, Options(row.form, row.comment));
        const RecordingCanvas::Op date = canvas.FindText("Monday 15.06.2026");
        EXPECT_EQ(date.a.y, row.dateY);
        EXPECT_EQ(date.font.height, row.dateFont);
        EXPECT_LE(date.bottom, row.height);
    }
}

TEST(SetupSheet, BannerGivesWayToFormAndComment) {
    // 4800-unit page: each banner line moves everything below it down by K = 96. With the
    // form the comment starts below it (form bottom + 96) once that passes 2400.
    struct Row {
        bool form;
        int commentLines, bannerLines, printed, commentTop;
    } rows[] = {
        {true, 2, 6, 4, 2632},    // 2152 + 4 x 96 + 96 = 2632: lines at 2632, 2728 (+80 <= 2850)
        {true, 4, 6, 2, 2440},    // four lines need the comment to start by 2482
        {true, 0, 1, 1, 2400},    // the form ends at 2248: the comment keeps its place
        {false, 0, 30, 24, 2824}, // the rule at 424 + 24 x 96 = 2728 leaves a line step
        {false, 2, 30, 22, 2632}, // the comment below the rule at 2536
    };
    for (const Row& row : rows) {
        std::vector<std::string> banner;
        for (int i = 0; i < row.bannerLines; ++i) {
            banner.push_back("Banner " + std::to_string(i + 1));
        }
        std::vector<std::string> comment(static_cast<std::size_t>(row.commentLines), "SSD = 92");
        RecordingCanvas canvas(3600, 4800);
        const SheetOptions options = Options(row.form, true, comment);
        const SheetLayout layout = LayoutSetupSheet(canvas, options, {}, banner.size());
        EXPECT_EQ(layout.bannerLines, row.printed) << row.bannerLines;
        EXPECT_EQ(layout.commentTop, row.commentTop) << row.bannerLines;
        Print(canvas, nullptr, options, Texts(banner));
        EXPECT_EQ(canvas.CountText("Banner " + std::to_string(row.printed)), row.printed > 0);
        EXPECT_EQ(canvas.CountText("Banner " + std::to_string(row.printed + 1)), 0);
        EXPECT_EQ(canvas.CountText("SSD = 92"), row.commentLines);
        const Margins m = PageMargins(3600, 4800);
        EXPECT_EQ(canvas.Collisions(m.left, m.right, m.bottom), std::vector<std::string>{});
    }
}

TEST(SetupSheet, CommentThatDoesNotFitIsRefused) {
    RecordingCanvas canvas(3600, 4800);
    PrintOptions options;
    ChooseForms(options, FormsToPrint::EmptySummary);
    options.commentLines = {"1", "2", "3", "4", "5"};
    const Result<int> printed = PrintPages(canvas, nullptr, options, Texts());
    ASSERT_FALSE(printed.ok());
    EXPECT_EQ(printed.reason(), "The comment has 5 lines, but only 4 fit above the table of the "
                                "treatment summary page with the positioning form.");
    EXPECT_TRUE(canvas.ops().empty()) << "nothing is drawn";
    // Without the form the comment keeps its place at 2400 here: still 4 lines.
    options.form = false;
    EXPECT_EQ(PrintPages(canvas, nullptr, options, Texts()).reason(),
              "The comment has 5 lines, but only 4 fit above the table of the treatment "
              "summary page.");
    options.comment = false;
    EXPECT_TRUE(PrintPages(canvas, nullptr, options, Texts()).ok());
}

TEST(SetupSheet, HeadOfFilledAndEmptySheets) {
    test::ReportPatient p;
    p.AddBeam(p.AddTreatment("Pelvis"), "AP", 200);
    RecordingCanvas filled(3600, 4800);
    Print(filled, &p.patient, Options(false, false));
    // "Nome Paziente" is 13 x 48 = 624 wide: the name at 133 + 624 + 96 = 853. The ID at
    // xR - 10 K = 3467 - 960 = 2507.
    EXPECT_EQ(filled.FindText("Nome Paziente").a, (Point{133, 184}));
    EXPECT_EQ(filled.FindText("Rossi Mario").a, (Point{853, 184}));
    EXPECT_EQ(filled.FindText("ID Paziente").a, (Point{2507, 184}));
    EXPECT_EQ(filled.FindText("Distretto ______________________________").a, (Point{133, 280}));
    const auto rule = std::find_if(filled.ops().begin(), filled.ops().end(),
                                   [](const RecordingCanvas::Op& op) { return op.pen == 3; });
    ASSERT_NE(rule, filled.ops().end());
    EXPECT_EQ(rule->a, (Point{133, 424}));
    EXPECT_EQ(rule->b, (Point{3467, 424}));

    RecordingCanvas empty(3600, 4800);
    Print(empty, nullptr, Options(false, false));
    EXPECT_EQ(empty.FindText("Nome Paziente ______________________________").a, (Point{133, 184}));
    // "ID Paziente ___________" is 23 x 48 = 1104 wide: at 3467 - 1104 = 2363 it ends on
    // the margin instead of 144 units past it.
    EXPECT_EQ(empty.FindText("ID Paziente ___________").a, (Point{2363, 184}));
    EXPECT_EQ(empty.CountText("Ben"), 0);
    // The body's 7 rows: the header's bottom edge and 7 more lines.
    int bodyLines = 0;
    for (const RecordingCanvas::Op& line : empty.Lines()) {
        bodyLines += line.a.y == line.b.y && line.a.y > 3282 - 1;
    }
    EXPECT_EQ(bodyLines, 8);
}

TEST(SetupSheet, PositioningForm) {
    RecordingCanvas canvas(3600, 4800);
    Print(canvas, nullptr, Options(true, false));
    // Form font 48: box side 48 x 10/9 = 53, offset (48 - 53) / 2 = -2, gap 53 / 5 = 10.
    // Title column: "Simulazione" (11 x 24 = 264) plus the gap is wider than "MaxTitle"
    // (192): 274 + K = 370, boxes from 133 + 370 = 503. Slot "MaximumBoxTitle" = 360.
    const RecordingCanvas::Op corpo = canvas.FindText("Corpo");
    EXPECT_EQ(corpo.a, (Point{133, 424 + 96}));
    EXPECT_TRUE(corpo.font.bold);
    EXPECT_EQ(canvas.FindText("Supino").a, (Point{503 + 63, 520}));
    // Next option after the slot and K: 566 + 360 + 96 = 1022, its text 63 further.
    EXPECT_EQ(canvas.FindText("Prono").a, (Point{1022 + 63, 520}));
    EXPECT_FALSE(canvas.FindText("Prono").font.bold);
    const auto box =
        std::find_if(canvas.ops().begin(), canvas.ops().end(), [](const RecordingCanvas::Op& op) {
            return op.kind == RecordingCanvas::Kind::Rectangle;
        });
    ASSERT_NE(box, canvas.ops().end());
    EXPECT_EQ(box->a, (Point{503, 518}));
    EXPECT_EQ(box->b, (Point{556, 571}));
    EXPECT_EQ(canvas.FindText("Simulazione").a.y, 424 + 17 * 96);
    // Widest row: row 12, whose "Appoggiatesta _______" and "Abbassalingua _______" (504)
    // are longer than the slot and push on: 503 + (63 + 360 + 96) + 2 x (63 + 504 + 96) =
    // 2348. The form closes there, from its bottom (2152) up to the rule (424).
    std::vector<RecordingCanvas::Op> lines = canvas.Lines();
    const auto bottom = std::find_if(lines.begin(), lines.end(), [](const auto& line) {
        return line.a == Point{133, 2152};
    });
    ASSERT_NE(bottom, lines.end());
    EXPECT_EQ(bottom->b, (Point{2348, 2152}));
    EXPECT_EQ((bottom + 1)->a, (Point{2348, 2152}));
    EXPECT_EQ((bottom + 1)->b, (Point{2348, 424}));
    EXPECT_EQ(canvas.Collisions(133, 3467, 4800), std::vector<std::string>{});
}

TEST(SetupSheet, RowsAndTheDoseOfEachTreatment) {
    test::ReportPatient p;
    TTreatment& three = p.AddTreatment("Pelvis");
    for (const char* name : {"AP", "PA", "LL"}) {
        p.AddBeam(three, name, 60);
    }
    p.AddBeam(p.AddTreatment("Boost"), "RL", 50);
    RecordingCanvas canvas(3600, 4800);
    Print(canvas, &p.patient, Options(true, true, {"SSD = "}));
    const SheetLayout layout =
        LayoutSetupSheet(canvas, Options(true, true), SetupSheetRows(p.patient), 0);
    const SheetTable& t = layout.table;
    // Treatment of three rows: 180 cGy at the middle row, 3282 + 181 + 56 = 3519, centred on
    // the arrows at xm, which run up to the first row's top and down to the third's bottom.
    const int xm = t.left[kDoseColumn] + (t.right[kDoseColumn] - t.left[kDoseColumn]) / 2;
    const RecordingCanvas::Op dose = canvas.FindText("180");
    EXPECT_EQ(dose.a, (Point{xm - 3 * 34 / 2, 3519}));
    EXPECT_EQ(dose.font.height, 68);
    std::vector<RecordingCanvas::Op> arrows;
    for (const RecordingCanvas::Op& line : canvas.Lines()) {
        if (line.a.x == xm && line.b.x == xm) {
            arrows.push_back(line);
        }
    }
    ASSERT_EQ(arrows.size(), 2u);
    EXPECT_EQ(arrows[0].a, (Point{xm, 3519}));
    EXPECT_EQ(arrows[0].b, (Point{xm, 3282}));
    EXPECT_EQ(arrows[1].a, (Point{xm, 3519 + 68}));
    EXPECT_EQ(arrows[1].b, (Point{xm, 3282 + 3 * 181}));
    std::vector<std::vector<Point>> heads;
    for (const RecordingCanvas::Op& op : canvas.ops()) {
        if (op.kind == RecordingCanvas::Kind::Polygon) {
            heads.push_back(op.points);
        }
    }
    EXPECT_EQ(heads,
              (std::vector<std::vector<Point>>{{{xm, 3284}, {xm - 8, 3307}, {xm + 8, 3307}},
                                               {{xm, 3823}, {xm - 8, 3800}, {xm + 8, 3800}}}));
    // The one-beam treatment: its dose in its own cell (fourth row), no arrows.
    const RecordingCanvas::Op single = canvas.FindText("50");
    EXPECT_EQ(single.a.y, 3282 + 3 * 181 + 56);
    // Linac "Bench" cut to "Ben", centred in column 2; the energy in column 3.
    EXPECT_EQ(canvas.CountText("Ben"), 4);
    const RecordingCanvas::Op ben = canvas.FindText("Ben");
    EXPECT_EQ(ben.a.x, t.left[2] + (t.right[2] - t.left[2] - 3 * 34) / 2);
    EXPECT_EQ(ben.a.y, 3282 + 56);
    EXPECT_EQ(canvas.CountText("X6"), 4);
    EXPECT_EQ(canvas.FindText("LL").a.y, 3282 + 2 * 181 + 56);
    EXPECT_EQ(canvas.Collisions(133, 3467, 4800), std::vector<std::string>{});
}

TEST(SetupSheet, NoRowLineRunsThroughTheDoseOfATreatment) {
    test::ReportPatient p;
    TTreatment& two = p.AddTreatment("Breast");
    p.AddBeam(two, "MED", 100);
    p.AddBeam(two, "LAT", 100);
    p.AddBeam(p.AddTreatment("Boost"), "BOOST", 50);
    RecordingCanvas canvas(3600, 4800);
    Print(canvas, &p.patient, Options(true, true, {"SSD = "}));
    const SheetTable& t =
        LayoutSetupSheet(canvas, Options(true, true), SetupSheetRows(p.patient), 0).table;
    // 200 cGy over two rows: its text from 3282 + 181 / 2 + 56 = 3428 to 3428 + 68 = 3496
    // holds the line between the rows, 3282 + 181 = 3463. In the dose column that line is
    // left out; elsewhere it runs on, up to the dose column and on from the next one.
    const RecordingCanvas::Op dose = canvas.FindText("200");
    EXPECT_EQ(dose.top, 3428);
    EXPECT_EQ(dose.bottom, 3496);
    std::vector<std::pair<int, int>> between;
    for (const RecordingCanvas::Op& line : canvas.Lines()) {
        if (line.a.y == 3463 && line.b.y == 3463) {
            between.emplace_back(line.left, line.right);
        }
    }
    const int doseLeft = t.left[kDoseColumn] - t.pad;
    const int umLeft = t.left[kDoseColumn + 1] - t.pad;
    EXPECT_EQ(between, (std::vector<std::pair<int, int>>{{133, doseLeft}, {umLeft, t.rightEdge}}));
    // The line under the treatment (between "LAT" and "BOOST") runs across the whole table.
    int whole = 0;
    for (const RecordingCanvas::Op& line : canvas.Lines()) {
        whole += line.a.y == 3282 + 2 * 181 && line.left == 133 && line.right == t.rightEdge;
    }
    EXPECT_EQ(whole, 1);
    EXPECT_EQ(canvas.LinesThroughTexts(), std::vector<std::string>{});
}

TEST(SetupSheet, MoreThanSevenRowsContinueOnAnotherSheet) {
    test::ReportPatient p;
    TTreatment& first = p.AddTreatment("Pelvis");
    TTreatment& second = p.AddTreatment("Boost");
    for (int i = 1; i <= 5; ++i) {
        p.AddBeam(first, "A" + std::to_string(i), 40);
    }
    for (int i = 1; i <= 4; ++i) {
        p.AddBeam(second, "B" + std::to_string(i), 25);
    }
    RecordingCanvas canvas(3600, 4800);
    Print(canvas, &p.patient, Options(true, true, {"SSD = "}));
    EXPECT_EQ(canvas.pages(), 2);
    // The second treatment's 100 cGy on both parts: rows 6-7 of sheet 1, rows 1-2 of sheet 2.
    EXPECT_EQ(canvas.FindText("100", 1).page, 1);
    EXPECT_EQ(canvas.FindText("100", 2).page, 2);
    EXPECT_EQ(canvas.FindText("B3", 2).a.y, 3282 + 56);
    // Each sheet has the head, the table header and the footer; the form and comment once.
    for (const char* text :
         {"Nome Paziente", "Fascio", "UM", "Monday 15.06.2026", "KOVA X v. 1.2.3"}) {
        EXPECT_EQ(canvas.CountText(text), 2) << text;
    }
    EXPECT_EQ(canvas.CountText("Supino"), 1);
    EXPECT_EQ(canvas.CountText("SSD = "), 1);
    EXPECT_EQ(canvas.LinesThroughTexts(), std::vector<std::string>{});
    // No beam row below the ruled body (3282 + 7 x 181 = 4549), so none over the footer.
    for (const RecordingCanvas::Op& text : canvas.Texts()) {
        if (text.a.y >= 3282 && text.a.y < 4617) {
            EXPECT_LE(text.bottom, 4549) << text.text;
        }
    }
    EXPECT_EQ(canvas.Collisions(133, 3467, 4800), std::vector<std::string>{});
}

TEST(SetupSheet, RotatedAndUprightHeaders) {
    RecordingCanvas canvas(3600, 4800);
    Print(canvas, nullptr, Options(false, false));
    int rotated = 0;
    for (const RecordingCanvas::Op& text : canvas.Texts()) {
        if (text.kind == RecordingCanvas::Kind::Rotated) {
            ++rotated;
            // Every turned header within the header row 2850 to 2850 + 432.
            EXPECT_GE(text.top, 2850) << text.text;
            EXPECT_LE(text.bottom, 3282) << text.text;
        }
    }
    EXPECT_EQ(rotated, 14);
    EXPECT_EQ(canvas.FindText("Fascio").kind, RecordingCanvas::Kind::Text);
    EXPECT_EQ(canvas.FindText("UM").kind, RecordingCanvas::Kind::Text);
    // Header font h + 1 = 97 (48 a character): "Linac" is 240 long, centred in the header
    // row: top 2850 + (432 - 241) / 2 = 2945, so it starts at 2945 + 241 = 3186.
    const RecordingCanvas::Op linac = canvas.FindText("Linac");
    EXPECT_EQ(linac.font.height, 97);
    EXPECT_EQ(linac.a.y, 3186);
    // "Rot Lettino" (11 x 48 = 528) does not fit the row less 96 / 8 at each end (408
    // units, text and one unit at most 408): set in 97 x 407 / 528 = 74 (11 x 37 = 407).
    EXPECT_EQ(canvas.FindText("Rot Lettino").font.height, 74);
    // "Fascio" upright at (xL + pad, 2850 + (432 - 96) / 2) = (181, 3018).
    EXPECT_EQ(canvas.FindText("Fascio").a, (Point{181, 3018}));
}

TEST(SetupSheet, TableFooterAndCellsStayWithinTheMargin) {
    // A4 and Letter at 600 dpi, A4 at 300 dpi, and the 4800-unit page. The signature lines
    // get the underscores that fit, worked as in FooterSignatureLines: on A4 the date font
    // is 97 (48 a character), the signatures start at 183 + 17 x 48 + 2 x 140 = 1279 and
    // 2 x (7 + n) x 48 + 140 <= 4777 - 1279 gives n = 27; Letter (date font 93, K 132,
    // start 1234) n = 31; A4 at 300 dpi (date font 48, K 70, start 639) n = 28.
    const struct {
        int width, height, underscores;
    } pages[] = {{4960, 7016, 27}, {5100, 6600, 31}, {2480, 3508, 28}, {3600, 4800, 30}};
    for (const auto& page : pages) {
        test::ReportPatient p;
        TTreatment& treatment = p.AddTreatment("Pelvis");
        for (int i = 1; i <= 12; ++i) {
            p.AddBeam(treatment, "Beam " + std::to_string(i), 10 * i,
                      "ID-2026-00012" + std::to_string(i));
        }
        // A name far wider than any column.
        p.AddBeam(treatment, std::string(60, 'W'), 10);
        RecordingCanvas canvas(page.width, page.height);
        Print(canvas, &p.patient, Options(true, true, {"SSD = 92", "SHIFT = 1.5"}));
        const Margins m = PageMargins(page.width, page.height);
        SCOPED_TRACE(page.width);
        EXPECT_EQ(canvas.Collisions(m.left, m.right, m.bottom), std::vector<std::string>{});
        for (const RecordingCanvas::Op& line : canvas.Lines()) {
            EXPECT_LE(line.right, m.right);
        }
        EXPECT_EQ(canvas.pages(), 2);
        EXPECT_EQ(canvas.CountText("Fisico " + std::string(page.underscores, '_')), 2);
    }
}

TEST(SetupSheet, FooterSignatureLines) {
    // 4800-unit page, date font 67 (33 a character): "Monday 15.06.2026" is 561 wide, so
    // the signatures start at 133 + 561 + 2 x 96 = 886. With 35 underscores they would end
    // at 886 + 1386 + 96 + 1386 = 3754, past xR = 3467: 30 fit (886 + 2 x 37 x 33 + 96 =
    // 3424). On a page 6000 wide (xR = 5778) all 35 fit and "Fisico" starts at 886 + 1386
    // + 96 = 2368.
    struct Row {
        int width, underscores, medicoX, fisicoX;
    } rows[] = {{3600, 30, 886, 886 + 37 * 33 + 96}, {6000, 35, 975, 975 + 42 * 33 + 96}};
    for (const Row& row : rows) {
        RecordingCanvas canvas(row.width, 4800);
        Print(canvas, nullptr, Options(false, false));
        const std::string blanks(static_cast<std::size_t>(row.underscores), '_');
        EXPECT_EQ(canvas.FindText("Medico " + blanks).a, (Point{row.medicoX, 4712}));
        EXPECT_EQ(canvas.FindText("Fisico " + blanks).a, (Point{row.fisicoX, 4712}));
    }
}

TEST(SetupSheet, RenamedBeamAndWideCells) {
    test::ReportPatient p;
    TTreatment& treatment = p.AddTreatment("Pelvis");
    TPhotonBeam& beam = p.AddBeam(treatment, "AP", 200, "ID-2026-000123");
    beam.name = "AP d\xE8x"; // Windows-1252, as the workbench keeps it
    const std::vector<SheetRow> rows = SetupSheetRows(p.patient);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cells[0].lines, std::vector<std::string>{"AP d\xC3\xA8x"});
    RecordingCanvas canvas(3600, 4800);
    const SheetLayout layout = LayoutSetupSheet(canvas, Options(true, true), rows, 0);
    // Cells in font 68 (34 a character): the ID, 14 x 34 = 476, widens column 1 beyond
    // the line step, and "AP dèx" (204) does not widen "Fascio" (288).
    EXPECT_EQ(layout.table.right[1] - layout.table.left[1], 476);
    EXPECT_EQ(layout.table.right[0] - layout.table.left[0], 288);
    EXPECT_LE(layout.table.rightEdge, 3467);
    Print(canvas, &p.patient, Options(true, true));
    EXPECT_EQ(canvas.CountText("AP d\xC3\xA8x"), 1);
    EXPECT_EQ(canvas.CountText("AP"), 0);
}

} // namespace
} // namespace kova::report
