#include "record/record_store.h"

#include "record/record_schema.h"
#include "record/sql_connection.h"

#include <filesystem>
#include <map>

namespace kova::record {
namespace {

using Access = SqlConnection::Access;

/// The columns of a check, in the order of CheckValues and CheckFromRow (after the id).
constexpr const char* kCheckColumns =
    "check_key, follows, patient_name, patient_id, treatment, beam_name, beam_id, linac, "
    "energy, kind, kova_mu, tps_mu, difference, action_level, beyond_action_level, "
    "program_version, linac_file, linac_sha256, checked_at, os_user";
constexpr int kCheckColumnCount = 20;

/// The columns of a sign-off, in the order of SignOffFromRow.
constexpr const char* kSignOffColumns =
    "check_id, id, sign_off_key, verdict, comment, signed_by, signed_at";

QVariant Text(const std::string& text) {
    return QString::fromStdString(text);
}
std::string Text(const QVariant& value) {
    return value.toString().toStdString();
}

QVariant Value(const std::optional<double>& number) {
    return number ? QVariant(*number) : QVariant(QMetaType::fromType<double>());
}
QVariant Value(const std::optional<std::int64_t>& id) {
    return id ? QVariant(qlonglong{*id}) : QVariant(QMetaType::fromType<qlonglong>());
}

QVariantList CheckValues(const CheckRecord& c) {
    return {Text(c.key),
            Value(c.follows),
            Text(c.patientName),
            Text(c.patientID),
            Text(c.treatment),
            Text(c.beamName),
            Text(c.beamID),
            Text(c.linac),
            Text(c.energy),
            Text(c.kind),
            c.kovaMU,
            Value(c.tpsMU),
            Value(c.difference),
            c.actionLevel,
            c.beyondActionLevel ? 1 : 0,
            Text(c.programVersion),
            Text(c.linacFile),
            Text(c.linacFileSha256),
            Text(c.checkedAt),
            Text(c.osUser)};
}

CheckRecord CheckFromRow(const std::vector<QVariant>& row) {
    const auto number = [&row](int i) {
        return row[i].isNull() ? std::nullopt : std::optional<double>(row[i].toDouble());
    };
    CheckRecord c;
    c.id = row[0].toLongLong();
    c.key = Text(row[1]);
    if (!row[2].isNull()) {
        c.follows = row[2].toLongLong();
    }
    std::string* texts[] = {&c.patientName, &c.patientID, &c.treatment, &c.beamName,
                            &c.beamID,      &c.linac,     &c.energy,    &c.kind};
    for (int i = 0; i < 8; ++i) {
        *texts[i] = Text(row[3 + i]);
    }
    c.kovaMU = row[11].toDouble();
    c.tpsMU = number(12);
    c.difference = number(13);
    c.actionLevel = row[14].toDouble();
    c.beyondActionLevel = row[15].toInt() != 0;
    c.programVersion = Text(row[16]);
    c.linacFile = Text(row[17]);
    c.linacFileSha256 = Text(row[18]);
    c.checkedAt = Text(row[19]);
    c.osUser = Text(row[20]);
    return c;
}

SignOff SignOffFromRow(const std::vector<QVariant>& row) {
    return SignOff{Text(row[2]),
                   row[0].toLongLong(),
                   VerdictFromText(Text(row[3])).value_or(Verdict::NotApproved),
                   Text(row[4]),
                   Text(row[5]),
                   Text(row[6]),
                   row[1].toLongLong()};
}

std::string Placeholders(int count) {
    std::string text = "(?";
    for (int i = 1; i < count; ++i) {
        text += ", ?";
    }
    return text + ")";
}

/// `text` in a LIKE pattern that matches it literally ("\" escapes).
std::string LikeLiteral(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\' || c == '%' || c == '_') {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

/// The WHERE clause that selects the checks Matches(filter) passes, with its values.
/// Patient: SQLite's LIKE folds the letters A to Z and no other; PostgreSQL's LIKE folds
/// none, so its column is folded as FoldAsciiCase folds.
std::pair<std::string, QVariantList> WhereClause(const RecordFilter& filter, bool postgres) {
    std::string where;
    QVariantList values;
    const auto add = [&](const std::string& term) {
        where += (where.empty() ? " WHERE " : " AND ") + term;
    };
    if (!filter.patient.empty()) {
        const auto folded = [postgres](const std::string& column) {
            return postgres ? "translate(" + column +
                                  ", 'ABCDEFGHIJKLMNOPQRSTUVWXYZ', 'abcdefghijklmnopqrstuvwxyz')"
                            : column;
        };
        add("(" + folded("patient_name") + " LIKE ? ESCAPE '\\' OR " + folded("patient_id") +
            " LIKE ? ESCAPE '\\')");
        const QVariant pattern = Text("%" + LikeLiteral(FoldAsciiCase(filter.patient)) + "%");
        values << pattern << pattern;
    }
    const std::pair<const char*, const std::string*> exact[] = {{"linac = ?", &filter.linac},
                                                                {"energy = ?", &filter.energy},
                                                                {"kind = ?", &filter.kind},
                                                                {"checked_at >= ?", &filter.from},
                                                                {"checked_at < ?", &filter.to}};
    for (const auto& [term, value] : exact) {
        if (!value->empty()) {
            add(term);
            values << Text(*value);
        }
    }
    if (filter.beyondActionLevelOnly) {
        add("beyond_action_level = 1");
    }
    return {where, values};
}

/// The checks of `rows` with their inputs and sign-offs, read in the same transaction.
std::vector<CheckRecord> Assemble(const SqlRows& rows, const SqlRows& inputs,
                                  const SqlRows& signOffs) {
    std::vector<CheckRecord> checks;
    std::map<std::int64_t, std::size_t> byId;
    for (const std::vector<QVariant>& row : rows) {
        checks.push_back(CheckFromRow(row));
        byId[checks.back().id] = checks.size() - 1;
    }
    const auto of = [&](const QVariant& id) {
        const auto found = byId.find(id.toLongLong());
        return found == byId.end() ? nullptr : &checks[found->second];
    };
    for (const std::vector<QVariant>& row : inputs) {
        if (CheckRecord* check = of(row[0])) {
            check->controls.push_back({Text(row[1]), Text(row[2])});
        }
    }
    for (const std::vector<QVariant>& row : signOffs) {
        if (CheckRecord* check = of(row[0])) {
            check->signOffs.push_back(SignOffFromRow(row));
        }
    }
    return checks;
}

} // namespace

RecordStore::RecordStore(std::unique_ptr<SqlConnection> sql) : m_sql(std::move(sql)) {
}
RecordStore::~RecordStore() = default;

Result<std::unique_ptr<RecordStore>> RecordStore::Open(const RecordConnection& connection,
                                                       const std::string& password,
                                                       StoreOptions options) {
    using Opened = Result<std::unique_ptr<RecordStore>>;
    auto sql = std::make_unique<SqlConnection>(connection, password, options);
    if (connection.driver == RecordConnection::Driver::SQLite) {
        const std::filesystem::path folder = std::filesystem::path(connection.file).parent_path();
        std::error_code error;
        if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
            return Opened::Fail("The folder of the record " + connection.file + " does not exist.");
        }
    }
    if (Status opened = sql->Open(); !opened) {
        return Opened::Fail("Cannot open the record (" + sql->Description() +
                            "): " + opened.reason());
    }
    if (Status migrated = MigrateSchema(*sql); !migrated) {
        return Opened::Fail("Cannot use the record (" + sql->Description() +
                            "): " + migrated.reason());
    }
    return std::unique_ptr<RecordStore>(new RecordStore(std::move(sql)));
}

std::string RecordStore::Description() const {
    return m_sql->Description();
}

Result<std::int64_t> RecordStore::Save(const CheckRecord& check) {
    std::int64_t id = 0;
    const Status saved = check.key.empty()
                             ? Status::Fail("the check has no key")
                             : m_sql->Transaction(Access::Write, [&] { return Insert(check, id); });
    if (!saved) {
        return Result<std::int64_t>::Fail(
            "The check of beam '" + check.beamName + "' of patient '" + check.patientName +
            "' was not saved in the record (" + Description() + "): " + saved.reason());
    }
    return id;
}

Status RecordStore::Insert(const CheckRecord& check, std::int64_t& id) {
    const Result<SqlRows> existing =
        m_sql->Select("SELECT id FROM checks WHERE check_key = ?", {Text(check.key)});
    if (!existing || !existing->empty()) {
        id = existing ? existing->front().front().toLongLong() : 0;
        return existing.status();
    }
    const Result<std::int64_t> inserted =
        m_sql->InsertReturningId(std::string("INSERT INTO checks (") + kCheckColumns + ") VALUES " +
                                     Placeholders(kCheckColumnCount) + " RETURNING id",
                                 CheckValues(check));
    if (!inserted) {
        return inserted.status();
    }
    id = *inserted;
    if (check.controls.empty()) {
        return Status::Ok();
    }
    // One statement for every input: one round trip to a server.
    std::string sql = "INSERT INTO check_inputs (check_id, position, name, value) VALUES ";
    QVariantList values;
    for (std::size_t i = 0; i < check.controls.size(); ++i) {
        sql += (i == 0 ? "" : ", ") + Placeholders(4);
        values << qlonglong{id} << int(i) << Text(check.controls[i].name)
               << Text(check.controls[i].text);
    }
    return m_sql->Exec(sql, values);
}

Result<std::int64_t> RecordStore::Save(const SignOff& signOff) {
    std::int64_t id = 0;
    const Status saved =
        signOff.key.empty()
            ? Status::Fail("the sign-off has no key")
            : m_sql->Transaction(Access::Write, [&] { return Insert(signOff, id); });
    if (!saved) {
        return Result<std::int64_t>::Fail(
            "The sign-off of check " + std::to_string(signOff.checkId) +
            " was not saved in the record (" + Description() + "): " + saved.reason());
    }
    return id;
}

Status RecordStore::Insert(const SignOff& signOff, std::int64_t& id) {
    const QVariant checkId = qlonglong{signOff.checkId};
    // PostgreSQL: the check's row is locked, so sign-offs of one check take turns.
    const Result<SqlRows> check =
        m_sql->Select(std::string("SELECT id FROM checks WHERE id = ?") +
                          (m_sql->IsPostgres() ? " FOR NO KEY UPDATE" : ""),
                      {checkId});
    if (!check || check->empty()) {
        return check ? Status::Fail("the record has no such check") : check.status();
    }
    const Result<SqlRows> rows = m_sql->Select(std::string("SELECT ") + kSignOffColumns +
                                                   " FROM sign_offs WHERE check_id = ? ORDER BY id",
                                               {checkId});
    if (!rows) {
        return rows.status();
    }
    std::vector<SignOff> existing;
    for (const std::vector<QVariant>& row : *rows) {
        existing.push_back(SignOffFromRow(row));
        if (existing.back().key == signOff.key) {
            id = existing.back().id;
            return Status::Ok();
        }
    }
    if (Status allowed = CanSignOff(existing, signOff); !allowed) {
        return allowed;
    }
    const Result<std::int64_t> inserted = m_sql->InsertReturningId(
        "INSERT INTO sign_offs (sign_off_key, check_id, verdict, comment, signed_by, "
        "signed_at) VALUES (?, ?, ?, ?, ?, ?) RETURNING id",
        {Text(signOff.key), checkId, Text(std::string(VerdictText(signOff.verdict))),
         Text(signOff.comment), Text(signOff.signedBy), Text(signOff.signedAt)});
    id = inserted ? *inserted : 0;
    return inserted.status();
}

Result<std::vector<CheckRecord>> RecordStore::Find(const RecordFilter& filter) {
    const std::pair<std::string, QVariantList> clause = WhereClause(filter, m_sql->IsPostgres());
    const std::string& where = clause.first;
    const QVariantList& values = clause.second;
    const std::string ofChecks = " WHERE check_id IN (SELECT id FROM checks" + where + ")";
    std::vector<CheckRecord> checks;
    const Status read = m_sql->Transaction(Access::Read, [&] {
        const Result<SqlRows> rows =
            m_sql->Select(std::string("SELECT id, ") + kCheckColumns + " FROM checks" + where +
                              " ORDER BY checked_at, id",
                          values);
        const Result<SqlRows> inputs =
            m_sql->Select("SELECT check_id, name, value FROM check_inputs" + ofChecks +
                              " ORDER BY check_id, position",
                          values);
        const Result<SqlRows> signOffs =
            m_sql->Select(std::string("SELECT ") + kSignOffColumns + " FROM sign_offs" + ofChecks +
                              " ORDER BY id",
                          values);
        for (const Status* status : {&rows.status(), &inputs.status(), &signOffs.status()}) {
            if (!*status) {
                return *status;
            }
        }
        checks = Assemble(*rows, *inputs, *signOffs);
        return Status::Ok();
    });
    if (!read) {
        return Result<std::vector<CheckRecord>>::Fail("Cannot read the record (" + Description() +
                                                      "): " + read.reason());
    }
    return checks;
}

bool AsksForPassword(const Status& failure) {
    const std::string& reason = failure.reason();
    return reason.find("no password supplied") != std::string::npos ||
           reason.find("password authentication failed") != std::string::npos;
}

} // namespace kova::record
