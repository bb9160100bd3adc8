// The PDF print job on QPdfWriter (Qt Gui): the desktop program's "Print..." to a PDF file
// and kova-mu's --report write their pages here, so both archive the same pages.

#include "print/pdf_job.h"

#include "print/page_job.h"

#include <QDir>
#include <QFile>
#include <QPdfWriter>
#include <memory>

namespace kova::print {
namespace {

/// A PDF is laid out at a laser printer's resolution, inside the margins most printers
/// cannot print on, so that it looks like the printed page.
constexpr int kPdfResolution = 600;
constexpr double kPdfMarginMillimetres = 5;

std::unique_ptr<QPdfWriter> MakeWriter(const PdfTarget& target) {
    auto writer = std::make_unique<QPdfWriter>(target.file);
    writer->setResolution(kPdfResolution);
    const QMarginsF margins(kPdfMarginMillimetres, kPdfMarginMillimetres, kPdfMarginMillimetres,
                            kPdfMarginMillimetres);
    writer->setPageLayout(QPageLayout(QPageSize(target.pageSize), QPageLayout::Portrait, margins,
                                      QPageLayout::Millimeter));
    writer->setCreator(QStringLiteral("KOVA X"));
    writer->setTitle(QStringLiteral("KOVA X"));
    return writer;
}

} // namespace

Status CheckPdfTarget(const PdfTarget& target, const report::PrintOptions& options) {
    const std::unique_ptr<QPdfWriter> writer = MakeWriter(target);
    return CheckCommentFits(*writer, options);
}

Status PrintToPdf(const PdfTarget& target, const Patient* patient,
                  const report::PrintOptions& options, const report::PageTexts& texts) {
    const QString where = u"the PDF file \"" + QDir::toNativeSeparators(target.file) + u'"';
    Status printed = Status::Ok();
    {
        // The writer closes its file when destroyed, before a failed file is removed.
        const std::unique_ptr<QPdfWriter> writer = MakeWriter(target);
        printed = PrintPagesOn(*writer, where, patient, options, texts);
    }
    if (!printed) {
        QFile::remove(target.file);
    }
    return printed;
}

} // namespace kova::print
