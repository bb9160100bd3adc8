#pragma once

#include "core/common/result.h"
#include "core/report/page.h"
#include "core/report/print_pages.h"

#include <QPageSize>
#include <QString>

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
/// printer's page (600 dpi, inside margins of 5 mm). Fails with a sentence for the user
/// when the comment does not fit, the file cannot be written or a page cannot be added;
/// a file whose job failed is removed.
Status PrintToPdf(const PdfTarget& target, const Patient* patient,
                  const report::PrintOptions& options, const report::PageTexts& texts);

} // namespace kova::print
