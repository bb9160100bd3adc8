#pragma once

#include "core/common/result.h"
#include "core/record/check_record.h"
#include "core/record/pending_checks.h"
#include "core/record/record_connection.h"
#include "core/record/record_filter.h"

#include <QCoreApplication>
#include <QString>
#include <memory>
#include <vector>

class QSettings;
class QWidget;

namespace kova::record {
class RecordStore;
}

namespace kova::gui {

/// The desktop program's link to the record of checks: where it is (kept in the settings as
/// its connection text, never with a password), the open record, and the checks it could
/// not save yet (the database busy, locked or gone), kept to be saved again with the next
/// save. A PostgreSQL server's password is asked when the server wants one and kept in
/// memory only.
class RecordKeeper {
    Q_DECLARE_TR_FUNCTIONS(kova::gui::RecordKeeper)

public:
    /// `settings` keeps the record's place; without them, or with none chosen, the record is
    /// the SQLite file in the user's data folder. `settings` must outlive the keeper.
    explicit RecordKeeper(QSettings* settings);
    ~RecordKeeper();
    RecordKeeper(const RecordKeeper&) = delete;
    RecordKeeper& operator=(const RecordKeeper&) = delete;

    /// The record's place in use, as its connection text.
    QString ConnectionText() const;
    /// Makes `text` (ParseRecordConnection's: a path or PostgreSQL keywords) the record's
    /// place, kept in the settings; refused, saying why, for a text it cannot read.
    Status SetConnectionText(const QString& text);

    /// Keeps `checks` and saves every kept check oldest first: a sentence for the status bar
    /// saying how many were saved where, or why the rest is kept.
    QString Keep(std::vector<record::CheckRecord> checks, QWidget* parent);
    /// The checks kept to be saved again.
    std::size_t keptCount() const { return m_kept.checks().size(); }

    Result<std::vector<record::CheckRecord>> Find(const record::RecordFilter& filter,
                                                  QWidget* parent);
    Result<std::int64_t> Save(const record::SignOff& signOff, QWidget* parent);

private:
    /// The open record, opened now when it is not (asking for a password when the server
    /// wants one).
    Result<record::RecordStore*> Store(QWidget* parent);

    QSettings* m_settings;
    record::RecordConnection m_connection;
    std::string m_password;
    std::unique_ptr<record::RecordStore> m_store;
    record::PendingChecks m_kept;
};

} // namespace kova::gui
