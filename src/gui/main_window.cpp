#include "gui/main_window.h"

#include "core/beams/beam.h"
#include "gui/beam_dialogs.h"
#include "gui/dialogs.h"
#include "gui/icons.h"
#include "gui/linacs_menu.h"
#include "gui/print_command.h"
#include "gui/print_report_dialog.h"
#include "gui/qt_text.h"
#include "gui/treatment_dialog.h"
#include "gui/workbench_tree.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QHash>
#include <QMenu>
#include <QMenuBar>
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
    : QMainWindow(parent), m_info(std::move(info)), m_linacFolder(std::move(linacFolder)) {
    setObjectName(QStringLiteral("TMain"));
    setWindowTitle(ToQ(m_info.Caption(kWindowCaption)));
    WorkbenchTreeView = new WorkbenchTree(this);
    setCentralWidget(WorkbenchTreeView);
    BuildMenus();
    m_linacsMenu = new LinacsMenu(menuBar(), m_workbench, m_linacFolder, this);
    m_popup = WorkbenchPopupMenu;
    connect(WorkbenchTreeView, &QTreeWidget::currentItemChanged, this,
            &MainWindow::WorkbenchTreeViewChange);
    connect(WorkbenchTreeView, &QTreeWidget::itemChanged, this,
            &MainWindow::WorkbenchTreeViewEdited);
    connect(WorkbenchTreeView, &WorkbenchTree::NodeDropped, this,
            &MainWindow::WorkbenchTreeViewDragDrop);
    connect(WorkbenchTreeView, &QWidget::customContextMenuRequested, this,
            &MainWindow::ShowPopupMenu);
    m_printDialog = new PrintReportDialog(this);
    m_bannerFolder = QCoreApplication::applicationDirPath();
    statusBar()->showMessage(QStringLiteral("Right-click the workbench to add a patient."));
    resize(640, 480);
}

MainWindow::~MainWindow() {
    // The linac windows refer to the linacs and the workbench, which go before the children.
    delete m_linacsMenu;
    // The tree's nodes point into the workbench: remove them before the model goes.
    m_updating = true;
    WorkbenchTreeView->clear();
}

void MainWindow::BuildMenus() {
    const auto action = [this](QMenu* menu, const char* text, void (MainWindow::*slot)()) {
        QAction* item = menu->addAction(QString::fromLatin1(text));
        connect(item, &QAction::triggered, this, slot);
        return item;
    };
    WorkbenchPopupMenu = new QMenu(this);
    action(WorkbenchPopupMenu, "New Patient", &MainWindow::NewPatientClick);
    WorkbenchPopupMenu->addSeparator();
    action(WorkbenchPopupMenu, "Print...", &MainWindow::PrintPatientClick);

    PatientPopupMenu = new QMenu(this);
    action(PatientPopupMenu, "New Patient", &MainWindow::NewPatientClick);
    action(PatientPopupMenu, "Delete", &MainWindow::DeletePatientClick);
    PatientPopupMenu->addSeparator();
    action(PatientPopupMenu, "New Treatment...", &MainWindow::NewTreatmentClick);
    PatientPopupMenu->addSeparator();
    action(PatientPopupMenu, "Print...", &MainWindow::PrintPatientClick);

    TreatmentPopupMenu = new QMenu(this);
    action(TreatmentPopupMenu, "Delete", &MainWindow::DeleteTreatmentClick);
    TreatmentPopupMenu->addSeparator();
    action(TreatmentPopupMenu, "New Beam...", &MainWindow::NewBeamClick);

    BeamPopupMenu = new QMenu(this);
    action(BeamPopupMenu, "Delete", &MainWindow::DeleteBeamClick);
    BeamPopupMenu->addSeparator();
    action(BeamPopupMenu, "Edit...", &MainWindow::EditBeamClick);
}

void MainWindow::ShowPopupMenu(const QPoint& position) {
    // The menu acts on the node that was clicked.
    if (QTreeWidgetItem* hit = WorkbenchTreeView->itemAt(position)) {
        WorkbenchTreeView->setCurrentItem(hit);
    }
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
    m_linacs = std::move(scan.linacs);
    m_linacsMenu->SetLinacs(m_linacs);
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
    QTreeWidgetItem* item = WorkbenchTreeView->currentItem();
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
    treatmentItem->setExpanded(true);
    WorkbenchTreeView->setCurrentItem(item);
    UpdateDoseLine(treatmentItem);
}

void MainWindow::ShowBeam(QTreeWidgetItem* item, const TBeam& beam) {
    item->setText(0, ToQ(beam.name));
    qDeleteAll(item->takeChildren());
    AddLines(item, beam.ShowResults());
    item->setExpanded(true);
}

void MainWindow::UpdateDoseLine(QTreeWidgetItem* treatmentItem) {
    auto* treatment = static_cast<TTreatment*>(WorkbenchTree::ObjectOf(treatmentItem));
    if (treatment == nullptr) {
        return;
    }
    treatment->RecomputeDoseTotal();
    // The dose line is the last of the information lines, which come before every beam.
    const auto lines = static_cast<int>(treatment->InformationLines().size());
    if (lines > 0 && treatmentItem->childCount() >= lines) {
        m_updating = true;
        treatmentItem->child(lines - 1)->setText(0, ToQ(treatment->DoseLine()));
        m_updating = false;
    }
}

void MainWindow::DeletePatientClick() {
    QTreeWidgetItem* item = SelectedWithKind(static_cast<int>(NodeKind::Patient));
    if (item == nullptr) {
        return;
    }
    const auto* patient = static_cast<const Patient*>(WorkbenchTree::ObjectOf(item));
    delete item;
    m_workbench.DeletePatient(patient);
    if (WorkbenchTreeView->topLevelItemCount() == 0) {
        m_popup = WorkbenchPopupMenu;
    }
}

void MainWindow::DeleteTreatmentClick() {
    QTreeWidgetItem* item = SelectedWithKind(static_cast<int>(NodeKind::Treatment));
    if (item == nullptr) {
        return;
    }
    const auto* treatment = static_cast<const TTreatment*>(WorkbenchTree::ObjectOf(item));
    delete item;
    m_workbench.DeleteTreatment(treatment);
}

void MainWindow::DeleteBeamClick() {
    QTreeWidgetItem* item = SelectedWithKind(static_cast<int>(NodeKind::Beam));
    if (item == nullptr) {
        return;
    }
    QTreeWidgetItem* treatmentItem = item->parent();
    const auto* beam = static_cast<const TBeam*>(WorkbenchTree::ObjectOf(item));
    delete item;
    m_workbench.DeleteBeam(beam);
    UpdateDoseLine(treatmentItem);
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
        }
    }
    UpdateDoseLine(item->parent());
}

const Patient* MainWindow::SelectedPatient() const {
    const QTreeWidgetItem* item = WorkbenchTreeView->currentItem();
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
    const QTreeWidgetItem* item = WorkbenchTreeView->currentItem();
    if (item == nullptr) {
        m_popup = WorkbenchTreeView->topLevelItemCount() == 0 ? WorkbenchPopupMenu : nullptr;
        return;
    }
    const bool hasObject = WorkbenchTree::ObjectOf(item) != nullptr;
    switch (WorkbenchTree::LevelOf(item)) {
    case 0:
        m_popup = PatientPopupMenu;
        break;
    case 1:
        m_popup = hasObject ? TreatmentPopupMenu : nullptr;
        break;
    case 2:
        m_popup = hasObject ? BeamPopupMenu : nullptr;
        break;
    default:
        m_popup = nullptr;
    }
}

void MainWindow::WorkbenchTreeViewEdited(QTreeWidgetItem* item, int column) {
    if (m_updating || column != 0) {
        return;
    }
    const std::string text = FromQ(item->text(0));
    void* object = WorkbenchTree::ObjectOf(item);
    switch (WorkbenchTree::KindOf(item)) {
    case NodeKind::Patient:
        static_cast<Patient*>(object)->name = text;
        break;
    case NodeKind::Treatment:
        static_cast<TTreatment*>(object)->name = text;
        break;
    case NodeKind::Beam:
        static_cast<TBeam*>(object)->name = text;
        break;
    case NodeKind::Line:
        break;
    }
}

void MainWindow::WorkbenchTreeViewDragDrop(QTreeWidgetItem* target, QTreeWidgetItem* dragged) {
    bool moved = false;
    if (WorkbenchTree::KindOf(dragged) == NodeKind::Treatment) {
        moved = m_workbench.DropTreatment(
            static_cast<const TTreatment*>(WorkbenchTree::ObjectOf(target)),
            static_cast<const TTreatment*>(WorkbenchTree::ObjectOf(dragged)));
    } else if (WorkbenchTree::KindOf(dragged) == NodeKind::Beam) {
        moved = m_workbench.DropBeam(static_cast<const TBeam*>(WorkbenchTree::ObjectOf(target)),
                                     static_cast<const TBeam*>(WorkbenchTree::ObjectOf(dragged)));
    }
    if (moved) {
        SyncChildOrder(dragged->parent());
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
