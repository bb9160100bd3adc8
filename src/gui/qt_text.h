#pragma once

#include <QString>
#include <string>

namespace kova::gui {

/// Texts of the core are single-byte (Windows-1252, as the linac files); Latin-1 is the
/// nearest Qt codec and maps every byte to one character and back.
inline QString ToQ(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

/// A text typed in a window, as the core keeps it; characters outside Latin-1 become "?".
inline std::string FromQ(const QString& text) {
    return text.toLatin1().toStdString();
}

} // namespace kova::gui
