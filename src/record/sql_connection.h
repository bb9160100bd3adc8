#pragma once

#include "core/common/result.h"
#include "core/record/record_connection.h"
#include "record/record_store.h"

#include <QSqlDatabase>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kova::record {

/// Rows of a query, each a list of column values.
using SqlRows = std::vector<std::vector<QVariant>>;

/// One connection to the record's database, SQLite or PostgreSQL, with the statements the
/// record needs. Used only in the thread that made it (Qt SQL's rule).
class SqlConnection {
public:
    SqlConnection(RecordConnection where, std::string password, StoreOptions options);
    ~SqlConnection();
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    bool IsPostgres() const { return m_where.driver == RecordConnection::Driver::PostgreSQL; }
    /// "SQLite file PATH", "PostgreSQL database NAME on HOST:PORT".
    std::string Description() const;

    /// Connects and sets the session up (SQLite: write-ahead log, full sync, the busy
    /// timeout, foreign keys; PostgreSQL: the lock timeout).
    Status Open();
    void Close();

    Status Exec(const std::string& sql, const QVariantList& values = {});
    Result<SqlRows> Select(const std::string& sql, const QVariantList& values = {});
    /// Runs an INSERT ... RETURNING id and gives the id.
    Result<std::int64_t> InsertReturningId(const std::string& sql, const QVariantList& values);

    /// What a transaction does: a write takes the write lock at its start (SQLite), a read
    /// sees one state of the record throughout.
    enum class Access { Read, Write };

    /// Runs `work` in one transaction: all of its writes are kept, or none. When it fails
    /// because the connection was lost, connects again and runs it once more (the record's
    /// writes are recognized by their keys, so a write whose commit was lost is not doubled).
    Status Transaction(Access access, const std::function<Status()>& work);

private:
    /// What the next open connects to.
    void Configure();
    /// The session's settings, after connecting.
    Status StartSession();
    Status TryOnce(Access access, const std::function<Status()>& work);
    /// Whether the connection still answers.
    bool Alive();

    RecordConnection m_where;
    std::string m_password; ///< only in memory, for connecting again
    StoreOptions m_options;
    QString m_name; ///< Qt's name of the connection
    QSqlDatabase m_db;
};

} // namespace kova::record
