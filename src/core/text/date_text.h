#pragma once

#include "core/common/result.h"

#include <string>
#include <string_view>

namespace kova {

/// A calendar day (proleptic Gregorian), without time of day.
struct Date {
    int year = 1;
    int month = 1; ///< 1 to 12
    int day = 1;   ///< 1 to the length of the month

    friend bool operator==(const Date&, const Date&) = default;
};

/// True for an existing day of the Gregorian calendar in the years 1 to 9999.
bool IsValidDate(int year, int month, int day);

/// Reads the short date form "dd/mm/yyyy" (one or two digits for day and month, four for the
/// year). A text that is not an existing day (31/02/2026 included) fails with
/// "'TEXT' is not a valid date".
Result<Date> ParseShortDate(std::string_view text);

/// "dd/mm/yyyy", for example "07/12/2026".
std::string FormatShortDate(const Date& date);

/// "dddd dd.mm.yyyy" with the English day name, for example "Monday 07.12.2026".
std::string FormatLongDate(const Date& date);

/// Days since 01/01/1970 (negative before it).
long DaysSinceEpoch(const Date& date);

/// Whole days from `from` to `to` (negative when `to` comes first).
long DaysBetween(const Date& from, const Date& to);

/// Today's date from the system clock, in local time. Calculations take the date as a
/// parameter; only the program's entry points read the clock.
Date SystemToday();

} // namespace kova
