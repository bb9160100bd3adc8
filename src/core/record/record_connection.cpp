#include "core/record/record_connection.h"

#include "core/text/number_text.h"
#include "core/text/trim.h"

#include <sstream>

namespace kova::record {
namespace {

constexpr std::string_view kKeys[] = {"host", "port", "dbname", "user"};

/// True when `text` starts with one of the PostgreSQL keywords (or "password") and "=".
bool LooksLikeKeywords(std::string_view text) {
    const std::string_view word = text.substr(0, text.find('='));
    for (const std::string_view key : kKeys) {
        if (word == key) {
            return true;
        }
    }
    return text.find('=') != std::string_view::npos && word == "password";
}

Status SetKeyword(RecordConnection& connection, const std::string& key, const std::string& value) {
    if (key == "password") {
        return Status::Fail("A password is never written in the record's connection: the "
                            "program asks for it, or the server's password file gives it.");
    }
    if (key == "port") {
        int port = 0;
        if (!ParseIntToken(value, port) || port < 1 || port > 65535) {
            return Status::Fail("The port of the record's server is not a port number: '" + value +
                                "'.");
        }
        connection.port = port;
    } else if (key == "host") {
        connection.host = value;
    } else if (key == "dbname") {
        connection.database = value;
    } else if (key == "user") {
        connection.user = value;
    } else {
        return Status::Fail("Unknown keyword '" + key +
                            "' in the record's connection (host, port, dbname, user).");
    }
    return Status::Ok();
}

} // namespace

Result<RecordConnection> ParseRecordConnection(std::string_view text) {
    RecordConnection connection;
    const std::string trimmed(Trim(text));
    if (trimmed.empty()) {
        return Result<RecordConnection>::Fail("No record of checks is given.");
    }
    if (!LooksLikeKeywords(trimmed)) {
        connection.file = trimmed;
        return connection;
    }
    connection.driver = RecordConnection::Driver::PostgreSQL;
    std::istringstream words(trimmed);
    for (std::string word; words >> word;) {
        const std::size_t equals = word.find('=');
        if (equals == std::string::npos || equals == 0) {
            return Result<RecordConnection>::Fail("Expected 'keyword=value' in the record's "
                                                  "connection, not '" +
                                                  word + "'.");
        }
        if (Status set = SetKeyword(connection, word.substr(0, equals), word.substr(equals + 1));
            !set) {
            return set;
        }
    }
    if (connection.database.empty()) {
        return Result<RecordConnection>::Fail("The record's connection names no database "
                                              "(dbname=...).");
    }
    return connection;
}

std::string RecordConnectionText(const RecordConnection& connection) {
    if (connection.driver == RecordConnection::Driver::SQLite) {
        return connection.file;
    }
    std::string text;
    const auto add = [&text](const char* key, const std::string& value) {
        if (!value.empty()) {
            text += (text.empty() ? "" : " ") + std::string(key) + "=" + value;
        }
    };
    add("host", connection.host);
    add("port", connection.port > 0 ? std::to_string(connection.port) : std::string());
    add("dbname", connection.database);
    add("user", connection.user);
    return text;
}

} // namespace kova::record
