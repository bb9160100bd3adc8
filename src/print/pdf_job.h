#pragma once

#include "core/common/result.h"
#include "core/report/page.h"
#include "core/report/print_pages.h"

#include <QPageSize>
#include <QString>
#include <string>

namespace kova {
struct Patient;
}

namespace kova::print {

/// A PDF file of the pages and its paper.
struct PdfTarget {
    QString file;
    QPageSize::PageSizeId pageSize = QPageSize::A4;
};

/// Whether the options can be printed on the PDF's page (the comment fits), measured
/// without writing anything.
Status CheckPdfTarget(const PdfTarget& target, const report::PrintOptions& options);

/// Prints the chosen pages to the PDF file as one document, laid out as on a laser
/// printer's page (600 dpi, inside margins of 5 mm). The pages go to a new file of a unique
/// name in the file's folder (QSaveFile), which takes the file's name only once every byte
/// was written and synced to disk: a failure leaves an earlier file of that name as it was
/// and no temporary file. Fails with a sentence for the user when the comment does not fit,
/// the file cannot be created or written (with the system's reason), or a page cannot be
/// added.
Status PrintToPdf(const PdfTarget& target, const Patient* patient,
                  const report::PrintOptions& options, const report::PageTexts& texts);

/// The same document as PrintToPdf's, as bytes, for a program that writes its files with
/// the core's safe writer (kova-mu). `where` names the file in the sentences for the user.
Result<std::string> PrintPdfBytes(QPageSize::PageSizeId pageSize, const QString& where,
                                  const Patient* patient, const report::PrintOptions& options,
                                  const report::PageTexts& texts);

/// "the PDF file \"FILE\"", as the sentences for the user name a PDF file.
QString PdfFileWhere(const QString& file);

} // namespace kova::print
