#pragma once

#include "core/common/result.h"
#include "core/record/check_record.h"
#include "core/record/pending_checks.h"
#include "core/record/record_filter.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kova::mu {

/// kova-mu's side of --record and --history: the record plug-in (kova_mu_record.so, Qt SQL),
/// loaded only for those options so that a text check never loads Qt. Checks that could not
/// be saved are kept and saved again before the run ends; only what is still not saved then
/// is lost with the run, and said.
class RecordLink {
public:
    /// `connection`: the record's path or connection text; `programFolder`: kova-mu's
    /// folder, where the plug-in is looked for.
    RecordLink(std::string connection, std::filesystem::path programFolder);
    RecordLink(const RecordLink&) = delete;
    RecordLink& operator=(const RecordLink&) = delete;
    ~RecordLink();

    /// Loads the plug-in and opens the record (made on first use for an SQLite file). Load a
    /// report plug-in first: the two share Qt's application, the report's.
    Status Open();

    /// "SQLite file PATH", "PostgreSQL database NAME on HOST:PORT".
    std::string Description() const;

    /// Saves `check`, after any kept before it; one that fails is kept to be saved again.
    /// Says why when a check is left unsaved.
    Status Save(record::CheckRecord check);

    /// Saves the kept checks once more. Fails naming each check still not saved.
    Status SaveKept();

    Result<std::vector<record::CheckRecord>> Find(const record::RecordFilter& filter);

private:
    struct Session;
    Status SaveAll();
    std::string m_connection;
    std::filesystem::path m_programFolder;
    std::unique_ptr<Session> m_session;
    record::PendingChecks m_kept;
};

} // namespace kova::mu
