#include "kova_mu/json_writer.h"

#include <cmath>
#include <cstdio>

namespace kova::mu {
namespace {

/// Unicode code points of Windows-1252 bytes 0x80 to 0x9F (0 where the byte is unused).
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string Escaped(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", byte);
            out += buffer;
        } else if (byte >= 0x80 && byte < 0xA0) {
            const unsigned code = kCp1252High[byte - 0x80];
            AppendUtf8(out, code != 0 ? code : 0xFFFD);
        } else {
            AppendUtf8(out, byte);
        }
    }
    return out + "\"";
}

} // namespace

void JsonWriter::Newline() {
    m_out << '\n' << std::string(static_cast<std::size_t>(2 * m_depth), ' ');
}

void JsonWriter::BeforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_first) {
        m_out << ',';
    }
    if (m_depth > 0) {
        Newline();
    }
    m_first = false;
}

void JsonWriter::BeginObject() {
    BeforeValue();
    m_out << '{';
    ++m_depth;
    m_first = true;
}

void JsonWriter::EndObject() {
    --m_depth;
    if (!m_first) {
        Newline();
    }
    m_out << '}';
    m_first = false;
    if (m_depth == 0) {
        m_out << '\n';
    }
}

void JsonWriter::BeginArray() {
    BeforeValue();
    m_out << '[';
    ++m_depth;
    m_first = true;
}

void JsonWriter::EndArray() {
    --m_depth;
    if (!m_first) {
        Newline();
    }
    m_out << ']';
    m_first = false;
}

void JsonWriter::Key(std::string_view key) {
    BeforeValue();
    m_out << Escaped(key) << ": ";
    m_afterKey = true;
}

void JsonWriter::String(std::string_view text) {
    BeforeValue();
    m_out << Escaped(text);
}

void JsonWriter::Number(double value) {
    if (!std::isfinite(value)) {
        Null();
        return;
    }
    BeforeValue();
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    m_out << buffer;
}

void JsonWriter::Integer(long value) {
    BeforeValue();
    m_out << value;
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    m_out << (value ? "true" : "false");
}

void JsonWriter::Null() {
    BeforeValue();
    m_out << "null";
}

} // namespace kova::mu
