#include "core/text/date_text.h"

#include <gtest/gtest.h>
#include <string>

namespace kova {
namespace {

TEST(DateText, ParsesExistingDays) {
    struct Case {
        const char* text;
        Date expected;
    };
    const Case cases[] = {
        {"07/12/2026", {2026, 12, 7}},
        {"1/2/2026", {2026, 2, 1}},    // one digit for day and month is enough
        {"29/02/2024", {2024, 2, 29}}, // 2024 is a leap year
        {"29/02/2000", {2000, 2, 29}}, // divisible by 400: leap
        {"31/12/9999", {9999, 12, 31}},
        {"01/01/0001", {1, 1, 1}},
    };
    for (const Case& c : cases) {
        const Result<Date> parsed = ParseShortDate(c.text);
        ASSERT_TRUE(parsed.ok()) << c.text << ": " << parsed.reason();
        EXPECT_EQ(*parsed, c.expected) << c.text;
    }
}

TEST(DateText, RejectsTextsThatAreNotADay) {
    const char* const rejected[] = {
        "31/02/2026", // February has no 31st
        "29/02/2025", // not a leap year
        "29/02/1900", // divisible by 100 but not 400: not leap
        "31/04/2026", // April has 30 days
        "00/01/2026",  "01/00/2026",  "01/13/2026",  "32/01/2026", "01/01/0000",
        "2026-12-07", // ISO order is not the short date form
        "07/12/2026 ", "07/12/2026x", " 07/12/2026", "07/12/26",   "07/12/20265",
        "007/12/2026", "07-12-2026",  "07/12",       "",           "//",
        "  /  /    ", // an empty masked date box
    };
    for (const char* text : rejected) {
        const Result<Date> parsed = ParseShortDate(text);
        ASSERT_FALSE(parsed.ok()) << "'" << text << "' was accepted";
        EXPECT_EQ(parsed.reason(), "'" + std::string(text) + "' is not a valid date");
    }
}

TEST(DateText, ShortAndLongForms) {
    // Known weekdays: 01/01/1970 was a Thursday, 01/01/2000 a Saturday, 01/01/1900 a
    // Monday. 01/01/2026 is a Thursday (2025 started on a Wednesday and has 365 days);
    // 07/12/2026 is 340 days later, 340 = 48 * 7 + 4, so Thursday + 4 = Monday; 01/03/2026
    // is 31 + 28 = 59 = 8 * 7 + 3 days later, a Sunday.
    struct Case {
        Date date;
        const char* shortForm;
        const char* longForm;
    };
    const Case cases[] = {
        {{1970, 1, 1}, "01/01/1970", "Thursday 01.01.1970"},
        {{1969, 12, 31}, "31/12/1969", "Wednesday 31.12.1969"}, // before the epoch
        {{2000, 1, 1}, "01/01/2000", "Saturday 01.01.2000"},
        {{1900, 1, 1}, "01/01/1900", "Monday 01.01.1900"},
        {{2024, 2, 29}, "29/02/2024", "Thursday 29.02.2024"},
        {{2026, 12, 7}, "07/12/2026", "Monday 07.12.2026"},
        {{2026, 3, 1}, "01/03/2026", "Sunday 01.03.2026"},
        {{2001, 9, 11}, "11/09/2001", "Tuesday 11.09.2001"},
        {{2026, 1, 2}, "02/01/2026", "Friday 02.01.2026"},
        // 01/01/0001 was a Monday (proleptic calendar); four years later come 3 * 365 + 366 =
        // 1461 = 208 * 7 + 5 days: a Saturday. The year is zero padded to four digits.
        {{5, 1, 1}, "01/01/0005", "Saturday 01.01.0005"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatShortDate(c.date), c.shortForm);
        EXPECT_EQ(FormatLongDate(c.date), c.longForm);
        const Result<Date> back = ParseShortDate(c.shortForm);
        ASSERT_TRUE(back.ok()) << c.shortForm;
        EXPECT_EQ(*back, c.date) << c.shortForm;
    }
}

TEST(DateText, DaysBetweenCountsLeapDays) {
    struct Case {
        Date from;
        Date to;
        long days;
    };
    const Case cases[] = {
        {{2024, 1, 1}, {2025, 1, 1}, 366}, // 2024 is leap
        {{2025, 1, 1}, {2026, 1, 1}, 365},
        {{2024, 2, 28}, {2024, 3, 1}, 2},    // over 29/02/2024
        {{2100, 2, 28}, {2100, 3, 1}, 1},    // 2100 is not leap
        {{2000, 2, 28}, {2000, 3, 1}, 2},    // 2000 is leap
        {{1970, 1, 1}, {2000, 1, 1}, 10957}, // 30 * 365 + 7 leap days (1972 ... 1996)
        {{1900, 1, 1}, {2000, 1, 1}, 36524}, // 100 * 365 + 24 (1900 not leap)
        {{2000, 1, 1}, {2100, 1, 1}, 36525}, // 100 * 365 + 25 (2000 leap)
        {{2026, 12, 7}, {2026, 12, 7}, 0},
        {{2026, 1, 1}, {2025, 12, 31}, -1}, // backwards is negative
        {{2025, 1, 1}, {2024, 1, 1}, -366},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DaysBetween(c.from, c.to), c.days)
            << FormatShortDate(c.from) << " -> " << FormatShortDate(c.to);
    }
    EXPECT_EQ(DaysSinceEpoch({1970, 1, 1}), 0);
    EXPECT_EQ(DaysSinceEpoch({1969, 12, 31}), -1);
}

TEST(DateText, ValidDays) {
    EXPECT_TRUE(IsValidDate(2024, 2, 29));
    EXPECT_FALSE(IsValidDate(2023, 2, 29));
    EXPECT_FALSE(IsValidDate(0, 1, 1));
    EXPECT_FALSE(IsValidDate(10000, 1, 1));
    EXPECT_FALSE(IsValidDate(2026, 6, 31));
    EXPECT_TRUE(IsValidDate(2026, 7, 31));
}

} // namespace
} // namespace kova
