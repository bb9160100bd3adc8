#include "record/sql_connection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <atomic>

namespace kova::record {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string ErrorText(const QSqlError& error) {
    const QString text = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    // Server messages come in several lines; a reason is one sentence.
    return text.simplified().toStdString();
}

/// Each connection has a name of its own in Qt's list of connections.
QString NewConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("kova_record_") + QString::number(++counter);
}

/// Runs `sql` with `values` for its "?". A statement without values is run as it is:
/// PostgreSQL prepares only queries, never SET, BEGIN or CREATE.
Result<QSqlQuery> Run(QSqlDatabase& db, const std::string& sql, const QVariantList& values) {
    QSqlQuery query(db);
    if (values.isEmpty()) {
        if (!query.exec(Q(sql))) {
            return Result<QSqlQuery>::Fail(ErrorText(query.lastError()));
        }
        return query;
    }
    if (!query.prepare(Q(sql))) {
        return Result<QSqlQuery>::Fail(ErrorText(query.lastError()));
    }
    for (const QVariant& value : values) {
        query.addBindValue(value);
    }
    if (!query.exec()) {
        return Result<QSqlQuery>::Fail(ErrorText(query.lastError()));
    }
    return query;
}

} // namespace

SqlConnection::SqlConnection(RecordConnection where, std::string password, StoreOptions options)
    : m_where(std::move(where)), m_password(std::move(password)), m_options(options),
      m_name(NewConnectionName()) {
    m_db = QSqlDatabase::addDatabase(
        IsPostgres() ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), m_name);
}

SqlConnection::~SqlConnection() {
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

std::string SqlConnection::Description() const {
    if (!IsPostgres()) {
        return "SQLite file " + m_where.file;
    }
    std::string server = m_where.host.empty() ? std::string("the local server") : m_where.host;
    if (m_where.port > 0) {
        server += ":" + std::to_string(m_where.port);
    }
    return "PostgreSQL database " + m_where.database + " on " + server;
}

Status SqlConnection::Open() {
    if (!m_db.isValid()) {
        return Status::Fail(std::string("Qt's SQL driver for ") +
                            (IsPostgres() ? "PostgreSQL is not installed (Debian package "
                                            "libqt6sql6-psql)"
                                          : "SQLite is not installed (Debian package "
                                            "libqt6sql6-sqlite)") +
                            ", or no Qt application was started.");
    }
    Configure();
    if (!m_db.open()) {
        return Status::Fail(ErrorText(m_db.lastError()));
    }
    if (Status started = StartSession(); !started) {
        Close();
        return started;
    }
    return Status::Ok();
}

void SqlConnection::Configure() {
    if (!IsPostgres()) {
        m_db.setDatabaseName(Q(m_where.file));
        return;
    }
    m_db.setHostName(Q(m_where.host));
    m_db.setPort(m_where.port > 0 ? m_where.port : -1);
    m_db.setDatabaseName(Q(m_where.database));
    m_db.setUserName(Q(m_where.user));
    m_db.setPassword(Q(m_password));
    // A server that vanishes from the network is noticed within about half a minute, rather
    // than after the system's two hours.
    m_db.setConnectOptions(
        QStringLiteral("connect_timeout=%1;keepalives_idle=10;keepalives_interval=5;"
                       "keepalives_count=3")
            .arg(std::max(2, m_options.waitMilliseconds / 1000)));
}

Status SqlConnection::StartSession() {
    const std::string wait = std::to_string(m_options.waitMilliseconds);
    if (IsPostgres()) {
        return Exec("SET lock_timeout = " + wait);
    }
    for (const std::string& pragma :
         {"PRAGMA busy_timeout = " + wait, std::string("PRAGMA foreign_keys = ON"),
          std::string("PRAGMA synchronous = FULL")}) {
        if (Status done = Exec(pragma); !done) {
            return done;
        }
    }
    // Readers (the history) never block a writer (kova-mu, another window) and the reverse;
    // where the file system cannot share memory it stays a rollback journal. The file keeps
    // the mode once set, so a failure here (a busy file) changes nothing else.
    (void)Select("PRAGMA journal_mode = WAL");
    return Status::Ok();
}

void SqlConnection::Close() {
    m_db.close();
}

Status SqlConnection::Exec(const std::string& sql, const QVariantList& values) {
    const Result<QSqlQuery> query = Run(m_db, sql, values);
    return query ? Status::Ok() : query.status();
}

Result<SqlRows> SqlConnection::Select(const std::string& sql, const QVariantList& values) {
    Result<QSqlQuery> query = Run(m_db, sql, values);
    if (!query) {
        return query.status();
    }
    SqlRows rows;
    while (query.value().next()) {
        std::vector<QVariant> row;
        for (int column = 0; column < query.value().record().count(); ++column) {
            row.push_back(query.value().value(column));
        }
        rows.push_back(std::move(row));
    }
    if (query.value().lastError().isValid()) {
        return Result<SqlRows>::Fail(ErrorText(query.value().lastError()));
    }
    return rows;
}

Result<std::int64_t> SqlConnection::InsertReturningId(const std::string& sql,
                                                      const QVariantList& values) {
    const Result<SqlRows> rows = Select(sql, values);
    if (!rows) {
        return rows.status();
    }
    if (rows->size() != 1 || rows->front().empty()) {
        return Result<std::int64_t>::Fail("The database gave no number for the new row.");
    }
    return rows->front().front().toLongLong();
}

Status SqlConnection::Transaction(Access access, const std::function<Status()>& work) {
    if (!m_db.isOpen()) {
        if (Status opened = Open(); !opened) {
            return opened;
        }
    }
    const Status first = TryOnce(access, work);
    if (first || Alive()) {
        return first;
    }
    Close();
    if (Status opened = Open(); !opened) {
        return Status::Fail(first.reason() +
                            " (the connection was lost and could not be made "
                            "again: " +
                            opened.reason() + ")");
    }
    return TryOnce(access, work);
}

Status SqlConnection::TryOnce(Access access, const std::function<Status()>& work) {
    // SQLite: IMMEDIATE takes the write lock at once, so the busy timeout applies to it and
    // two writers never meet halfway through. PostgreSQL: a read sees one snapshot.
    const char* begin =
        access == Access::Write
            ? (IsPostgres() ? "BEGIN" : "BEGIN IMMEDIATE")
            : (IsPostgres() ? "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY" : "BEGIN");
    if (Status begun = Exec(begin); !begun) {
        return begun;
    }
    Status done = work();
    if (done) {
        done = Exec("COMMIT");
    }
    if (!done && m_db.isOpen()) {
        (void)Exec("ROLLBACK");
    }
    return done;
}

bool SqlConnection::Alive() {
    return m_db.isOpen() && Select("SELECT 1").ok();
}

} // namespace kova::record
