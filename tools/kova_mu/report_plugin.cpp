// kova_mu_report: the plug-in kova-mu loads for --report. It prints through the printing
// library's PDF job, the one the desktop program's "Print..." uses for PDF files, on Qt's
// offscreen platform: the archived pages are the very pages of the desktop program, with
// the same fonts and layout checks, and no display is needed.

#include "core/workbench/workbench.h"
#include "kova_mu/plugin_interface.h"
#include "kova_mu/qt_messages.h"
#include "print/pdf_job.h"

#include <QFile>
#include <QGuiApplication>

namespace kova::mu {

/// Qt's application on the offscreen platform, whatever QT_QPA_PLATFORM says: fonts and
/// the PDF writer need one, a display is never used.
struct ReportSession {
    QtMessageFilter filter;
    int argc = 3;
    char program[8] = "kova-mu";
    char option[10] = "-platform";
    char platform[10] = "offscreen";
    char* argv[4] = {program, option, platform, nullptr};
    QGuiApplication application{argc, argv};
};

namespace {

/// kova-mu's reports are on A4 paper.
constexpr QPageSize::PageSizeId kPaper = QPageSize::A4;

ReportSession* Begin() {
    return new ReportSession;
}

void End(ReportSession* session) {
    delete session;
}

Status Check(ReportSession&, const report::PrintOptions& options) {
    return print::CheckPdfTarget({QString(), kPaper}, options);
}

Result<std::string> Print(ReportSession&, const std::string& pdfFile, const Patient& patient,
                          const report::PrintOptions& options, const report::PageTexts& texts) {
    const QString where =
        print::PdfFileWhere(QFile::decodeName(QByteArray::fromStdString(pdfFile)));
    return print::PrintPdfBytes(kPaper, where, &patient, options, texts);
}

constexpr ReportPlugin kTable{{kPluginInterfaceVersion}, &Begin, &End, &Check, &Print};

} // namespace
} // namespace kova::mu

extern "C" __attribute__((visibility("default"))) const kova::mu::PluginHeader*
kova_mu_report_plugin() {
    return &kova::mu::kTable;
}
