#include "core/report/page.h"

#include "core/text/cp1252.h"

#include <fstream>

namespace kova::report {
namespace {

/// Banner lines beyond the first few never fit on a page; this bounds what is read.
constexpr std::size_t kBannerBytes = 64 * 1024;

std::vector<std::string> ReadBannerFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes(kBannerBytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in && in.peek() != std::ifstream::traits_type::eof()) {
        // Keep whole lines only, so that a character is never cut in two.
        const std::size_t lastBreak = bytes.rfind('\n');
        bytes.resize(lastBreak == std::string::npos ? 0 : lastBreak + 1);
    }
    return BannerLines(bytes);
}

} // namespace

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

void ReadBanners(const std::filesystem::path& folder, PageTexts& texts) {
    texts.reportBanner = ReadBannerFile(folder / "MyBanner1.txt");
    texts.sheetBanner = ReadBannerFile(folder / "MyBanner2.txt");
}

int PageSequence::Begin() {
    if (m_pages > 0) {
        m_canvas.NewPage();
    }
    return ++m_pages;
}

} // namespace kova::report
