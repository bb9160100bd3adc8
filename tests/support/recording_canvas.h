#pragma once

#include "core/report/canvas.h"

#include <string>
#include <string_view>
#include <vector>

namespace kova::test {

/// A canvas that records what is drawn, with fixed metrics simple enough to work positions
/// out by hand: the device gives every font the height asked for (less `heightLoss`, at
/// least 1), every character is half that height wide (integer division), and a text is as
/// tall as its font.
class RecordingCanvas : public report::Canvas {
public:
    enum class Kind { Text, Rotated, Line, Rectangle, Polygon };

    /// One drawing operation with the box it covers: a text's cell (for a turned text the
    /// cell turned, as Canvas::TextOutRotated places it), a line's or rectangle's extent.
    struct Op {
        Kind kind = Kind::Text;
        int page = 1;
        report::Point a, b; ///< text: (x, y) as given; line and rectangle: the two ends
        std::string text;
        report::Font font; ///< the font as the device gave it
        int pen = 1;
        std::vector<report::Point> points;
        int left = 0, top = 0, right = 0, bottom = 0; ///< the box the operation covers
    };

    RecordingCanvas(int width, int height) : m_width(width), m_height(height) {}

    int heightLoss = 0;

    int PageWidth() const override { return m_width; }
    int PageHeight() const override { return m_height; }
    int FontHeight() const override;
    int TextWidth(std::string_view text) const override;
    int TextHeight(std::string_view text) const override;
    void TextOut(int x, int y, std::string_view text) override;
    void TextOutRotated(int x, int y, std::string_view text) override;
    void SetPenWidth(int width) override { m_pen = width; }
    void Line(report::Point from, report::Point to) override;
    void Rectangle(report::Point corner, report::Point opposite) override;
    void FillPolygon(const std::vector<report::Point>& corners) override;
    void NewPage() override { ++m_page; }

    const std::vector<Op>& ops() const { return m_ops; }
    int pages() const { return m_page; }
    /// Texts (upright and turned) in drawing order, optionally of one page only.
    std::vector<Op> Texts(int page = 0) const;
    /// The first text equal to `text` (on `page` when given); a default Op with empty text
    /// when there is none.
    Op FindText(std::string_view text, int page = 0) const;
    int CountText(std::string_view text) const;
    std::vector<Op> Lines(int page = 0) const;
    /// "a / b" for every pair of texts on one page whose boxes overlap, and "a" for every
    /// text that crosses the margins given (left, right, bottom).
    std::vector<std::string> Collisions(int left, int right, int bottom) const;
    /// "text" for every text whose box a line runs through (touching its edge is not
    /// running through it).
    std::vector<std::string> LinesThroughTexts() const;

protected:
    void ApplyFont(const report::Font& font) override { m_font = font; }

private:
    Op Record(Kind kind) const;

    int m_width;
    int m_height;
    int m_page = 1;
    int m_pen = 1;
    report::Font m_font;
    std::vector<Op> m_ops;
};

} // namespace kova::test
