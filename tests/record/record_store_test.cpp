// The record of checks in real databases: an SQLite file, and a PostgreSQL database on the
// server KOVA_TEST_PG names (scripts/test_postgres.sh). The faults are real: another
// connection locks the database, the server ends the store's connection and refuses new ones.

#include "core/record/pending_checks.h"
#include "core/record/record_csv.h"
#include "record/record_location.h"
#include "record/record_schema.h"
#include "record/record_store.h"
#include "record/sql_connection.h"
#include "support/temp_dir.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace kova::record {
namespace {

using Driver = RecordConnection::Driver;

CheckRecord Sample(const std::string& patient, const std::string& linac, const std::string& at,
                   bool beyond) {
    CheckRecord c;
    c.key = NewRecordKey();
    c.patientName = patient;
    c.patientID = "ID-" + patient;
    c.treatment = "Breast, left";
    c.beamName = "AP";
    c.beamID = "1";
    c.linac = linac;
    c.energy = "6MV";
    c.kind = "Photon Beam";
    c.controls = {{"Dose", "100"}, {"Name", "AP \"left\""}};
    c.kovaMU = 100 / 0.67;
    c.tpsMU = beyond ? 160 : 150;
    c.difference = beyond ? 7.2 : 0.5;
    c.actionLevel = 3;
    c.beyondActionLevel = beyond;
    c.programVersion = "0.1.0";
    c.linacFile = linac + ".lnc";
    c.linacFileSha256 = std::string(64, 'a');
    c.checkedAt = at;
    c.osUser = "anna";
    return c;
}

PendingChecks::SaveFunction SaveIn(RecordStore& store) {
    return [&store](const CheckRecord& check) { return store.Save(check).status(); };
}

class RecordStoreTest : public ::testing::TestWithParam<Driver> {
protected:
    void SetUp() override {
        if (GetParam() == Driver::SQLite) {
            m_where.file = m_folder.File("checks.sqlite").string();
            return;
        }
        const char* server = std::getenv("KOVA_TEST_PG");
        if (server == nullptr) {
            GTEST_SKIP() << "No PostgreSQL server given: scripts/test_postgres.sh runs the tests "
                            "beside a throw-away one (KOVA_TEST_PG).";
        }
        const Result<RecordConnection> admin = ParseRecordConnection(server);
        ASSERT_TRUE(admin.ok()) << admin.reason();
        m_admin = std::make_unique<SqlConnection>(*admin, "", StoreOptions{});
        const Status opened = m_admin->Open();
        ASSERT_TRUE(opened.ok()) << opened.reason();
        m_where = *admin;
        m_where.database = "kova_" + NewRecordKey().substr(0, 16);
        ASSERT_TRUE(m_admin->Exec("CREATE DATABASE " + m_where.database).ok());
    }
    void TearDown() override {
        if (m_admin) {
            (void)m_admin->Exec("DROP DATABASE IF EXISTS " + m_where.database + " WITH (FORCE)");
        }
    }
    std::unique_ptr<RecordStore> Open() {
        Result<std::unique_ptr<RecordStore>> store = RecordStore::Open(m_where, "", {300});
        EXPECT_TRUE(store.ok()) << store.reason();
        return store ? std::move(store.value()) : nullptr;
    }
    /// A connection of another program to the record's database.
    std::unique_ptr<SqlConnection> Plain() {
        auto plain = std::make_unique<SqlConnection>(m_where, "", StoreOptions{300});
        EXPECT_TRUE(plain->Open().ok());
        return plain;
    }
    static std::vector<CheckRecord> All(RecordStore& store) {
        const Result<std::vector<CheckRecord>> found = store.Find({});
        EXPECT_TRUE(found.ok()) << found.reason();
        return found ? *found : std::vector<CheckRecord>{};
    }
    /// Ends every connection to the record's database, and waits until they are gone.
    void EndConnections() {
        const std::string ofRecord = " FROM pg_stat_activity WHERE datname = '" + m_where.database +
                                     "' AND pid <> pg_backend_pid()";
        ASSERT_TRUE(m_admin->Exec("SELECT pg_terminate_backend(pid)" + ofRecord).ok());
        for (int i = 0; i < 100 && m_admin->Select("SELECT 1" + ofRecord)->size() > 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    test::TempDir m_folder;
    RecordConnection m_where;
    std::unique_ptr<SqlConnection> m_admin; ///< PostgreSQL: to the server's first database
};

TEST_P(RecordStoreTest, ChecksAreFoundByFilterWithEveryField) {
    const auto store = Open();
    ASSERT_TRUE(store);
    std::vector<CheckRecord> saved = {Sample("Müller", "TB1", "2026-10-15T08:30:00Z", false),
                                      Sample("Rossi", "TB2", "2026-10-16T08:30:00Z", true),
                                      Sample("rossi", "TB1", "2026-11-01T10:00:00Z", true)};
    saved[0].tpsMU.reset();
    saved[0].difference.reset();
    for (CheckRecord& check : saved) {
        check.id = store->Save(check).value();
        EXPECT_EQ(store->Save(check).value(), check.id) << "saved again, kept once";
    }
    EXPECT_EQ(ChecksCsv(All(*store)), ChecksCsv(saved));
    const auto with = [](auto set) {
        RecordFilter filter;
        set(filter);
        return filter;
    };
    const std::pair<RecordFilter, std::size_t> cases[] = {
        {{}, 3},
        {with([](RecordFilter& f) { f.patient = "ROSSI"; }), 2},
        {with([](RecordFilter& f) { f.patient = "ü"; }), 1},
        {with([](RecordFilter& f) { f.patient = "%"; }), 0},
        {with([](RecordFilter& f) { f.linac = "TB1"; }), 2},
        {with([](RecordFilter& f) {
             f.from = "2026-10-16T00:00:00Z";
             f.to = "2026-11-01T10:00:00Z";
         }),
         1},
        {with([](RecordFilter& f) { f.beyondActionLevelOnly = true; }), 2},
        {with([](RecordFilter& f) {
             f.beyondActionLevelOnly = true;
             f.linac = "TB1";
         }),
         1},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const RecordFilter& filter = cases[i].first;
        std::vector<CheckRecord> expected;
        std::copy_if(saved.begin(), saved.end(), std::back_inserter(expected),
                     [&](const CheckRecord& check) { return Matches(filter, check); });
        EXPECT_EQ(expected.size(), cases[i].second) << "row " << i;
        EXPECT_EQ(ChecksCsv(store->Find(filter).value()), ChecksCsv(expected)) << "row " << i;
    }
}

TEST_P(RecordStoreTest, AnApprovedCheckIsNeverChanged) {
    const auto store = Open();
    ASSERT_TRUE(store);
    CheckRecord check = Sample("Rossi", "TB1", "2026-10-15T08:30:00Z", true);
    check.id = store->Save(check).value();
    // Each sign-off made on the check as first read (as on another workstation).
    const std::tuple<Verdict, const char*, const char*> signOffs[] = {
        {Verdict::NotApproved, "wrong wedge", ""},
        {Verdict::Approved, "", ""},
        {Verdict::NotApproved, "too late", "can no longer be changed"}};
    for (const auto& [verdict, comment, refusal] : signOffs) {
        const SignOff signOff = MakeSignOff(check, verdict, comment, "anna", {}).value();
        const Result<std::int64_t> saved = store->Save(signOff);
        EXPECT_NE(saved.reason().find(refusal), std::string::npos) << saved.reason();
        EXPECT_EQ(saved.ok(), *refusal == '\0') << comment;
    }
    CheckRecord newer = Sample("Rossi", "TB1", "2026-10-16T08:30:00Z", false);
    newer.follows = check.id;
    EXPECT_TRUE(store->Save(newer).ok());
    const std::string before = ChecksCsv(All(*store));
    const std::string id = std::to_string(check.id);
    const auto plain = Plain();
    const std::vector<std::string> changes = {
        "UPDATE checks SET kova_mu = 1 WHERE id = " + id,
        "DELETE FROM checks",
        "UPDATE sign_offs SET verdict = 'Not approved'",
        "DELETE FROM sign_offs",
        "DELETE FROM check_inputs",
        "UPDATE schema_version SET version = 1",
        "INSERT INTO check_inputs (check_id, position, name, value) VALUES (" + id +
            ", 9, 'Dose', '1')",
        "INSERT INTO sign_offs (sign_off_key, check_id, verdict, comment, signed_by, signed_at) "
        "VALUES ('x', " +
            id + ", 'Not approved', 'x', 'x', 'x')"};
    for (const std::string& sql : changes) {
        EXPECT_FALSE(plain->Exec(sql).ok()) << sql;
    }
    EXPECT_EQ(ChecksCsv(All(*store)), before);
}

TEST_P(RecordStoreTest, TwoWritersAtOnceKeepEveryCheck) {
    constexpr int kEach = 20;
    std::vector<Status> results[2];
    const auto writer = [this](std::vector<Status>& statuses) {
        Result<std::unique_ptr<RecordStore>> store = RecordStore::Open(m_where);
        statuses.push_back(store.status());
        for (int i = 0; store && i < kEach; ++i) {
            statuses.push_back(store.value()
                                   ->Save(Sample("Rossi", "TB1", "2026-10-15T08:30:00Z", false))
                                   .status());
        }
    };
    std::thread first(writer, std::ref(results[0]));
    std::thread second(writer, std::ref(results[1]));
    first.join();
    second.join();
    for (const std::vector<Status>& statuses : results) {
        EXPECT_EQ(
            std::count_if(statuses.begin(), statuses.end(), [](const Status& s) { return s.ok(); }),
            kEach + 1);
    }
    const auto store = Open();
    ASSERT_TRUE(store);
    EXPECT_EQ(All(*store).size(), 2u * kEach);
    if (GetParam() == Driver::SQLite) {
        EXPECT_EQ(Plain()->Select("PRAGMA journal_mode")->front().front(), QStringLiteral("wal"))
            << "readers and a writer at once";
    }
}

TEST_P(RecordStoreTest, ALockedDatabaseKeepsTheCheckUntilItIsFree) {
    const auto store = Open();
    ASSERT_TRUE(store);
    const auto plain = Plain();
    for (const char* lock : GetParam() == Driver::SQLite
                                ? std::vector<const char*>{"BEGIN EXCLUSIVE"}
                                : std::vector<const char*>{"BEGIN", "LOCK TABLE checks"}) {
        ASSERT_TRUE(plain->Exec(lock).ok());
    }
    PendingChecks pending;
    pending.Add(Sample("Rossi", "TB1", "2026-10-15T08:30:00Z", false));
    const Status locked = pending.SaveAll(SaveIn(*store));
    EXPECT_NE(locked.reason().find("was not saved in the record"), std::string::npos);
    EXPECT_EQ(pending.checks().size(), 1u);
    ASSERT_TRUE(plain->Exec("ROLLBACK").ok());
    EXPECT_TRUE(pending.SaveAll(SaveIn(*store)).ok());
    EXPECT_EQ(All(*store).size(), 1u);
}

/// What only a server has: connections it can end or refuse, and passwords.
class ServerRecordTest : public RecordStoreTest {};

TEST_P(ServerRecordTest, AServerThatGoesAwayGetsTheCheckWhenBack) {
    const auto store = Open();
    ASSERT_TRUE(store);
    // A lost connection is made again at once; a server that refuses connections leaves the
    // check kept until it takes them again.
    for (const bool refusing : {false, true}) {
        if (refusing) {
            ASSERT_TRUE(
                m_admin->Exec("ALTER DATABASE " + m_where.database + " ALLOW_CONNECTIONS false")
                    .ok());
        }
        EndConnections();
        PendingChecks pending;
        pending.Add(Sample("Rossi", "TB1", "2026-10-15T08:30:00Z", false));
        const Status first = pending.SaveAll(SaveIn(*store));
        EXPECT_EQ(first.ok(), !refusing) << first.reason();
        EXPECT_EQ(pending.empty(), !refusing);
        ASSERT_TRUE(
            m_admin->Exec("ALTER DATABASE " + m_where.database + " ALLOW_CONNECTIONS true").ok());
        EXPECT_TRUE(pending.SaveAll(SaveIn(*store)).ok());
    }
    EXPECT_EQ(All(*store).size(), 2u);
}

TEST_P(RecordStoreTest, AnOlderSchemaIsMigratedANewerOneRefused) {
    {
        const auto plain = Plain();
        ASSERT_TRUE(MigrateSchema(*plain, 1).ok());
        ASSERT_TRUE(plain
                        ->Exec("INSERT INTO checks (check_key, patient_name, patient_id, "
                               "treatment, beam_name, beam_id, linac, energy, kind, kova_mu, "
                               "action_level, beyond_action_level, program_version, "
                               "linac_file, linac_sha256, checked_at, os_user) VALUES ('v1', "
                               "'Rossi', '', 'T', 'AP', '1', 'TB1', '6MV', 'Photon Beam', "
                               "149.25, 3, 0, '0.0.9', 'TB1.lnc', '', '2025-01-01', 'anna')")
                        .ok());
        // A migration that fails leaves the record as it was: the name of its index is taken.
        ASSERT_TRUE(plain->Exec("CREATE TABLE checks_by_time (x INTEGER)").ok());
        const std::string refusal = RecordStore::Open(m_where).reason();
        EXPECT_NE(refusal.find("Migration 2 of the record failed"), std::string::npos) << refusal;
        EXPECT_EQ(SchemaVersion(*plain).value(), 1);
        ASSERT_TRUE(plain->Exec("DROP TABLE checks_by_time").ok());
    }
    const auto store = Open();
    ASSERT_TRUE(store);
    const std::vector<CheckRecord> found = All(*store);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].programVersion, "0.0.9");
    const auto plain = Plain();
    EXPECT_EQ(SchemaVersion(*plain).value(), kSchemaVersion);
    ASSERT_TRUE(plain->Exec("INSERT INTO schema_version VALUES (99, 'later')").ok());
    const std::string refusal = RecordStore::Open(m_where).reason();
    EXPECT_NE(refusal.find("schema version 99, written by a newer KOVA X"), std::string::npos)
        << refusal;
}

TEST_P(ServerRecordTest, APasswordComesFromTheServersFileOrIsAsked) {
    const char* file = std::getenv("PGPASSFILE");
    if (file == nullptr) {
        GTEST_SKIP() << "The server asks for no password (no PGPASSFILE).";
    }
    const std::string passwordFile = file;
    std::string line;
    std::getline(std::ifstream(passwordFile), line);
    ASSERT_TRUE(Open()) << "from the password file";
    unsetenv("PGPASSFILE");
    const Status asked = RecordStore::Open(m_where).status();
    EXPECT_TRUE(AsksForPassword(asked)) << asked.reason();
    EXPECT_TRUE(RecordStore::Open(m_where, line.substr(line.rfind(':') + 1)).ok());
    setenv("PGPASSFILE", passwordFile.c_str(), 1);
}

const auto kDriverName = [](const auto& info) {
    return info.param == Driver::SQLite ? "SQLite" : "PostgreSQL";
};
INSTANTIATE_TEST_SUITE_P(Databases, RecordStoreTest,
                         ::testing::Values(Driver::SQLite, Driver::PostgreSQL), kDriverName);
INSTANTIATE_TEST_SUITE_P(Servers, ServerRecordTest, ::testing::Values(Driver::PostgreSQL),
                         kDriverName);

TEST(RecordLocation, TheDefaultRecordNeedsNoSetUp) {
    const test::TempDir home;
    setenv("XDG_DATA_HOME", home.Path().c_str(), 1);
    const Result<RecordConnection> where = DefaultRecordConnection();
    ASSERT_TRUE(where.ok()) << where.reason();
    EXPECT_EQ(where->file, (home.Path() / "kova_record_tests" / kDefaultRecordFile).string());
    EXPECT_TRUE(RecordStore::Open(*where).ok());
    EXPECT_TRUE(std::filesystem::exists(where->file));
}

} // namespace
} // namespace kova::record
