#pragma once

#include "core/common/result.h"
#include "core/text/date_text.h"
#include "core/workbench/beam_input.h"
#include "kova_mu/report_request.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace kova::mu {

/// `kova-mu --report`: the dosimetric details report and the patient set-up sheet of the
/// computed beams, written to a PDF file by the report plug-in (kova_mu_report.so, loaded
/// only then), which prints through the desktop program's PDF job on Qt's offscreen
/// platform. In a build without Qt (KOVA_GUI=OFF) every step fails, saying so.
class PdfReport {
public:
    /// `programFolder`: kova-mu's folder, where the plug-in and the banners are looked for.
    PdfReport(ReportRequest request, std::filesystem::path programFolder);
    PdfReport(const PdfReport&) = delete;
    PdfReport& operator=(const PdfReport&) = delete;
    ~PdfReport();

    /// Before any beam is computed: loads the plug-in and starts Qt offscreen, and checks
    /// what can be checked without the beams: the PDF file's folder exists and the comment
    /// fits on the page.
    Status Prepare();

    /// Prints the computed beams of `beams` as one patient (see TakeReportPatient, which
    /// moves them out of `beams`); `day` is the date printed on the pages. On failure no
    /// file is left.
    Status Write(std::vector<ResolvedBeam>& beams, const Date& day);

private:
    struct Session;
    ReportRequest m_request;
    std::filesystem::path m_programFolder;
    std::unique_ptr<Session> m_session;
};

} // namespace kova::mu
