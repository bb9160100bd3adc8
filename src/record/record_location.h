#pragma once

#include "core/common/result.h"
#include "core/record/record_connection.h"

#include <string>

namespace kova::record {

/// The record's file when none is chosen.
inline constexpr const char* kDefaultRecordFile = "checks.sqlite";

/// The default record: kDefaultRecordFile in the user's data folder
/// (QStandardPaths::AppDataLocation, after the application's name), the folder made when
/// missing, so the record needs no set-up. Fails, saying why, when no folder can be made.
Result<RecordConnection> DefaultRecordConnection();

} // namespace kova::record
