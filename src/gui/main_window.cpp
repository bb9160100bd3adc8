#include "gui/main_window.h"

#include "core/beams/beam.h"
#include "core/common/install_layout.h"
#include "core/workbench/workbench_text.h"
#include "gui/beam_dialogs.h"
#include "gui/dialogs.h"
#include "gui/icons.h"
#include "gui/linacs_menu.h"
#include "gui/print_command.h"
#include "gui/print_report_dialog.h"
#include "gui/qt_text.h"
#include "gui/treatment_dialog.h"
#include "gui/workbench_tree.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

namespace kova::gui {
namespace {

/// The caption the main window was designed with, after the product name and version.
const char* const kWindowCaption = "Workbench";

/// Remembers whether each node of a subtree is expanded, by node.
void RememberExpanded(QTreeWidgetItem* item, QHash<QTreeWidgetItem*, bool>& expanded) {
    expanded.insert(item, item->isExpanded());
    for (int i = 0; i < item->childCount(); ++i) {
        RememberExpanded(item->child(i), expanded);
    }
}

void RestoreExpanded(QTreeWidgetItem* item, const QHash<QTreeWidgetItem*, bool>& expanded) {
    item->setExpanded(expanded.value(item, false));
    for (int i = 0; i < item->childCount(); ++i) {
        RestoreExpanded(item->child(i), expanded);
    }
}

void AddLines(QTreeWidgetItem* parent, const std::vector<TextNode>& lines) {
    for (const TextNode& line : lines) {
        auto* item = new QTreeWidgetItem(parent, QStringList(ToQ(line.text)));
        WorkbenchTree::SetObject(item, NodeKind::Line, nullptr);
        if (line.image >= 0) {
            item->setIcon(0, WorkbenchIcon(line.image));
        }
        AddLines(item, line.children);
    }
}

QString LinacCount(std::size_t count) {
    return count == 1 ? QStringLiteral("1 linac") : QString::number(count) + u" linacs";
}

} // namespace

MainWindow::MainWindow(ProgramInfo info, QString linacFolder, QWidget* parent)
    : QMainWindow(parent), m_info(std::move(info)), m_linacFolder(std::move(linacFolder)),
      m_document(this, m_workbench) {
    setObjectName(QStringLiteral("TMain"));
    setWindowTitle(ToQ(m_info.Caption(kWindowCaption)));
    WorkbenchTreeView = new WorkbenchTree(this);
    setCentralWidget(WorkbenchTreeView);
    BuildMenus();
    m_popup = WorkbenchPopupMenu;
    connect(WorkbenchTreeView, &QTreeWidget::currentItemChanged, this,
            &MainWindow::WorkbenchTreeViewChange);
    connect(WorkbenchTreeView, &QTreeWidget::itemSelectionChanged, this,
            &MainWindow::WorkbenchTreeViewChange);
    connect(WorkbenchTreeView, &QTreeWidget::itemChanged, this,
            &MainWindow::WorkbenchTreeViewEdited);
    connect(WorkbenchTreeView, &WorkbenchTree::NodeDropped, this,
            &MainWindow::WorkbenchTreeViewDragDrop);
    connect(WorkbenchTreeView, &WorkbenchTree::BeamActivated, this, &MainWindow::EditBeamClick);
    connect(WorkbenchTreeView, &QWidget::customContextMenuRequested, this,
            &MainWindow::ShowPopupMenu);
    m_printDialog = new PrintReportDialog(this);
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
    statusBar()->showMessage(QStringLiteral("Right-click the workbench to add a patient."));
    resize(FirstStartSize(screen()->availableGeometry()));
    UpdateCommands();
}

MainWindow::~MainWindow() {
    // The linac windows refer to the linacs and the workbench, which go before the children.
    delete m_linacsMenu;
    // The tree's nodes point into the workbench: remove them before the model goes.
    m_updating = true;
    WorkbenchTreeView->clear();
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

QTreeWidgetItem* MainWindow::SelectedNode() const {
    QTreeWidgetItem* item = WorkbenchTreeView->currentItem();
    return item != nullptr && item->isSelected() ? item : nullptr;
}

void MainWindow::UpdateCommands() {
    const QTreeWidgetItem* selected = SelectedNode();
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
    if (QTreeWidgetItem* hit = WorkbenchTreeView->itemAt(position)) {
        WorkbenchTreeView->setCurrentItem(hit);
    } else {
        WorkbenchTreeView->setCurrentItem(nullptr);
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
    m_linacCount->setText(LinacCount(m_linacs.size()) + u" read");
    QString status = LinacCount(m_linacs.size()) + u" read from " + m_linacFolder;
    QStringList leftOut;
    for (const SkippedLinacFile& skipped : scan.skipped) {
        leftOut << ToQ(skipped.fileName) + u" (" + ToQ(skipped.reason) + u")";
    }
    if (!leftOut.isEmpty()) {
        status += u"; left out: " + leftOut.join(QStringLiteral("; "));
    }
    ShowStatus(status);
    if (!scan.folderFound) {
        ShowStatus(QStringLiteral("No linac read: ") + ToQ(scan.folderError));
        Dialogs::ShowError(this, ToQ(scan.folderError));
    }
}

void MainWindow::ShowStatus(const QString& message) {
    statusBar()->showMessage(message);
    statusBar()->setToolTip(message);
}

QTreeWidgetItem* MainWindow::AddNode(QTreeWidgetItem* parent, const QString& caption) {
    auto* item = new QTreeWidgetItem(QStringList(caption));
    WorkbenchTree::SetObject(item, NodeKind::Line, nullptr);
    if (parent != nullptr) {
        parent->addChild(item);
    } else {
        WorkbenchTreeView->addTopLevelItem(item);
    }
    return item;
}

QTreeWidgetItem* MainWindow::SelectedWithKind(int kind) const {
    QTreeWidgetItem* item = SelectedNode();
    if (item == nullptr || WorkbenchTree::ObjectOf(item) == nullptr ||
        static_cast<int>(WorkbenchTree::KindOf(item)) != kind ||
        WorkbenchTree::LevelOf(item) != kind) {
        return nullptr;
    }
    return item;
}

void MainWindow::NewPatientClick() {
    m_updating = true;
    Patient& patient = m_workbench.AddPatient();
    QTreeWidgetItem* item = AddNode(nullptr, ToQ(patient.name));
    WorkbenchTree::SetObject(item, NodeKind::Patient, &patient);
    m_updating = false;
    m_document.SetModified();
    WorkbenchTreeView->setCurrentItem(item);
    WorkbenchTreeView->editItem(item);
}

void MainWindow::NewTreatmentClick() {
    QTreeWidgetItem* patientItem = SelectedWithKind(static_cast<int>(NodeKind::Patient));
    if (patientItem == nullptr) {
        return;
    }
    auto* patient = static_cast<Patient*>(WorkbenchTree::ObjectOf(patientItem));
    m_updating = true;
    QTreeWidgetItem* item = AddNode(patientItem, QStringLiteral("New Treatment"));
    m_updating = false;
    std::vector<const TLinacSpec*> linacs;
    for (const auto& linac : m_linacs) {
        linacs.push_back(linac.get());
    }
    std::unique_ptr<TTreatment> treatment;
    {
        TreatmentDialog dialog(linacs, item->text(0), this);
        if (Dialogs::Exec(dialog) == QDialog::Accepted) {
            treatment = dialog.MakeTreatment(FromQ(item->text(0)));
        }
    }
    if (!treatment) {
        delete item;
        return;
    }
    TTreatment& added = m_workbench.AddTreatment(*patient, std::move(treatment));
    m_updating = true;
    WorkbenchTree::SetObject(item, NodeKind::Treatment, &added);
    ShowTreatment(item, added);
    m_updating = false;
    m_document.SetModified();
    patientItem->setExpanded(true);
    WorkbenchTreeView->setCurrentItem(item);
    WorkbenchTreeView->editItem(item);
}

void MainWindow::ShowTreatment(QTreeWidgetItem* item, const TTreatment& treatment) {
    qDeleteAll(item->takeChildren());
    for (const std::string& line : treatment.InformationLines()) {
        AddNode(item, ToQ(line));
    }
    item->setExpanded(true);
}

void MainWindow::ShowWorkbench() {
    m_updating = true;
    for (const auto& patient : m_workbench.patients()) {
        QTreeWidgetItem* patientItem = AddNode(nullptr, ToQ(patient->name));
        WorkbenchTree::SetObject(patientItem, NodeKind::Patient, patient.get());
        for (const auto& treatment : patient->treatments) {
            AddTreatmentNode(patientItem, *treatment);
        }
        patientItem->setExpanded(true);
    }
    m_updating = false;
    UpdateCommands();
}

void MainWindow::AddTreatmentNode(QTreeWidgetItem* patientItem, TTreatment& treatment) {
    QTreeWidgetItem* item = AddNode(patientItem, ToQ(treatment.name));
    WorkbenchTree::SetObject(item, NodeKind::Treatment, &treatment);
    ShowTreatment(item, treatment);
    for (const auto& beam : treatment.beams) {
        QTreeWidgetItem* beamItem = AddNode(item, {});
        WorkbenchTree::SetObject(beamItem, NodeKind::Beam, beam.get());
        ShowBeam(beamItem, *beam);
    }
}

void MainWindow::ShowInformationLines(QTreeWidgetItem* item, const TTreatment& treatment) {
    // The information lines come first, before every beam, and their number is fixed.
    const std::vector<std::string> lines = treatment.InformationLines();
    m_updating = true;
    for (std::size_t i = 0; i < lines.size() && static_cast<int>(i) < item->childCount(); ++i) {
        item->child(static_cast<int>(i))->setText(0, ToQ(lines[i]));
    }
    m_updating = false;
}

void MainWindow::NewBeamClick() {
    QTreeWidgetItem* treatmentItem = SelectedWithKind(static_cast<int>(NodeKind::Treatment));
    if (treatmentItem == nullptr) {
        return;
    }
    auto* treatment = static_cast<TTreatment*>(WorkbenchTree::ObjectOf(treatmentItem));
    m_updating = true;
    QTreeWidgetItem* item = AddNode(treatmentItem, QStringLiteral("New Beam"));
    m_updating = false;
    std::unique_ptr<TBeam> beam = treatment->CreateBeam(FromQ(item->text(0)));
    bool accepted = false;
    if (std::unique_ptr<QDialog> dialog = CreateBeamDialog(*beam, false, this)) {
        accepted = Dialogs::Exec(*dialog) == QDialog::Accepted;
    }
    if (!accepted) {
        delete item;
        return;
    }
    TBeam& added = treatment->AddBeam(std::move(beam));
    m_updating = true;
    WorkbenchTree::SetObject(item, NodeKind::Beam, &added);
    ShowBeam(item, added);
    m_updating = false;
    m_document.SetModified();
    treatmentItem->setExpanded(true);
    WorkbenchTreeView->setCurrentItem(item);
    UpdateDoseLine(treatmentItem);
}

void MainWindow::ShowBeam(QTreeWidgetItem* item, const TBeam& beam) {
    // The tree and Copy show the same lines.
    const TextNode node = BeamNode(beam, m_levels.levels);
    item->setText(0, ToQ(node.text));
    qDeleteAll(item->takeChildren());
    AddLines(item, node.children);
    item->setExpanded(true);
}

void MainWindow::UpdateDoseLine(QTreeWidgetItem* treatmentItem) {
    auto* treatment = static_cast<TTreatment*>(WorkbenchTree::ObjectOf(treatmentItem));
    if (treatment == nullptr) {
        return;
    }
    treatment->RecomputeDoseTotal();
    ShowInformationLines(treatmentItem, *treatment);
}

void MainWindow::EditBeamClick() {
    QTreeWidgetItem* item = SelectedWithKind(static_cast<int>(NodeKind::Beam));
    if (item == nullptr) {
        return;
    }
    auto* beam = static_cast<TBeam*>(WorkbenchTree::ObjectOf(item));
    if (std::unique_ptr<QDialog> dialog = CreateBeamDialog(*beam, true, this)) {
        if (Dialogs::Exec(*dialog) == QDialog::Accepted) {
            m_updating = true;
            ShowBeam(item, *beam);
            m_updating = false;
            m_document.SetModified();
        }
    }
    UpdateDoseLine(item->parent());
}

const Patient* MainWindow::SelectedPatient() const {
    const QTreeWidgetItem* item = SelectedNode();
    while (item != nullptr && item->parent() != nullptr) {
        item = item->parent();
    }
    if (item == nullptr || WorkbenchTree::KindOf(item) != NodeKind::Patient) {
        return nullptr;
    }
    return static_cast<const Patient*>(WorkbenchTree::ObjectOf(item));
}

void MainWindow::PrintPatientClick() {
    const PrintSetting setting{m_info.TitleLine(), m_bannerFolder, &m_pdfFolder};
    ShowStatus(RunPrintCommand(this, *m_printDialog, SelectedPatient(), setting));
}

void MainWindow::WorkbenchTreeViewChange() {
    UpdateCommands();
}

void MainWindow::WorkbenchTreeViewEdited(QTreeWidgetItem* item, int column) {
    if (m_updating || column != 0) {
        return;
    }
    const std::string text = FromQ(item->text(0));
    void* object = WorkbenchTree::ObjectOf(item);
    std::string* name = nullptr;
    switch (WorkbenchTree::KindOf(item)) {
    case NodeKind::Patient:
        name = &static_cast<Patient*>(object)->name;
        break;
    case NodeKind::Treatment:
        name = &static_cast<TTreatment*>(object)->name;
        break;
    case NodeKind::Beam:
        name = &static_cast<TBeam*>(object)->name;
        break;
    case NodeKind::Line:
        break;
    }
    if (name != nullptr && *name != text) {
        *name = text;
        m_document.SetModified();
    }
}

void MainWindow::WorkbenchTreeViewDragDrop(QTreeWidgetItem* target, QTreeWidgetItem* dragged,
                                           DropPlace place) {
    bool moved = false;
    if (WorkbenchTree::KindOf(dragged) == NodeKind::Treatment) {
        moved = m_workbench.DropTreatment(
            static_cast<const TTreatment*>(WorkbenchTree::ObjectOf(target)),
            static_cast<const TTreatment*>(WorkbenchTree::ObjectOf(dragged)), place);
    } else if (WorkbenchTree::KindOf(dragged) == NodeKind::Beam) {
        moved = m_workbench.DropBeam(static_cast<const TBeam*>(WorkbenchTree::ObjectOf(target)),
                                     static_cast<const TBeam*>(WorkbenchTree::ObjectOf(dragged)),
                                     place);
    }
    if (moved) {
        SyncChildOrder(dragged->parent());
        m_document.SetModified();
        WorkbenchTreeView->setCurrentItem(dragged);
    }
}

void MainWindow::SyncChildOrder(QTreeWidgetItem* parent) {
    std::vector<const void*> order;
    if (WorkbenchTree::KindOf(parent) == NodeKind::Patient) {
        for (const auto& treatment :
             static_cast<Patient*>(WorkbenchTree::ObjectOf(parent))->treatments) {
            order.push_back(treatment.get());
        }
    } else {
        for (const auto& beam : static_cast<TTreatment*>(WorkbenchTree::ObjectOf(parent))->beams) {
            order.push_back(beam.get());
        }
    }
    QHash<QTreeWidgetItem*, bool> expanded;
    QHash<const void*, QTreeWidgetItem*> byObject;
    int firstObject = parent->childCount();
    for (int i = parent->childCount() - 1; i >= 0; --i) {
        QTreeWidgetItem* child = parent->child(i);
        if (WorkbenchTree::ObjectOf(child) != nullptr) {
            RememberExpanded(child, expanded);
            byObject.insert(WorkbenchTree::ObjectOf(child), parent->takeChild(i));
            firstObject = i;
        }
    }
    m_updating = true;
    for (std::size_t i = 0; i < order.size(); ++i) {
        QTreeWidgetItem* child = byObject.value(order[i]);
        parent->insertChild(firstObject + static_cast<int>(i), child);
        RestoreExpanded(child, expanded);
    }
    m_updating = false;
}

} // namespace kova::gui
