#include "core/text/number_text.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace kova {
namespace {

struct GeneralCase {
    double value;
    const char* expected;
    const char* why;
};

TEST(NumberText, GeneralForm) {
    const GeneralCase cases[] = {
        {10, "10", "no trailing zeros, no point"},
        {10.5, "10.5", ""},
        {100, "100", "integer zeros are not trailing fraction zeros"},
        {0.67, "0.67", ""},
        // 0.1 + 0.2 is 0.30000000000000004440...; to 15 digits 0.300000000000000 -> 0.3.
        {0.1 + 0.2, "0.3", "15 significant digits hide the binary error"},
        {1.0 / 3.0, "0.333333333333333", "15 digits, truncated tail below half"},
        {2.0 / 3.0, "0.666666666666667", "15 digits, 15th digit rounded up"},
        // 99999.99999999999 (16 digits) rounds at the 15th digit to 100000.000000000.
        {99999.99999999999, "100000", "carry through every digit"},
        {1e-5, "0.00001", "smallest magnitude in fixed notation"},
        {1.5e-5, "0.000015", ""},
        {1e-6, "1E-6", "below 0.00001: scientific"},
        {1.25e-7, "1.25E-7", ""},
        {999999999999999, "999999999999999", "15 integer digits: still fixed"},
        {1e15, "1E15", "16 integer digits: scientific"},
        // 123456789012345678 -> 1.23456789012345|678E17, rounded up at the 15th digit.
        {123456789012345678.0, "1.23456789012346E17", ""},
        {1.5e20, "1.5E20", ""},
        {1e100, "1E100", ""},
        {-10.5, "-10.5", "negative"},
        {-1e-6, "-1E-6", "negative scientific"},
        {0.0, "0", "zero"},
        {-0.0, "0", "negative zero shows no sign"},
    };
    for (const GeneralCase& c : cases) {
        EXPECT_EQ(FormatGeneral(c.value), c.expected) << c.why;
    }
}

struct PatternCase {
    const char* pattern;
    double value;
    const char* expected;
};

// The value is rounded half away from zero at the pattern's last digit, on its 15-digit
// decimal form: the number as typed, not the binary fraction stored for it.
TEST(NumberText, DecimalPatterns) {
    const PatternCase cases[] = {
        // "0.0": one decimal always shown.
        {"0.0", 12, "12.0"},
        {"0.0", 1.25, "1.3"},   // 1.25 is exact in binary: a true half, away from zero
        {"0.0", -1.25, "-1.3"}, // halves go away from zero on the negative side too
        {"0.0", 0.05, "0.1"},   // the point moves left of the first digit and back
        {"0.0", 9.95, "10.0"},  // stored 9.9499999999999993; typed 9.95 -> carry to 10.0
        {"0.0", 0, "0.0"},
        {"0.0", -0.04, "0.0"}, // rounds to zero: no zero section, never "-0.0"
        // 1e15 + 0.25 is stored exactly (1000000000000000.25), but its 15-digit form is
        // 1.00000000000000E15: the quarter lies beyond the 15th digit and is not shown.
        {"0.0", 1e15 + 0.25, "1000000000000000.0"},
        // "0.00": the classic binary traps. Each stored double is just below the half,
        // yet its 15-digit form is the typed value, which is an exact half.
        {"0.00", 0.285, "0.29"}, // stored 0.28499999999999998
        {"0.00", 1.005, "1.01"}, // stored 1.00499999999999989
        {"0.00", 2.675, "2.68"}, // stored 2.67499999999999982
        {"0.00", -2.675, "-2.68"},
        {"0.00", 0.995, "1.00"},               // stored 0.99499999999999999; carry to 1.00
        {"0.00", 1e15, "1000000000000000.00"}, // 1e15 is exact: all integer digits shown
        {"0.00", 1e-5, "0.00"},                // 0.00001 has nothing at the second decimal
        // "0.000": the calibration factor's pattern.
        {"0.000", 0.67, "0.670"},
        {"0.000", 1.0005, "1.001"}, // stored 1.000499999999999945; typed half goes up
        {"0.000", 0.0005, "0.001"},
        {"0.000", 1e-5, "0.000"},
        {"0.000", -0.0004, "0.000"},
        // "#0.##;;0": up to two decimals, at least one integer digit, zero section "0".
        {"#0.##;;0", 1.5, "1.5"},
        {"#0.##;;0", 2, "2"},
        {"#0.##;;0", 0.5, "0.5"},
        {"#0.##;;0", 1.005, "1.01"},
        {"#0.##;;0", -1.255, "-1.26"}, // stored -1.25499999999999989; typed half
        {"#0.##;;0", 0, "0"},
        {"#0.##;;0", 0.001, "0"}, // rounds to zero: the zero section
        {"#0.##;;0", -0.001, "0"},
        {"#0.##;;0", 1e-5, "0"},
        // "#0.0;;0"
        {"#0.0;;0", 12.34, "12.3"},
        {"#0.0;;0", 0.05, "0.1"},
        {"#0.0;;0", -3, "-3.0"},
        {"#0.0;;0", 0.04, "0"},
        {"#0.0;;0", -0.04, "0"},
        {"#0.0;;0", 0, "0"},
        // "0.0;;0"
        {"0.0;;0", 0.25, "0.3"},
        {"0.0;;0", -0.25, "-0.3"},
        {"0.0;;0", 0.049, "0"},
        {"0.0;;0", 0, "0"},
        // "##.#;;0": no integer digit is forced, so 0.5 loses its leading zero.
        {"##.#;;0", 0.5, ".5"},
        {"##.#;;0", -0.45, "-.5"}, // typed 0.45 is a half; empty negative section adds "-"
        {"##.#;;0", 1, "1"},       // no fraction digit is forced: no point either
        {"##.#;;0", 12.25, "12.3"},
        {"##.#;;0", 123.45, "123.5"}, // more integer digits than "#" places are all shown
        {"##.#;;0", 0.04, "0"},
        {"##.#;;0", 0, "0"},
        // "#.#;;0"
        {"#.#;;0", 0.25, ".3"},
        {"#.#;;0", 2, "2"},
        {"#.#;;0", 0.04, "0"},
        {"#.#;;0", 0, "0"},
        // "###.##": no zero section, and "#" shows only significant digits, so zero
        // (and anything that rounds to it) prints as nothing at all, never "-".
        {"###.##", 12.345, "12.35"}, // stored 12.3449999999999998; typed half
        {"###.##", 0.5, ".5"},
        {"###.##", -1.5, "-1.5"},
        {"###.##", 1e15, "1000000000000000"},
        {"###.##", 0, ""},
        {"###.##", -0.001, ""},
        {"###.##", 1e-5, ""},
    };
    for (const PatternCase& c : cases) {
        EXPECT_EQ(FormatFloat(c.pattern, c.value), c.expected)
            << "pattern " << c.pattern << ", value " << c.value;
    }
}

TEST(NumberText, NegativeZeroUsesTheZeroSection) {
    EXPECT_EQ(FormatFloat("0.0;;0", -0.0), "0");
    EXPECT_EQ(FormatFloat("0.000", -0.0), "0.000");
}

struct ParseCase {
    const char* text;
    double expected;
};

TEST(NumberText, StrToFloatAcceptsClassicNotation) {
    const ParseCase cases[] = {
        {"1.5", 1.5},       {"-2", -2},      {"+3", 3},
        {".5", 0.5},        {"007", 7},      {"1e3", 1000},
        {"1.5E-3", 0.0015}, {"2.5e+2", 250}, {" 7 ", 7},
        {"\t-0.25", -0.25}, {"100", 100},    {"1.7976931348623157e308", 1.7976931348623157e308},
    };
    for (const ParseCase& c : cases) {
        const Result<double> parsed = StrToFloat(c.text);
        ASSERT_TRUE(parsed.ok()) << "'" << c.text << "': " << parsed.reason();
        EXPECT_EQ(*parsed, c.expected) << "'" << c.text << "'";
    }
}

TEST(NumberText, StrToFloatRejectsWithTheExactMessage) {
    const char* const rejected[] = {"",      "abc", "1e", "nan",   "inf",  "0x10",
                                    "1e999", ".",   "-",  "1.2.3", "1 2",  "e5",
                                    "+-1",   "1e+", "  ", "-inf",  "1.5x", "1,2,3"};
    for (const char* text : rejected) {
        const Result<double> parsed = StrToFloat(text);
        ASSERT_FALSE(parsed.ok()) << "'" << text << "' was accepted";
        EXPECT_EQ(parsed.reason(),
                  "'" + std::string(text) + "' is not a valid floating point value");
    }
    // A number written with a decimal comma says how it is read.
    const std::pair<const char*, const char*> commas[] = {
        {"1,5", "1.5"}, {" 10,5 ", "10.5"}, {"-2,5e1", "-2.5e1"}};
    for (const auto& [text, pointed] : commas) {
        EXPECT_EQ(StrToFloat(text).reason(), "'" + std::string(text) +
                                                 "' is not a valid floating point value (use a "
                                                 "decimal point: " +
                                                 pointed + ")");
    }
}

TEST(NumberText, RealTokensAllowNoBlanks) {
    double value = -1;
    EXPECT_TRUE(ParseRealToken("-1.5e1", value));
    EXPECT_EQ(value, -15);
    // A failed parse leaves the target alone.
    for (const char* token : {" 1", "1 ", "", "1,5", "nan", "1e400"}) {
        EXPECT_FALSE(ParseRealToken(token, value)) << "'" << token << "'";
        EXPECT_EQ(value, -15);
    }
}

TEST(NumberText, IntegerTokens) {
    struct Case {
        const char* token;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {"12", true, 12},
        {"-3", true, -3},
        {"+4", true, 4},
        {"0", true, 0},
        {"2147483647", true, std::numeric_limits<int>::max()},
        {"2147483648", false, 0},
        {"1.0", false, 0},
        {"", false, 0},
        {"+-1", false, 0},
        {"1e3", false, 0},
        {"0x1", false, 0},
        {" 1", false, 0},
        {"+", false, 0},
        {"-", false, 0},
    };
    for (const Case& c : cases) {
        int value = 99;
        EXPECT_EQ(ParseIntToken(c.token, value), c.ok) << "'" << c.token << "'";
        EXPECT_EQ(value, c.ok ? c.value : 99) << "'" << c.token << "'";
    }
}

} // namespace
} // namespace kova
