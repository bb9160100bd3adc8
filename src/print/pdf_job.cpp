// The PDF print job on QPdfWriter (Qt Gui): the desktop program's "Print..." to a PDF file
// and kova-mu's --report write their pages here, so both archive the same pages.

#include "print/pdf_job.h"

#include "print/page_job.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace kova::print {
namespace {

/// A PDF is laid out at a laser printer's resolution, inside the margins most printers
/// cannot print on, so that it looks like the printed page.
constexpr int kPdfResolution = 600;
constexpr double kPdfMarginMillimetres = 5;

std::unique_ptr<QPdfWriter> MakeWriter(QIODevice* device, QPageSize::PageSizeId pageSize) {
    auto writer = std::make_unique<QPdfWriter>(device);
    writer->setResolution(kPdfResolution);
    const QMarginsF margins(kPdfMarginMillimetres, kPdfMarginMillimetres, kPdfMarginMillimetres,
                            kPdfMarginMillimetres);
    writer->setPageLayout(
        QPageLayout(QPageSize(pageSize), QPageLayout::Portrait, margins, QPageLayout::Millimeter));
    writer->setCreator(QStringLiteral("KOVA X"));
    writer->setTitle(QStringLiteral("KOVA X"));
    return writer;
}

/// Prints the pages onto `device`, open for writing; the writer ends the document before
/// this returns.
Status PrintPdfOn(QIODevice& device, QPageSize::PageSizeId pageSize, const QString& where,
                  const Patient* patient, const report::PrintOptions& options,
                  const report::PageTexts& texts) {
    const std::unique_ptr<QPdfWriter> writer = MakeWriter(&device, pageSize);
    return PrintPagesOn(*writer, where, patient, options, texts);
}

Status Failed(const QString& what, const QString& where, const QString& reason) {
    const QString message = what + where + u": " + reason + u'.';
    return Status::Fail(message.toStdString());
}

/// The last buffered bytes written, and every byte on the disk: QSaveFile::commit checks
/// only the writes that failed while printing and ignores a failed sync, so both are
/// checked here before the file may take its name.
QString FlushAndSync(QSaveFile& file) {
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        return file.errorString();
    }
    if (::fsync(file.handle()) != 0 && errno != EINVAL) { // EINVAL: cannot be synced
        return QString::fromLocal8Bit(std::strerror(errno));
    }
    return {};
}

/// The new name lasts once the folder's entry is on the disk, where the file system can.
void SyncFolderOf(const QString& file) {
    const QByteArray folder = QFile::encodeName(QFileInfo(file).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        static_cast<void>(::fsync(fd));
        ::close(fd);
    }
}

} // namespace

QString PdfFileWhere(const QString& file) {
    return u"the PDF file \"" + QDir::toNativeSeparators(file) + u'"';
}

Status CheckPdfTarget(const PdfTarget& target, const report::PrintOptions& options) {
    QBuffer measure;
    const std::unique_ptr<QPdfWriter> writer = MakeWriter(&measure, target.pageSize);
    return CheckCommentFits(*writer, options);
}

Status PrintToPdf(const PdfTarget& target, const Patient* patient,
                  const report::PrintOptions& options, const report::PageTexts& texts) {
    const QString where = PdfFileWhere(target.file);
    if (Status fits = CheckPdfTarget(target, options); !fits) {
        return fits;
    }
    // Without commit() the temporary file is removed when `file` goes: every failure below
    // leaves the folder as it was.
    QSaveFile file(target.file);
    if (!file.open(QIODevice::WriteOnly)) {
        return Failed(QStringLiteral("Nothing was printed: could not start "), where,
                      file.errorString());
    }
    if (Status printed = PrintPdfOn(file, target.pageSize, where, patient, options, texts);
        !printed) {
        return printed;
    }
    if (const QString failed = FlushAndSync(file); !failed.isEmpty()) {
        return Failed(QStringLiteral("The pages could not be written to "), where, failed);
    }
    if (!file.commit()) {
        return Failed(QStringLiteral("The pages could not be written to "), where,
                      file.errorString());
    }
    SyncFolderOf(target.file);
    return Status::Ok();
}

Result<std::string> PrintPdfBytes(QPageSize::PageSizeId pageSize, const QString& where,
                                  const Patient* patient, const report::PrintOptions& options,
                                  const report::PageTexts& texts) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (Status printed = PrintPdfOn(buffer, pageSize, where, patient, options, texts); !printed) {
        return printed;
    }
    return buffer.data().toStdString();
}

} // namespace kova::print
