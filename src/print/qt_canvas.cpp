#include "print/qt_canvas.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

namespace kova::print {
namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// The families to try for a font name: the name itself, then its metric twins on Linux
/// (Debian's fonts-liberation) and Windows, so pages look alike on every machine.
QStringList Families(const std::string& name) {
    QStringList families{QString::fromStdString(name)};
    if (name == "Courier") {
        families << QStringLiteral("Liberation Mono") << QStringLiteral("Courier New");
    } else if (name == "Times") {
        families << QStringLiteral("Liberation Serif") << QStringLiteral("Times New Roman");
    }
    return families;
}

/// The full cell height of `font` on `device`, rounded up.
int CellHeight(const QFont& font, QPaintDevice& device) {
    return static_cast<int>(std::ceil(QFontMetricsF(font, &device).height()));
}

} // namespace

QtCanvas::QtCanvas(QPaintDevice& device, QPainter* painter, std::function<bool()> newPage)
    : m_device(device), m_painter(painter), m_newPage(std::move(newPage)) {
    if (m_painter != nullptr) {
        m_painter->setRenderHint(QPainter::TextAntialiasing);
        m_painter->setPen(QPen(Qt::black, 1));
        m_painter->setBrush(Qt::NoBrush);
    }
}

int QtCanvas::PageWidth() const {
    return m_device.width();
}

int QtCanvas::PageHeight() const {
    return m_device.height();
}

void QtCanvas::ApplyFont(const report::Font& font) {
    m_font = QFont();
    m_font.setFamilies(Families(font.name));
    m_font.setStyleHint(font.name == "Courier" ? QFont::TypeWriter : QFont::Serif);
    m_font.setBold(font.bold);
    // A pixel size is the em; the cell is a little taller. Start from the proportional
    // size and step down until the cell is no taller than asked.
    const int wanted = std::max(1, font.height);
    m_font.setPixelSize(wanted);
    const int cell = std::max(1, CellHeight(m_font, m_device));
    int size = std::max(1, static_cast<int>(std::lround(double(wanted) * wanted / cell)));
    m_font.setPixelSize(size);
    while (size > 1 && CellHeight(m_font, m_device) > wanted) {
        m_font.setPixelSize(--size);
    }
    if (m_painter != nullptr) {
        m_painter->setFont(m_font);
    }
}

int QtCanvas::FontHeight() const {
    return CellHeight(m_font, m_device);
}

int QtCanvas::TextWidth(std::string_view text) const {
    const QFontMetricsF metrics(m_font, &m_device);
    return static_cast<int>(std::ceil(metrics.horizontalAdvance(FromUtf8(text))));
}

int QtCanvas::TextHeight(std::string_view) const {
    return FontHeight();
}

double QtCanvas::Ascent() const {
    return QFontMetricsF(m_font, &m_device).ascent();
}

void QtCanvas::TextOut(int x, int y, std::string_view text) {
    if (m_painter != nullptr) {
        m_painter->drawText(QPointF(x, y + Ascent()), FromUtf8(text));
    }
}

void QtCanvas::TextOutRotated(int x, int y, std::string_view text) {
    if (m_painter == nullptr) {
        return;
    }
    // Turned a quarter counter-clockwise about (x, y): the text runs up from y and the top
    // of its cell faces x.
    m_painter->save();
    m_painter->translate(x, y);
    m_painter->rotate(-90);
    m_painter->drawText(QPointF(0, Ascent()), FromUtf8(text));
    m_painter->restore();
}

void QtCanvas::SetPenWidth(int width) {
    m_penWidth = std::max(1, width);
    if (m_painter != nullptr) {
        m_painter->setPen(QPen(Qt::black, m_penWidth));
    }
}

void QtCanvas::Line(report::Point from, report::Point to) {
    if (m_painter != nullptr) {
        m_painter->drawLine(from.x, from.y, to.x, to.y);
    }
}

void QtCanvas::Rectangle(report::Point corner, report::Point opposite) {
    if (m_painter != nullptr) {
        m_painter->setBrush(Qt::NoBrush);
        m_painter->drawRect(QRectF(QPointF(corner.x, corner.y), QPointF(opposite.x, opposite.y)));
    }
}

void QtCanvas::FillPolygon(const std::vector<report::Point>& corners) {
    if (m_painter == nullptr) {
        return;
    }
    QPolygon polygon;
    for (const report::Point& corner : corners) {
        polygon << QPoint(corner.x, corner.y);
    }
    m_painter->setBrush(m_painter->pen().color());
    m_painter->drawPolygon(polygon);
    m_painter->setBrush(Qt::NoBrush);
}

void QtCanvas::NewPage() {
    if (m_newPage && !m_newPage()) {
        m_ok = false;
    }
}

} // namespace kova::print
