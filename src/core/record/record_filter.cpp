#include "core/record/record_filter.h"

namespace kova::record {

namespace {

std::chrono::sys_days DayOf(const Date& day) {
    using namespace std::chrono;
    return sys_days{year{day.year} / month{unsigned(day.month)} /
                    std::chrono::day{unsigned(day.day)}};
}

} // namespace

std::string DayStartUtc(const Date& day) {
    return IsoUtc(DayOf(day));
}

std::string DayAfterUtc(const Date& day) {
    return IsoUtc(DayOf(day) + std::chrono::days{1});
}

RecordFilter SameBeamFilter(const CheckRecord& check) {
    RecordFilter filter;
    filter.patient = check.patientID.empty() ? check.patientName : check.patientID;
    filter.linac = check.linac;
    filter.energy = check.energy;
    filter.kind = check.kind;
    return filter;
}

std::optional<std::int64_t> FollowedCheck(const std::vector<CheckRecord>& stored,
                                          const CheckRecord& check) {
    const auto sameBeam = [&check](const CheckRecord& other) {
        return other.key != check.key && other.patientName == check.patientName &&
               other.patientID == check.patientID && other.treatment == check.treatment &&
               other.beamName == check.beamName && other.beamID == check.beamID &&
               other.linac == check.linac && other.energy == check.energy &&
               other.kind == check.kind;
    };
    for (auto it = stored.rbegin(); it != stored.rend(); ++it) {
        if (sameBeam(*it)) {
            return it->id;
        }
    }
    return std::nullopt;
}

std::string FoldAsciiCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

bool Matches(const RecordFilter& filter, const CheckRecord& check) {
    const auto same = [](const std::string& wanted, const std::string& value) {
        return wanted.empty() || wanted == value;
    };
    const auto contains = [](const std::string& text, const std::string& part) {
        return FoldAsciiCase(text).find(part) != std::string::npos;
    };
    const std::string patient = FoldAsciiCase(filter.patient);
    return (contains(check.patientName, patient) || contains(check.patientID, patient)) &&
           same(filter.linac, check.linac) && same(filter.energy, check.energy) &&
           same(filter.kind, check.kind) &&
           (filter.from.empty() || check.checkedAt >= filter.from) &&
           (filter.to.empty() || check.checkedAt < filter.to) &&
           (!filter.beyondActionLevelOnly || check.beyondActionLevel);
}

} // namespace kova::record
