#include "core/text/number_text.h"

#include "core/text/trim.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace kova {
namespace {

constexpr int kSignificantDigits = 15;

/// A decimal number 0.d1d2d3... x 10^pointPos, digits without trailing zeros.
/// An empty digit string is zero.
struct Decimal {
    std::string digits;
    int pointPos = 0;
};

/// The magnitude of a finite double rounded to 15 significant digits. The rounding is the
/// C library's correctly rounded conversion of the exact binary value, so 1.005 (stored as
/// 1.00499999999999989...) becomes the digits 1005, the value a user typed.
Decimal ToDecimal(double value) {
    Decimal dec;
    const double magnitude = std::fabs(value);
    if (magnitude == 0.0) {
        return dec;
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, magnitude);
    // buffer holds "d.dddddddddddddde[+-]xx".
    const std::string_view text(buffer);
    const size_t ePos = text.find('e');
    dec.digits.push_back(text[0]);
    dec.digits.append(text.substr(2, ePos - 2));
    dec.pointPos = std::atoi(buffer + ePos + 1) + 1;
    while (!dec.digits.empty() && dec.digits.back() == '0') {
        dec.digits.pop_back();
    }
    return dec;
}

std::string FixedText(const Decimal& dec) {
    const int count = static_cast<int>(dec.digits.size());
    if (dec.pointPos <= 0) {
        return "0." + std::string(static_cast<size_t>(-dec.pointPos), '0') + dec.digits;
    }
    if (dec.pointPos >= count) {
        return dec.digits + std::string(static_cast<size_t>(dec.pointPos - count), '0');
    }
    return dec.digits.substr(0, static_cast<size_t>(dec.pointPos)) + "." +
           dec.digits.substr(static_cast<size_t>(dec.pointPos));
}

std::string ScientificText(const Decimal& dec) {
    std::string text(1, dec.digits[0]);
    if (dec.digits.size() > 1) {
        text += "." + dec.digits.substr(1);
    }
    return text + "E" + std::to_string(dec.pointPos - 1);
}

/// One section of a decimal pattern: literal text around the digit placeholders.
struct Section {
    std::string prefix;
    std::string suffix;
    int minIntDigits = 0;
    int minFracDigits = 0;
    int maxFracDigits = 0;
};

bool IsPlaceholder(char c) {
    return c == '0' || c == '#' || c == '.';
}

Section ParseSection(std::string_view pattern) {
    Section section;
    const size_t first = pattern.find_first_of("0#.");
    if (first == std::string_view::npos) {
        section.prefix = std::string(pattern);
        return section;
    }
    size_t last = first;
    for (size_t i = first; i < pattern.size() && IsPlaceholder(pattern[i]); ++i) {
        last = i;
    }
    section.prefix = std::string(pattern.substr(0, first));
    section.suffix = std::string(pattern.substr(last + 1));
    bool inFraction = false;
    for (size_t i = first; i <= last; ++i) {
        const char c = pattern[i];
        if (c == '.') {
            inFraction = true;
        } else if (inFraction) {
            ++section.maxFracDigits;
            if (c == '0') {
                section.minFracDigits = section.maxFracDigits;
            }
        } else if (c == '0' || section.minIntDigits > 0) {
            ++section.minIntDigits;
        }
    }
    return section;
}

/// Rounds a decimal to `decimals` places after the point, halves away from zero (the
/// magnitude grows when the first dropped digit is 5 or more).
Decimal RoundDecimal(Decimal dec, int decimals) {
    const int keep = dec.pointPos + decimals;
    const int count = static_cast<int>(dec.digits.size());
    if (keep >= count) {
        return dec;
    }
    if (keep < 0) {
        return Decimal{};
    }
    const bool up = dec.digits[static_cast<size_t>(keep)] >= '5';
    dec.digits.resize(static_cast<size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && dec.digits[static_cast<size_t>(i)] == '9') {
            dec.digits[static_cast<size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            dec.digits.insert(dec.digits.begin(), '1');
            ++dec.pointPos;
        } else {
            ++dec.digits[static_cast<size_t>(i)];
        }
    }
    while (!dec.digits.empty() && dec.digits.back() == '0') {
        dec.digits.pop_back();
    }
    return dec;
}

std::string ApplySection(const Section& section, const Decimal& rounded) {
    std::string intPart;
    std::string fracPart;
    const int count = static_cast<int>(rounded.digits.size());
    for (int i = 0; i < rounded.pointPos; ++i) {
        intPart.push_back(i < count ? rounded.digits[static_cast<size_t>(i)] : '0');
    }
    for (int i = rounded.pointPos; i < count; ++i) {
        fracPart.push_back(i < 0 ? '0' : rounded.digits[static_cast<size_t>(i)]);
    }
    if (static_cast<int>(intPart.size()) < section.minIntDigits) {
        intPart.insert(0, static_cast<size_t>(section.minIntDigits) - intPart.size(), '0');
    }
    if (static_cast<int>(fracPart.size()) < section.minFracDigits) {
        fracPart.append(static_cast<size_t>(section.minFracDigits) - fracPart.size(), '0');
    }
    std::string text = section.prefix + intPart;
    if (!fracPart.empty()) {
        text += "." + fracPart;
    }
    return text + section.suffix;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

/// Checks the classic notation: sign, digits, optional fraction, optional exponent.
bool HasRealGrammar(std::string_view text) {
    size_t i = 0;
    const auto digitsFrom = [&](size_t& pos) {
        const size_t start = pos;
        while (pos < text.size() && IsDigit(text[pos])) {
            ++pos;
        }
        return pos - start;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    size_t mantissaDigits = digitsFrom(i);
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissaDigits += digitsFrom(i);
    }
    if (mantissaDigits == 0) {
        return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        if (digitsFrom(i) == 0) {
            return false;
        }
    }
    return i == text.size();
}

} // namespace

std::string FormatGeneral(double value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }
    const Decimal dec = ToDecimal(value);
    if (dec.digits.empty()) {
        return "0";
    }
    const std::string sign = value < 0 ? "-" : "";
    // Fixed from 0.00001 (point position -4) up to 15 integer digits.
    if (dec.pointPos >= -4 && dec.pointPos <= kSignificantDigits) {
        return sign + FixedText(dec);
    }
    return sign + ScientificText(dec);
}

std::string FigureText(double value, std::string_view unit) {
    if (std::isnan(value)) {
        return "not a number";
    }
    if (std::isinf(value)) {
        return value > 0 ? "too large" : "too large (negative)";
    }
    return unit.empty() ? FormatGeneral(value) : FormatGeneral(value) + " " + std::string(unit);
}

std::string FormatFloat(std::string_view pattern, double value) {
    std::string_view sections[3];
    size_t sectionCount = 0;
    for (size_t start = 0; sectionCount < 3;) {
        const size_t end = pattern.find(';', start);
        sections[sectionCount++] = pattern.substr(start, end - start);
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    if (sections[0].empty() || !std::isfinite(value)) {
        return FormatGeneral(value);
    }
    const bool negative = value < 0;
    const bool ownNegative = negative && sectionCount > 1 && !sections[1].empty();
    const Section section = ParseSection(ownNegative ? sections[1] : sections[0]);
    const Decimal rounded = RoundDecimal(ToDecimal(value), section.maxFracDigits);
    if (rounded.digits.empty()) {
        // Zero, or a value that rounds to zero at the pattern's precision: never "-0.0".
        if (sectionCount > 2 && !sections[2].empty()) {
            return ApplySection(ParseSection(sections[2]), Decimal{});
        }
        return ApplySection(ParseSection(sections[0]), Decimal{});
    }
    const std::string text = ApplySection(section, rounded);
    return negative && !ownNegative ? "-" + text : text;
}

std::string NotAFloatMessage(std::string_view text) {
    std::string message = "'" + std::string(text) + "' is not a valid floating point value";
    // "10,5" is a number where a comma is the decimal separator: say what the program reads.
    std::string pointed(Trim(text));
    if (std::count(pointed.begin(), pointed.end(), ',') == 1) {
        std::replace(pointed.begin(), pointed.end(), ',', '.');
        double value = 0;
        if (ParseRealToken(pointed, value)) {
            message += " (use a decimal point: " + pointed + ")";
        }
    }
    return message;
}

bool ParseRealToken(std::string_view token, double& value) {
    if (!HasRealGrammar(token)) {
        return false;
    }
    if (token.front() == '+') {
        token.remove_prefix(1);
    }
    double parsed = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), parsed);
    if (error != std::errc() || end != token.data() + token.size() || !std::isfinite(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseIntToken(std::string_view token, int& value) {
    if (!token.empty() && token.front() == '+') {
        token.remove_prefix(1);
        if (!token.empty() && token.front() == '-') {
            return false;
        }
    }
    if (token.empty()) {
        return false;
    }
    int parsed = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), parsed);
    if (error != std::errc() || end != token.data() + token.size()) {
        return false;
    }
    value = parsed;
    return true;
}

Result<double> StrToFloat(std::string_view text) {
    double value = 0;
    if (!ParseRealToken(Trim(text), value)) {
        return Result<double>::Fail(NotAFloatMessage(text));
    }
    return value;
}

} // namespace kova
