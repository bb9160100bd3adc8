// The set-up sheet's beam table: 16 columns with their headers, one row per beam, and the
// dose of each treatment spanning its rows.

#include "core/report/setup_table.h"

#include "core/report/fitted_text.h"
#include "core/report/report_text.h"
#include "core/text/number_text.h"
#include "core/workbench/treatment.h"

#include <algorithm>
#include <numeric>

namespace kova::report {
namespace {

using Widths = std::array<int, kSetupColumns>;

constexpr int kPads = 2 * kSetupColumns;
constexpr int kScale = 1024;

int Sum(const Widths& widths) {
    return std::accumulate(widths.begin(), widths.end(), 0);
}

/// Widths with every text scaled by scale / kScale, never below the header.
Widths Scaled(const Widths& head, const Widths& text, int scale) {
    Widths widths{};
    for (std::size_t c = 0; c < widths.size(); ++c) {
        const auto scaled = static_cast<int>(static_cast<long long>(text[c]) * scale / kScale);
        widths[c] = std::max(head[c], scaled);
    }
    return widths;
}

/// Content widths and padding that keep the table within `available` units.
Widths FitWidths(const Widths& head, const Widths& text, int available, int lineStep, int& pad) {
    const Widths natural = Scaled(head, text, kScale);
    const int sum = Sum(natural);
    pad = lineStep / 2;
    if (sum + kPads * pad <= available) {
        return natural;
    }
    const int minimumPad = std::max(1, lineStep / 8);
    if (sum + kPads * minimumPad <= available) {
        pad = (available - sum) / kPads;
        return natural;
    }
    pad = minimumPad;
    const int budget = available - kPads * pad;
    int low = 0;
    int high = kScale;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (Sum(Scaled(head, text, middle)) <= budget) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return Scaled(head, text, low);
}

int HeaderWidth(Canvas& canvas, SheetTable& table, int column) {
    const std::string_view header = Text::SetupHeaders[static_cast<std::size_t>(column)];
    auto& font = table.headerFont[static_cast<std::size_t>(column)];
    if (!IsRotatedHeader(column)) {
        font = table.fontRequest;
        canvas.SetFontHeight(font);
        return canvas.TextWidth(header);
    }
    // A turned header longer than the header row (less an eighth of a line at each end)
    // is set in a smaller font.
    font = table.fontHeight + 1;
    canvas.SetFontHeight(font);
    const int room = table.headerHeight - table.lineStep / 4;
    if (canvas.TextWidth(header) + 1 > room) {
        font = FittingFontHeight(canvas, header, room - 1);
        canvas.SetFontHeight(font);
    }
    return std::max(table.lineStep, canvas.TextHeight(header));
}

/// Draws `lines` as one block centred in column `c`, the first line at `y` (one line) or
/// the block centred in the row (several lines), all lines starting at one x.
void DrawCell(Canvas& canvas, const SheetTable& t, int c, int rowTop,
              const std::vector<std::string>& cellLines) {
    if (cellLines.empty()) {
        return;
    }
    std::vector<std::string> lines;
    for (const std::string& line : cellLines) {
        lines.push_back(Bounded(line));
    }
    const auto col = static_cast<std::size_t>(c);
    const int width = t.right[col] - t.left[col];
    const auto widest = *std::max_element(lines.begin(), lines.end(),
                                          [&canvas](const std::string& a, const std::string& b) {
                                              return canvas.TextWidth(a) < canvas.TextWidth(b);
                                          });
    canvas.SetFontHeight(FittingFontHeight(canvas, widest, width));
    int blockWidth = 0;
    int blockHeight = 0;
    std::vector<std::string> fitted;
    for (const std::string& line : lines) {
        fitted.push_back(CutToWidth(canvas, line, width));
        blockWidth = std::max(blockWidth, canvas.TextWidth(fitted.back()));
        blockHeight += canvas.TextHeight(fitted.back());
    }
    const int x = t.left[col] + (width - blockWidth) / 2;
    int y = lines.size() == 1 ? rowTop + t.textOffset : rowTop + (t.rowHeight - blockHeight) / 2;
    for (const std::string& line : fitted) {
        if (!line.empty()) {
            canvas.TextOut(x, y, line);
        }
        y += canvas.TextHeight(line);
    }
    canvas.SetFontHeight(t.cellFontRequest);
}

/// The dose of a treatment's `n` rows on this sheet: in its cell for one row; for more,
/// centred on arrows that span the rows, whole and never clipped to the column.
void DrawDose(Canvas& canvas, const SheetTable& t, int yFirst, int n, const std::string& dose) {
    const auto col = static_cast<std::size_t>(kDoseColumn);
    if (n == 1) {
        DrawCell(canvas, t, kDoseColumn, yFirst, {dose});
        return;
    }
    const int yMid = yFirst + (t.rowHeight * (n - 1)) / 2;
    const int xm = t.left[col] + (t.right[col] - t.left[col]) / 2;
    const int room = t.right[col] - t.left[col] + 2 * t.pad;
    canvas.SetFontHeight(FittingFontHeight(canvas, dose, room));
    const std::string text = CutToWidth(canvas, dose, room);
    const int textTop = yMid + t.textOffset;
    const int textBottom = textTop + canvas.TextHeight(text);
    canvas.TextOut(xm - canvas.TextWidth(text) / 2, textTop, text);
    canvas.SetFontHeight(t.cellFontRequest);
    const int yLast = yFirst + n * t.rowHeight;
    canvas.Line({xm, textTop}, {xm, yFirst});
    canvas.FillPolygon({{xm, yFirst + 2}, {xm - 8, yFirst + 25}, {xm + 8, yFirst + 25}});
    canvas.Line({xm, textBottom}, {xm, yLast});
    canvas.FillPolygon({{xm, yLast - 2}, {xm - 8, yLast - 25}, {xm + 8, yLast - 25}});
}

void DrawHeader(Canvas& canvas, const SheetTable& t, int c) {
    const auto col = static_cast<std::size_t>(c);
    const std::string_view header = Text::SetupHeaders[col];
    const int width = t.right[col] - t.left[col];
    canvas.SetFontHeight(t.headerFont[col]);
    const int w = canvas.TextWidth(header);
    if (IsRotatedHeader(c)) {
        const int top = t.top + (t.headerHeight - (w + 1)) / 2;
        const int x = t.left[col] + (width - canvas.TextHeight(header)) / 2;
        canvas.TextOutRotated(x, top + w + 1, header);
    } else {
        const int x = t.left[col] + (width - w) / 2;
        canvas.TextOut(x, t.top + (t.headerHeight - t.lineStep) / 2, header);
    }
}

} // namespace

void LayoutTableColumns(Canvas& canvas, SheetTable& table,
                        const std::array<std::vector<std::string>, kSetupColumns>& texts,
                        const Margins& margins) {
    Widths head{};
    Widths text{};
    for (int c = 0; c < kSetupColumns; ++c) {
        head[static_cast<std::size_t>(c)] = HeaderWidth(canvas, table, c);
    }
    canvas.SetFontHeight(table.cellFontRequest);
    for (std::size_t c = 0; c < texts.size(); ++c) {
        for (const std::string& line : texts[c]) {
            text[c] = std::max(text[c], canvas.TextWidth(line));
        }
    }
    const Widths widths =
        FitWidths(head, text, margins.right - margins.left, table.lineStep, table.pad);
    int x = margins.left;
    for (std::size_t c = 0; c < widths.size(); ++c) {
        x += table.pad;
        table.left[c] = x;
        table.right[c] = x + widths[c];
        x = table.right[c] + table.pad;
    }
    table.rightEdge = x;
    canvas.SetFontHeight(table.fontRequest);
}

SpannedRowLines SpannedLines(const std::vector<SheetRow>& rows, std::size_t first,
                             std::size_t last) {
    SpannedRowLines spanned{};
    for (std::size_t i = first + 1; i < last && i - first < spanned.size(); ++i) {
        spanned[i - first] =
            rows[i].treatment != nullptr && rows[i].treatment == rows[i - 1].treatment;
    }
    return spanned;
}

void DrawTable(Canvas& canvas, const SheetLayout& layout, const SpannedRowLines& spanned) {
    const SheetTable& t = layout.table;
    const int xL = layout.margins.left;
    canvas.SetPenWidth(1);
    for (int c = 0; c < kSetupColumns; ++c) {
        const int x = t.left[static_cast<std::size_t>(c)] - t.pad;
        canvas.Line({x, t.top}, {x, t.linesBottom});
        DrawHeader(canvas, t, c);
    }
    canvas.SetFontHeight(t.fontRequest);
    canvas.Line({t.rightEdge, t.top}, {t.rightEdge, t.linesBottom});
    canvas.Line({xL, t.top}, {t.rightEdge, t.top});
    canvas.Line({t.rightEdge, t.bodyTop}, {xL, t.bodyTop});
    const int doseLeft = t.left[kDoseColumn] - t.pad;
    const int doseRight = t.left[kDoseColumn + 1] - t.pad;
    for (int k = 1; k <= kRowsPerSheet; ++k) {
        const int y = t.bodyTop + k * t.rowHeight;
        if (spanned[static_cast<std::size_t>(k)]) {
            canvas.Line({xL, y}, {doseLeft, y});
            canvas.Line({doseRight, y}, {t.rightEdge, y});
        } else {
            canvas.Line({xL, y}, {t.rightEdge, y});
        }
    }
}

void DrawRows(Canvas& canvas, const SheetLayout& layout, const std::vector<SheetRow>& rows,
              std::size_t first, std::size_t last) {
    const SheetTable& t = layout.table;
    canvas.SetFontHeight(t.cellFontRequest);
    int y = t.bodyTop;
    for (std::size_t i = first; i < last; ++i, y += t.rowHeight) {
        DrawCell(canvas, t, kLinacColumn, y, {rows[i].linac});
        DrawCell(canvas, t, kEnergyColumn, y, {rows[i].energy});
        for (const SetupCell& cell : rows[i].cells) {
            DrawCell(canvas, t, SheetColumnOf(cell.column), y, cell.lines);
        }
    }
    // Each treatment's part on this sheet shows its dose.
    y = t.bodyTop;
    for (std::size_t i = first; i < last;) {
        std::size_t end = i + 1;
        while (end < last && rows[end].treatment == rows[i].treatment) {
            ++end;
        }
        const int n = static_cast<int>(end - i);
        if (rows[i].treatment != nullptr) {
            DrawDose(canvas, t, y, n, FormatGeneral(rows[i].treatment->DoseTotal()));
        }
        y += n * t.rowHeight;
        i = end;
    }
}

} // namespace kova::report
