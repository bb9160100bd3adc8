#include "gui/help_texts.h"

#include "gui/qt_text.h"

#include <QDir>
#include <QFile>
#include <QtGlobal>

namespace kova::gui {
namespace {

QString FolderText(const QString& folder) {
    return QDir::toNativeSeparators(QDir(folder).absolutePath());
}

} // namespace

QString AboutText(const ProgramInfo& info, const QString& linacFolder, const QString& why) {
    return ToQ(info.productName) + u' ' + ToQ(info.productVersion) +
           u"\nIndependent check of the monitor units of a treatment planning system.\n\nQt " +
           QString::fromLatin1(qVersion()) + u"\nLinacs folder: " + FolderText(linacFolder) +
           (why.isEmpty() ? QString() : u"\n(" + why + u')') +
           u"\n\nThe results depend on the commissioning data loaded from the linac files of "
           u"that folder: check those data before relying on any figure.";
}

QString LinacFilesText(const QString& linacFolder, const std::string& folderError,
                       const std::vector<LinacFileNote>& files) {
    QString text = u"Linacs folder: " + FolderText(linacFolder) + u'\n';
    if (!folderError.empty()) {
        return text + u"The folder cannot be read: " + ToQ(folderError);
    }
    if (files.empty()) {
        return text + u"It holds no linac file (*.lnc).";
    }
    for (const LinacFileNote& file : files) {
        // A file name is the file system's bytes; the note is a text of the program.
        text += u'\n' + QFile::decodeName(QByteArray::fromStdString(file.fileName)) + u": " +
                ToQ(file.note);
    }
    return text;
}

} // namespace kova::gui
