#include "core/linac/token_reader.h"

#include "core/text/number_text.h"

namespace kova {
namespace {

constexpr char kSpaceStandIn = static_cast<char>(0xE7);

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

/// A token quoted for a message, shortened when long.
std::string Quoted(std::string_view token) {
    constexpr std::size_t kShown = 40;
    if (token.size() > kShown) {
        return "'" + std::string(token.substr(0, kShown)) + "...'";
    }
    return "'" + std::string(token) + "'";
}

} // namespace

bool TokenReader::Fail(const std::string& problem, const char* field) {
    if (failed()) {
        return false;
    }
    std::string where = field;
    for (auto it = m_context.rbegin(); it != m_context.rend(); ++it) {
        where += " of " + *it;
    }
    m_error = "line " + std::to_string(m_line) + ": " + problem + " (" + where + ")";
    return false;
}

bool TokenReader::Next(std::string_view& token, const char* field, const char* expected) {
    if (failed()) {
        return false;
    }
    while (m_pos < m_text.size() && IsSpace(m_text[m_pos])) {
        if (m_text[m_pos] == '\n') {
            ++m_line;
        }
        ++m_pos;
    }
    if (m_pos == m_text.size()) {
        return Fail(std::string("the file ends early, ") + expected + " was expected", field);
    }
    const std::size_t start = m_pos;
    while (m_pos < m_text.size() && !IsSpace(m_text[m_pos])) {
        ++m_pos;
    }
    token = m_text.substr(start, m_pos - start);
    if (token.size() > kMaxWordBytes) {
        return Fail("a word of " + std::to_string(token.size()) + " bytes is longer than " +
                        std::to_string(kMaxWordBytes),
                    field);
    }
    return true;
}

bool TokenReader::Word(std::string& value, const char* field) {
    std::string_view token;
    if (!Next(token, field, "a word")) {
        return false;
    }
    value = std::string(token);
    return true;
}

bool TokenReader::TextWord(std::string& value, const char* field) {
    std::string word;
    if (!Word(word, field)) {
        return false;
    }
    value = DecodeTextWord(word);
    return true;
}

bool TokenReader::RealToken(std::string_view& token, double& value, const char* field) {
    if (!Next(token, field, "a number")) {
        return false;
    }
    if (!ParseRealToken(token, value)) {
        return Fail(Quoted(token) + " is not a number", field);
    }
    return true;
}

bool TokenReader::Real(double& value, const char* field) {
    std::string_view token;
    return RealToken(token, value, field);
}

bool TokenReader::NonNegative(double& value, const char* field) {
    std::string_view token;
    if (!RealToken(token, value, field)) {
        return false;
    }
    if (value < 0) {
        return Fail(Quoted(token) + " is negative, which a measured value cannot be", field);
    }
    return true;
}

bool TokenReader::Integer(int& value, const char* field) {
    std::string_view token;
    if (!Next(token, field, "an integer")) {
        return false;
    }
    if (!ParseIntToken(token, value)) {
        return Fail(Quoted(token) + " is not an integer", field);
    }
    return true;
}

bool TokenReader::Count(int& value, const char* field) {
    int count = 0;
    if (!Integer(count, field)) {
        return false;
    }
    if (count < 0) {
        return Fail("the count " + std::to_string(count) + " is negative", field);
    }
    value = count;
    return true;
}

bool TokenReader::Flag(bool& value, const char* field) {
    int flag = 0;
    if (!Integer(flag, field)) {
        return false;
    }
    if (flag != 0 && flag != 1) {
        return Fail("the flag " + std::to_string(flag) + " is neither 0 nor 1", field);
    }
    value = flag == 1;
    return true;
}

bool TokenReader::Byte(std::uint8_t& value, const char* field) {
    int number = 0;
    if (!Integer(number, field)) {
        return false;
    }
    if (number < 0 || number > 255) {
        return Fail("the value " + std::to_string(number) + " is outside 0 to 255", field);
    }
    value = static_cast<std::uint8_t>(number);
    return true;
}

std::string DecodeTextWord(std::string_view word) {
    // A lone stand-in is how a writer puts down an empty text, which no token can hold.
    if (word.size() == 1 && word[0] == kSpaceStandIn) {
        return "";
    }
    std::string text(word);
    for (char& c : text) {
        if (c == kSpaceStandIn) {
            c = ' ';
        }
    }
    return text;
}

std::string EncodeTextWord(std::string_view text) {
    if (text.empty()) {
        return std::string(1, kSpaceStandIn);
    }
    std::string word(text);
    for (char& c : word) {
        if (IsSpace(c)) {
            c = kSpaceStandIn;
        }
    }
    return word;
}

} // namespace kova
