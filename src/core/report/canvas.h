#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kova::report {

/// A point on the page, in device units, y growing downwards.
struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

/// A font as the pages ask for it. `height` is the full cell height (ascent plus descent) in
/// device units.
struct Font {
    std::string name;
    int height = 0;
    bool bold = false;
    friend bool operator==(const Font&, const Font&) = default;
};

/// The surface the printed pages are drawn on, in device units of the page's printable area
/// (origin at its top-left corner). Texts are UTF-8. The device may not have every font
/// height: FontHeight() says what it gave, and the pages lay out with that.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual int PageWidth() const = 0;
    virtual int PageHeight() const = 0;

    /// Selects the font for the following texts and queries.
    void SetFont(const Font& font) {
        m_font = font;
        ApplyFont(m_font);
    }
    /// The current font with another height, or another style.
    void SetFontHeight(int height) {
        m_font.height = height;
        ApplyFont(m_font);
    }
    void SetBold(bool bold) {
        m_font.bold = bold;
        ApplyFont(m_font);
    }
    /// The font as last asked for.
    const Font& RequestedFont() const { return m_font; }

    /// The full cell height of the current font as the device gives it.
    virtual int FontHeight() const = 0;
    virtual int TextWidth(std::string_view text) const = 0;
    virtual int TextHeight(std::string_view text) const = 0;

    /// Draws `text` with the top-left corner of its cell at (x, y).
    virtual void TextOut(int x, int y, std::string_view text) = 0;
    /// Draws `text` turned 90 degrees counter-clockwise, reading from bottom to top: it
    /// starts at height y and runs up to y - TextWidth(text); the top of its cell faces x
    /// and its bottom x + TextHeight(text).
    virtual void TextOutRotated(int x, int y, std::string_view text) = 0;

    virtual void SetPenWidth(int width) = 0;
    virtual void Line(Point from, Point to) = 0;
    /// The outline of the rectangle with these opposite corners.
    virtual void Rectangle(Point corner, Point opposite) = 0;
    /// A polygon filled in the pen's colour.
    virtual void FillPolygon(const std::vector<Point>& corners) = 0;

    /// Ends the current page and starts the next one.
    virtual void NewPage() = 0;

protected:
    virtual void ApplyFont(const Font& font) = 0;

private:
    Font m_font;
};

} // namespace kova::report
