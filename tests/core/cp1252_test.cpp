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

} // namespace
} // namespace kova
