#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kova {

/// Reads the whitespace-separated tokens of a linac text. Every read checks its token; the
/// first failure is kept with its line and the field it was for, and every later read fails.
class TokenReader {
public:
    /// Longest word accepted, bytes.
    static constexpr std::size_t kMaxWordBytes = 255;

    explicit TokenReader(std::string_view text) : m_text(text) {}

    /// A word, as stored.
    bool Word(std::string& value, const char* field);
    /// A word in which each byte 0xE7 stands for a space.
    bool TextWord(std::string& value, const char* field);
    bool Real(double& value, const char* field);
    /// A number that is 0 or more: a depth, a depth dose, a factor. A negative one cannot
    /// come from a measurement, so the file is refused where it is read.
    bool NonNegative(double& value, const char* field);
    bool Integer(int& value, const char* field);
    /// An integer that is 0 or more.
    bool Count(int& value, const char* field);
    /// The integer 0 or 1.
    bool Flag(bool& value, const char* field);
    /// An integer from 0 to 255.
    bool Byte(std::uint8_t& value, const char* field);

    /// Refuses the token just read for `field`, which read well but cannot be what it is
    /// for: the reason gets its line and field as every other reason; always false.
    bool Fail(const std::string& problem, const char* field);

    bool failed() const { return !m_error.empty(); }
    const std::string& error() const { return m_error; }

    /// Names the record being read, for error messages ("reference field 3").
    class Context {
    public:
        Context(TokenReader& reader, std::string name) : m_reader(reader) {
            m_reader.m_context.push_back(std::move(name));
        }
        ~Context() { m_reader.m_context.pop_back(); }
        Context(const Context&) = delete;
        Context& operator=(const Context&) = delete;

    private:
        TokenReader& m_reader;
    };

private:
    bool Next(std::string_view& token, const char* field, const char* expected);
    bool RealToken(std::string_view& token, double& value, const char* field);

    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
    std::vector<std::string> m_context;
    std::string m_error;
};

/// Reads a count and then that many entries of type T, each created with its defaults,
/// appended to `list` and filled by its ReadFrom. Nothing is reserved from the count: a
/// damaged count ends at the first missing token.
template <class T>
bool ReadEntries(TokenReader& in, std::vector<std::unique_ptr<T>>& list, const char* countField,
                 const std::string& entryName) {
    int count = 0;
    if (!in.Count(count, countField)) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        TokenReader::Context context(in, entryName + " " + std::to_string(i + 1));
        list.push_back(std::make_unique<T>());
        if (!list.back()->ReadFrom(in)) {
            return false;
        }
    }
    return true;
}

/// Replaces every byte 0xE7 by a space; a word of the single byte 0xE7 is the empty text.
std::string DecodeTextWord(std::string_view word);
/// The word a writer puts in place of a text: every whitespace byte becomes 0xE7, and an
/// empty text (which no token can hold) a single 0xE7, which reads back empty. A text of one
/// blank reads back empty too.
std::string EncodeTextWord(std::string_view text);

} // namespace kova
