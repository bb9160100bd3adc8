#pragma once

#include "core/common/result.h"
#include "core/record/check_record.h"
#include "core/record/record_filter.h"

#include <ostream>
#include <string>
#include <vector>

namespace kova::mu {

/// What `kova-mu --history DB [filters] [--csv]` asks for.
struct HistoryRequest {
    std::string connection; ///< the record's path or connection text
    record::RecordFilter filter;
    bool csv = false;
};

/// Reads the options of --history: --patient TEXT, --linac NAME, --energy NAME, --kind TEXT,
/// --from dd/mm/yyyy, --to dd/mm/yyyy (whole days in UTC, both included), --beyond and
/// --csv. Any other option, or one given twice, fails saying which.
Result<HistoryRequest> ParseHistoryOptions(const std::vector<std::string>& args);

/// One line per check in record order ("CHECKED  PATIENT (ID)  TREATMENT  BEAM (ID)  LINAC
/// ENERGY KIND  MU 149.25  TPS 150  0.5 %" with ", beyond action level 3 %" and its latest
/// sign-off when it has them), then the number of checks and the mean and standard
/// deviation of the differences per linac and energy. Texts are escaped for a terminal.
void WriteHistory(std::ostream& out, const std::vector<record::CheckRecord>& checks);

} // namespace kova::mu
