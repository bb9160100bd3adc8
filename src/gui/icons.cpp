#include "gui/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <array>
#include <functional>

namespace kova::gui {
namespace {

constexpr int kSize = 16;

using Draw = std::function<void(QPainter&)>;

QPixmap Paint(const Draw& draw) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return pixmap;
}

void Patient(QPainter& p) {
    p.setPen(QPen(QColor(40, 70, 130), 1));
    p.setBrush(QColor(90, 140, 210));
    p.drawEllipse(QRectF(5, 1, 6, 6));
    QPainterPath body;
    body.moveTo(2, 15);
    body.cubicTo(2, 8, 14, 8, 14, 15);
    body.closeSubpath();
    p.drawPath(body);
}

void Treatment(QPainter& p) {
    p.setPen(QPen(QColor(90, 60, 20), 1));
    p.setBrush(QColor(240, 220, 160));
    p.drawRect(QRectF(2.5, 2.5, 11, 12));
    p.setBrush(QColor(150, 110, 60));
    p.drawRect(QRectF(5.5, 1, 5, 3));
    p.setPen(QPen(QColor(90, 60, 20), 1));
    for (const double y : {7.0, 9.5, 12.0}) {
        p.drawLine(QPointF(4.5, y), QPointF(11.5, y));
    }
}

/// A blue fan of radiation from a source dot: unlike a warning sign, which is yellow.
void Beam(QPainter& p) {
    p.setPen(QPen(QColor(30, 80, 160), 1));
    p.setBrush(QColor(120, 170, 235));
    p.drawPolygon(QPolygonF({QPointF(8, 3), QPointF(13.5, 15), QPointF(2.5, 15)}));
    p.setBrush(QColor(30, 80, 160));
    p.drawEllipse(QPointF(8, 2.5), 2, 2);
    p.setPen(QPen(QColor(200, 30, 30), 1, Qt::DashLine));
    p.drawLine(QPointF(8, 4), QPointF(8, 15));
}

void Wedge(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(150, 150, 160));
    p.drawPolygon(QPolygonF({QPointF(1.5, 13.5), QPointF(14.5, 13.5), QPointF(14.5, 3.5)}));
}

void Tray(QPainter& p) {
    p.setPen(QPen(QColor(40, 90, 40), 1));
    p.setBrush(QColor(170, 220, 170));
    p.drawRect(QRectF(1.5, 6.5, 13, 4));
    p.setBrush(QColor(40, 90, 40));
    p.drawRect(QRectF(5, 3, 6, 3.5));
}

void Shield(QPainter& p) {
    QPainterPath shield;
    shield.moveTo(8, 1.5);
    shield.lineTo(14, 4);
    shield.cubicTo(14, 10, 11, 13, 8, 15);
    shield.cubicTo(5, 13, 2, 10, 2, 4);
    shield.closeSubpath();
    p.setPen(QPen(QColor(40, 40, 90), 1));
    p.setBrush(QColor(110, 110, 190));
    p.drawPath(shield);
}

void Offset(QPainter& p) {
    p.setPen(QPen(QColor(120, 120, 120), 1, Qt::DashLine));
    p.drawLine(QPointF(4, 1), QPointF(4, 15));
    p.setPen(QPen(QColor(200, 40, 40), 1.5));
    p.drawLine(QPointF(4, 8), QPointF(13, 8));
    p.setBrush(QColor(200, 40, 40));
    p.drawPolygon(QPolygonF({QPointF(15, 8), QPointF(11, 5), QPointF(11, 11)}));
}

void Multileaf(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 70, 80));
    const std::array<double, 5> lefts = {6, 4, 2, 4, 7};
    for (std::size_t i = 0; i < lefts.size(); ++i) {
        const double y = 1.5 + 3.0 * static_cast<double>(i);
        p.drawRect(QRectF(0, y, lefts[i], 2.2));
        p.drawRect(QRectF(16 - lefts[i] + 1, y, lefts[i] - 1, 2.2));
    }
}

void Applicator(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(200, 200, 210));
    p.drawPolygon(
        QPolygonF({QPointF(5, 1.5), QPointF(11, 1.5), QPointF(14.5, 14.5), QPointF(1.5, 14.5)}));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 9.5, 5, 3));
}

void Warning(QPainter& p) {
    // A red disc, unlike the beam's triangle, so that it stands out among the beams.
    p.setPen(QPen(QColor(140, 0, 0), 1));
    p.setBrush(QColor(215, 30, 30));
    p.drawEllipse(QRectF(1, 1, 14, 14));
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 4.5), QPointF(8, 9));
    p.drawPoint(QPointF(8, 12));
}

} // namespace

QIcon WorkbenchIcon(int imageIndex) {
    static const std::array<Draw, kWorkbenchIconCount> draws = {
        Patient, Treatment, Beam, Wedge, Tray, Shield, Offset, Multileaf, Applicator, Warning};
    if (imageIndex < 0 || imageIndex >= kWorkbenchIconCount) {
        return {};
    }
    return QIcon(Paint(draws[static_cast<std::size_t>(imageIndex)]));
}

} // namespace kova::gui
