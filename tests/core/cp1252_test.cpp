#include "core/text/cp1252.h"

#include <gtest/gtest.h>

namespace kova {
namespace {

TEST(Cp1252, RoundTripsEveryWritableByte) {
    const struct {
        std::string cp1252;
        std::string utf8;
    } cases[] = {
        {"Lead 3", "Lead 3"},
        {"\x80", "\xE2\x82\xAC"}, // euro sign, not a C1 control
        {"\x9F", "\xC5\xB8"},     // Y with diaeresis
        {"\xE8", "\xC3\xA8"},     // e grave, as Latin-1
        {"\xE7", "\xC3\xA7"},     // c cedilla: the word separator of linac files
        {"\x93ok\x94", "\xE2\x80\x9Cok\xE2\x80\x9D"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cp1252ToUtf8(c.cp1252), c.utf8) << c.utf8;
        EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
    }
    EXPECT_EQ(Cp1252ToUtf8("\x81"), "\xEF\xBF\xBD") << "unused byte";
}

TEST(Cp1252, RefusesWhatItCannotWrite) {
    for (const char* utf8 :
         {"\xE2\x86\x92", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) {
        EXPECT_FALSE(Utf8ToCp1252(utf8).has_value()) << utf8;
    }
    EXPECT_EQ(Utf8ToCp1252Lossy("a\xE2\x86\x92z"), "a?z");
    EXPECT_EQ(Utf8ToCp1252Lossy("a\xC3z"), "a?z");
}

TEST(Cp1252, TextFilesAreUtf8WhenValidElseWindows1252) {
    EXPECT_EQ(TextFileToUtf8("\xEF\xBB\xBFOspedale \xC3\xA8"), "Ospedale \xC3\xA8");
    EXPECT_EQ(TextFileToUtf8("Ospedale \xE8"), "Ospedale \xC3\xA8");
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("\xE8"));
}

// What reaches a terminal: control characters and bytes that are no UTF-8 as "\xHH", every
// other character as it is; the result is always valid UTF-8.
TEST(Cp1252, TextsForATerminal) {
    struct Case {
        const char* in;
        const char* terminal; ///< EscapeControls, or TerminalText for Windows-1252
        bool cp1252;
    };
    const Case cases[] = {
        {"a\x1B[2J\x07title", "a\\x1B[2J\\x07title", false}, // clear screen, bell
        {"tab\tend\x7F", "tab\\x09end\\x7F", false},
        {"\xC2\x9B"
         "1m",
         "\\x9B1m", false}, // U+009B, the one-character CSI
        {"caf\xC3\xA9 \xFF", "caf\xC3\xA9 \\xFF", false},
        {"SSD\\RealSSD", "SSD\\RealSSD", false},
        {"caf\xE9 \x1B", "caf\xC3\xA9 \\x1B", true}, // e acute of Windows-1252
        {"\x80\x81", "\xE2\x82\xAC\xEF\xBF\xBD", true},
    };
    for (const Case& c : cases) {
        const std::string shown = c.cp1252 ? TerminalText(c.in) : EscapeControls(c.in);
        EXPECT_EQ(shown, c.terminal) << c.terminal;
        EXPECT_TRUE(IsValidUtf8(shown)) << c.terminal;
    }
    // A path keeps its control characters for JSON (which escapes them itself), not its
    // invalid bytes.
    EXPECT_EQ(EscapedUtf8("bad\xFF\t\xC3\xA9.ini"), "bad\\xFF\t\xC3\xA9.ini");
}

} // namespace
} // namespace kova
