#include "core/report/fitted_text.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace kova::report {
namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

/// Where each character of a UTF-8 text starts, and its size last: the first k characters
/// are the first starts[k] bytes.
std::vector<std::size_t> CharacterStarts(std::string_view text) {
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (!IsContinuationByte(text[i])) {
            starts.push_back(i);
        }
    }
    if (!text.empty()) {
        starts.push_back(text.size());
    }
    return starts;
}

/// The largest k in [0, most] for which `fits(k)` holds, for a `fits` that holds up to some
/// k and not beyond (widths grow with the characters): a binary search, so log n calls.
/// 0 also when not even fits(0) holds.
template <class Fits>
std::size_t LongestFitting(std::size_t most, const Fits& fits) {
    std::size_t low = 0;
    std::size_t high = most;
    while (low < high) {
        const std::size_t middle = low + (high - low + 1) / 2;
        if (fits(middle)) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low;
}

/// A line may break after these without splitting a word or a number.
bool IsBreakAfter(char c) {
    return c == ' ' || c == ':' || c == '/' || c == '\\' || c == '_' || c == '-' || c == ',' ||
           c == ';';
}

/// The first line of `text` within `maxWidth`: its longest start that fits, ending after
/// the last blank or punctuation of that start's second half when it has one; and the rest.
/// Blanks at the break are dropped.
std::pair<std::string, std::string> BreakLine(const Canvas& canvas, std::string_view text,
                                              int maxWidth) {
    const std::vector<std::size_t> starts = CharacterStarts(text);
    const std::size_t fitting = LongestFitting(starts.size() - 1, [&](std::size_t k) {
        return canvas.TextWidth(text.substr(0, starts[k])) <= maxWidth;
    });
    std::size_t cut = starts[fitting];
    for (std::size_t b = cut; b > starts[fitting / 2] && b < text.size(); --b) {
        if (IsBreakAfter(text[b - 1])) {
            cut = b;
            break;
        }
    }
    std::string_view first = text.substr(0, cut);
    std::string_view rest = text.substr(cut);
    while (!first.empty() && first.back() == ' ') {
        first.remove_suffix(1);
    }
    while (!rest.empty() && rest.front() == ' ') {
        rest.remove_prefix(1);
    }
    return {std::string(first), std::string(rest)};
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

std::string Bounded(std::string_view text) {
    std::string bounded = FirstCharacters(text, kMaxFittedCharacters);
    if (bounded.size() == text.size()) {
        return bounded;
    }
    return FirstCharacters(text, kMaxFittedCharacters - 1) + std::string(kEllipsis);
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
    if (text.empty() || canvas.TextWidth(text) <= maxWidth) {
        return std::string(text);
    }
    const std::vector<std::size_t> starts = CharacterStarts(text);
    const auto cut = [&](std::size_t k) {
        return std::string(text.substr(0, starts[k])) + std::string(kEllipsis);
    };
    const auto fits = [&](std::size_t k) { return canvas.TextWidth(cut(k)) <= maxWidth; };
    if (!fits(0)) {
        return {};
    }
    // The whole text does not fit, so at least its last character goes.
    return cut(LongestFitting(starts.size() - 2, fits));
}

void TextOutFitted(Canvas& canvas, int x, int y, std::string_view text, int maxWidth) {
    const std::string bounded = Bounded(text);
    if (bounded.empty()) {
        return;
    }
    if (canvas.TextWidth(bounded) <= maxWidth) {
        canvas.TextOut(x, y, bounded);
        return;
    }
    const Font original = canvas.RequestedFont();
    canvas.SetFontHeight(FittingFontHeight(canvas, bounded, maxWidth));
    const std::string fitted = CutToWidth(canvas, bounded, maxWidth);
    if (!fitted.empty()) {
        canvas.TextOut(x, y, fitted);
    }
    canvas.SetFont(original);
}

void TextOutInBox(Canvas& canvas, int x, int y, std::string_view text, int maxWidth) {
    const std::string bounded = Bounded(text);
    const Font original = canvas.RequestedFont();
    const int height = FittingFontHeight(canvas, bounded, maxWidth);
    canvas.SetFontHeight(height);
    if (bounded.empty() || canvas.TextWidth(bounded) <= maxWidth) {
        if (!bounded.empty()) {
            canvas.TextOut(x, y, bounded);
        }
        canvas.SetFont(original);
        return;
    }
    // Even half the height is too wide for one line: two lines of half the height fill the
    // line's cell.
    canvas.SetFontHeight(std::max(1, original.height / 2));
    const auto [first, rest] = BreakLine(canvas, bounded, maxWidth);
    const std::string second = CutToWidth(canvas, rest, maxWidth);
    if (!first.empty()) {
        canvas.TextOut(x, y, first);
    }
    if (!second.empty()) {
        canvas.TextOut(x, y + canvas.FontHeight(), second);
    }
    canvas.SetFont(original);
}

} // namespace kova::report
