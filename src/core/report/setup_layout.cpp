// Where the set-up sheet's parts go. Each font is derived from the height the device gave
// the one before, so the sheet keeps its proportions on any printer; the factors 1.4 and
// 4.5 are single-precision values, which decides where a product is truncated.

#include "core/report/fitted_text.h"
#include "core/report/report_text.h"
#include "core/report/setup_sheet.h"
#include "core/report/setup_table.h"
#include "core/text/cp1252.h"
#include "core/text/number_text.h"
#include "core/workbench/workbench.h"

#include <algorithm>

namespace kova::report {
namespace {

constexpr double k14 = static_cast<double>(1.4f);
constexpr double k45 = static_cast<double>(4.5f);

/// The font heights of the sheet, from the head down to the footer.
struct Fonts {
    int K = 0;
    int formRequest = 0, formStep = 0;
    int commentRequest = 0, commentHeight = 0;
    int tableRequest = 0, h = 0, g = 0;
    int cellRequest = 0, h2 = 0;
    int titleRequest = 0, dateRequest = 0, dateHeight = 0;
    int titleStep = 0, dateStep = 0;
};

int SetHeight(Canvas& canvas, int height) {
    canvas.SetFontHeight(height);
    return canvas.FontHeight();
}

Fonts SheetFonts(Canvas& canvas, bool form, bool comment) {
    Fonts f;
    f.tableRequest = canvas.PageHeight() / 50;
    canvas.SetFont(Font{kSheetFont, f.tableRequest, false});
    f.K = f.h = f.g = canvas.FontHeight();
    if (form) {
        f.formRequest = f.h / 2;
        f.formStep = SetHeight(canvas, f.formRequest);
        f.tableRequest = 2 * f.formStep;
        f.h = f.g = SetHeight(canvas, f.tableRequest);
    }
    if (comment) {
        f.commentRequest = f.h * 5 / 6;
        f.commentHeight = SetHeight(canvas, f.commentRequest);
        f.tableRequest = static_cast<int>(f.commentHeight * 1.2);
        f.h = SetHeight(canvas, f.tableRequest);
    }
    f.cellRequest = f.h * 5 / 7;
    f.h2 = SetHeight(canvas, f.cellRequest);
    f.titleRequest = f.h2 * 5 / 7;
    const int title = SetHeight(canvas, f.titleRequest);
    f.titleStep = f.g * 5 / 7;
    f.dateRequest = static_cast<int>(title * k14);
    f.dateHeight = SetHeight(canvas, f.dateRequest);
    f.dateStep = static_cast<int>(f.titleStep * k14);
    canvas.SetFontHeight(f.tableRequest);
    return f;
}

/// The table's rows and the footer below them; the table moves up when the footer would
/// otherwise run off the page.
void LayoutTableRows(SheetLayout& layout, const Fonts& f, int pageHeight) {
    SheetTable& t = layout.table;
    t.fontRequest = f.tableRequest;
    t.fontHeight = f.h;
    t.lineStep = f.g;
    t.cellFontRequest = f.cellRequest;
    t.cellFontHeight = f.h2;
    t.headerHeight = static_cast<int>(k45 * f.g);
    t.rowHeight = static_cast<int>(f.h2 * k14 * 0.5 + k14 * f.g);
    t.textOffset = (t.rowHeight - f.h2) / 2;
    const int bodyHeight = kRowsPerSheet * t.rowHeight;
    const int footer = f.titleStep + f.dateStep + f.dateHeight;
    t.top = pageHeight * 38 / 64;
    const int overflow = t.top + t.headerHeight + bodyHeight + footer - layout.margins.bottom;
    if (overflow > 0) {
        t.top -= overflow;
    }
    t.bodyTop = t.top + t.headerHeight;
    const double lines = (f.h * k14 * 5 / 14 + k14 * f.g) * 7 + k45 * f.g;
    t.linesBottom = std::max(t.top + static_cast<int>(lines), t.bodyTop + bodyHeight);
    layout.footerTitleFontRequest = f.titleRequest;
    layout.footerTitleY = t.bodyTop + bodyHeight + f.titleStep;
    layout.footerDateFontRequest = f.dateRequest;
    layout.footerDateY = layout.footerTitleY + f.dateStep;
}

/// Head, form and comment for `bannerLines` banner lines.
void LayoutHead(SheetLayout& layout, const Fonts& f, bool form, int pageHeight, int bannerLines) {
    layout.bannerLines = bannerLines;
    layout.patientY = layout.margins.top + bannerLines * f.K;
    layout.siteY = layout.patientY + f.K;
    layout.ruleY = layout.siteY + f.K * 3 / 2;
    layout.formFontRequest = f.formRequest;
    layout.formStep = f.formStep;
    layout.formBottom =
        form ? layout.ruleY + (2 * kPositioningFormRows + 2) * f.formStep : layout.ruleY;
    layout.commentFontRequest = f.commentRequest;
    layout.commentStep = f.g;
    layout.commentTop = std::max(pageHeight * 32 / 64, layout.formBottom + f.g);
    const int room = layout.table.top - f.commentHeight - layout.commentTop;
    layout.commentCapacity = room >= 0 ? room / std::max(1, f.g) + 1 : 0;
}

bool HeadFits(const SheetLayout& layout, const Fonts& f, bool comment, std::size_t lines) {
    if (layout.formBottom + f.g > layout.table.top) {
        return false;
    }
    return !comment || lines <= static_cast<std::size_t>(layout.commentCapacity);
}

/// Texts of each column, for the columns' widths: the beams' cells, linac, energy and dose.
std::array<std::vector<std::string>, kSetupColumns> ColumnTexts(const std::vector<SheetRow>& rows) {
    std::array<std::vector<std::string>, kSetupColumns> texts;
    for (const SheetRow& row : rows) {
        texts[kLinacColumn].push_back(row.linac);
        texts[kEnergyColumn].push_back(row.energy);
        if (row.treatment != nullptr) {
            texts[kDoseColumn].push_back(FormatGeneral(row.treatment->DoseTotal()));
        }
        for (const SetupCell& cell : row.cells) {
            auto& column = texts[static_cast<std::size_t>(SheetColumnOf(cell.column))];
            column.insert(column.end(), cell.lines.begin(), cell.lines.end());
        }
    }
    return texts;
}

} // namespace

int SheetColumnOf(SetupColumn column) {
    switch (column) {
    case SetupColumn::Fascio:
        return 0;
    case SetupColumn::IDFascio:
        return 1;
    case SetupColumn::DSP:
        return 4;
    case SetupColumn::DimCampoWidth:
        return 5;
    case SetupColumn::DimCampoHeight:
        return 6;
    case SetupColumn::RotGantry:
        return 7;
    case SetupColumn::RotColl:
        return 8;
    case SetupColumn::RotLettino:
        return 9;
    case SetupColumn::Blocchi:
        return 11;
    case SetupColumn::Schermi:
        return 12;
    case SetupColumn::Cunei:
        return 13;
    case SetupColumn::UM:
        return 15;
    }
    return 10; // "Alt Lettino": nobody's column
}

std::vector<SheetRow> SetupSheetRows(const Patient& patient) {
    std::vector<SheetRow> rows;
    for (const auto& treatment : patient.treatments) {
        for (const auto& beam : treatment->beams) {
            if (!beam || !beam->calculated) {
                continue;
            }
            SheetRow row;
            row.treatment = treatment.get();
            if (treatment->linac != nullptr) {
                row.linac = FirstCharacters(Cp1252ToUtf8(treatment->linac->Name), 3);
            }
            if (treatment->Energy() != nullptr) {
                row.energy = Cp1252ToUtf8(treatment->Energy()->Name);
            }
            row.cells = beam->SetupRow();
            for (SetupCell& cell : row.cells) {
                // The beam's name as the user last gave it, also after a rename in the tree.
                if (cell.column == SetupColumn::Fascio) {
                    cell.lines = {beam->name};
                }
                for (std::string& line : cell.lines) {
                    line = Cp1252ToUtf8(line);
                }
            }
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

SheetLayout LayoutSetupSheet(Canvas& canvas, const SheetOptions& options,
                             const std::vector<SheetRow>& rows, std::size_t bannerLineCount) {
    SheetLayout layout;
    const int pageHeight = canvas.PageHeight();
    layout.margins = PageMargins(canvas.PageWidth(), pageHeight);
    const Fonts f = SheetFonts(canvas, options.form, options.comment);
    layout.K = f.K;
    LayoutTableRows(layout, f, pageHeight);
    // Banner lines give way to the form and the comment, never the other way round.
    const std::size_t most = static_cast<std::size_t>(
        std::max(0, (layout.table.top - layout.margins.top) / std::max(1, f.K)));
    std::size_t banner = std::min(bannerLineCount, most);
    for (;; --banner) {
        LayoutHead(layout, f, options.form, pageHeight, static_cast<int>(banner));
        if (banner == 0 || HeadFits(layout, f, options.comment, options.commentLines.size())) {
            break;
        }
    }
    canvas.SetFontHeight(f.tableRequest);
    LayoutTableColumns(canvas, layout.table, ColumnTexts(rows), layout.margins);
    const auto count = static_cast<int>(rows.size());
    layout.sheets = std::max(1, (count + kRowsPerSheet - 1) / kRowsPerSheet);
    return layout;
}

int CommentLinesThatFit(Canvas& canvas, bool form) {
    SheetOptions options;
    options.form = form;
    options.comment = true;
    return LayoutSetupSheet(canvas, options, {}, 0).commentCapacity;
}

} // namespace kova::report
