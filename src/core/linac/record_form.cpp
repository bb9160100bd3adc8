#include "core/linac/record_form.h"

#include "core/linac/token_reader.h"
#include "core/text/cp1252.h"
#include "core/text/date_text.h"
#include "core/text/number_text.h"

#include <algorithm>

namespace kova {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool AllBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsBlank);
}

/// A label without its unit or note: "Depth [cm]" is "Depth", "Dose fraction (1 at
/// build-up)" is "Dose fraction".
std::string FieldName(const std::string& label) {
    std::string name = label;
    const std::size_t note = name.find_first_of("[(");
    if (note != std::string::npos) {
        name.erase(note);
    }
    while (!name.empty() && IsBlank(name.back())) {
        name.pop_back();
    }
    return name.empty() ? label : name;
}

const FormControl* ControlOf(const FormLayout& layout, const std::string& name) {
    for (const FormGroup& group : layout.groups) {
        for (const FormControl& control : group.controls) {
            if (control.name == name) {
                return &control;
            }
        }
    }
    return nullptr;
}

} // namespace

std::string RefusalText(const FormLayout& layout, const FormTexts& texts, const FormCheck& check) {
    const FormControl* control = ControlOf(layout, check.control);
    if (check.ok() || control == nullptr ||
        (control->kind != ControlKind::Number && control->kind != ControlKind::Date)) {
        return check.reason;
    }
    const std::string field = FieldName(control->label);
    const auto typed = texts.find(check.control);
    if (control->kind == ControlKind::Number && (typed == texts.end() || AllBlank(typed->second))) {
        return field + " is empty";
    }
    return field + ": " + check.reason;
}

std::string LinacTextProblem(std::string_view name) {
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return "holds a control character, which a linac file cannot store";
        }
        if (byte == 0xE7) {
            return "holds the letter c with cedilla, which a linac file keeps for spaces";
        }
    }
    if (name.size() > TokenReader::kMaxWordBytes) {
        return "is longer than the " + std::to_string(TokenReader::kMaxWordBytes) +
               " characters a linac file can store";
    }
    return "";
}

std::string_view FormReader::Text(const char* control) const {
    const auto it = m_texts.find(control);
    return it == m_texts.end() ? std::string_view() : std::string_view(it->second);
}

void FormReader::Refuse(const char* control, std::string reason) {
    if (m_check.ok()) {
        m_check = FormCheck{control, std::move(reason)};
    }
}

std::string FormReader::Name(const char* control) {
    const std::string_view typed = Text(control);
    // A file cannot tell a blank name from an empty one, and nobody can pick a blank name
    // from a list: both are stored as "n/a".
    if (AllBlank(typed)) {
        return "n/a";
    }
    const std::optional<std::string> bytes = Utf8ToCp1252(typed);
    if (!bytes) {
        Refuse(control, "The name '" + std::string(typed) +
                            "' holds a character that a linac file cannot store");
        return "n/a";
    }
    if (const std::string problem = LinacTextProblem(*bytes); !problem.empty()) {
        Refuse(control, "The name '" + std::string(typed) + "' " + problem);
        return "n/a";
    }
    return *bytes;
}

double FormReader::Number(const char* control) {
    const std::string_view typed = Text(control);
    const Result<double> value = StrToFloat(typed);
    if (!value) {
        Refuse(control, value.reason());
        return 0;
    }
    return *value;
}

double FormReader::NonNegative(const char* control) {
    const double value = Number(control);
    if (value < 0) {
        Refuse(control, "'" + std::string(Text(control)) +
                            "' is negative, which a measured value cannot be");
    }
    return value;
}

double FormReader::NumberOr(const char* control, double kept) {
    const Result<double> value = StrToFloat(Text(control));
    return value ? *value : kept;
}

std::string FormReader::Date(const char* control) {
    const std::string_view typed = Text(control);
    // An untouched masked box shows only its two slashes among blanks.
    std::string digits;
    std::copy_if(typed.begin(), typed.end(), std::back_inserter(digits),
                 [](char c) { return !IsBlank(c) && c != '_'; });
    if (digits.empty() || digits == "//") {
        return "";
    }
    const Result<kova::Date> date = ParseShortDate(digits);
    if (!date) {
        Refuse(control, "'" + std::string(typed) + "' is not a valid date");
        return "";
    }
    return FormatShortDate(*date);
}

bool FormReader::Check(const char* control) {
    return Text(control) == "1";
}

int FormReader::Choice(const char* control, int itemCount, int kept) {
    int index = -1;
    if (!ParseIntToken(Text(control), index) || index < 0 || index >= itemCount) {
        return kept;
    }
    return index;
}

} // namespace kova
