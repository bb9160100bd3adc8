// The main window's part in the record of checks: "Record Checks" on the selection, the
// checks of an imported RT Plan recorded as soon as they are computed, the checks kept
// while the record is busy, the history window and the record's place.

#include "core/plan/plan_workbench.h"
#include "gui/dialogs.h"
#include "gui/history_window.h"
#include "gui/main_window.h"
#include "gui/plan_import_command.h"
#include "gui/qt_text.h"
#include "gui/record_keeper.h"
#include "gui/workbench_model.h"
#include "gui/workbench_tree.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace kova::gui {
namespace {

/// The node of `kind` that holds `node` (or is it); invalid when none does.
QModelIndex HolderOf(QModelIndex node, NodeKind kind) {
    while (node.isValid() && WorkbenchModel::KindOf(node) != kind) {
        node = node.parent();
    }
    return node;
}

} // namespace

void MainWindow::AttachRecord(RecordKeeper* keeper) {
    m_record = keeper;
    auto* menu = new QMenu(tr("&Record"), this);
    menu->setObjectName(QStringLiteral("RecordMenu"));
    const auto item = [&](const QString& text, void (MainWindow::*slot)(),
                          const QKeySequence& key = {}) {
        QAction* added = menu->addAction(text);
        added->setShortcut(key);
        connect(added, &QAction::triggered, this, slot);
    };
    item(tr("Record Checks"), &MainWindow::RecordChecksClick,
         QKeySequence(QStringLiteral("Ctrl+R")));
    item(tr("Save Kept Checks"), &MainWindow::SaveKeptChecksClick);
    menu->addSeparator();
    item(tr("History..."), &MainWindow::HistoryClick, QKeySequence(QStringLiteral("Ctrl+H")));
    item(tr("Record Location..."), &MainWindow::RecordLocationClick);
    // Before the Help menu, which stays last.
    const QList<QAction*> menus = menuBar()->actions();
    menuBar()->insertMenu(menus.isEmpty() ? nullptr : menus.back(), menu);
}

std::vector<record::CheckRecord> MainWindow::ChecksOf(const Patient& patient,
                                                      const std::vector<TTreatment*>& treatments,
                                                      const TBeam* only,
                                                      QStringList& problems) const {
    std::vector<record::CheckRecord> checks;
    const PlanPatient recorded = RecordedPatient(patient);
    for (TTreatment* treatment : treatments) {
        for (const auto& beam : treatment->beams) {
            if ((only != nullptr && beam.get() != only) || !beam->calculated) {
                continue;
            }
            const record::CheckContext context = record::ContextNow(
                *treatment, recorded.name, recorded.ID, m_info.productVersion, m_levels.levels);
            if (auto check = record::MakeCheckRecord(*treatment, *beam, context)) {
                checks.push_back(std::move(check.value()));
            } else {
                problems << QString::fromStdString(check.reason());
            }
        }
    }
    return checks;
}

void MainWindow::KeepChecks(std::vector<record::CheckRecord> checks, const QStringList& problems) {
    if (m_record == nullptr) {
        return;
    }
    const QString said = checks.empty() && m_record->keptCount() == 0
                             ? tr("No computed beam to record")
                             : m_record->Keep(std::move(checks), this);
    ShowStatus(said);
    if (m_record->keptCount() > 0 || !problems.isEmpty()) {
        QStringList lines = problems;
        if (m_record->keptCount() > 0) {
            lines.prepend(said);
        }
        Dialogs::ShowError(this, lines.join(u'\n'));
    }
}

void MainWindow::RecordChecksClick() {
    // The selected patient, treatment or beam; with nothing selected, the whole workbench.
    const QModelIndex selected = SelectedNode();
    const Patient* patientOnly = m_model->PatientAt(HolderOf(selected, NodeKind::Patient));
    const TTreatment* treatmentOnly = m_model->TreatmentAt(HolderOf(selected, NodeKind::Treatment));
    const TBeam* beamOnly = m_model->BeamAt(HolderOf(selected, NodeKind::Beam));
    std::vector<record::CheckRecord> checks;
    QStringList problems;
    for (const auto& patient : m_workbench.patients()) {
        if (patientOnly != nullptr && patient.get() != patientOnly) {
            continue;
        }
        std::vector<TTreatment*> treatments;
        for (const auto& treatment : patient->treatments) {
            if (treatmentOnly == nullptr || treatment.get() == treatmentOnly) {
                treatments.push_back(treatment.get());
            }
        }
        for (record::CheckRecord& check : ChecksOf(*patient, treatments, beamOnly, problems)) {
            checks.push_back(std::move(check));
        }
    }
    KeepChecks(std::move(checks), problems);
}

void MainWindow::RecordImportedPlan(const PlanImportOutcome& outcome) {
    if (m_record == nullptr || outcome.patient == nullptr) {
        return;
    }
    std::vector<TTreatment*> treatments;
    for (std::size_t t = outcome.firstTreatment; t < outcome.patient->treatments.size(); ++t) {
        treatments.push_back(outcome.patient->treatments[t].get());
    }
    QStringList problems;
    KeepChecks(ChecksOf(*outcome.patient, treatments, nullptr, problems), problems);
}

bool MainWindow::MayDropKeptChecks() {
    if (m_record == nullptr || m_record->keptCount() == 0) {
        return true;
    }
    KeepChecks({}, {});
    return m_record->keptCount() == 0 ||
           Dialogs::Confirm(this, tr("Record of checks"),
                            tr("%1 checks could not be saved in the record and are lost when "
                               "the program ends. Close anyway?")
                                .arg(m_record->keptCount()));
}

void MainWindow::SaveKeptChecksClick() {
    KeepChecks({}, {});
}

void MainWindow::HistoryClick() {
    if (m_record == nullptr) {
        return;
    }
    if (m_history == nullptr) {
        m_history = new HistoryWindow(*m_record, this);
    }
    m_history->Refresh();
    m_history->show();
    m_history->raise();
}

void MainWindow::RecordLocationClick() {
    const std::optional<QString> text = Dialogs::AskText(
        this, tr("Record Location"),
        tr("The record of checks: an SQLite file, or a PostgreSQL server as\n"
           "host=NAME port=5432 dbname=NAME user=NAME (no password: it is asked for, or\n"
           "taken from ~/.pgpass)"),
        m_record->ConnectionText());
    if (!text) {
        return;
    }
    if (const Status set = m_record->SetConnectionText(*text); !set) {
        Dialogs::ShowError(this, QString::fromStdString(set.reason()));
        return;
    }
    ShowStatus(tr("Record of checks: %1").arg(m_record->ConnectionText()));
}

} // namespace kova::gui
