#pragma once

#include "core/common/result.h"

#include <string>
#include <string_view>

namespace kova::record {

/// Where the record of checks is kept: an SQLite file on this machine, or a department's
/// PostgreSQL server that several workstations share. A password is never part of it: the
/// program asks for one when the server wants it, or the server's own means provide it
/// (~/.pgpass, PGPASSFILE).
struct RecordConnection {
    enum class Driver { SQLite, PostgreSQL };
    Driver driver = Driver::SQLite;
    std::string file; ///< SQLite: the database file
    /// PostgreSQL: the server's name or address, or the folder of its local socket
    /// ("/run/postgresql"); empty for the local socket of the client library's default.
    std::string host;
    int port = 0; ///< 0: the server's default (5432)
    std::string database;
    std::string user; ///< empty: the operating-system user's name
};

/// Reads a connection from its text: PostgreSQL keywords as its client library takes them
/// ("host=db.local port=5432 dbname=kova user=physics", keys host, port, dbname, user, in
/// any order), or else the path of an SQLite file. A "password" keyword is refused, so that
/// no password is ever written into a settings file or a script.
Result<RecordConnection> ParseRecordConnection(std::string_view text);

/// The text ParseRecordConnection reads back, for settings and messages.
std::string RecordConnectionText(const RecordConnection& connection);

} // namespace kova::record
