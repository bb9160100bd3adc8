#pragma once

#include "core/beams/beam.h"
#include "core/report/canvas.h"
#include "core/report/page.h"
#include "core/report/report_text.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace kova {
class TTreatment;
struct Patient;
} // namespace kova

namespace kova::report {

/// What the set-up sheet holds besides the table.
struct SheetOptions {
    bool empty = false;  ///< blank, without patient data, to fill in by hand
    bool form = true;    ///< the patient positioning form
    bool comment = true; ///< the comment lines
    std::vector<std::string> commentLines;
};

/// One beam's row of the sheet, its texts in UTF-8.
struct SheetRow {
    const TTreatment* treatment = nullptr;
    std::string linac;            ///< the first 3 characters of the linac's name
    std::string energy;           ///< the energy's name
    std::vector<SetupCell> cells; ///< the beam's own cells, "Fascio" with its current name
};

/// The rows of every computed beam of the patient, treatment by treatment, in order.
std::vector<SheetRow> SetupSheetRows(const Patient& patient);

/// Rows of the patient positioning form.
inline constexpr int kPositioningFormRows = 17;

/// Beam rows in the ruled body of one sheet; further rows go on further sheets.
inline constexpr int kRowsPerSheet = 7;

/// The sheet's column of a beam's cell.
int SheetColumnOf(SetupColumn column);

/// The beam table, in device units.
struct SheetTable {
    int fontRequest = 0;  ///< font height asked for at the table (headers)
    int fontHeight = 0;   ///< h, as the device gives it
    int lineStep = 0;     ///< g
    int top = 0;          ///< y0: page height x 38 / 64, higher when the footer needs room
    int headerHeight = 0; ///< trunc(4.5 x g)
    int linesBottom = 0;  ///< where the vertical lines end
    int bodyTop = 0;
    int rowHeight = 0;  ///< trunc(h2 x 1.4 x 0.5 + 1.4 x g), 1.4 in single precision
    int textOffset = 0; ///< (rowHeight - h2) / 2
    int cellFontRequest = 0;
    int cellFontHeight = 0;                 ///< h2
    int pad = 0;                            ///< g / 2, less when the columns need the room
    std::array<int, kSetupColumns> left{};  ///< left edge of each column's content
    std::array<int, kSetupColumns> right{}; ///< right edge of each column's content
    std::array<int, kSetupColumns>
        headerFont{};  ///< font height of each header (smaller when too long)
    int rightEdge = 0; ///< xT
};

/// Where everything of the sheet goes, in device units.
struct SheetLayout {
    Margins margins;
    int K = 0;           ///< Times at page height / 50, as the device gives it
    int bannerLines = 0; ///< banner lines printed: those that leave room for the rest
    int patientY = 0;
    int siteY = 0; ///< "Distretto"
    int ruleY = 0; ///< the thick rule under the head
    int formFontRequest = 0;
    int formStep = 0;   ///< the form's line step: its font height
    int formBottom = 0; ///< the form's bottom edge
    int commentTop = 0;
    int commentFontRequest = 0;
    int commentStep = 0;
    int commentCapacity = 0; ///< comment lines that fit above the table
    SheetTable table;
    int footerTitleFontRequest = 0;
    int footerTitleY = 0;
    int footerDateFontRequest = 0;
    int footerDateY = 0;
    int sheets = 1; ///< one per 7 beam rows, at least one
};

/// Lays out the sheet on the canvas's page.
SheetLayout LayoutSetupSheet(Canvas& canvas, const SheetOptions& options,
                             const std::vector<SheetRow>& rows, std::size_t bannerLineCount);

/// How many comment lines fit above the table on the canvas's page, with or without the
/// positioning form (a banner gives up its lines to the comment).
int CommentLinesThatFit(Canvas& canvas, bool form);

/// Prints the patient set-up sheet, starting each sheet through `pages`. Without a patient,
/// or with `options.empty`, the sheet is blank.
void PrintSetupSheet(Canvas& canvas, PageSequence& pages, const Patient* patient,
                     const SheetOptions& options, const PageTexts& texts);

} // namespace kova::report
