#include "record/record_schema.h"

#include "core/record/check_record.h"

#include <chrono>
#include <string>
#include <vector>

namespace kova::record {
namespace {

using Statements = std::vector<std::string>;

/// The few words in which SQLite and PostgreSQL differ.
struct Dialect {
    const char* id;        ///< a row number the database gives
    const char* reference; ///< a column holding such a number
    const char* real;
    const char* time; ///< ISO 8601 texts, compared byte by byte
};

constexpr Dialect kSQLite{"INTEGER PRIMARY KEY AUTOINCREMENT", "INTEGER", "REAL", "TEXT"};
constexpr Dialect kPostgres{"BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY", "BIGINT",
                            "DOUBLE PRECISION", "TEXT COLLATE \"C\""};

/// Every table of the record: rows are only ever added to them.
constexpr const char* kTables[] = {"schema_version", "checks", "check_inputs", "sign_offs"};

constexpr const char* kOnlyAddedTo =
    "The record of checks is only ever added to: nothing in it is changed or deleted";
constexpr const char* kApprovedKept =
    "The check is approved and can no longer be changed: record a newer check of the beam";

Statements Tables(const Dialect& d) {
    const std::string id = d.id, ref = d.reference, real = d.real, time = d.time;
    return {
        "CREATE TABLE schema_version (version INTEGER PRIMARY KEY, applied_at " + time +
            " NOT NULL)",
        "CREATE TABLE checks (id " + id + ", check_key TEXT NOT NULL UNIQUE, follows " + ref +
            " REFERENCES checks(id), patient_name TEXT NOT NULL, patient_id TEXT NOT NULL, "
            "treatment TEXT NOT NULL, beam_name TEXT NOT NULL, beam_id TEXT NOT NULL, "
            "linac TEXT NOT NULL, energy TEXT NOT NULL, kind TEXT NOT NULL, kova_mu " +
            real + " NOT NULL, tps_mu " + real + ", difference " + real + ", action_level " + real +
            " NOT NULL, beyond_action_level INTEGER NOT NULL, program_version TEXT NOT NULL, "
            "linac_file TEXT NOT NULL, linac_sha256 TEXT NOT NULL, checked_at " +
            time + " NOT NULL, os_user TEXT NOT NULL)",
        "CREATE TABLE check_inputs (check_id " + ref +
            " NOT NULL REFERENCES checks(id), position INTEGER NOT NULL, name TEXT NOT NULL, "
            "value TEXT NOT NULL, PRIMARY KEY (check_id, position))",
        "CREATE TABLE sign_offs (id " + id + ", sign_off_key TEXT NOT NULL UNIQUE, check_id " +
            ref +
            " NOT NULL REFERENCES checks(id), verdict TEXT NOT NULL CHECK (verdict IN "
            "('Approved', 'Not approved')), comment TEXT NOT NULL, signed_by TEXT NOT NULL, "
            "signed_at " +
            time + " NOT NULL)",
    };
}

/// The audit in the database itself, whatever program writes to it: no row is updated or
/// deleted, an approved check gets no further sign-off, a signed check no further input.
Statements SQLiteGuards() {
    Statements guards;
    for (const std::string table : kTables) {
        for (const std::string event : {"UPDATE", "DELETE"}) {
            guards.push_back("CREATE TRIGGER " + table + "_no_" + event + " BEFORE " + event +
                             " ON " + table + " BEGIN SELECT RAISE(ABORT, '" + kOnlyAddedTo +
                             "'); END");
        }
    }
    guards.push_back("CREATE TRIGGER sign_offs_after_approval BEFORE INSERT ON sign_offs WHEN "
                     "EXISTS (SELECT 1 FROM sign_offs WHERE check_id = NEW.check_id AND "
                     "verdict = 'Approved') BEGIN SELECT RAISE(ABORT, '" +
                     std::string(kApprovedKept) + "'); END");
    guards.push_back("CREATE TRIGGER check_inputs_of_signed_check BEFORE INSERT ON "
                     "check_inputs WHEN EXISTS (SELECT 1 FROM sign_offs WHERE check_id = "
                     "NEW.check_id) BEGIN SELECT RAISE(ABORT, '" +
                     std::string(kOnlyAddedTo) + "'); END");
    return guards;
}

Statements PostgresGuards() {
    Statements guards = {
        "CREATE FUNCTION kova_only_added_to() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
        "RAISE EXCEPTION '" +
            std::string(kOnlyAddedTo) + " (% on %)', TG_OP, TG_TABLE_NAME; END $$",
        // The row lock makes two sign-offs of one check, from two workstations, take turns,
        // so the second sees the first.
        "CREATE FUNCTION kova_sign_off_allowed() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
        "PERFORM 1 FROM checks WHERE id = NEW.check_id FOR NO KEY UPDATE; "
        "IF EXISTS (SELECT 1 FROM sign_offs WHERE check_id = NEW.check_id AND verdict = "
        "'Approved') THEN RAISE EXCEPTION '" +
            std::string(kApprovedKept) + "'; END IF; RETURN NEW; END $$",
        "CREATE FUNCTION kova_input_allowed() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
        "IF EXISTS (SELECT 1 FROM sign_offs WHERE check_id = NEW.check_id) THEN RAISE "
        "EXCEPTION '" +
            std::string(kOnlyAddedTo) + "'; END IF; RETURN NEW; END $$",
        "CREATE TRIGGER sign_offs_after_approval BEFORE INSERT ON sign_offs FOR EACH ROW "
        "EXECUTE FUNCTION kova_sign_off_allowed()",
        "CREATE TRIGGER check_inputs_of_signed_check BEFORE INSERT ON check_inputs FOR EACH "
        "ROW EXECUTE FUNCTION kova_input_allowed()",
    };
    for (const std::string table : kTables) {
        guards.push_back("CREATE TRIGGER " + table +
                         "_only_added_to BEFORE UPDATE OR DELETE OR TRUNCATE ON " + table +
                         " FOR EACH STATEMENT EXECUTE FUNCTION kova_only_added_to()");
    }
    return guards;
}

/// Migration 1: the tables and their guards.
Statements Version1(bool postgres) {
    Statements statements = Tables(postgres ? kPostgres : kSQLite);
    const Statements guards = postgres ? PostgresGuards() : SQLiteGuards();
    statements.insert(statements.end(), guards.begin(), guards.end());
    return statements;
}

/// Migration 2: indexes for the history's filters (period; linac, energy and kind) and for a
/// check's sign-offs.
Statements Version2(bool) {
    return {"CREATE INDEX checks_by_time ON checks (checked_at)",
            "CREATE INDEX checks_by_machine ON checks (linac, energy, kind, checked_at)",
            "CREATE INDEX sign_offs_by_check ON sign_offs (check_id)"};
}

/// The migrations by number: migration N takes a record of version N - 1 to version N.
Statements Migration(int version, bool postgres) {
    switch (version) {
    case 1:
        return Version1(postgres);
    case 2:
        return Version2(postgres);
    default:
        return {};
    }
}

Status Migrate(SqlConnection& sql, int target) {
    // Two programs opening a new record at once: the second waits, then finds it made.
    if (sql.IsPostgres()) {
        if (Status locked = sql.Exec("SELECT pg_advisory_xact_lock(4919377742)"); !locked) {
            return locked;
        }
    }
    const Result<int> version = SchemaVersion(sql);
    if (!version) {
        return version.status();
    }
    if (*version > kSchemaVersion) {
        return Status::Fail("The record has schema version " + std::to_string(*version) +
                            ", written by a newer KOVA X; this one knows versions up to " +
                            std::to_string(kSchemaVersion) +
                            ". Use the newer KOVA X with it, so nothing of it is lost.");
    }
    for (int next = *version + 1; next <= target; ++next) {
        for (const std::string& statement : Migration(next, sql.IsPostgres())) {
            if (Status done = sql.Exec(statement); !done) {
                return Status::Fail("Migration " + std::to_string(next) +
                                    " of the record failed: " + done.reason());
            }
        }
        if (Status noted =
                sql.Exec("INSERT INTO schema_version (version, applied_at) VALUES "
                         "(?, ?)",
                         {next, QString::fromStdString(IsoUtc(std::chrono::system_clock::now()))});
            !noted) {
            return noted;
        }
    }
    return Status::Ok();
}

} // namespace

Result<int> SchemaVersion(SqlConnection& sql) {
    const Result<SqlRows> table = sql.Select(
        sql.IsPostgres() ? "SELECT count(*) FROM information_schema.tables WHERE table_schema = "
                           "current_schema() AND table_name = 'schema_version'"
                         : "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = "
                           "'schema_version'");
    if (!table) {
        return table.status();
    }
    if (table->front().front().toInt() == 0) {
        return 0;
    }
    const Result<SqlRows> version = sql.Select("SELECT max(version) FROM schema_version");
    if (!version) {
        return version.status();
    }
    return version->front().front().toInt();
}

Status MigrateSchema(SqlConnection& sql, int target) {
    const Result<int> version = SchemaVersion(sql);
    if (version && *version == target) {
        return Status::Ok();
    }
    return sql.Transaction(SqlConnection::Access::Write, [&] { return Migrate(sql, target); });
}

} // namespace kova::record
