// The commands of the main window's menu bar that the pop-up menus do not have, and the
// window's own life: the workbench file, the Edit and Help menus, closing, size and place.

#include "core/workbench/workbench_text.h"
#include "gui/dialogs.h"
#include "gui/help_texts.h"
#include "gui/linac_folder_dialog.h"
#include "gui/linacs_menu.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/workbench_model.h"
#include "gui/workbench_tree.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QUndoStack>
#include <algorithm>

namespace kova::gui {
namespace {

const char* const kGeometryKey = "MainWindow/geometry";
const char* const kLinacFolderKey = "LinacFolder";
/// The widest the status bar's note of the linac folder grows, in pixels: beside the count
/// of linacs and the note of the action levels it fits the first-start width whatever the
/// folder; the tooltip holds all of it.
constexpr int kFolderLabelWidth = 240;

/// `first`, the key the menu shows on every platform, then the platform's own keys for `key`
/// (Ctrl+Y for Redo on some).
QList<QKeySequence> WithPlatformKeys(const QKeySequence& first, QKeySequence::StandardKey key) {
    QList<QKeySequence> keys{first};
    for (const QKeySequence& other : QKeySequence::keyBindings(key)) {
        if (!keys.contains(other)) {
            keys << other;
        }
    }
    return keys;
}

} // namespace

QSize FirstStartSize(const QRect& available) {
    // Tall enough for a patient, a treatment and the whole result of one beam with its
    // dosimetric details opened, yet never larger than the screen.
    const QSize wanted(640, 880);
    return wanted.boundedTo(available.size() * 9 / 10);
}

QString FittedNote(const QFontMetrics& metrics, const QString& text, const QString& part, int width,
                   Qt::TextElideMode mode) {
    const int room = width - metrics.horizontalAdvance(text.arg(QString()));
    return text.arg(metrics.elidedText(part, mode, std::max(room, 0)));
}

void MainWindow::BuildMenuBar() {
    const auto item = [this](QMenu* menu, const QString& text, void (MainWindow::*slot)(),
                             const QKeySequence& key = {}) {
        QAction* added = menu->addAction(text);
        added->setShortcut(key);
        connect(added, &QAction::triggered, this, slot);
        return added;
    };
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("FileMenu"));
    file->addAction(m_actions.at(Command::NewPatient));
    file->addAction(m_actions.at(Command::ImportPlan));
    item(file, tr("Open..."), &MainWindow::OpenClick, QKeySequence::Open);
    item(file, tr("Save"), &MainWindow::SaveClick, QKeySequence::Save);
    item(file, tr("Save As..."), &MainWindow::SaveAsClick);
    file->addSeparator();
    m_linacFolderAction = item(file, tr("Linac folder..."), &MainWindow::LinacFolderClick);
    m_linacFolderAction->setEnabled(m_settings != nullptr);
    file->addSeparator();
    file->addAction(m_actions.at(Command::Print));
    file->addSeparator();
    QAction* quit = file->addAction(tr("Quit"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    // "Undo Delete “AP”": the stack names what it takes back.
    m_undoAction = m_model->undoStack()->createUndoAction(this, tr("Undo"));
    m_undoAction->setShortcuts(
        WithPlatformKeys(QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence::Undo));
    m_redoAction = m_model->undoStack()->createRedoAction(this, tr("Redo"));
    m_redoAction->setShortcuts(
        WithPlatformKeys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence::Redo));
    edit->addAction(m_undoAction);
    edit->addAction(m_redoAction);
    edit->addSeparator();
    for (const Command command : {Command::Edit, Command::Rename, Command::Delete}) {
        edit->addAction(m_actions.at(command));
    }
    edit->addSeparator();
    edit->addAction(m_actions.at(Command::Copy));

    m_linacsMenu = new LinacsMenu(menuBar(), m_workbench, m_linacFolder, this);
    connect(m_linacsMenu, &LinacsMenu::LinacEdited, this, &MainWindow::LinacEdited);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    item(help, tr("About KOVA X"), &MainWindow::AboutClick);
    item(help, tr("Linac files..."), &MainWindow::LinacFilesClick);
}

bool MainWindow::ConfirmDelete(const QModelIndex& node) {
    int beams = 0;
    if (const Patient* patient = m_model->PatientAt(node)) {
        for (const auto& treatment : patient->treatments) {
            beams += static_cast<int>(treatment->beams.size());
        }
    } else if (const TTreatment* treatment = m_model->TreatmentAt(node)) {
        beams = static_cast<int>(treatment->beams.size());
    }
    if (beams == 0) {
        return true;
    }
    const bool patient = WorkbenchModel::KindOf(node) == NodeKind::Patient;
    const QString name = node.data().toString();
    QString question;
    if (beams == 1) {
        question = patient ? tr("Delete the patient \u201c%1\u201d with its 1 beam?")
                           : tr("Delete the treatment \u201c%1\u201d with its 1 beam?");
        question = question.arg(name);
    } else {
        question = patient ? tr("Delete the patient \u201c%1\u201d with its %2 beams?")
                           : tr("Delete the treatment \u201c%1\u201d with its %2 beams?");
        question = question.arg(name, QString::number(beams));
    }
    return Dialogs::Confirm(this, tr("Delete"), question);
}

void MainWindow::DeleteClick() {
    const NodeKind kind = WorkbenchModel::KindOf(SelectedNode());
    if (IsRecord(kind)) {
        DeleteSelected(kind);
    }
}

void MainWindow::DeletePatientClick() {
    DeleteSelected(NodeKind::Patient);
}

void MainWindow::DeleteTreatmentClick() {
    DeleteSelected(NodeKind::Treatment);
}

void MainWindow::DeleteBeamClick() {
    DeleteSelected(NodeKind::Beam);
}

void MainWindow::DeleteSelected(NodeKind kind) {
    const QModelIndex node = SelectedWithKind(kind);
    if (node.isValid() && ConfirmDelete(node)) {
        m_model->Delete(node);
        UpdateCommands();
    }
}

void MainWindow::RenameClick() {
    const QModelIndex selected = SelectedNode();
    if (CommandOffered(Command::Rename, WorkbenchModel::KindOf(selected))) {
        WorkbenchTreeView->edit(selected);
    }
}

void MainWindow::CopyClick() {
    const QModelIndex selected = SelectedNode();
    if (!CommandOffered(Command::Copy, WorkbenchModel::KindOf(selected))) {
        return;
    }
    const ActionLevels& levels = m_levels.levels;
    const TBeam* beam = m_model->BeamAt(selected);
    const TextNode node = beam != nullptr ? BeamNode(*beam, levels)
                                          : TreatmentNode(*m_model->TreatmentAt(selected), levels);
    QGuiApplication::clipboard()->setText(ToQ(IndentedText({node})));
    ShowStatus(tr("Copied the lines of %1.").arg(ToQ(node.text)));
}

void MainWindow::OpenClick() {
    std::optional<WorkbenchFile> file = m_document.Open(m_linacs);
    if (!file) {
        ShowStatus(m_document.status());
        return;
    }
    m_model->Replace(std::move(file->workbench));
    UpdateCommands();
    m_document.Opened(*file);
    UpdateTitle();
    ShowStatus(m_document.status());
}

void MainWindow::SaveClick() {
    m_document.Save();
    UpdateTitle();
    ShowStatus(m_document.status());
}

void MainWindow::SaveAsClick() {
    m_document.SaveAs();
    UpdateTitle();
    ShowStatus(m_document.status());
}

void MainWindow::UpdateTitle() {
    const QString path = m_document.filePath();
    const QString document = path.isEmpty() ? tr("Workbench") : QFileInfo(path).fileName();
    // "[*]" is where Qt shows the mark of unsaved changes.
    setWindowTitle(ToQ(m_info.Caption("")) + document + QStringLiteral("[*]"));
    setWindowFilePath(path);
    setWindowModified(m_document.modified());
}

void MainWindow::AboutClick() {
    Dialogs::Inform(this, tr("About KOVA X"), AboutText(m_info, m_linacFolder, m_linacFolderWhy));
}

void MainWindow::LinacFilesClick() {
    Dialogs::Inform(this, tr("Linac files"),
                    LinacFilesText(m_linacFolder, m_folderError, m_linacFiles));
}

void MainWindow::LinacFolderClick() {
    if (m_settings == nullptr) {
        return;
    }
    LinacFolderDialog dialog(m_linacFolder, m_linacFolderWhy, ChosenLinacFolder(*m_settings), this);
    if (Dialogs::Exec(dialog) != QDialog::Accepted) {
        return;
    }
    const QString folder = dialog.chosenFolder();
    if (folder.isEmpty()) {
        m_settings->remove(QString::fromLatin1(kLinacFolderKey));
    } else {
        m_settings->setValue(QString::fromLatin1(kLinacFolderKey), folder);
    }
    m_settings->sync();
    // The linacs of this run stay: treatments and beams refer to them.
    ShowStatus(tr("From the next start without a Linacs folder in the current folder: %1.")
                   .arg(folder.isEmpty() ? tr("the demo linacs installed with KOVA X")
                                         : QDir::toNativeSeparators(folder)));
}

QString MainWindow::ChosenLinacFolder(const QSettings& settings) {
    return settings.value(QString::fromLatin1(kLinacFolderKey)).toString();
}

void MainWindow::SetLinacFolderReason(const QString& why, const QString& shortWhy) {
    m_linacFolderWhy = why;
    const QString folder = QDir::toNativeSeparators(QDir(m_linacFolder).absolutePath());
    const QString text = shortWhy.isEmpty()
                             ? tr("Linacs: %1")
                             : tr("Linacs: %1 (%2)").arg(QStringLiteral("%1"), shortWhy);
    m_linacFolderLabel->setText(FittedNote(m_linacFolderLabel->fontMetrics(), text, folder,
                                           kFolderLabelWidth, Qt::ElideMiddle));
    m_linacFolderLabel->setToolTip(folder + (why.isEmpty() ? QString() : u"\n" + why));
}

void MainWindow::LinacEdited(const TLinacSpec* linac) {
    // The undo history goes with the data it was made on; unsaved changes stay marked.
    if (m_document.modified()) {
        m_document.SetModified();
    }
    const LinacChangeOutcome outcome = m_model->LinacEdited(linac);
    UpdateTitle();
    const int computed = outcome.computedAgain;
    const int refused = static_cast<int>(outcome.refused.size());
    if (computed + refused == 0) {
        return;
    }
    ShowStatus(tr("Linac %1 changed: %2 beam(s) computed again on its data, %3 without MU.")
                   .arg(ToQ(linac->Name), QString::number(computed), QString::number(refused)));
    if (refused > 0) {
        QStringList lines;
        for (const std::string& line : outcome.refused) {
            lines << u"- " + ToQ(line);
        }
        Dialogs::ShowError(this, tr("These beams have no MU on the changed data of %1, and say "
                                    "why under their names:\n%2")
                                     .arg(ToQ(linac->Name), lines.join(u'\n')));
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_document.MayDiscardChanges()) {
        ShowStatus(m_document.status());
        event->ignore();
        return;
    }
    if (m_settings != nullptr) {
        m_settings->setValue(QString::fromLatin1(kGeometryKey), saveGeometry());
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::RememberGeometryIn(QSettings* settings) {
    m_settings = settings;
    m_linacFolderAction->setEnabled(m_settings != nullptr);
    if (m_settings == nullptr ||
        !restoreGeometry(m_settings->value(QString::fromLatin1(kGeometryKey)).toByteArray())) {
        resize(FirstStartSize(screen()->availableGeometry()));
    }
}

} // namespace kova::gui
