#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace kova {

/// Reads a planning-system text file word by word and line by line, as the exporters' own
/// readers do, but safely: words and lines of any length, a UTF-8 byte-order mark before
/// the first word ignored, a trailing carriage return dropped from every line (so a file
/// saved on Windows reads as on Linux), and every read reporting the end of the text.
class MLCTextReader {
public:
    explicit MLCTextReader(std::string_view text);

    /// Skips white space, line ends included, and returns the word up to the next white
    /// space; none at the end of the text.
    std::optional<std::string_view> Word();

    /// The rest of the current line without its line end, which is consumed; none when the
    /// text has already ended.
    std::optional<std::string_view> RestOfLine();

    /// The line (from 1) on which the last word read stands, or the line that RestOfLine and
    /// SkipLines last returned.
    int Line() const { return m_wordLine; }

    /// True once the whole text has been read. Right after a word this means the word ran
    /// into the end of the text, so it may have been cut short.
    bool AtEnd() const { return m_pos == m_text.size(); }

    /// How a search for a word ended.
    enum class Search { Found, Stopped, End };

    /// Reads words until one equals `word` exactly (Found) or, when given, one equals `stop`
    /// (Stopped), or the text ends (End).
    Search SkipPast(std::string_view word, std::string_view stop = {});

    /// Skips `count` lines (the rest of the current one first); the last one read, or none
    /// when the text ends before.
    std::optional<std::string_view> SkipLines(int count);

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 1;     ///< the line m_pos stands on
    int m_wordLine = 1; ///< the line of the last word or line read
};

/// The value of a PLATO tagged word or line ("<tag>value"): the text after the first ">",
/// or the whole text when there is none.
std::string_view TaggedValue(std::string_view text);

} // namespace kova
