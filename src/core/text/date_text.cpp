#include "core/text/date_text.h"

#include <array>
#include <charconv>
#include <ctime>

namespace kova {
namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<size_t>(month - 1)];
}

/// Reads `minDigits` to `maxDigits` decimal digits from the front of `text`.
bool TakeNumber(std::string_view& text, size_t minDigits, size_t maxDigits, int& value) {
    size_t count = 0;
    while (count < text.size() && count < maxDigits && text[count] >= '0' && text[count] <= '9') {
        ++count;
    }
    if (count < minDigits) {
        return false;
    }
    std::from_chars(text.data(), text.data() + count, value);
    text.remove_prefix(count);
    return true;
}

bool TakeChar(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) {
        return false;
    }
    text.remove_prefix(1);
    return true;
}

std::string TwoDigits(int value) {
    return std::string(1, static_cast<char>('0' + value / 10 % 10)) +
           static_cast<char>('0' + value % 10);
}

std::string FourDigits(int value) {
    return TwoDigits(value / 100) + TwoDigits(value % 100);
}

} // namespace

bool IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

Result<Date> ParseShortDate(std::string_view text) {
    std::string_view rest = text;
    Date date;
    if (TakeNumber(rest, 1, 2, date.day) && TakeChar(rest, '/') &&
        TakeNumber(rest, 1, 2, date.month) && TakeChar(rest, '/') &&
        TakeNumber(rest, 4, 4, date.year) && rest.empty() &&
        IsValidDate(date.year, date.month, date.day)) {
        return date;
    }
    return Result<Date>::Fail("'" + std::string(text) + "' is not a valid date");
}

std::string FormatShortDate(const Date& date) {
    return TwoDigits(date.day) + "/" + TwoDigits(date.month) + "/" + FourDigits(date.year);
}

std::string FormatLongDate(const Date& date) {
    static constexpr std::array<const char*, 7> kDayNames = {
        "Thursday", "Friday", "Saturday", "Sunday", "Monday", "Tuesday", "Wednesday"};
    // 01/01/1970 was a Thursday.
    const long days = DaysSinceEpoch(date);
    const long index = ((days % 7) + 7) % 7;
    return std::string(kDayNames[static_cast<size_t>(index)]) + " " + TwoDigits(date.day) + "." +
           TwoDigits(date.month) + "." + FourDigits(date.year);
}

long DaysSinceEpoch(const Date& date) {
    // Days from civil (H. Hinnant's algorithm), exact for the proleptic Gregorian calendar.
    const long y = date.year - (date.month <= 2 ? 1 : 0);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yearOfEra = y - era * 400;
    const long monthIndex = date.month > 2 ? date.month - 3 : date.month + 9;
    const long dayOfYear = (153 * monthIndex + 2) / 5 + date.day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

long DaysBetween(const Date& from, const Date& to) {
    return DaysSinceEpoch(to) - DaysSinceEpoch(from);
}

Date SystemToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

} // namespace kova
