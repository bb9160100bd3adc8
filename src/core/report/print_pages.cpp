#include "core/report/print_pages.h"

#include "core/report/details_report.h"
#include "core/report/setup_sheet.h"
#include "core/text/cp1252.h"

#include <cstdio>

namespace kova::report {

void ChooseForms(PrintOptions& options, FormsToPrint forms) {
    options.report = forms == FormsToPrint::Report || forms == FormsToPrint::Both;
    options.summary = forms != FormsToPrint::Report;
    options.empty = forms == FormsToPrint::EmptySummary;
}

std::vector<std::string> CommentLines(std::string_view text) {
    std::vector<std::string> lines = BannerLines(text);
    while (!lines.empty() && lines.back().find_first_not_of(" \t") == std::string::npos) {
        lines.pop_back();
    }
    return lines;
}

std::string PdfFileName(const std::string& patientName, const Date& day) {
    std::string name;
    for (const char c : Cp1252ToUtf8(patientName)) {
        const bool refused = static_cast<unsigned char>(c) < 0x20 ||
                             std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
        name += refused ? '_' : c;
    }
    const auto first = name.find_first_not_of(" .");
    const auto last = name.find_last_not_of(" .");
    name = first == std::string::npos ? "Set-up sheet" : name.substr(first, last - first + 1);
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", day.year % 10000, day.month % 100,
                  day.day % 100);
    return name + " " + date + ".pdf";
}

Status CheckCommentFits(Canvas& canvas, const PrintOptions& options) {
    if (!options.summary || !options.comment) {
        return Status::Ok();
    }
    const std::size_t lines = options.commentLines.size();
    const int fit = CommentLinesThatFit(canvas, options.form);
    if (lines <= static_cast<std::size_t>(fit)) {
        return Status::Ok();
    }
    return Status::Fail("The comment has " + std::to_string(lines) + " lines, but only " +
                        std::to_string(fit) + (fit == 1 ? " fits" : " fit") +
                        " above the table of the treatment summary page" +
                        (options.form ? " with the positioning form." : "."));
}

Result<int> PrintPages(Canvas& canvas, const Patient* patient, const PrintOptions& options,
                       const PageTexts& texts) {
    if (Status fits = CheckCommentFits(canvas, options); !fits) {
        return fits;
    }
    PageSequence pages(canvas);
    if (options.report && patient != nullptr) {
        PrintDetailsReport(canvas, pages, *patient, texts);
    }
    if (options.summary) {
        SheetOptions sheet;
        sheet.empty = options.empty;
        sheet.form = options.form;
        sheet.comment = options.comment;
        sheet.commentLines = options.commentLines;
        PrintSetupSheet(canvas, pages, patient, sheet, texts);
    }
    return pages.Pages();
}

} // namespace kova::report
