#include "kova_mu/record_link.h"

#include "core/common/install_layout.h"
#include "kova_mu/plugin_loader.h"

namespace kova::mu {

/// The loaded plug-in and its open record, closed before kova-mu ends.
struct RecordLink::Session {
    const RecordPlugin* plugin;
    RecordSession* record;

    Session(const RecordPlugin* table, RecordSession* opened) : plugin(table), record(opened) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session() { plugin->close(record); }
};

RecordLink::RecordLink(std::string connection, std::filesystem::path programFolder)
    : m_connection(std::move(connection)), m_programFolder(std::move(programFolder)) {
}

RecordLink::~RecordLink() = default;

Status RecordLink::Open() {
    const std::filesystem::path file =
        InstallLayoutOf(m_programFolder).pluginFolder / kRecordPluginFile;
    const Result<const RecordPlugin*> plugin =
        LoadPluginTable<RecordPlugin>(file, kRecordPluginEntry);
    if (!plugin) {
        return Status::Fail("cannot load the record plug-in: " + plugin.reason());
    }
    const Result<RecordSession*> opened = (*plugin)->open(m_connection);
    if (!opened) {
        return opened.status();
    }
    m_session = std::make_unique<Session>(*plugin, *opened);
    return Status::Ok();
}

std::string RecordLink::Description() const {
    return m_session->plugin->describe(*m_session->record);
}

Status RecordLink::Save(record::CheckRecord check) {
    // A check of a beam already in the record follows the newest of them.
    if (const auto stored =
            m_session->plugin->find(*m_session->record, record::SameBeamFilter(check))) {
        check.follows = record::FollowedCheck(*stored, check);
    }
    m_kept.Add(std::move(check));
    return SaveAll();
}

Status RecordLink::SaveAll() {
    return m_kept.SaveAll([this](const record::CheckRecord& kept) {
        return m_session->plugin->save(*m_session->record, kept).status();
    });
}

Status RecordLink::SaveKept() {
    const Status saved = SaveAll();
    if (saved) {
        return saved;
    }
    std::string names;
    for (const record::CheckRecord& check : m_kept.checks()) {
        names += (names.empty() ? "" : ", ") + check.beamName + " (" + check.patientName + ")";
    }
    return Status::Fail(saved.reason() + "; not saved in the record: " + names);
}

Result<std::vector<record::CheckRecord>> RecordLink::Find(const record::RecordFilter& filter) {
    return m_session->plugin->find(*m_session->record, filter);
}

} // namespace kova::mu
