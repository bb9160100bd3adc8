// kova-mu's side of --report: what needs no Qt (the file name, the patient, the banners, the
// file taking its name once complete) is done here; the pages are printed by the report
// plug-in, loaded only for --report so that a text check never loads Qt.

#include "kova_mu/pdf_report.h"

#include "core/common/file_write.h"
#include "core/common/install_layout.h"
#include "core/workbench/program_title.h"
#include "kova_mu/plugin_loader.h"

namespace kova::mu {

/// The loaded plug-in and its Qt application, ended before kova-mu ends.
struct PdfReport::Session {
    const ReportPlugin* plugin;
    ReportSession* qt;

    explicit Session(const ReportPlugin* table) : plugin(table), qt(table->begin()) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session() { plugin->end(qt); }
};

namespace {

/// The pages take the file's name only once every byte is on the disk, written by the
/// core's safe writer (a temporary file of a unique name, removed when kova-mu is
/// interrupted): a failed run leaves an earlier report of that name as it was.
Status WritePdf(const std::string& file, const std::string& pdf) {
    std::error_code error;
    const bool earlier = std::filesystem::exists(file, error);
    const FileWrite written = WriteFileSafely(file, pdf, /*replaceExisting=*/true);
    if (written.ok()) {
        return Status::Ok();
    }
    if (written.outcome == FileWrite::Outcome::CannotCreate) {
        return Status::Fail("Nothing was printed: could not start the PDF file \"" + file +
                            "\": " + written.reason + ".");
    }
    return Status::Fail("could not write " + file + ": " + written.reason +
                        (earlier ? "; the earlier " + file + " is as it was" : ""));
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

PdfReport::PdfReport(ReportRequest request, std::filesystem::path programFolder)
    : m_request(std::move(request)), m_programFolder(std::move(programFolder)) {
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
        const std::filesystem::path file =
            InstallLayoutOf(m_programFolder).pluginFolder / kReportPluginFile;
        const Result<const ReportPlugin*> plugin =
            LoadPluginTable<ReportPlugin>(file, kReportPluginEntry);
        if (!plugin) {
            return Status::Fail("cannot load the report plug-in: " + plugin.reason());
        }
        m_session = std::make_unique<Session>(*plugin);
    }
    return m_session->plugin->check(*m_session->qt, ReportPrintOptions(m_request));
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
    report::ReadBanners(ProgramFilesFolder(m_programFolder), texts);
    const Result<std::string> pdf = m_session->plugin->print(
        *m_session->qt, *m_request.file, *patient, ReportPrintOptions(m_request), texts);
    if (!pdf) {
        return pdf.status();
    }
    return WritePdf(*m_request.file, *pdf);
}

} // namespace kova::mu
