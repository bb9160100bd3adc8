#include "core/report/fitted_text.h"

#include <algorithm>

namespace kova::report {
namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string FirstCharacters(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t characters = 0; end < text.size() && characters < count; ++characters) {
        ++end;
        while (end < text.size() && IsContinuationByte(text[end])) {
            ++end;
        }
    }
    return std::string(text.substr(0, end));
}

int FittingFontHeight(Canvas& canvas, std::string_view text, int maxWidth) {
    const Font original = canvas.RequestedFont();
    int width = canvas.TextWidth(text);
    if (width <= maxWidth || width <= 0) {
        return original.height;
    }
    const int lowest = std::max(1, original.height / 2);
    // Widths grow about in proportion to the height: start from the proportional guess and
    // step down until the device's own metrics agree.
    int height = std::max(lowest, static_cast<int>(static_cast<long long>(original.height) *
                                                   std::max(maxWidth, 0) / width));
    for (;;) {
        canvas.SetFontHeight(height);
        width = canvas.TextWidth(text);
        if (width <= maxWidth || height <= lowest) {
            break;
        }
        height = std::max(lowest, height - std::max(1, height / 32));
    }
    canvas.SetFont(original);
    return height;
}

std::string CutToWidth(const Canvas& canvas, std::string_view text, int maxWidth) {
    std::string cut(text);
    while (!cut.empty() && canvas.TextWidth(cut) > maxWidth) {
        // Drop the last character whole: its continuation bytes, then its first byte.
        while (!cut.empty() && IsContinuationByte(cut.back())) {
            cut.pop_back();
        }
        if (!cut.empty()) {
            cut.pop_back();
        }
    }
    return cut;
}

void TextOutFitted(Canvas& canvas, int x, int y, std::string_view text, int maxWidth) {
    if (text.empty()) {
        return;
    }
    if (canvas.TextWidth(text) <= maxWidth) {
        canvas.TextOut(x, y, text);
        return;
    }
    const Font original = canvas.RequestedFont();
    canvas.SetFontHeight(FittingFontHeight(canvas, text, maxWidth));
    const std::string fitted = CutToWidth(canvas, text, maxWidth);
    if (!fitted.empty()) {
        canvas.TextOut(x, y, fitted);
    }
    canvas.SetFont(original);
}

} // namespace kova::report
