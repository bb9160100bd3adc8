#include "kova_mu/history.h"

#include "core/record/record_statistics.h"
#include "core/text/cp1252.h"
#include "core/text/number_text.h"

#include <set>

namespace kova::mu {
namespace {

/// The filter's text that an option sets; none for a date or a flag.
std::string* TextOption(const std::string& name, record::RecordFilter& filter) {
    if (name == "--patient") {
        return &filter.patient;
    }
    if (name == "--linac") {
        return &filter.linac;
    }
    if (name == "--energy") {
        return &filter.energy;
    }
    return name == "--kind" ? &filter.kind : nullptr;
}

Status SetDate(const std::string& name, const std::string& text, record::RecordFilter& filter) {
    const Result<Date> day = ParseShortDate(text);
    if (!day) {
        return Status::Fail(name + ": " + day.reason());
    }
    (name == "--from" ? filter.from : filter.to) =
        name == "--from" ? record::DayStartUtc(*day) : record::DayAfterUtc(*day);
    return Status::Ok();
}

std::string Sign(const record::CheckRecord& check) {
    if (check.signOffs.empty()) {
        return {};
    }
    const record::SignOff& last = check.signOffs.back();
    return "  " + std::string(record::VerdictText(last.verdict)) + " by " + last.signedBy + " " +
           last.signedAt + (last.comment.empty() ? "" : ": " + last.comment);
}

std::string Line(const record::CheckRecord& c) {
    std::string line = c.checkedAt + "  " + (c.patientName.empty() ? "-" : c.patientName) +
                       (c.patientID.empty() ? "" : " (" + c.patientID + ")") + "  " + c.treatment +
                       "  " + c.beamName + (c.beamID.empty() ? "" : " (" + c.beamID + ")") + "  " +
                       c.linac + " " + c.energy + " " + c.kind + "  MU " +
                       FormatFloat("0.00", c.kovaMU);
    if (c.tpsMU && c.difference) {
        line +=
            "  TPS " + FormatGeneral(*c.tpsMU) + "  " + FormatFloat("0.0", *c.difference) + " %";
    }
    if (c.beyondActionLevel) {
        line += ", beyond action level " + FormatGeneral(c.actionLevel) + " %";
    }
    return line + Sign(c);
}

} // namespace

Result<HistoryRequest> ParseHistoryOptions(const std::vector<std::string>& args) {
    HistoryRequest request;
    std::set<std::string> given;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!given.insert(arg).second) {
            return Status::Fail(arg + " is given twice");
        }
        const bool hasValue = i + 1 < args.size();
        if (arg == "--csv" || arg == "--beyond") {
            (arg == "--csv" ? request.csv : request.filter.beyondActionLevelOnly) = true;
        } else if (arg == "--history" && hasValue) {
            request.connection = args[++i];
        } else if (std::string* text = TextOption(arg, request.filter); text && hasValue) {
            *text = args[++i];
        } else if ((arg == "--from" || arg == "--to") && hasValue) {
            if (Status date = SetDate(arg, args[++i], request.filter); !date) {
                return date;
            }
        } else {
            return Status::Fail(arg + " is no option of --history");
        }
    }
    return request;
}

void WriteHistory(std::ostream& out, const std::vector<record::CheckRecord>& checks) {
    for (const record::CheckRecord& check : checks) {
        out << EscapeControls(Line(check)) << '\n';
    }
    out << checks.size() << (checks.size() == 1 ? " check\n" : " checks\n");
    for (const record::DifferenceStatistics& group : record::StatisticsByLinacAndEnergy(checks)) {
        out << EscapeControls(record::StatisticsLine(group)) << '\n';
    }
}

} // namespace kova::mu
