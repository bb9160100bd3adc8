#include "gui/energies_icons.h"

#include "core/linac/energies_tree.h"
#include "gui/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace kova::gui {
namespace {

constexpr int kSize = 16;

/// The workbench images of the modifiers (see WorkbenchIcon).
enum WorkbenchImage : int {
    kWorkbenchWedge = 3,
    kWorkbenchTray = 4,
    kWorkbenchShield = 5,
    kWorkbenchOffset = 6,
    kWorkbenchMultileaf = 7,
    kWorkbenchApplicator = 8,
};

QIcon Paint(void (*draw)(QPainter&)) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

/// A beam with a "g" for gamma, or an "e" for electrons, in the beam's colour.
void EnergyBadge(QPainter& p, const QColor& fill, const QString& letter) {
    p.setPen(QPen(fill.darker(160), 1));
    p.setBrush(fill);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(0, 0, kSize, kSize - 1), Qt::AlignCenter, letter);
}

void PhotonEnergy(QPainter& p) {
    EnergyBadge(p, QColor(230, 150, 20), QStringLiteral("g"));
}

void ElectronEnergy(QPainter& p) {
    EnergyBadge(p, QColor(40, 120, 200), QStringLiteral("e"));
}

void RefField(QPainter& p) {
    p.setPen(QPen(QColor(150, 90, 0), 1));
    p.setBrush(QColor(255, 230, 150));
    p.drawRect(QRectF(2.5, 2.5, 11, 11));
    p.setPen(QPen(QColor(200, 30, 30), 1));
    p.drawLine(QPointF(8, 1), QPointF(8, 15));
    p.drawLine(QPointF(1, 8), QPointF(15, 8));
}

void DepthDose(QPainter& p) {
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.drawLine(QPointF(1.5, 1), QPointF(1.5, 14.5));
    p.drawLine(QPointF(1.5, 14.5), QPointF(15, 14.5));
    QPainterPath curve;
    curve.moveTo(2, 9);
    curve.cubicTo(3, 2, 4, 2, 6, 4);
    curve.cubicTo(9, 7, 12, 10, 15, 12);
    p.setPen(QPen(QColor(200, 30, 30), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
}

void WedgeFactor(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(150, 150, 160));
    p.drawPolygon(QPolygonF({QPointF(1.5, 14.5), QPointF(10.5, 14.5), QPointF(10.5, 8.5)}));
    p.setPen(QPen(QColor(200, 30, 30), 1.5));
    p.drawLine(QPointF(12.5, 2), QPointF(12.5, 14));
    p.drawLine(QPointF(10, 4.5), QPointF(15, 4.5));
}

} // namespace

QIcon EnergiesIcon(int imageIndex) {
    switch (imageIndex) {
    case kImagePhotonEnergy:
        return Paint(PhotonEnergy);
    case kImageRefField:
        return Paint(RefField);
    case kImagePDD:
        return Paint(DepthDose);
    case kImageWedgeFactor:
        return Paint(WedgeFactor);
    case kImageElectronEnergy:
        return Paint(ElectronEnergy);
    case kImageWedge:
        return WorkbenchIcon(kWorkbenchWedge);
    case kImageOffset:
        return WorkbenchIcon(kWorkbenchOffset);
    case kImageMultileaf:
        return WorkbenchIcon(kWorkbenchMultileaf);
    case kImageTray:
        return WorkbenchIcon(kWorkbenchTray);
    case kImageShield:
        return WorkbenchIcon(kWorkbenchShield);
    case kImageApplicator:
        return WorkbenchIcon(kWorkbenchApplicator);
    default:
        return {};
    }
}

} // namespace kova::gui
