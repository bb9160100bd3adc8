// kova_mu_report: the plug-in kova-mu loads for --report. It prints through the printing
// library's PDF job, the one the desktop program's "Print..." uses for PDF files, on Qt's
// offscreen platform: the archived pages are the very pages of the desktop program, with
// the same fonts and layout checks, and no display is needed.

#include "core/workbench/workbench.h"
#include "kova_mu/plugin_interface.h"
#include "print/pdf_job.h"

#include <QFile>
#include <QGuiApplication>
#include <iostream>

namespace kova::mu {
namespace {

/// Qt's notes about its surroundings (no XDG_RUNTIME_DIR, no printer) are not kova-mu's
/// business: every failure of the job comes back as a reason. Only Qt's errors are said.
void QtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::cerr << "kova-mu: Qt: " << message.toStdString() << '\n';
    }
}

/// Keeps Qt's messages to its errors while the report's application lives.
class QtMessageFilter {
public:
    QtMessageFilter() : m_previous(qInstallMessageHandler(QtMessages)) {}
    QtMessageFilter(const QtMessageFilter&) = delete;
    QtMessageFilter& operator=(const QtMessageFilter&) = delete;
    ~QtMessageFilter() { qInstallMessageHandler(m_previous); }

private:
    QtMessageHandler m_previous;
};

} // namespace

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
