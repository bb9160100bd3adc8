#pragma once

#include "core/text/cp1252.h"

#include <QFile>
#include <QString>
#include <string>

namespace kova::gui {

/// Texts of the core are single bytes in Windows-1252, as the linac files keep them; the
/// core's one conversion turns them into UTF-8 for Qt, so bytes 0x80 to 0x9F (the euro sign,
/// curly quotes) show as the characters they stand for.
inline QString ToQ(const std::string& text) {
    return QString::fromStdString(Cp1252ToUtf8(text));
}

/// A text typed in a window, as the core keeps it; characters that Windows-1252 cannot write
/// become "?". Texts that must not change silently (names stored in a linac) go through the
/// record forms instead, which refuse them.
inline std::string FromQ(const QString& text) {
    return Utf8ToCp1252Lossy(text.toStdString());
}

/// A path as the file system keeps it (its bytes), for the core's file functions; never a
/// Windows-1252 text.
inline std::string PathFromQ(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

inline QString PathToQ(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace kova::gui
