#pragma once

#include "core/common/result.h"
#include "core/report/canvas.h"
#include "core/report/page.h"

#include <string>
#include <string_view>
#include <vector>

namespace kova {
struct Patient;
}

namespace kova::report {

/// The forms the print options offer, in their order.
enum class FormsToPrint {
    Report = 0,       ///< "Dosimetry report page"
    Summary = 1,      ///< "Treatment summary page"
    Both = 2,         ///< "Both of them, please"
    EmptySummary = 3, ///< "Just an empty treatment summary page"
};

/// What to print.
struct PrintOptions {
    bool report = false;  ///< the dosimetric details report
    bool summary = false; ///< the patient set-up sheet ("treatment summary page")
    bool empty = false;   ///< the set-up sheet blank, to fill in by hand
    bool form = true;     ///< the set-up sheet's positioning form
    bool comment = true;  ///< the set-up sheet's comment
    std::vector<std::string> commentLines;
};

/// Sets the report, summary and empty flags for a choice of forms.
void ChooseForms(PrintOptions& options, FormsToPrint forms);

/// The lines of a comment as typed ("\r" dropped, blank lines at the end left out).
std::vector<std::string> CommentLines(std::string_view text);

/// Fails, saying how many lines fit, when the comment is to be printed and has more lines
/// than fit above the set-up sheet's table on the canvas's page.
Status CheckCommentFits(Canvas& canvas, const PrintOptions& options);

/// The suggested name of a PDF file of the pages: the patient's name (Windows-1252, as the
/// workbench keeps it) and the day, "Rossi Mario 2026-06-15.pdf", in UTF-8; characters that
/// file systems refuse become "_". Without a name: "Set-up sheet 2026-06-15.pdf".
std::string PdfFileName(const std::string& patientName, const Date& day);

/// Prints the chosen pages on the canvas as one document: the details report when asked
/// for (and there is a patient), then the set-up sheet on a new page. Nothing is drawn when
/// the comment does not fit. Returns the number of pages printed.
Result<int> PrintPages(Canvas& canvas, const Patient* patient, const PrintOptions& options,
                       const PageTexts& texts);

} // namespace kova::report
