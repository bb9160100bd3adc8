#include "core/text/cp1252.h"

#include <cstdint>

namespace kova {
namespace {

/// Unicode code points of Windows-1252 bytes 0x80 to 0x9F (0 where the byte is unused).
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

/// Appends "\xHH" for a byte or a control character's code (below 0x100).
void AppendHexEscape(std::string& out, unsigned code) {
    constexpr char kHex[] = "0123456789ABCDEF";
    out += "\\x";
    out += kHex[(code >> 4) & 0xF];
    out += kHex[code & 0xF];
}

/// Decodes one character at `pos` and moves past it; none for a malformed sequence (then
/// `pos` moves one byte).
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) {
        return lead;
    }
    int length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 1, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 2, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 3, code = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - pos < static_cast<std::size_t>(length)) {
        return std::nullopt;
    }
    for (int i = 0; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return std::nullopt;
    }
    pos += static_cast<std::size_t>(length);
    return code;
}

/// The Windows-1252 byte of a character; none when it has none.
std::optional<char> ByteOf(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        return static_cast<char>(code);
    }
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] != 0 && kHigh[i] == code) {
            return static_cast<char>(0x80 + i);
        }
    }
    return std::nullopt;
}

/// `bytes` as UTF-8: each byte that is not part of valid UTF-8, and with `controls` each
/// control character (U+0000 to U+001F, U+007F to U+009F), written "\xHH".
std::string Escaped(std::string_view bytes, bool controls) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t start = pos;
        const std::optional<char32_t> code = NextCodePoint(bytes, pos);
        if (!code) {
            pos = start + 1;
            AppendHexEscape(out, static_cast<unsigned char>(bytes[start]));
        } else if (controls && (*code < 0x20 || (*code >= 0x7F && *code <= 0x9F))) {
            AppendHexEscape(out, static_cast<unsigned>(*code));
        } else {
            out.append(bytes.substr(start, pos - start));
        }
    }
    return out;
}

} // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte < 0xA0) {
            const char16_t code = kHigh[byte - 0x80];
            AppendUtf8(out, code != 0 ? code : kReplacement);
        } else {
            AppendUtf8(out, byte);
        }
    }
    return out;
}

std::optional<std::string> Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::optional<char32_t> code = NextCodePoint(utf8, pos);
        const std::optional<char> byte = code ? ByteOf(*code) : std::nullopt;
        if (!byte) {
            return std::nullopt;
        }
        out += *byte;
    }
    return out;
}

std::string Utf8ToCp1252Lossy(std::string_view utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::optional<char32_t> code = NextCodePoint(utf8, pos);
        const std::optional<char> byte = code ? ByteOf(*code) : std::nullopt;
        out += byte ? *byte : replacement;
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t pos = 0; pos < bytes.size();) {
        if (!NextCodePoint(bytes, pos)) {
            return false;
        }
    }
    return true;
}

std::string EscapedUtf8(std::string_view bytes) {
    return Escaped(bytes, false);
}

std::string EscapeControls(std::string_view utf8) {
    return Escaped(utf8, true);
}

std::string TerminalText(std::string_view cp1252) {
    return EscapeControls(Cp1252ToUtf8(cp1252));
}

std::string TextFileToUtf8(std::string_view bytes) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (bytes.substr(0, kBom.size()) == kBom) {
        bytes.remove_prefix(kBom.size());
    }
    return IsValidUtf8(bytes) ? std::string(bytes) : Cp1252ToUtf8(bytes);
}

} // namespace kova
