#include "core/record/record_csv.h"

#include <charconv>

namespace kova::record {
namespace {

constexpr const char* kHeadings[] = {"Record",
                                     "Checked at (UTC)",
                                     "Patient",
                                     "Patient ID",
                                     "Treatment",
                                     "Beam",
                                     "Beam ID",
                                     "Linac",
                                     "Energy",
                                     "Kind",
                                     "KOVA MU",
                                     "TPS MU",
                                     "Difference (%)",
                                     "Action level (%)",
                                     "Beyond action level",
                                     "Sign-off",
                                     "Signed by",
                                     "Signed at (UTC)",
                                     "Comment",
                                     "Follows record",
                                     "Program version",
                                     "Linac file",
                                     "Linac file SHA-256",
                                     "User",
                                     "Inputs"};

/// The shortest text that reads back to the same double.
std::string Number(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

std::string Number(const std::optional<double>& value) {
    return value ? Number(*value) : std::string();
}

std::string Inputs(const std::vector<ControlText>& controls) {
    std::string text;
    for (const ControlText& control : controls) {
        text += (text.empty() ? "" : "\n") + control.name + " = " + control.text;
    }
    return text;
}

std::vector<std::string> Row(const CheckRecord& c) {
    const SignOff* last = c.signOffs.empty() ? nullptr : &c.signOffs.back();
    const auto signedField = [last](std::string SignOff::*field) {
        return last ? last->*field : std::string();
    };
    return {std::to_string(c.id),
            c.checkedAt,
            c.patientName,
            c.patientID,
            c.treatment,
            c.beamName,
            c.beamID,
            c.linac,
            c.energy,
            c.kind,
            Number(c.kovaMU),
            Number(c.tpsMU),
            Number(c.difference),
            Number(c.actionLevel),
            c.beyondActionLevel ? "yes" : "no",
            last ? std::string(VerdictText(last->verdict)) : std::string(),
            signedField(&SignOff::signedBy),
            signedField(&SignOff::signedAt),
            signedField(&SignOff::comment),
            c.follows ? std::to_string(*c.follows) : std::string(),
            c.programVersion,
            c.linacFile,
            c.linacFileSha256,
            c.osUser,
            Inputs(c.controls)};
}

void AppendLine(std::string& csv, const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        csv += (i == 0 ? "" : ",") + CsvField(fields[i]);
    }
    csv += "\r\n";
}

} // namespace

std::string CsvField(std::string_view text) {
    const bool blankEnd = !text.empty() && (text.front() == ' ' || text.back() == ' ');
    if (!blankEnd && text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + '"';
}

std::string ChecksCsv(const std::vector<CheckRecord>& checks) {
    std::string csv;
    AppendLine(csv, {std::begin(kHeadings), std::end(kHeadings)});
    for (const CheckRecord& check : checks) {
        AppendLine(csv, Row(check));
    }
    return csv;
}

} // namespace kova::record
