#pragma once

#include "core/report/canvas.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kova::report {

/// The first `count` characters of a UTF-8 text (a character is a code point).
std::string FirstCharacters(std::string_view text, std::size_t count);

/// The font height, at most the current one, at which `text` is no wider than `maxWidth`;
/// never below half the current height (then the text must be cut). Leaves the canvas's
/// font as it was.
int FittingFontHeight(Canvas& canvas, std::string_view text, int maxWidth);

/// Draws `text` at (x, y) in the current font when it is at most `maxWidth` wide; otherwise
/// in a smaller font and, when even half the height is too wide, cut to what fits, so that
/// it never runs past x + maxWidth. Leaves the canvas's font as it was.
void TextOutFitted(Canvas& canvas, int x, int y, std::string_view text, int maxWidth);

/// `text` without as many trailing characters as needed to be at most `maxWidth` wide in
/// the current font.
std::string CutToWidth(const Canvas& canvas, std::string_view text, int maxWidth);

} // namespace kova::report
