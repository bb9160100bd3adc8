#include "gui/print_job.h"

#include "gui/qt_canvas.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <memory>

namespace kova::gui {
namespace {

/// A PDF is laid out at a laser printer's resolution, inside the margins most printers
/// cannot print on, so that it looks like the printed page.
constexpr int kPdfResolution = 600;
constexpr double kPdfMarginMillimetres = 5;
/// Banner lines beyond the first few never fit on a page; this bounds what is read.
constexpr qint64 kBannerBytes = 64 * 1024;

std::unique_ptr<QPrinter> MakePrinter(const PrintTarget& target) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (target.ToPdf()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(target.pdfFile);
        printer->setResolution(kPdfResolution);
        printer->setPageSize(QPageSize(target.pdfPageSize));
        printer->setPageMargins(QMarginsF(kPdfMarginMillimetres, kPdfMarginMillimetres,
                                          kPdfMarginMillimetres, kPdfMarginMillimetres),
                                QPageLayout::Millimeter);
    } else {
        printer->setPrinterName(target.printerName);
    }
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setCopyCount(1);
    printer->setCreator(QStringLiteral("KOVA X"));
    printer->setDocName(QStringLiteral("KOVA X"));
    return printer;
}

QString Where(const PrintTarget& target) {
    if (target.ToPdf()) {
        return u"the PDF file \"" + QDir::toNativeSeparators(target.pdfFile) + u'"';
    }
    return u"the printer \"" + target.printerName + u'"';
}

Status Failed(const PrintTarget& target, const QString& what) {
    if (target.ToPdf()) {
        QFile::remove(target.pdfFile);
    }
    const QString message = what + Where(target) + u'.';
    return Status::Fail(message.toStdString());
}

} // namespace

QString DefaultPrinterName() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    return printer.isNull() ? QString() : printer.printerName();
}

Status CheckPrintTarget(const PrintTarget& target, const report::PrintOptions& options) {
    const std::unique_ptr<QPrinter> printer = MakePrinter(target);
    QtCanvas measure(*printer, nullptr);
    return report::CheckCommentFits(measure, options);
}

Status PrintToTarget(const PrintTarget& target, const Patient* patient,
                     const report::PrintOptions& options, const report::PageTexts& texts) {
    if (Status fits = CheckPrintTarget(target, options); !fits) {
        return fits;
    }
    const std::unique_ptr<QPrinter> printer = MakePrinter(target);
    QPainter painter;
    if (!painter.begin(printer.get())) {
        return Failed(target, QStringLiteral("Nothing was printed: could not start "));
    }
    QtCanvas canvas(*printer, &painter, [&printer] { return printer->newPage(); });
    const Result<int> printed = report::PrintPages(canvas, patient, options, texts);
    if (!printed) {
        printer->abort();
        painter.end();
        return Failed(target, QString::fromStdString(printed.reason()) + u" Nothing was sent to ");
    }
    const bool ended = painter.end();
    if (!canvas.ok() || !ended || printer->printerState() == QPrinter::Error) {
        return Failed(target, QStringLiteral("The pages could not be completed on "));
    }
    return Status::Ok();
}

std::vector<std::string> ReadBannerFile(const QString& folder, const QString& fileName) {
    QFile file(QDir(folder).filePath(fileName));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QByteArray bytes = file.read(kBannerBytes);
    if (!file.atEnd()) {
        // Keep whole lines only, so that a character is never cut in two.
        bytes.truncate(bytes.lastIndexOf('\n') + 1);
    }
    return report::BannerLines(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace kova::gui
