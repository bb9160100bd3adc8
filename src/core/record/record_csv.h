#pragma once

#include "core/record/check_record.h"

#include <string>
#include <string_view>
#include <vector>

namespace kova::record {

/// One field of a CSV file (RFC 4180): as it is, or between double quotes (each double quote
/// doubled) when it holds a comma, a double quote, a line break or blanks at its ends.
std::string CsvField(std::string_view text);

/// The checks as CSV text (RFC 4180, UTF-8, lines ending in CR LF): a heading row, then one
/// row per check in the given order, with its latest sign-off and its inputs in one field
/// ("Name = Text" lines). Numbers in full precision (the shortest text that reads back to the
/// same value), empty when the check has none.
std::string ChecksCsv(const std::vector<CheckRecord>& checks);

} // namespace kova::record
