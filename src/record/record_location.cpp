#include "record/record_location.h"

#include <QDir>
#include <QStandardPaths>

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

} // namespace kova::record
