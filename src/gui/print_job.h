#pragma once

#include "core/common/result.h"
#include "core/report/page.h"
#include "core/report/print_pages.h"

#include <QPageSize>
#include <QString>

namespace kova {
struct Patient;
}

namespace kova::gui {

/// Where the pages go: a system printer, or a PDF file.
struct PrintTarget {
    QString printerName; ///< a system printer; empty for a PDF file
    QString pdfFile;     ///< the PDF file, when there is no printer name
    QPageSize::PageSizeId pdfPageSize = QPageSize::A4;

    bool ToPdf() const { return printerName.isEmpty(); }
};

/// The name of the system's default printer; empty when there is none.
QString DefaultPrinterName();

/// Whether the options can be printed on the target's page (the comment fits), measured
/// without starting a job.
Status CheckPrintTarget(const PrintTarget& target, const report::PrintOptions& options);

/// Prints the chosen pages to the target as one document: a printer through QPrinter, a
/// PDF file through the printing library's PDF job (the one kova-mu --report uses). Fails
/// with a sentence for the user when the comment does not fit, the printer or file cannot
/// be started, or a page cannot be added; a PDF file whose job failed is removed.
Status PrintToTarget(const PrintTarget& target, const Patient* patient,
                     const report::PrintOptions& options, const report::PageTexts& texts);

} // namespace kova::gui
