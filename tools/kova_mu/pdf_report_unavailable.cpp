// kova-mu built without Qt (KOVA_GUI=OFF): the PDF report needs Qt's PDF printer, so
// --report is refused with the reason, before anything is computed.

#include "kova_mu/pdf_report.h"

namespace kova::mu {

struct PdfReport::Session {};

namespace {

Status Unavailable() {
    return Status::Fail("this kova-mu was built without Qt (KOVA_GUI=OFF) and cannot write "
                        "PDF reports");
}

} // namespace

PdfReport::PdfReport(ReportRequest request, std::filesystem::path programFolder)
    : m_request(std::move(request)), m_programFolder(std::move(programFolder)) {
}

PdfReport::~PdfReport() = default;

Status PdfReport::Prepare() {
    return Unavailable();
}

Status PdfReport::Write(std::vector<ResolvedBeam>&, const Date&) {
    return Unavailable();
}

} // namespace kova::mu
