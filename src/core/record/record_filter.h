#pragma once

#include "core/record/check_record.h"
#include "core/text/date_text.h"

#include <string>
#include <string_view>

namespace kova::record {

/// Which checks of the record to show or export. An empty text or period bound means any.
struct RecordFilter {
    /// Part of the patient's name or ID; letters A to Z match in either case.
    std::string patient;
    std::string linac;  ///< the linac's name, exactly
    std::string energy; ///< the energy's name, exactly
    std::string kind;   ///< the beam kind's text, exactly
    /// The period, ISO 8601 UTC as IsoUtc writes it: checked at `from` or later, and before
    /// `to`.
    std::string from;
    std::string to;
    bool beyondActionLevelOnly = false;
};

/// Whether `check` passes `filter`. The record's queries select the same checks.
bool Matches(const RecordFilter& filter, const CheckRecord& check);

/// The bounds of a period of whole days in UTC, as RecordFilter takes them: the start of
/// `day` ("2026-10-15T00:00:00Z") for `from`, the start of the day after it for `to`, so
/// that the period ends with `day`.
std::string DayStartUtc(const Date& day);
std::string DayAfterUtc(const Date& day);

/// The filter that finds the stored checks of `check`'s beam (its patient, linac, energy and
/// kind); FollowedCheck picks among them.
RecordFilter SameBeamFilter(const CheckRecord& check);

/// The newest of `stored` (in record order) that is a check of the same beam as `check`
/// (patient name and ID, treatment, beam name and ID, linac, energy, kind): the check a new
/// one follows. None when the beam has no stored check.
std::optional<std::int64_t> FollowedCheck(const std::vector<CheckRecord>& stored,
                                          const CheckRecord& check);

/// `text` with the letters A to Z made lower case; every other byte as it is.
std::string FoldAsciiCase(std::string_view text);

} // namespace kova::record
