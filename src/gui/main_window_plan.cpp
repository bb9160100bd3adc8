// The main window's part in checking a planning system's plan: the action levels the beams
// are compared with, and "Import RT Plan...".

#include "gui/main_window.h"
#include "gui/plan_import_command.h"
#include "gui/qt_text.h"
#include "gui/workbench_model.h"
#include "gui/workbench_tree.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStatusBar>

namespace kova::gui {
namespace {

/// The note never widens the window: a long reason is cut, the tooltip keeps all of it.
constexpr int kNoteWidth = 200;

} // namespace

void MainWindow::LoadActionLevels(const QString& folder) {
    const QString file = QDir(folder).filePath(QString::fromLatin1(kActionLevelsFile));
    m_levels = kova::LoadActionLevels(QFile::encodeName(file).toStdString());
    if (m_actionLevelsNote == nullptr) {
        m_actionLevelsNote = new QLabel(this);
        m_actionLevelsNote->setObjectName(QStringLiteral("ActionLevelsNote"));
        statusBar()->addPermanentWidget(m_actionLevelsNote);
    }
    const QString text = tr("Default action levels: %1");
    const QString problem = ToQ(m_levels.problem);
    m_actionLevelsNote->setText(
        FittedNote(m_actionLevelsNote->fontMetrics(), text, problem, kNoteWidth, Qt::ElideRight));
    m_actionLevelsNote->setToolTip(text.arg(problem));
    m_actionLevelsNote->setVisible(!m_levels.fromFile);
    m_model->SetActionLevels(m_levels.levels);
}

void MainWindow::ImportPlanClick() {
    const QModelIndex selected = SelectedNode();
    if (!CommandOffered(Command::ImportPlan, WorkbenchModel::KindOf(selected))) {
        return;
    }
    ScanLinacs();
    // On the workbench nothing is selected: the plan makes a patient of its own.
    const PlanImportOutcome outcome =
        RunPlanImport(this, m_workbench, m_model->PatientAt(selected), m_linacs, m_planFolder);
    if (outcome.patient != nullptr) {
        // The import added to the core; the model shows what it added.
        WorkbenchTreeView->setCurrentIndex(m_model->ShowImported(*outcome.patient));
    }
    ShowStatus(outcome.status);
}

} // namespace kova::gui
