#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace kova::mu {

/// A small streaming JSON writer: objects, arrays, strings, numbers at full precision.
/// Text bytes are taken as Windows-1252 (the linac files' code page) and written as UTF-8.
class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : m_out(out) {}

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    /// The key of the next value inside an object.
    void Key(std::string_view key);
    void String(std::string_view text);
    /// A double with 17 significant digits, so it reads back to the same value; null when
    /// not finite.
    void Number(double value);
    void Integer(long value);
    void Bool(bool value);
    void Null();

private:
    void BeforeValue();
    void Newline();

    std::ostream& m_out;
    int m_depth = 0;
    bool m_first = true;
    bool m_afterKey = false;
};

} // namespace kova::mu
