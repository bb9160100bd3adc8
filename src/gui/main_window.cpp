#include "gui/main_window.h"

#include "core/beams/beam.h"
#include "core/common/install_layout.h"
#include "core/workbench/workbench_text.h"
#include "gui/beam_dialogs.h"
#include "gui/dialogs.h"
#include "gui/explain_dock.h"
#include "gui/icons.h"
#include "gui/linacs_menu.h"
#include "gui/print_command.h"
#include "gui/print_report_dialog.h"
#include "gui/qt_text.h"
#include "gui/treatment_dialog.h"
#include "gui/workbench_model.h"
#include "gui/workbench_tree.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QUndoStack>

namespace kova::gui {
namespace {

/// "1 linac read", "3 linacs read"...
QString LinacsRead(std::size_t count) {
    return count == 1 ? MainWindow::tr("1 linac read")
                      : MainWindow::tr("%1 linacs read").arg(QString::number(count));
}

QString LinacsReadFrom(std::size_t count, const QString& folder) {
    return count == 1
               ? MainWindow::tr("1 linac read from %1").arg(folder)
               : MainWindow::tr("%1 linacs read from %2").arg(QString::number(count), folder);
}

} // namespace

MainWindow::MainWindow(ProgramInfo info, QString linacFolder, QWidget* parent)
    : QMainWindow(parent), m_info(std::move(info)), m_linacFolder(std::move(linacFolder)),
      m_document(this, m_workbench) {
    setObjectName(QStringLiteral("TMain"));
    m_model = new WorkbenchModel(m_workbench, this);
    // Every change of the workbench goes through the model and its undo stack, whose clean
    // state is the file's; a change beyond the stack marks the file changed for good.
    m_document.SetUndoStack(m_model->undoStack());
    connect(m_model, &WorkbenchModel::WorkbenchEdited, this, [this] {
        if (!m_model->changingThroughUndoStack()) {
            m_document.SetModified();
        }
        UpdateTitle();
    });
    connect(m_model->undoStack(), &QUndoStack::cleanChanged, this, &MainWindow::UpdateTitle);
    UpdateTitle();
    WorkbenchTreeView = new WorkbenchTree(this);
    WorkbenchTreeView->setModel(m_model);
    setCentralWidget(WorkbenchTreeView);
    BuildMenus();
    m_popup = WorkbenchPopupMenu;
    connect(WorkbenchTreeView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &MainWindow::WorkbenchTreeViewChange);
    connect(WorkbenchTreeView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainWindow::WorkbenchTreeViewChange);
    connect(WorkbenchTreeView, &WorkbenchTree::BeamActivated, this, &MainWindow::EditBeamClick);
    connect(WorkbenchTreeView, &WorkbenchTree::ResultLineActivated, this,
            &MainWindow::ShowPlotsOfLine);
    connect(WorkbenchTreeView, &QWidget::customContextMenuRequested, this,
            &MainWindow::ShowPopupMenu);
    m_printDialog = new PrintReportDialog(this);
    m_explain = new ExplainDock(this);
    addDockWidget(Qt::BottomDockWidgetArea, m_explain);
    // A beam computed again brings new traces for the same lines.
    const auto explainSelected = [this] { m_explain->ShowTrace(m_model->TraceAt(SelectedNode())); };
    connect(m_model, &WorkbenchModel::WorkbenchEdited, this, explainSelected);
    connect(m_model, &QAbstractItemModel::dataChanged, this, explainSelected);
    // Installed, the banners and the action levels are the department's files in the
    // configuration folder.
    const QString programFiles =
        PathToQ(ProgramFilesFolder(PathFromQ(QCoreApplication::applicationDirPath())).string());
    m_bannerFolder = programFiles;
    LoadActionLevels(programFiles);
    m_linacFolderLabel = new QLabel(this);
    m_linacFolderLabel->setObjectName(QStringLiteral("LinacFolder"));
    statusBar()->addPermanentWidget(m_linacFolderLabel);
    SetLinacFolderReason({}, {});
    m_linacCount = new QLabel(this);
    m_linacCount->setObjectName(QStringLiteral("LinacCount"));
    statusBar()->addPermanentWidget(m_linacCount);
    statusBar()->showMessage(tr("Right-click the workbench to add a patient."));
    resize(FirstStartSize(screen()->availableGeometry()));
    UpdateCommands();
}

MainWindow::~MainWindow() {
    // The linac windows refer to the linacs and the workbench, which go before the children.
    delete m_linacsMenu;
    // The tree's rows point into the workbench: they go before it.
    delete WorkbenchTreeView;
    delete m_model;
}

QMenu* MainWindow::BuildPopup(Popup popup) {
    auto* menu = new QMenu(this);
    for (const std::optional<Command>& item : PopupItems(popup)) {
        if (item) {
            menu->addAction(m_actions.at(*item));
        } else {
            menu->addSeparator();
        }
    }
    return menu;
}

void MainWindow::BuildMenus() {
    const std::pair<Command, void (MainWindow::*)()> commands[] = {
        {Command::NewPatient, &MainWindow::NewPatientClick},
        {Command::NewTreatment, &MainWindow::NewTreatmentClick},
        {Command::NewBeam, &MainWindow::NewBeamClick},
        {Command::Delete, &MainWindow::DeleteClick},
        {Command::Edit, &MainWindow::EditBeamClick},
        {Command::Rename, &MainWindow::RenameClick},
        {Command::Copy, &MainWindow::CopyClick},
        {Command::Print, &MainWindow::PrintPatientClick},
        {Command::ImportPlan, &MainWindow::ImportPlanClick},
    };
    // One action per command, shared by the pop-up menus and the menu bar, so both offer a
    // command on the same nodes.
    for (const auto& [command, slot] : commands) {
        auto* item = new QAction(CommandCaption(command), this);
        item->setShortcut(CommandShortcut(command));
        connect(item, &QAction::triggered, this, slot);
        m_actions.emplace(command, item);
    }
    WorkbenchPopupMenu = BuildPopup(Popup::Workbench);
    PatientPopupMenu = BuildPopup(Popup::Patient);
    TreatmentPopupMenu = BuildPopup(Popup::Treatment);
    BeamPopupMenu = BuildPopup(Popup::Beam);
    BuildMenuBar();
}

QModelIndex MainWindow::SelectedNode() const {
    const QModelIndex current = WorkbenchTreeView->currentIndex();
    return WorkbenchTreeView->selectionModel()->isSelected(current) ? current : QModelIndex();
}

QModelIndex MainWindow::SelectedWithKind(NodeKind kind) const {
    const QModelIndex selected = SelectedNode();
    return WorkbenchModel::KindOf(selected) == kind ? selected : QModelIndex();
}

void MainWindow::UpdateCommands() {
    const NodeKind selected = WorkbenchModel::KindOf(SelectedNode());
    switch (PopupFor(selected)) {
    case Popup::Workbench:
        m_popup = WorkbenchPopupMenu;
        break;
    case Popup::Patient:
        m_popup = PatientPopupMenu;
        break;
    case Popup::Treatment:
        m_popup = TreatmentPopupMenu;
        break;
    case Popup::Beam:
        m_popup = BeamPopupMenu;
        break;
    case Popup::None:
        m_popup = nullptr;
        break;
    }
    for (const auto& [command, item] : m_actions) {
        item->setEnabled(CommandOffered(command, selected));
    }
}

void MainWindow::ShowPopupMenu(const QPoint& position) {
    // The menu acts on the node that was clicked; a click beside every node is a click on
    // the workbench itself.
    const QModelIndex hit = WorkbenchTreeView->indexAt(position);
    WorkbenchTreeView->setCurrentIndex(hit);
    if (!hit.isValid()) {
        WorkbenchTreeView->clearSelection();
    }
    UpdateCommands();
    if (m_popup != nullptr) {
        m_popup->popup(WorkbenchTreeView->viewport()->mapToGlobal(position));
    }
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        ScanLinacs();
    }
    return QMainWindow::event(event);
}

void MainWindow::ScanLinacs() {
    if (m_linacsScanned) {
        return;
    }
    // Whatever the scan meets, it runs once: no file is ever read twice.
    m_linacsScanned = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // A path is the file system's bytes, not a text of a linac file.
    LinacFolderScan scan = ScanLinacFolder(QFile::encodeName(m_linacFolder).toStdString());
    QApplication::restoreOverrideCursor();
    m_linacFiles = LinacFileNotes(scan);
    m_folderError = scan.folderError;
    m_linacs = std::move(scan.linacs);
    m_linacsMenu->SetLinacs(m_linacs);
    m_linacCount->setText(LinacsRead(m_linacs.size()));
    QString status = LinacsReadFrom(m_linacs.size(), m_linacFolder);
    QStringList leftOut;
    for (const SkippedLinacFile& skipped : scan.skipped) {
        leftOut << ToQ(skipped.fileName) + u" (" + ToQ(skipped.reason) + u")";
    }
    if (!leftOut.isEmpty()) {
        status += tr("; left out: %1").arg(leftOut.join(QStringLiteral("; ")));
    }
    ShowStatus(status);
    if (!scan.folderFound) {
        ShowStatus(tr("No linac read: %1").arg(ToQ(scan.folderError)));
        Dialogs::ShowError(this, ToQ(scan.folderError));
    }
}

void MainWindow::ShowStatus(const QString& message) {
    statusBar()->showMessage(message);
    statusBar()->setToolTip(message);
}

void MainWindow::NewPatientClick() {
    const QModelIndex added = m_model->AddPatient();
    WorkbenchTreeView->setCurrentIndex(added);
    WorkbenchTreeView->edit(added);
}

void MainWindow::NewTreatmentClick() {
    const QPersistentModelIndex patient = SelectedWithKind(NodeKind::Patient);
    if (!patient.isValid()) {
        return;
    }
    std::vector<const TLinacSpec*> linacs;
    for (const auto& linac : m_linacs) {
        linacs.push_back(linac.get());
    }
    const QString name = ToQ(TTreatment().name);
    std::unique_ptr<TTreatment> treatment;
    {
        TreatmentDialog dialog(linacs, name, this);
        if (Dialogs::Exec(dialog) == QDialog::Accepted) {
            treatment = dialog.MakeTreatment(FromQ(name));
        }
    }
    if (!treatment) {
        return;
    }
    const QModelIndex added = m_model->AddTreatment(patient, std::move(treatment));
    WorkbenchTreeView->setCurrentIndex(added);
    WorkbenchTreeView->edit(added);
}

void MainWindow::NewBeamClick() {
    const QPersistentModelIndex treatmentNode = SelectedWithKind(NodeKind::Treatment);
    const TTreatment* treatment = m_model->TreatmentAt(treatmentNode);
    if (treatment == nullptr) {
        return;
    }
    std::unique_ptr<TBeam> beam = treatment->CreateBeam("New Beam");
    bool accepted = false;
    if (std::unique_ptr<QDialog> dialog = CreateBeamDialog(*beam, false, this)) {
        accepted = Dialogs::Exec(*dialog) == QDialog::Accepted;
    }
    if (accepted) {
        WorkbenchTreeView->setCurrentIndex(m_model->AddBeam(treatmentNode, std::move(beam)));
    }
}

void MainWindow::EditBeamClick() {
    const QPersistentModelIndex node = SelectedWithKind(NodeKind::Beam);
    const TBeam* beam = m_model->BeamAt(node);
    if (beam == nullptr) {
        return;
    }
    // The dialog changes a copy: the beam itself stays as it was, for Cancel and for Undo.
    std::unique_ptr<TBeam> edited = beam->Clone();
    bool accepted = false;
    if (std::unique_ptr<QDialog> dialog = CreateBeamDialog(*edited, true, this)) {
        accepted = Dialogs::Exec(*dialog) == QDialog::Accepted;
    }
    if (accepted) {
        m_model->EditBeam(node, std::move(edited));
        WorkbenchTreeView->expand(node);
    }
}

void MainWindow::ShowPlotsOfLine(const QModelIndex& line) {
    QModelIndex node = line;
    while (node.isValid() && WorkbenchModel::KindOf(node) != NodeKind::Beam) {
        node = node.parent();
    }
    const TBeam* beam = m_model->BeamAt(node);
    if (beam == nullptr) {
        return;
    }
    for (const auto& linac : m_linacs) {
        if (linac.get() == beam->machine.linac && m_linacsMenu->ShowPlots(*linac, *beam)) {
            return;
        }
    }
    ShowStatus(tr("The beam's energy has no plots: its linac is not among those read."));
}

const Patient* MainWindow::SelectedPatient() const {
    QModelIndex node = SelectedNode();
    while (node.parent().isValid()) {
        node = node.parent();
    }
    return m_model->PatientAt(node);
}

void MainWindow::PrintPatientClick() {
    const PrintSetting setting{m_info.TitleLine(), m_bannerFolder, &m_pdfFolder};
    ShowStatus(RunPrintCommand(this, *m_printDialog, SelectedPatient(), setting));
}

void MainWindow::WorkbenchTreeViewChange() {
    UpdateCommands();
    m_explain->ShowTrace(m_model->TraceAt(SelectedNode()));
}

} // namespace kova::gui
