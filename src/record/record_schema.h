#pragma once

#include "core/common/result.h"
#include "record/sql_connection.h"

namespace kova::record {

/// The schema version this program reads and writes. Each version is a migration numbered in
/// record_schema.cpp; a record of an older version is brought up to this one when opened.
inline constexpr int kSchemaVersion = 2;

/// The schema version of the record: 0 for a database without one (a new file).
Result<int> SchemaVersion(SqlConnection& sql);

/// Runs the migrations after the record's version up to `target` (kSchemaVersion; tests make
/// older records with a lower one), in order and in one transaction: the record ends at
/// `target` or stays as it was. A record of a version newer than kSchemaVersion is refused.
Status MigrateSchema(SqlConnection& sql, int target = kSchemaVersion);

} // namespace kova::record
