#include "gui/workbench_document.h"

#include "core/common/file_bytes.h"
#include "core/common/file_write.h"
#include "core/workbench/beam_file_writer.h"
#include "gui/dialogs.h"
#include "gui/qt_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUndoStack>

namespace kova::gui {
namespace {

/// Workbench files hold a few KB per beam; anything near this is not one.
constexpr std::size_t kMaxWorkbenchFileBytes = 16u << 20u;

std::string FileSystemPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString FileFilter() {
    return WorkbenchDocument::tr("Beam files (*.ini);;All files (*)");
}

bool HoldsBeams(const Workbench& workbench) {
    for (const auto& patient : workbench.patients()) {
        for (const auto& treatment : patient->treatments) {
            if (!treatment->beams.empty()) {
                return true;
            }
        }
    }
    return false;
}

/// Asks before a save leaves out patients and treatments that have no beam; true to go on.
bool AcceptLeftOut(QWidget* parent, const Workbench& workbench) {
    const std::vector<std::string> left = NotKeptInBeamFile(workbench);
    if (left.empty()) {
        return true;
    }
    QStringList lines;
    for (const std::string& text : left) {
        lines << u"- " + ToQ(text);
    }
    return Dialogs::Confirm(parent, WorkbenchDocument::tr("Save"),
                            WorkbenchDocument::tr("A workbench file keeps beams; these hold none "
                                                  "and are not saved:\n%1\n\nSave the beams?")
                                .arg(lines.join(u'\n')));
}

} // namespace

WorkbenchDocument::WorkbenchDocument(QWidget* parent, const Workbench& workbench)
    : m_parent(parent), m_workbench(workbench) {
}

bool WorkbenchDocument::modified() const {
    return m_modified || (m_undo != nullptr && !m_undo->isClean());
}

bool WorkbenchDocument::NothingToSave() {
    if (HoldsBeams(m_workbench)) {
        return false;
    }
    // An empty file would open as an empty workbench: nothing would be kept.
    Dialogs::Inform(m_parent, tr("Save"),
                    tr("There is nothing to save: a workbench file keeps beams, and the "
                       "workbench holds none."));
    m_status = tr("Nothing saved: the workbench holds no beams.");
    return true;
}

bool WorkbenchDocument::Save() {
    if (NothingToSave()) {
        return false;
    }
    if (m_filePath.isEmpty()) {
        return SaveAs();
    }
    return WriteTo(m_filePath);
}

bool WorkbenchDocument::SaveAs() {
    if (NothingToSave()) {
        return false;
    }
    const QString path =
        Dialogs::SaveFileName(m_parent, tr("Save the workbench"), SuggestedPath(), FileFilter());
    if (path.isEmpty()) {
        m_status = tr("Nothing saved.");
        return false;
    }
    m_folder = QFileInfo(path).absolutePath();
    return WriteTo(path);
}

QString WorkbenchDocument::SuggestedPath() const {
    if (!m_filePath.isEmpty()) {
        return m_filePath;
    }
    QString name = QStringLiteral("workbench");
    if (!m_workbench.patients().empty()) {
        // A patient's name as a file name: characters file systems refuse become "_".
        name = ToQ(m_workbench.patients().front()->name).trimmed();
        static const QString refused = QStringLiteral("/\\:*?\"<>|");
        for (QChar& c : name) {
            c = refused.contains(c) || c.unicode() < 0x20 ? u'_' : c;
        }
        name = name.isEmpty() ? QStringLiteral("workbench") : name;
    }
    const QString folder = m_folder.isEmpty() ? QDir::homePath() : m_folder;
    return QDir(folder).filePath(name + u".ini");
}

bool WorkbenchDocument::WriteTo(const QString& path) {
    if (!AcceptLeftOut(m_parent, m_workbench)) {
        m_status = tr("Nothing saved.");
        return false;
    }
    const Status written = WriteFileAtomically(FileSystemPath(path), WriteWorkbench(m_workbench),
                                               /*replaceExisting=*/true);
    if (!written) {
        Dialogs::ShowError(m_parent,
                           tr("The workbench was not saved: %1").arg(ToQ(written.reason())));
        m_status = tr("Saving failed.");
        return false;
    }
    m_filePath = path;
    m_modified = false;
    if (m_undo != nullptr) {
        m_undo->setClean();
    }
    m_status = tr("Saved to %1").arg(QDir::toNativeSeparators(path));
    return true;
}

bool WorkbenchDocument::MayDiscardChanges() {
    if (!modified()) {
        return true;
    }
    if (!HoldsBeams(m_workbench)) {
        return Dialogs::Confirm(m_parent, tr("Discard"),
                                tr("The workbench holds no beam, so nothing of it can be "
                                   "saved. Discard it?"));
    }
    switch (Dialogs::AskSaveDiscardCancel(
        m_parent, tr("The workbench has changes that are not saved. Save them?"))) {
    case QMessageBox::Save:
        return Save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

std::optional<WorkbenchFile>
WorkbenchDocument::Open(const std::vector<std::unique_ptr<TLinacSpec>>& linacs) {
    if (!MayDiscardChanges()) {
        return std::nullopt;
    }
    const QString folder = m_folder.isEmpty() ? QDir::homePath() : m_folder;
    const QString path =
        Dialogs::OpenFileName(m_parent, tr("Open a workbench"), FileFilter(), folder);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    m_folder = QFileInfo(path).absolutePath();
    const FileBytes bytes = ReadFileBytes(FileSystemPath(path), kMaxWorkbenchFileBytes);
    if (!bytes.ok()) {
        Dialogs::ShowError(m_parent, ToQ(bytes.reason));
        m_status = tr("Nothing opened.");
        return std::nullopt;
    }
    m_openedPath = path;
    // The whole path: MLC files a beam names are found next to the beam file.
    return ReadWorkbench(FileSystemPath(path), bytes.bytes, linacs, SystemToday());
}

void WorkbenchDocument::Opened(const WorkbenchFile& file) {
    m_modified = false;
    if (m_undo != nullptr) {
        m_undo->setClean();
    }
    m_filePath = m_openedPath;
    const int beams = file.beamsInFile;
    const QString opened = QDir::toNativeSeparators(m_openedPath);
    m_status = beams == 1 ? tr("Opened %1: 1 beam").arg(opened)
                          : tr("Opened %1: %2 beams").arg(opened, QString::number(beams));
    if (file.refused.empty()) {
        return;
    }
    // Saving over the file would now drop the refused beams from it: Save asks for a file.
    m_filePath.clear();
    QStringList lines;
    for (const std::string& line : file.refused) {
        lines << ToQ(line);
    }
    m_status += tr(", some refused.");
    Dialogs::ShowError(m_parent, tr("Not everything of %1 could be brought back; the workbench "
                                    "holds the rest.\n\n%2\n\nSave asks for a file, so that "
                                    "this one keeps them.")
                                     .arg(QFileInfo(m_openedPath).fileName(), lines.join(u'\n')));
}

} // namespace kova::gui
