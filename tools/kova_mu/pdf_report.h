#pragma once

#include "core/common/result.h"
#include "core/text/date_text.h"
#include "core/workbench/beam_input.h"
#include "kova_mu/report_request.h"

#include <memory>
#include <vector>

namespace kova::mu {

/// `kova-mu --report`: the dosimetric details report and the patient set-up sheet of the
/// computed beams, written to a PDF file through the desktop program's own print job (Qt's
/// PDF printer on the offscreen platform, so no display is needed). In a build without Qt
/// (KOVA_GUI=OFF) every step fails, saying so.
class PdfReport {
public:
    explicit PdfReport(ReportRequest request);
    PdfReport(const PdfReport&) = delete;
    PdfReport& operator=(const PdfReport&) = delete;
    ~PdfReport();

    /// Before any beam is computed: starts Qt offscreen and checks what can be checked
    /// without the beams: the PDF file's folder exists and the comment fits on the page.
    Status Prepare();

    /// Prints the computed beams of `beams` as one patient (see TakeReportPatient, which
    /// moves them out of `beams`); `day` is the date printed on the pages. On failure no
    /// file is left.
    Status Write(std::vector<ResolvedBeam>& beams, const Date& day);

private:
    struct Session;
    ReportRequest m_request;
    std::unique_ptr<Session> m_session;
};

} // namespace kova::mu
