#include "record/record_location.h"

#include <QDir>
#include <QStandardPaths>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace kova::record {

Result<RecordConnection> DefaultRecordConnection() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        return Result<RecordConnection>::Fail("Cannot make the folder of the record of checks '" +
                                              folder.toStdString() + "'.");
    }
    RecordConnection connection;
    connection.file = QDir(folder).filePath(QString::fromLatin1(kDefaultRecordFile)).toStdString();
    return connection;
}

std::string OperatingSystemUser() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_name != nullptr) {
        return found->pw_name;
    }
    return "unknown";
}

} // namespace kova::record
