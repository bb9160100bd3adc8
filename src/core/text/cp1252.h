#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kova {

/// Texts of linac files are single bytes in Windows-1252; windows, tools and reports work in
/// UTF-8. These conversions are the one place where the two meet.

/// Every byte as its Windows-1252 character in UTF-8. The five bytes that Windows-1252 leaves
/// unused (0x81, 0x8D, 0x8F, 0x90, 0x9D) become U+FFFD.
std::string Cp1252ToUtf8(std::string_view bytes);

/// A UTF-8 text as Windows-1252 bytes; none when the text is not valid UTF-8 or holds a
/// character that Windows-1252 cannot write.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);

/// A UTF-8 text as Windows-1252 bytes, each character Windows-1252 cannot write (or each byte
/// of invalid UTF-8) replaced by `replacement`.
std::string Utf8ToCp1252Lossy(std::string_view utf8, char replacement = '?');

/// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing above
/// U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

/// A text file's bytes as UTF-8: taken as they are when they are valid UTF-8 (a leading
/// byte-order mark dropped), otherwise read as Windows-1252.
std::string TextFileToUtf8(std::string_view bytes);

/// Bytes from outside the program (a path, a message naming one) as UTF-8: valid UTF-8 is
/// kept, and each byte that is not part of it is written "\xHH" (two upper-case hex digits),
/// so the text is always valid UTF-8 and still says which bytes the file system holds.
std::string EscapedUtf8(std::string_view bytes);

/// A UTF-8 text made safe for a terminal: every control character (U+0000 to U+001F and
/// U+007F to U+009F) is written "\xHH", so nothing a file holds can move the cursor, clear
/// the screen or ring the bell. Bytes of invalid UTF-8 are written the same way.
std::string EscapeControls(std::string_view utf8);

/// A text of the program (Windows-1252) as a terminal shows it: its UTF-8, the characters
/// JSON gives for it too, with control characters escaped as EscapeControls does.
std::string TerminalText(std::string_view cp1252);

} // namespace kova
