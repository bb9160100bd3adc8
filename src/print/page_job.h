#pragma once

#include "core/common/result.h"
#include "core/report/page.h"
#include "core/report/print_pages.h"

#include <QString>
#include <functional>

class QPaintDevice;
class QPagedPaintDevice;

namespace kova {
struct Patient;
}

namespace kova::print {

/// What a paged device may need besides painting: a printer's job is aborted when a page
/// fails and reports an error after the painter ended; a PDF file needs neither.
struct DeviceControl {
    std::function<void()> abort;  ///< drops what was sent so far; none for a file
    std::function<bool()> failed; ///< true when the device reports an error; none for a file
};

/// Whether the options can be printed on the device's page (the comment fits), measured
/// without painting, so before the device is started.
Status CheckCommentFits(QPaintDevice& device, const report::PrintOptions& options);

/// Prints the chosen pages on `device` as one document. `where` names the device in the
/// sentences for the user ("the PDF file \"/tmp/a.pdf\"", "the printer \"Sala\""). Fails
/// when the comment does not fit, the device cannot be started, a page cannot be laid out
/// or added, or the device fails; the caller removes what a failed file job left.
Status PrintPagesOn(QPagedPaintDevice& device, const QString& where, const Patient* patient,
                    const report::PrintOptions& options, const report::PageTexts& texts,
                    const DeviceControl& control = {});

} // namespace kova::print
