#pragma once

#include "core/report/canvas.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kova::report {

/// Texts longer than this many characters (a name beyond any sane length) are cut to it,
/// with an ellipsis, before they are fitted: measuring more would only slow the printing.
inline constexpr std::size_t kMaxFittedCharacters = 256;

/// Ends every text cut to fit, so that a reader sees that something is missing (a cut
/// "SHIFT = 12" must never read as "SHIFT = 1"): U+2026 in UTF-8.
inline constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

/// The first `count` characters of a UTF-8 text (a character is a code point).
std::string FirstCharacters(std::string_view text, std::size_t count);

/// `text` when it has at most kMaxFittedCharacters characters; else its first ones and an
/// ellipsis, kMaxFittedCharacters in all.
std::string Bounded(std::string_view text);

/// The font height, at most the current one, at which `text` is no wider than `maxWidth`;
/// never below half the current height (then the text must be cut). Leaves the canvas's
/// font as it was.
int FittingFontHeight(Canvas& canvas, std::string_view text, int maxWidth);

/// Draws `text` (Bounded) at (x, y) in the current font when it is at most `maxWidth` wide;
/// otherwise in a smaller font and, when even half the height is too wide, cut to what
/// fits with an ellipsis, so that it never runs past x + maxWidth. Leaves the canvas's font
/// as it was.
void TextOutFitted(Canvas& canvas, int x, int y, std::string_view text, int maxWidth);

/// Draws `text` (Bounded) in a box `maxWidth` wide and one line of the current font high,
/// as large as it fits: in the current font, else on one line down to half the height,
/// else on two lines of half the height, broken after the last blank or punctuation that
/// lets the first line fit, the second line cut with an ellipsis when it is still too
/// wide. Leaves the canvas's font as it was.
void TextOutInBox(Canvas& canvas, int x, int y, std::string_view text, int maxWidth);

/// `text` when it is at most `maxWidth` wide in the current font; else its longest start
/// that fits followed by an ellipsis (empty when not even the ellipsis fits). A binary
/// search on the number of characters: log n measurements of the text.
std::string CutToWidth(const Canvas& canvas, std::string_view text, int maxWidth);

} // namespace kova::report
