#pragma once

#include "core/report/canvas.h"
#include "core/report/page.h"
#include "core/text/date_text.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kova {
class TBeam;
class TTreatment;
struct Patient;
} // namespace kova

namespace kova::report {

/// A beam's column of the dosimetric details report: the 45 texts of the report's rows, top
/// to bottom (an empty text leaves its row blank): the treatment's name, the linac's name
/// and SAD, the energy's PrintSummary, and the beam's own 37 texts, with the beam's current
/// name in "Beam Name"; in UTF-8 (the workbench's texts are Windows-1252).
std::vector<std::string> DetailsReportColumn(const TTreatment& treatment, const TBeam& beam,
                                             const Date& printDay);

/// The labels of the report's rows: the 45 of Text::ReportRows, then "TPS MU" and
/// "Difference" when `withTPS`.
std::vector<std::string_view> DetailsReportLabels(bool withTPS);

/// The two TPS rows of a beam's column: its TPS MU ("#0.##;;0") and the difference from its
/// MU ("0.0" followed by " %"); empty texts for a beam without a TPS MU.
std::vector<std::string> TPSReportTexts(const TBeam& beam);

/// What the report prints: the row labels and one column per computed beam of the patient,
/// treatment by treatment, in order. The TPS rows are there when any of those beams has a
/// TPS MU; every column then holds their two texts after its MU.
struct DetailsTable {
    std::vector<std::string_view> labels;
    std::vector<std::vector<std::string>> columns;
};
DetailsTable DetailsReportTable(const Patient& patient, const Date& printDay);

/// Where the details report's texts go, in device units. Every page has the same head,
/// labels and rows; the beam columns continue on further pages when they do not all fit
/// before the right margin.
struct DetailsLayout {
    Margins margins;
    int fontHeight = 0;     ///< Courier at page height / 80, as the device gives it
    int lineStep = 0;       ///< trunc(1.5 x fontHeight)
    int bannerLines = 0;    ///< banner lines printed: those that leave room for every row
    int tableTop = 0;       ///< y of row 0 ("Treatment")
    int firstColumnX = 0;   ///< after the widest label and one character
    int pitch = 0;          ///< larger of 350 and the widest value plus one character
    int columnWidth = 0;    ///< the widest value a column holds
    int cellWidth = 0;      ///< what a text may take: the pitch less one character
    int columnsPerPage = 0; ///< at least 1
    int pages = 0;          ///< at least 1
    int rows = 0;           ///< the table's rows, 45 or 47 with the TPS rows
};

/// Lays out the report on the canvas's page for this table and a banner of
/// `bannerLineCount` lines. Sets the canvas font to the report's font.
DetailsLayout LayoutDetailsReport(Canvas& canvas, const DetailsTable& table,
                                  std::size_t bannerLineCount);

/// Prints the dosimetric details report of the patient, starting each page through `pages`.
void PrintDetailsReport(Canvas& canvas, PageSequence& pages, const Patient& patient,
                        const PageTexts& texts);

} // namespace kova::report
