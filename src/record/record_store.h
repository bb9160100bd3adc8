#pragma once

// kova_record: the record of checks in a database (Qt SQL): an SQLite file by default, or a
// department's PostgreSQL server shared by several workstations. What crosses this header is
// plain core data, so a plug-in of kova-mu can carry it.

#include "core/common/result.h"
#include "core/record/check_record.h"
#include "core/record/record_connection.h"
#include "core/record/record_filter.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kova::record {

class SqlConnection;

/// How the record waits for other programs.
struct StoreOptions {
    /// How long a write waits for a database that another program holds (an SQLite file
    /// being written, a PostgreSQL table locked) before it gives up and says so, ms.
    int waitMilliseconds = 5000;
};

/// The record of checks. Rows are only ever added: a check is saved once and never changed,
/// a sign-off is a row of its own, and the database refuses any change or deletion from any
/// program. Every write is one transaction and says why when it fails, so the caller can
/// keep what was not saved (PendingChecks) and save it again: saving a check or a sign-off
/// twice keeps it once. A store is used only in the thread that opened it, under a running
/// QCoreApplication (Qt loads its SQL drivers through it).
class RecordStore {
public:
    /// Opens the record (an SQLite file is made on first use; its folder must exist) and
    /// brings its schema up to date. `password` is for a PostgreSQL server that asks for one
    /// (else ~/.pgpass or PGPASSFILE serve): kept in memory only, to connect again.
    static Result<std::unique_ptr<RecordStore>> Open(const RecordConnection& connection,
                                                     const std::string& password = {},
                                                     StoreOptions options = {});
    ~RecordStore();
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    /// "SQLite file PATH", "PostgreSQL database NAME on HOST:PORT".
    std::string Description() const;

    /// Saves a check with its inputs and gives its number in the record. A check already
    /// saved (same key) gives its number and is not saved again.
    Result<std::int64_t> Save(const CheckRecord& check);

    /// Saves a sign-off of a stored check, refused as CanSignOff refuses it against the
    /// check's sign-offs in the record (another workstation may have signed it meanwhile).
    /// A sign-off already saved (same key) gives its number.
    Result<std::int64_t> Save(const SignOff& signOff);

    /// The checks that pass `filter`, by time of check, each with its inputs and sign-offs.
    Result<std::vector<CheckRecord>> Find(const RecordFilter& filter);

private:
    explicit RecordStore(std::unique_ptr<SqlConnection> sql);
    Status Insert(const CheckRecord& check, std::int64_t& id);
    Status Insert(const SignOff& signOff, std::int64_t& id);

    std::unique_ptr<SqlConnection> m_sql;
};

/// Whether a failure to open a PostgreSQL record means that the server wants a password:
/// the caller then asks for one and opens again with it.
bool AsksForPassword(const Status& failure);

} // namespace kova::record
