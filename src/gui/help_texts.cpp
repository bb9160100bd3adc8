#include "gui/help_texts.h"

#include "gui/qt_text.h"

#include <QCoreApplication>
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
    QString folder = FolderText(linacFolder);
    if (!why.isEmpty()) {
        folder += u"\n(" + why + u')';
    }
    return QCoreApplication::translate(
               "kova::gui::HelpTexts",
               "%1 %2\nIndependent check of the monitor units of a treatment planning system.\n\n"
               "Qt %3\nLinacs folder: %4\n\nThe results depend on the commissioning data loaded "
               "from the linac files of that folder: check those data before relying on any "
               "figure.")
        .arg(ToQ(info.productName), ToQ(info.productVersion), QString::fromLatin1(qVersion()),
             folder);
}

QString LinacFilesText(const QString& linacFolder, const std::string& folderError,
                       const std::vector<LinacFileNote>& files) {
    QString text = QCoreApplication::translate("kova::gui::HelpTexts", "Linacs folder: %1\n")
                       .arg(FolderText(linacFolder));
    if (!folderError.empty()) {
        return text +
               QCoreApplication::translate("kova::gui::HelpTexts", "The folder cannot be read: %1")
                   .arg(ToQ(folderError));
    }
    if (files.empty()) {
        return text + QCoreApplication::translate("kova::gui::HelpTexts",
                                                  "It holds no linac file (*.lnc).");
    }
    for (const LinacFileNote& file : files) {
        // A file name is the file system's bytes; the note is a text of the program.
        text += u'\n' + QFile::decodeName(QByteArray::fromStdString(file.fileName)) + u": " +
                ToQ(file.note);
    }
    return text;
}

} // namespace kova::gui
