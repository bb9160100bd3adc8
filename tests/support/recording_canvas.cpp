#include "support/recording_canvas.h"

#include <algorithm>

namespace kova::test {
namespace {

int Characters(std::string_view text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

bool Overlap(const RecordingCanvas::Op& a, const RecordingCanvas::Op& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

int RecordingCanvas::FontHeight() const {
    return std::max(1, m_font.height - heightLoss);
}

int RecordingCanvas::TextWidth(std::string_view text) const {
    return Characters(text) * (FontHeight() / 2);
}

int RecordingCanvas::TextHeight(std::string_view) const {
    return FontHeight();
}

RecordingCanvas::Op RecordingCanvas::Record(Kind kind) const {
    Op op;
    op.kind = kind;
    op.page = m_page;
    op.pen = m_pen;
    op.font = m_font;
    op.font.height = FontHeight();
    return op;
}

void RecordingCanvas::TextOut(int x, int y, std::string_view text) {
    Op op = Record(Kind::Text);
    op.a = {x, y};
    op.text = std::string(text);
    op.left = x;
    op.top = y;
    op.right = x + TextWidth(text);
    op.bottom = y + TextHeight(text);
    m_ops.push_back(op);
}

void RecordingCanvas::TextOutRotated(int x, int y, std::string_view text) {
    Op op = Record(Kind::Rotated);
    op.a = {x, y};
    op.text = std::string(text);
    op.left = x;
    op.top = y - TextWidth(text);
    op.right = x + TextHeight(text);
    op.bottom = y;
    m_ops.push_back(op);
}

void RecordingCanvas::Line(report::Point from, report::Point to) {
    Op op = Record(Kind::Line);
    op.a = from;
    op.b = to;
    op.left = std::min(from.x, to.x);
    op.right = std::max(from.x, to.x);
    op.top = std::min(from.y, to.y);
    op.bottom = std::max(from.y, to.y);
    m_ops.push_back(op);
}

void RecordingCanvas::Rectangle(report::Point corner, report::Point opposite) {
    Op op = Record(Kind::Rectangle);
    op.a = corner;
    op.b = opposite;
    op.left = std::min(corner.x, opposite.x);
    op.right = std::max(corner.x, opposite.x);
    op.top = std::min(corner.y, opposite.y);
    op.bottom = std::max(corner.y, opposite.y);
    m_ops.push_back(op);
}

void RecordingCanvas::FillPolygon(const std::vector<report::Point>& corners) {
    Op op = Record(Kind::Polygon);
    op.points = corners;
    m_ops.push_back(op);
}

std::vector<RecordingCanvas::Op> RecordingCanvas::Texts(int page) const {
    std::vector<Op> texts;
    for (const Op& op : m_ops) {
        if ((op.kind == Kind::Text || op.kind == Kind::Rotated) && (page == 0 || op.page == page)) {
            texts.push_back(op);
        }
    }
    return texts;
}

RecordingCanvas::Op RecordingCanvas::FindText(std::string_view text, int page) const {
    for (const Op& op : Texts(page)) {
        if (op.text == text) {
            return op;
        }
    }
    return {};
}

int RecordingCanvas::CountText(std::string_view text) const {
    const std::vector<Op> texts = Texts();
    return static_cast<int>(std::count_if(texts.begin(), texts.end(),
                                          [text](const Op& op) { return op.text == text; }));
}

std::vector<RecordingCanvas::Op> RecordingCanvas::Lines(int page) const {
    std::vector<Op> lines;
    for (const Op& op : m_ops) {
        if (op.kind == Kind::Line && (page == 0 || op.page == page)) {
            lines.push_back(op);
        }
    }
    return lines;
}

std::vector<std::string> RecordingCanvas::Collisions(int left, int right, int bottom) const {
    std::vector<std::string> found;
    const std::vector<Op> texts = Texts();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const Op& a = texts[i];
        if (a.left < left || a.right > right || a.bottom > bottom || a.top < 0) {
            found.push_back(a.text);
        }
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            if (texts[j].page == a.page && Overlap(a, texts[j])) {
                found.push_back(a.text + " / " + texts[j].text);
            }
        }
    }
    return found;
}

std::vector<std::string> RecordingCanvas::LinesThroughTexts() const {
    std::vector<std::string> found;
    for (const Op& line : Lines()) {
        for (const Op& text : Texts(line.page)) {
            // A line is as thin as its extent: a horizontal one has top == bottom.
            const bool across = line.left < text.right && text.left < line.right &&
                                text.top < line.top && line.top < text.bottom;
            const bool along = line.top < text.bottom && text.top < line.bottom &&
                               text.left < line.left && line.left < text.right;
            if ((line.top == line.bottom && across) || (line.left == line.right && along)) {
                found.push_back(text.text);
            }
        }
    }
    return found;
}

} // namespace kova::test
