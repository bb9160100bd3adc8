#include "core/report/page.h"

#include "core/text/cp1252.h"

namespace kova::report {

Margins PageMargins(int pageWidth, int pageHeight) {
    Margins margins;
    margins.left = pageWidth / 27;
    margins.right = pageWidth - margins.left;
    margins.top = pageHeight / 26;
    margins.bottom = pageHeight;
    return margins;
}

std::vector<std::string> BannerLines(std::string_view fileBytes) {
    std::vector<std::string> lines;
    if (fileBytes.empty()) {
        return lines;
    }
    const std::string text = TextFileToUtf8(fileBytes);
    std::string line;
    for (const char c : text) {
        if (c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    lines.push_back(std::move(line));
    return lines;
}

int PageSequence::Begin() {
    if (m_pages > 0) {
        m_canvas.NewPage();
    }
    return ++m_pages;
}

} // namespace kova::report
