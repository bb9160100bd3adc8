// kova_mu_record: the plug-in kova-mu loads for --record and --history, the record of checks
// of the desktop program (kova_record on Qt SQL): the same schema, rules and database, so a
// nightly script and the workstations fill one record.

#include "core/record/record_connection.h"
#include "kova_mu/plugin_interface.h"
#include "kova_mu/qt_messages.h"
#include "record/record_store.h"

#include <QCoreApplication>
#include <memory>

namespace kova::mu {

/// Qt's core application, unless one runs already (the report plug-in's, which outlives this
/// session), and the open record.
struct RecordSession {
    QtMessageFilter filter;
    int argc = 1;
    char program[8] = "kova-mu";
    char* argv[2] = {program, nullptr};
    std::unique_ptr<QCoreApplication> application;
    std::unique_ptr<record::RecordStore> store;

    RecordSession() {
        if (QCoreApplication::instance() == nullptr) {
            application = std::make_unique<QCoreApplication>(argc, argv);
        }
    }
    RecordSession(const RecordSession&) = delete;
    RecordSession& operator=(const RecordSession&) = delete;
    ~RecordSession() {
        // The database goes before the application that loaded its driver.
        store.reset();
    }
};

namespace {

Result<RecordSession*> Open(const std::string& text) {
    const Result<record::RecordConnection> connection = record::ParseRecordConnection(text);
    if (!connection) {
        return connection.status();
    }
    auto session = std::make_unique<RecordSession>();
    Result<std::unique_ptr<record::RecordStore>> store = record::RecordStore::Open(*connection);
    if (!store) {
        return Status::Fail(store.reason() + (record::AsksForPassword(store.status())
                                                  ? " (kova-mu takes the password from the "
                                                    "server's password file, ~/.pgpass or "
                                                    "PGPASSFILE)"
                                                  : ""));
    }
    session->store = std::move(store.value());
    return session.release();
}

void Close(RecordSession* session) {
    delete session;
}

std::string Describe(const RecordSession& session) {
    return session.store->Description();
}

Result<std::int64_t> Save(RecordSession& session, const record::CheckRecord& check) {
    return session.store->Save(check);
}

Result<std::vector<record::CheckRecord>> Find(RecordSession& session,
                                              const record::RecordFilter& filter) {
    return session.store->Find(filter);
}

constexpr RecordPlugin kTable{{kPluginInterfaceVersion}, &Open, &Close, &Describe, &Save, &Find};

} // namespace
} // namespace kova::mu

extern "C" __attribute__((visibility("default"))) const kova::mu::PluginHeader*
kova_mu_record_plugin() {
    return &kova::mu::kTable;
}
