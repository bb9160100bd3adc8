#include "print/page_job.h"

#include "print/qt_canvas.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace kova::print {
namespace {

Status Failed(const QString& what, const QString& where) {
    const QString message = what + where + u'.';
    return Status::Fail(message.toStdString());
}

} // namespace

Status CheckCommentFits(QPaintDevice& device, const report::PrintOptions& options) {
    QtCanvas measure(device, nullptr);
    return report::CheckCommentFits(measure, options);
}

Status PrintPagesOn(QPagedPaintDevice& device, const QString& where, const Patient* patient,
                    const report::PrintOptions& options, const report::PageTexts& texts,
                    const DeviceControl& control) {
    if (Status fits = CheckCommentFits(device, options); !fits) {
        return fits;
    }
    QPainter painter;
    if (!painter.begin(&device)) {
        return Failed(QStringLiteral("Nothing was printed: could not start "), where);
    }
    QtCanvas canvas(device, &painter, [&device] { return device.newPage(); });
    const Result<int> printed = report::PrintPages(canvas, patient, options, texts);
    if (!printed) {
        // A page is never half printed: a printer drops the job before it is ended.
        if (control.abort) {
            control.abort();
        }
        painter.end();
        return Failed(QString::fromStdString(printed.reason()) + u" Nothing was sent to ", where);
    }
    const bool ended = painter.end();
    if (!canvas.ok() || !ended || (control.failed && control.failed())) {
        return Failed(QStringLiteral("The pages could not be completed on "), where);
    }
    return Status::Ok();
}

} // namespace kova::print
