#include "gui/record_keeper.h"

#include "gui/dialogs.h"
#include "gui/qt_text.h"
#include "record/record_location.h"
#include "record/record_store.h"

#include <QSettings>

namespace kova::gui {
namespace {

const QString kConnectionKey = QStringLiteral("Record/Connection");

/// The record chosen in `settings`, else the default file; the default file also when the
/// settings hold a text that cannot be read (it is then never used as it is).
record::RecordConnection ChosenConnection(const QSettings* settings) {
    if (settings != nullptr) {
        const QString text = settings->value(kConnectionKey).toString();
        if (!text.isEmpty()) {
            if (const auto chosen = record::ParseRecordConnection(text.toStdString())) {
                return *chosen;
            }
        }
    }
    const Result<record::RecordConnection> fallback = record::DefaultRecordConnection();
    return fallback ? *fallback : record::RecordConnection{};
}

} // namespace

RecordKeeper::RecordKeeper(QSettings* settings)
    : m_settings(settings), m_connection(ChosenConnection(settings)) {
}

RecordKeeper::~RecordKeeper() = default;

QString RecordKeeper::ConnectionText() const {
    return QString::fromStdString(record::RecordConnectionText(m_connection));
}

Status RecordKeeper::SetConnectionText(const QString& text) {
    const Result<record::RecordConnection> parsed =
        record::ParseRecordConnection(text.trimmed().toStdString());
    if (!parsed) {
        return parsed.status();
    }
    m_connection = *parsed;
    m_store.reset();
    m_password.clear();
    if (m_settings != nullptr) {
        m_settings->setValue(kConnectionKey, ConnectionText());
    }
    return Status::Ok();
}

Result<record::RecordStore*> RecordKeeper::Store(QWidget* parent) {
    if (m_store != nullptr) {
        return m_store.get();
    }
    if (m_connection.file.empty() &&
        m_connection.driver == record::RecordConnection::Driver::SQLite) {
        return Status::Fail(
            tr("No record of checks: the user's data folder cannot be made.").toStdString());
    }
    auto opened = record::RecordStore::Open(m_connection, m_password);
    if (!opened && record::AsksForPassword(opened.status())) {
        const std::optional<QString> password = Dialogs::AskText(
            parent, tr("Record of checks"),
            tr("Password for %1:").arg(QString::fromStdString(m_connection.user)), {}, true);
        if (!password) {
            return opened.status();
        }
        m_password = password->toStdString();
        opened = record::RecordStore::Open(m_connection, m_password);
    }
    if (!opened) {
        return opened.status();
    }
    m_store = std::move(opened.value());
    return m_store.get();
}

QString RecordKeeper::Keep(std::vector<record::CheckRecord> checks, QWidget* parent) {
    const std::size_t before = m_kept.checks().size() + checks.size();
    const Result<record::RecordStore*> store = Store(parent);
    for (record::CheckRecord& check : checks) {
        // A check of a beam already in the record follows the newest of them: the audit
        // trail of a beam checked again.
        if (store && !check.follows) {
            if (const auto stored = (*store)->Find(record::SameBeamFilter(check))) {
                check.follows = record::FollowedCheck(*stored, check);
            }
        }
        m_kept.Add(std::move(check));
    }
    const Status saved = store ? m_kept.SaveAll([&](const record::CheckRecord& check) {
        return (*store)->Save(check).status();
    })
                               : store.status();
    if (!saved) {
        // A record that failed is opened again for the next save (a server back, a file
        // unlocked).
        m_store.reset();
        return tr("%1 checks kept to be saved again (Record > Save Kept Checks): %2")
            .arg(keptCount())
            .arg(QString::fromStdString(saved.reason()));
    }
    return tr("%1 checks saved in the record (%2)")
        .arg(before)
        .arg(QString::fromStdString((*store)->Description()));
}

Result<std::vector<record::CheckRecord>> RecordKeeper::Find(const record::RecordFilter& filter,
                                                            QWidget* parent) {
    const Result<record::RecordStore*> store = Store(parent);
    if (!store) {
        return store.status();
    }
    auto found = (*store)->Find(filter);
    if (!found) {
        m_store.reset();
    }
    return found;
}

Result<std::int64_t> RecordKeeper::Save(const record::SignOff& signOff, QWidget* parent) {
    const Result<record::RecordStore*> store = Store(parent);
    if (!store) {
        return store.status();
    }
    return (*store)->Save(signOff);
}

} // namespace kova::gui
