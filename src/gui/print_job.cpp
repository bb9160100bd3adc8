#include "gui/print_job.h"

#include "print/page_job.h"
#include "print/pdf_job.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <memory>

namespace kova::gui {
namespace {

std::unique_ptr<QPrinter> MakePrinter(const QString& printerName) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setPrinterName(printerName);
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setCopyCount(1);
    printer->setCreator(QStringLiteral("KOVA X"));
    printer->setDocName(QStringLiteral("KOVA X"));
    return printer;
}

print::PdfTarget PdfOf(const PrintTarget& target) {
    return {target.pdfFile, target.pdfPageSize};
}

} // namespace

QString DefaultPrinterName() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    return printer.isNull() ? QString() : printer.printerName();
}

Status CheckPrintTarget(const PrintTarget& target, const report::PrintOptions& options) {
    if (target.ToPdf()) {
        return print::CheckPdfTarget(PdfOf(target), options);
    }
    const std::unique_ptr<QPrinter> printer = MakePrinter(target.printerName);
    return print::CheckCommentFits(*printer, options);
}

Status PrintToTarget(const PrintTarget& target, const Patient* patient,
                     const report::PrintOptions& options, const report::PageTexts& texts) {
    if (target.ToPdf()) {
        return print::PrintToPdf(PdfOf(target), patient, options, texts);
    }
    const std::unique_ptr<QPrinter> printer = MakePrinter(target.printerName);
    print::DeviceControl control;
    control.abort = [&printer] { printer->abort(); };
    control.failed = [&printer] { return printer->printerState() == QPrinter::Error; };
    return print::PrintPagesOn(*printer, u"the printer \"" + target.printerName + u'"', patient,
                               options, texts, control);
}

} // namespace kova::gui
