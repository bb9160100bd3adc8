#pragma once

#include "core/report/canvas.h"

#include <QFont>
#include <functional>

class QPaintDevice;
class QPainter;

namespace kova::print {

/// The report canvas over a QPainter. Fonts are sized so that their full cell height
/// (ascent plus descent) is at most the height asked for, in the device's units, and
/// texts are placed by the top of that cell. Without a painter the canvas only measures,
/// for laying out a page before printing it.
class QtCanvas : public report::Canvas {
public:
    /// `newPage` starts the next page of the device; it returns false when it cannot.
    QtCanvas(QPaintDevice& device, QPainter* painter, std::function<bool()> newPage = {});

    /// False once the device refused a page.
    bool ok() const { return m_ok; }

    int PageWidth() const override;
    int PageHeight() const override;
    int FontHeight() const override;
    int TextWidth(std::string_view text) const override;
    int TextHeight(std::string_view text) const override;
    void TextOut(int x, int y, std::string_view text) override;
    void TextOutRotated(int x, int y, std::string_view text) override;
    void SetPenWidth(int width) override;
    void Line(report::Point from, report::Point to) override;
    void Rectangle(report::Point corner, report::Point opposite) override;
    void FillPolygon(const std::vector<report::Point>& corners) override;
    void NewPage() override;

protected:
    void ApplyFont(const report::Font& font) override;

private:
    double Ascent() const;

    QPaintDevice& m_device;
    QPainter* m_painter;
    std::function<bool()> m_newPage;
    QFont m_font;
    int m_penWidth = 1;
    bool m_ok = true;
};

} // namespace kova::print
