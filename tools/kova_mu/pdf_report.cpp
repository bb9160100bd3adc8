// kova-mu's PDF report goes through the desktop program's print job on Qt's offscreen
// platform: the archived pages are the very pages "Print..." makes, with the same fonts and
// the same layout checks, and no display is needed.

#include "kova_mu/pdf_report.h"

#include "core/common/install_layout.h"
#include "core/workbench/program_title.h"
#include "gui/print_job.h"
#include "gui/qt_text.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <filesystem>
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
/// the PDF printer need one, a display is never used.
struct PdfReport::Session {
    QtMessageFilter filter;
    int argc = 3;
    char program[8] = "kova-mu";
    char option[10] = "-platform";
    char platform[10] = "offscreen";
    char* argv[4] = {program, option, platform, nullptr};
    QGuiApplication application{argc, argv};
};

namespace {

gui::PrintTarget Target(const std::string& file) {
    gui::PrintTarget target;
    target.pdfFile = QFile::decodeName(QByteArray::fromStdString(file));
    target.pdfPageSize = QPageSize::A4;
    return target;
}

/// The pages are printed to a file beside the PDF and take its name only once complete, so
/// that a failed run leaves an earlier report of that name as it was.
std::string PartFile(const std::string& file) {
    return file + ".part";
}

/// A file whose folder is missing, or a folder, cannot become the PDF; said before any
/// beam is computed.
Status CheckFileName(const std::string& file) {
    const std::filesystem::path path(file);
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        return Status::Fail("the folder " + folder.string() + " does not exist");
    }
    if (std::filesystem::is_directory(path, error)) {
        return Status::Fail(file + " is a folder");
    }
    return Status::Ok();
}

} // namespace

PdfReport::PdfReport(ReportRequest request) : m_request(std::move(request)) {
}

PdfReport::~PdfReport() = default;

Status PdfReport::Prepare() {
    if (!m_request.Wanted()) {
        return Status::Fail("no PDF file was named");
    }
    if (Status name = CheckFileName(*m_request.file); !name) {
        return name;
    }
    if (m_session == nullptr) {
        m_session = std::make_unique<Session>();
    }
    return gui::CheckPrintTarget(Target(*m_request.file), ReportPrintOptions(m_request));
}

Status PdfReport::Write(std::vector<ResolvedBeam>& beams, const Date& day) {
    if (Status prepared = Prepare(); !prepared) {
        return prepared;
    }
    const Result<Patient> patient = TakeReportPatient(beams, m_request);
    if (!patient) {
        return patient.status();
    }
    report::PageTexts texts;
    texts.titleLine = ProgramInfo{KOVA_PRODUCT_NAME, KOVA_PRODUCT_VERSION}.TitleLine();
    texts.printDay = day;
    // The banners of the desktop program's files folder, which is kova-mu's too.
    const QString folder = gui::PathToQ(
        ProgramFilesFolder(gui::PathFromQ(QCoreApplication::applicationDirPath())).string());
    texts.reportBanner = gui::ReadBannerFile(folder, QStringLiteral("MyBanner1.txt"));
    texts.sheetBanner = gui::ReadBannerFile(folder, QStringLiteral("MyBanner2.txt"));
    const std::string part = PartFile(*m_request.file);
    const Status printed =
        gui::PrintToTarget(Target(part), &*patient, ReportPrintOptions(m_request), texts);
    if (!printed) {
        return printed;
    }
    std::error_code error;
    std::filesystem::rename(part, *m_request.file, error);
    if (error) {
        const std::string reason = error.message();
        std::filesystem::remove(part, error);
        return Status::Fail("could not write " + *m_request.file + ": " + reason);
    }
    return Status::Ok();
}

} // namespace kova::mu
