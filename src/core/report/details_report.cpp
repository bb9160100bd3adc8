// The dosimetric details report: one row per quantity, one column per beam, so that a second
// person can check every MU by hand.

#include "core/report/details_report.h"

#include "core/beams/beam.h"
#include "core/beams/tps_check.h"
#include "core/linac/energy.h"
#include "core/linac/linac_spec.h"
#include "core/report/fitted_text.h"
#include "core/report/report_text.h"
#include "core/text/cp1252.h"
#include "core/text/number_text.h"
#include "core/workbench/workbench.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace kova::report {
namespace {

constexpr std::size_t kRows = Text::ReportRows.size();
/// The rows that follow "MU" when a beam of the patient has a TPS MU.
constexpr std::string_view kTPSRows[] = {"TPS MU", "Difference"};
/// The pitch of the report's beam columns (device units of the layout, 350 per column):
/// kept whenever the texts are narrower, widened only for a wider text.
constexpr int kMinimumPitch = 350;
constexpr const char* kReportFont = "Courier";
constexpr const char* kTitle = "Dosimetric Details Report";

/// Rows holding names that a user or a linac file gives (treatment, linac, energy, beam
/// name and ID, the rotations as typed, the wedge, shield, tray or applicator and multileaf
/// entries): one long name would widen every column and push beams off the page, so such a
/// cell is fitted into the column the values need instead (smaller, on two lines, cut).
constexpr std::array<std::size_t, 12> kNameRows = {0, 1, 3, 9, 10, 11, 12, 13, 28, 32, 34, 36};

/// The widest value of the column: every text but the names'.
int WidestValue(const Canvas& canvas, const std::vector<std::string>& texts) {
    int widest = 0;
    for (std::size_t row = 0; row < texts.size(); ++row) {
        if (std::find(kNameRows.begin(), kNameRows.end(), row) == kNameRows.end()) {
            widest = std::max(widest, canvas.TextWidth(texts[row]));
        }
    }
    return widest;
}

/// The head of every page: banner, title with the patient's name, date and program line.
void PrintHead(Canvas& canvas, const DetailsLayout& layout, const PageTexts& texts,
               const std::string& patientName) {
    const Margins& m = layout.margins;
    const int width = m.right - m.left;
    int y = m.top;
    for (int i = 0; i < layout.bannerLines; ++i) {
        TextOutFitted(canvas, m.left, y, texts.reportBanner[static_cast<std::size_t>(i)], width);
        y += layout.lineStep;
    }
    // A page for the patient's file names the patient, on the title's line so that the
    // rows keep their places.
    const int x = m.left + canvas.TextWidth(kTitle) + 2 * canvas.TextWidth("0");
    TextOutFitted(canvas, x, y, "Patient: " + Cp1252ToUtf8(patientName), m.right - x);
    for (const std::string& line :
         {std::string(kTitle), FormatLongDate(texts.printDay), texts.titleLine}) {
        TextOutFitted(canvas, m.left, y, line, width);
        y += layout.lineStep;
    }
}

void PrintLabels(Canvas& canvas, const DetailsLayout& layout,
                 const std::vector<std::string_view>& labels) {
    const int width = layout.firstColumnX - layout.margins.left;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        TextOutFitted(canvas, layout.margins.left,
                      layout.tableTop + static_cast<int>(i) * layout.lineStep, labels[i], width);
    }
}

void PrintColumn(Canvas& canvas, const DetailsLayout& layout, int x,
                 const std::vector<std::string>& column) {
    const int width = std::min(layout.cellWidth, layout.margins.right - x);
    for (std::size_t i = 0; i < column.size() && static_cast<int>(i) < layout.rows; ++i) {
        TextOutInBox(canvas, x, layout.tableTop + static_cast<int>(i) * layout.lineStep, column[i],
                     width);
    }
}

/// The head's three lines, a blank one, then the rows: the last row must end on the page.
/// Banner lines that would push it off are left out.
void LayoutRows(DetailsLayout& layout, std::size_t bannerLineCount) {
    const Margins& m = layout.margins;
    const int steps = 4 + layout.rows - 1;
    if (m.top + steps * layout.lineStep + layout.fontHeight > m.bottom) {
        layout.lineStep = std::max(1, (m.bottom - m.top - layout.fontHeight) / steps);
    }
    const int room = m.bottom - m.top - steps * layout.lineStep - layout.fontHeight;
    const int fitting = room > 0 ? room / std::max(1, layout.lineStep) : 0;
    layout.bannerLines =
        static_cast<int>(std::min<std::size_t>(bannerLineCount, static_cast<std::size_t>(fitting)));
    layout.tableTop = m.top + (layout.bannerLines + 4) * layout.lineStep;
}

/// Columns after the widest label, as far apart as the widest value needs (at least 350
/// units; names do not widen them), as many on a page as fit before the right margin.
void LayoutColumns(const Canvas& canvas, DetailsLayout& layout, const DetailsTable& table) {
    const std::vector<std::vector<std::string>>& columns = table.columns;
    const int oneCharacter = canvas.TextWidth("0");
    int widestLabel = 0;
    for (const std::string_view label : table.labels) {
        widestLabel = std::max(widestLabel, canvas.TextWidth(label));
    }
    layout.firstColumnX = layout.margins.left + widestLabel + oneCharacter;
    int widest = 0;
    for (const auto& column : columns) {
        widest = std::max(widest, WidestValue(canvas, column));
    }
    const int available = std::max(1, layout.margins.right - layout.firstColumnX);
    layout.columnWidth = std::min(widest, available);
    layout.pitch = std::max(kMinimumPitch, widest + oneCharacter);
    layout.cellWidth = layout.pitch - oneCharacter;
    layout.columnsPerPage = 1 + (available - layout.columnWidth) / layout.pitch;
    const auto count = static_cast<int>(columns.size());
    layout.pages = std::max(1, (count + layout.columnsPerPage - 1) / layout.columnsPerPage);
}

} // namespace

std::vector<std::string> DetailsReportColumn(const TTreatment& treatment, const TBeam& beam,
                                             const Date& printDay) {
    std::vector<std::string> column;
    column.reserve(kRows);
    column.push_back(treatment.name);
    column.push_back(treatment.linac != nullptr ? treatment.linac->Name : "");
    column.push_back(treatment.linac != nullptr ? FormatGeneral(treatment.linac->SAD) : "");
    std::vector<std::string> summary;
    if (treatment.Energy() != nullptr) {
        summary = treatment.Energy()->PrintSummary();
    }
    summary.resize(Text::FirstBeamRow - column.size());
    column.insert(column.end(), summary.begin(), summary.end());
    std::vector<std::string> own = beam.DetailsColumn(printDay);
    own.resize(kRows - Text::FirstBeamRow);
    column.insert(column.end(), own.begin(), own.end());
    // The beam's name as the user last gave it, also after a rename in the tree.
    column[Text::BeamNameRow] = beam.name;
    // The workbench keeps its texts in Windows-1252, the pages are drawn in UTF-8.
    for (std::string& text : column) {
        text = Cp1252ToUtf8(text);
    }
    return column;
}

std::vector<std::string_view> DetailsReportLabels(bool withTPS) {
    std::vector<std::string_view> labels(Text::ReportRows.begin(), Text::ReportRows.end());
    if (withTPS) {
        labels.insert(labels.end(), std::begin(kTPSRows), std::end(kTPSRows));
    }
    return labels;
}

std::vector<std::string> TPSReportTexts(const TBeam& beam) {
    std::vector<std::string> texts(std::size(kTPSRows));
    if (beam.tpsMU) {
        texts[0] = FormatFloat("#0.##;;0", *beam.tpsMU);
    }
    // The difference does not depend on the action level.
    if (const auto comparison = CompareWithTPS(beam, ActionLevels{})) {
        texts[1] = FormatFloat("0.0", comparison->difference) + " %";
    }
    return texts;
}

DetailsTable DetailsReportTable(const Patient& patient, const Date& printDay) {
    std::vector<const TBeam*> printed;
    DetailsTable table;
    bool withTPS = false;
    for (const auto& treatment : patient.treatments) {
        for (const auto& beam : treatment->beams) {
            if (beam && beam->calculated) {
                table.columns.push_back(DetailsReportColumn(*treatment, *beam, printDay));
                printed.push_back(beam.get());
                withTPS = withTPS || beam->tpsMU.has_value();
            }
        }
    }
    table.labels = DetailsReportLabels(withTPS);
    for (std::size_t i = 0; withTPS && i < printed.size(); ++i) {
        for (const std::string& text : TPSReportTexts(*printed[i])) {
            table.columns[i].push_back(text);
        }
    }
    return table;
}

DetailsLayout LayoutDetailsReport(Canvas& canvas, const DetailsTable& table,
                                  std::size_t bannerLineCount) {
    DetailsLayout layout;
    layout.margins = PageMargins(canvas.PageWidth(), canvas.PageHeight());
    canvas.SetFont(Font{kReportFont, canvas.PageHeight() / 80, false});
    layout.fontHeight = canvas.FontHeight();
    layout.lineStep = layout.fontHeight * 3 / 2;
    layout.rows = static_cast<int>(table.labels.size());
    LayoutRows(layout, bannerLineCount);
    LayoutColumns(canvas, layout, table);
    return layout;
}

void PrintDetailsReport(Canvas& canvas, PageSequence& pages, const Patient& patient,
                        const PageTexts& texts) {
    const DetailsTable table = DetailsReportTable(patient, texts.printDay);
    const std::vector<std::vector<std::string>>& columns = table.columns;
    const DetailsLayout layout = LayoutDetailsReport(canvas, table, texts.reportBanner.size());
    std::size_t next = 0;
    for (int page = 0; page < layout.pages; ++page) {
        pages.Begin();
        canvas.SetPenWidth(1);
        PrintHead(canvas, layout, texts, patient.name);
        PrintLabels(canvas, layout, table.labels);
        for (int k = 0; k < layout.columnsPerPage && next < columns.size(); ++k, ++next) {
            PrintColumn(canvas, layout, layout.firstColumnX + k * layout.pitch, columns[next]);
        }
    }
}

} // namespace kova::report
