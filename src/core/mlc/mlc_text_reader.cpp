#include "core/mlc/mlc_text_reader.h"

namespace kova {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

MLCTextReader::MLCTextReader(std::string_view text) : m_text(text) {
    if (m_text.starts_with(kByteOrderMark)) {
        m_text.remove_prefix(kByteOrderMark.size());
    }
}

std::optional<std::string_view> MLCTextReader::Word() {
    while (m_pos < m_text.size() && IsSpace(m_text[m_pos])) {
        m_line += m_text[m_pos] == '\n' ? 1 : 0;
        ++m_pos;
    }
    if (m_pos == m_text.size()) {
        return std::nullopt;
    }
    m_wordLine = m_line;
    const std::size_t start = m_pos;
    while (m_pos < m_text.size() && !IsSpace(m_text[m_pos])) {
        ++m_pos;
    }
    return m_text.substr(start, m_pos - start);
}

std::optional<std::string_view> MLCTextReader::RestOfLine() {
    if (m_pos == m_text.size()) {
        return std::nullopt;
    }
    const std::size_t start = m_pos;
    const std::size_t end = m_text.find('\n', start);
    m_pos = end == std::string_view::npos ? m_text.size() : end + 1;
    m_wordLine = m_line;
    m_line += end == std::string_view::npos ? 0 : 1;
    std::string_view line =
        m_text.substr(start, (end == std::string_view::npos ? m_pos : end) - start);
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line;
}

MLCTextReader::Search MLCTextReader::SkipPast(std::string_view word, std::string_view stop) {
    for (auto next = Word(); next; next = Word()) {
        if (*next == word) {
            return Search::Found;
        }
        if (!stop.empty() && *next == stop) {
            return Search::Stopped;
        }
    }
    return Search::End;
}

std::optional<std::string_view> MLCTextReader::SkipLines(int count) {
    std::optional<std::string_view> line;
    for (int i = 0; i < count; ++i) {
        line = RestOfLine();
        if (!line) {
            return std::nullopt;
        }
    }
    return line;
}

std::string_view TaggedValue(std::string_view text) {
    const std::size_t mark = text.find('>');
    return mark == std::string_view::npos ? text : text.substr(mark + 1);
}

} // namespace kova
