// The main window's part in checking a planning system's plan: the action levels the beams
// are compared with, and "Import RT Plan...".

#include "gui/main_window.h"
#include "gui/plan_import_command.h"
#include "gui/qt_text.h"
#include "gui/workbench_tree.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStatusBar>

namespace kova::gui {
namespace {

/// The note never widens the window: a long reason is cut, the tooltip keeps all of it.
constexpr int kNoteWidth = 320;

} // namespace

void MainWindow::LoadActionLevels(const QString& folder) {
    const QString file = QDir(folder).filePath(QString::fromLatin1(kActionLevelsFile));
    m_levels = kova::LoadActionLevels(QFile::encodeName(file).toStdString());
    if (m_actionLevelsNote == nullptr) {
        m_actionLevelsNote = new QLabel(this);
        m_actionLevelsNote->setObjectName(QStringLiteral("ActionLevelsNote"));
        statusBar()->addPermanentWidget(m_actionLevelsNote);
    }
    const QString note = u"Default action levels: " + ToQ(m_levels.problem);
    m_actionLevelsNote->setText(
        m_actionLevelsNote->fontMetrics().elidedText(note, Qt::ElideRight, kNoteWidth));
    m_actionLevelsNote->setToolTip(note);
    m_actionLevelsNote->setVisible(!m_levels.fromFile);
    RefreshBeams();
}

void MainWindow::RefreshBeams() {
    // Collected first: showing a beam again replaces the nodes below it.
    std::vector<QTreeWidgetItem*> beams;
    for (int p = 0; p < WorkbenchTreeView->topLevelItemCount(); ++p) {
        const QTreeWidgetItem* patient = WorkbenchTreeView->topLevelItem(p);
        for (int t = 0; t < patient->childCount(); ++t) {
            const QTreeWidgetItem* treatment = patient->child(t);
            for (int b = 0; b < treatment->childCount(); ++b) {
                if (WorkbenchTree::KindOf(treatment->child(b)) == NodeKind::Beam) {
                    beams.push_back(treatment->child(b));
                }
            }
        }
    }
    m_updating = true;
    for (QTreeWidgetItem* item : beams) {
        ShowBeam(item, *static_cast<const TBeam*>(WorkbenchTree::ObjectOf(item)));
    }
    m_updating = false;
}

void MainWindow::ImportPlanClick() {
    QTreeWidgetItem* selected = SelectedNode();
    if (!CommandOffered(Command::ImportPlan, selected)) {
        return;
    }
    ScanLinacs();
    // On the workbench nothing is selected: the plan makes a patient of its own.
    auto* patient = static_cast<Patient*>(WorkbenchTree::ObjectOf(selected));
    const PlanImportOutcome outcome =
        RunPlanImport(this, m_workbench, patient, m_linacs, m_planFolder);
    if (outcome.patient != nullptr) {
        m_updating = true;
        QTreeWidgetItem* patientItem = selected;
        if (outcome.newPatient) {
            patientItem = AddNode(nullptr, ToQ(outcome.patient->name));
            WorkbenchTree::SetObject(patientItem, NodeKind::Patient, outcome.patient);
        }
        const auto& treatments = outcome.patient->treatments;
        for (std::size_t i = outcome.firstTreatment; i < treatments.size(); ++i) {
            AddTreatmentNode(patientItem, *treatments[i]);
        }
        m_updating = false;
        patientItem->setExpanded(true);
        m_document.SetModified();
        WorkbenchTreeView->setCurrentItem(patientItem);
    }
    ShowStatus(outcome.status);
}

} // namespace kova::gui
