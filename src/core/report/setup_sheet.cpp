// The patient set-up sheet that goes with the patient to the treatment room: letterhead,
// patient, positioning form, comment, beam table and signatures. Its texts are Italian.

#include "core/report/setup_sheet.h"

#include "core/report/fitted_text.h"
#include "core/report/report_text.h"
#include "core/report/setup_table.h"
#include "core/text/cp1252.h"
#include "core/workbench/workbench.h"

#include <algorithm>
#include <array>

namespace kova::report {
namespace {

/// One row of the positioning form: a bold title (may be empty) and its tick-box options.
struct FormRow {
    const char* title;
    std::vector<const char*> options;
};

const std::array<FormRow, kPositioningFormRows>& PositioningForm() {
    static const std::array<FormRow, kPositioningFormRows> rows = {{
        {"Corpo", {"Supino", "Prono"}},
        {"", {"Fianco DX", "Fianco SX"}},
        {"", {"Altro:____________________________"}},
        {"Testa", {"Normoestesa", "Iperestesa", "Flessa"}},
        {"", {"Altro:____________________________"}},
        {"AASS", {"Lungo i fianchi", "Sulla testa", "Sul torace"}},
        {"", {"Dorso DX su fronte", "Dorso SX su fronte"}},
        {"", {"Altro:____________________________"}},
        {"AAII", {"Legg. Divaricati"}},
        {"", {"Altro:____________________________"}},
        {"Immobiliz.", {"Base ____________________________ rif. laser _______ cm"}},
        {"", {"Orfit _______", "Appoggiatesta _______", "Abbassalingua _______"}},
        {"", {"Cuneo _______"}},
        {"", {"Posizione base: Vert. _______ Oriz. _______ Lat. _______ Ang. _______"}},
        {"", {"Altro:____________________________"}},
        {"Isocentro", {"Croci su Orfit _______", "Tatuaggio/i _______"}},
        {"Simulazione", {"Data ______________ Firma ______________"}},
    }};
    return rows;
}

std::string Blank(std::string_view label, int underscores) {
    return std::string(label) + " " + std::string(static_cast<std::size_t>(underscores), '_');
}

void DrawHead(Canvas& canvas, const SheetLayout& layout, const Patient* patient,
              const std::vector<std::string>& banner) {
    const Margins& m = layout.margins;
    const int K = layout.K;
    canvas.SetFont(Font{kSheetFont, canvas.PageHeight() / 50, false});
    for (int i = 0; i < layout.bannerLines; ++i) {
        TextOutFitted(canvas, m.left, m.top + i * K, banner[static_cast<std::size_t>(i)],
                      m.right - m.left);
    }
    const int y = layout.patientY;
    const std::string id =
        patient != nullptr ? std::string(Text::PatientID) : Blank(Text::PatientID, 11);
    // The identifier stays within the right margin.
    const int idX = std::min(m.right - 10 * K, m.right - canvas.TextWidth(id));
    if (patient != nullptr) {
        canvas.TextOut(m.left, y, Text::PatientName);
        const int x = m.left + canvas.TextWidth(Text::PatientName) + K;
        TextOutFitted(canvas, x, y, Cp1252ToUtf8(patient->name), idX - K - x);
    } else {
        TextOutFitted(canvas, m.left, y, Blank(Text::PatientName, 30), idX - K - m.left);
    }
    TextOutFitted(canvas, idX, y, id, m.right - idX);
    TextOutFitted(canvas, m.left, layout.siteY, Blank(Text::Site, 30), m.right - m.left);
    canvas.SetPenWidth(3);
    canvas.Line({m.left, layout.ruleY}, {m.right, layout.ruleY});
    canvas.SetPenWidth(1);
}

/// The title column: as wide as "MaxTitle" plus K, or wider when a bold title needs it.
int TitleColumn(Canvas& canvas, int K, int gap) {
    int widest = 0;
    canvas.SetBold(true);
    for (const FormRow& row : PositioningForm()) {
        widest = std::max(widest, canvas.TextWidth(row.title));
    }
    canvas.SetBold(false);
    return std::max(canvas.TextWidth("MaxTitle"), widest + gap) + K;
}

void DrawForm(Canvas& canvas, const SheetLayout& layout) {
    const Margins& m = layout.margins;
    canvas.SetFontHeight(layout.formFontRequest);
    const int g = layout.formStep;
    const int b = g * 10 / 9; // box side
    const int v = (g - b) / 2;
    const int q = b / 5;
    const int titleColumn = TitleColumn(canvas, layout.K, q);
    const int slot = canvas.TextWidth("MaximumBoxTitle");
    int r = 0;
    int y = layout.ruleY;
    for (const FormRow& row : PositioningForm()) {
        y += 2 * g;
        if (*row.title != '\0') {
            canvas.SetBold(true);
            canvas.TextOut(m.left, y, row.title);
            canvas.SetBold(false);
        }
        int x = m.left + titleColumn;
        for (const char* option : row.options) {
            canvas.Rectangle({x, y + v}, {x + b, y + v + b});
            x += b + q;
            TextOutFitted(canvas, x, y, option, m.right - x);
            // An option longer than its slot pushes the next one on instead of running into it.
            x += std::max(slot, canvas.TextWidth(option)) + layout.K;
        }
        r = std::max(r, x);
    }
    y += 2 * g;
    r = std::min(r, m.right);
    canvas.Line({m.left, y}, {r, y});
    canvas.Line({r, y}, {r, layout.ruleY});
}

void DrawComment(Canvas& canvas, const SheetLayout& layout, const std::vector<std::string>& lines) {
    canvas.SetFontHeight(layout.commentFontRequest);
    const std::size_t count =
        std::min(lines.size(), static_cast<std::size_t>(std::max(0, layout.commentCapacity)));
    int y = layout.commentTop;
    for (std::size_t i = 0; i < count; ++i, y += layout.commentStep) {
        TextOutFitted(canvas, layout.margins.left, y, lines[i],
                      layout.margins.right - layout.margins.left);
    }
}

/// Title line, date and the two signature lines, all within the right margin: the
/// signature lines get fewer underscores when the page is too narrow for 35.
void DrawFooter(Canvas& canvas, const SheetLayout& layout, const PageTexts& texts) {
    const Margins& m = layout.margins;
    const int width = m.right - m.left;
    canvas.SetFontHeight(layout.footerTitleFontRequest);
    TextOutFitted(canvas, m.left, layout.footerTitleY, texts.titleLine, width);
    canvas.SetFontHeight(layout.footerDateFontRequest);
    const int y = layout.footerDateY;
    const std::string date = FormatLongDate(texts.printDay);
    TextOutFitted(canvas, m.left, y, date, width);
    int x = m.left + std::min(canvas.TextWidth(date), width) + 2 * layout.K;
    int underscores = 35;
    const auto fits = [&](int n) {
        return x + canvas.TextWidth(Blank(Text::Doctor, n)) + layout.K +
                   canvas.TextWidth(Blank(Text::Physicist, n)) <=
               m.right;
    };
    while (underscores > 8 && !fits(underscores)) {
        --underscores;
    }
    const std::string doctor = Blank(Text::Doctor, underscores);
    TextOutFitted(canvas, x, y, doctor, m.right - x);
    x += canvas.TextWidth(doctor) + layout.K;
    TextOutFitted(canvas, x, y, Blank(Text::Physicist, underscores), m.right - x);
}

} // namespace

void PrintSetupSheet(Canvas& canvas, PageSequence& pages, const Patient* patient,
                     const SheetOptions& options, const PageTexts& texts) {
    const Patient* filled = options.empty ? nullptr : patient;
    const std::vector<SheetRow> rows =
        filled != nullptr ? SetupSheetRows(*filled) : std::vector<SheetRow>{};
    const SheetLayout layout = LayoutSetupSheet(canvas, options, rows, texts.sheetBanner.size());
    for (int sheet = 0; sheet < layout.sheets; ++sheet) {
        pages.Begin();
        canvas.SetPenWidth(1);
        DrawHead(canvas, layout, filled, texts.sheetBanner);
        // The form and the comment are filled in once, on the first sheet.
        if (sheet == 0 && options.form) {
            DrawForm(canvas, layout);
        }
        if (sheet == 0 && options.comment) {
            DrawComment(canvas, layout, options.commentLines);
        }
        const std::size_t first = static_cast<std::size_t>(sheet) * kRowsPerSheet;
        const std::size_t last = std::min(rows.size(), first + kRowsPerSheet);
        DrawTable(canvas, layout, SpannedLines(rows, first, last));
        DrawRows(canvas, layout, rows, first, last);
        DrawFooter(canvas, layout, texts);
    }
}

} // namespace kova::report
