#pragma once

// The set-up sheet's beam table, shared by the sheet's layout and its drawing.

#include "core/report/report_text.h"
#include "core/report/setup_sheet.h"

#include <array>
#include <string>
#include <vector>

namespace kova::report {

inline constexpr const char* kSheetFont = "Times";

/// Columns 1 to 14 have headers turned to read from bottom to top.
inline bool IsRotatedHeader(int column) {
    return column >= 1 && column <= 14;
}

/// Sets the columns' edges: each column is as wide as its header (the line step for a
/// turned one) or its widest text, whichever is wider; when that runs past the right margin
/// the padding shrinks first, then the widest texts are given less room (and drawn in a
/// smaller font). Leaves the canvas at the table's font.
void LayoutTableColumns(Canvas& canvas, SheetTable& table,
                        const std::array<std::vector<std::string>, kSetupColumns>& texts,
                        const Margins& margins);

/// For each line k of the body (0 its top, kRowsPerSheet its bottom), whether it runs
/// between two rows of one treatment: the dose column, where that treatment's dose spans
/// both rows, leaves such a line out so that it never runs through the dose.
using SpannedRowLines = std::array<bool, kRowsPerSheet + 1>;

/// The spanned lines of a sheet that holds rows [first, last) of `rows`.
SpannedRowLines SpannedLines(const std::vector<SheetRow>& rows, std::size_t first,
                             std::size_t last);

/// The table's lines and headers.
void DrawTable(Canvas& canvas, const SheetLayout& layout, const SpannedRowLines& spanned);

/// Rows [first, last) of `rows` in the sheet's body, with each treatment's dose.
void DrawRows(Canvas& canvas, const SheetLayout& layout, const std::vector<SheetRow>& rows,
              std::size_t first, std::size_t last);

} // namespace kova::report
