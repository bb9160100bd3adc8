#pragma once

#include "core/common/result.h"

#include <string>
#include <string_view>

namespace kova {

/// The general form of a number: the shortest text of the double rounded to at most 15
/// significant digits, without trailing zeros, with "." as decimal point. Fixed notation
/// from 0.00001 up to 15 integer digits ("10", "10.5", "0.00001"), scientific notation
/// otherwise ("1E-6", "1.5E20"). Every number shown by the program as "general" uses it.
std::string FormatGeneral(double value);

/// A figure in a message to the user, a value typed or one a table or factor gave: its
/// general form followed by a blank and `unit` when one is given ("12.5 cm"). A value that
/// is not a number reads "not a number" and an infinite one "too large" ("too large
/// (negative)" below zero), without the unit: a message never shows such a value as if it
/// were a figure ("NAN", "INF").
std::string FigureText(double value, std::string_view unit = {});

/// Formats a value with a decimal pattern: "0" is a digit always shown, "#" a digit shown
/// only when significant, "." the decimal point; up to three sections separated by ";"
/// give the patterns for positive, negative and zero values. An empty negative section
/// means the positive pattern with a leading "-"; the zero section is used when the value
/// rounds to zero. The value is rounded half away from zero at the pattern's last digit,
/// on its 15-significant-digit decimal form (the number as the general form shows it).
/// Examples: ("0.000", 0.67) -> "0.670"; ("##.#;;0", 0.5) -> ".5"; ("##.#;;0", 0) -> "0".
std::string FormatFloat(std::string_view pattern, double value);

/// The exact message of a failed text-to-number conversion, for the offending text; a text
/// that is a number with a comma for the decimal point adds the hint
/// " (use a decimal point: 10.5)".
std::string NotAFloatMessage(std::string_view text);

/// Converts a typed or stored text to a number. The decimal separator is "."; an optional
/// sign, digits, an optional fraction and an optional exponent ("1.5e-3") are accepted,
/// with blanks around them. Anything else, and a value that does not fit in a double,
/// fails with NotAFloatMessage(text).
Result<double> StrToFloat(std::string_view text);

/// True when the whole text is a real number in the classic notation (no blanks allowed),
/// and then stores it. Used by file readers, which get whitespace-free tokens.
bool ParseRealToken(std::string_view token, double& value);

/// True when the whole text is a decimal integer with an optional sign that fits in an int.
bool ParseIntToken(std::string_view token, int& value);

} // namespace kova
