#include "gui/plan_import_command.h"

#include "core/plan/plan_workbench.h"
#include "dicom/rt_plan_reader.h"
#include "gui/dialogs.h"
#include "gui/modifier_value_dialog.h"
#include "gui/qt_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

namespace kova::gui {
namespace {

QString Title() {
    return QCoreApplication::translate("kova::gui::PlanImport", "Import RT Plan");
}

QString WhatToPick(PlanPick pick) {
    switch (pick) {
    case PlanPick::Machine:
        return QCoreApplication::translate("kova::gui::PlanImport", "linac");
    case PlanPick::Energy:
        return QCoreApplication::translate("kova::gui::PlanImport", "energy");
    case PlanPick::Wedge:
        return QCoreApplication::translate("kova::gui::PlanImport", "wedge");
    case PlanPick::Tray:
        return QCoreApplication::translate("kova::gui::PlanImport", "tray");
    case PlanPick::Shield:
        return QCoreApplication::translate("kova::gui::PlanImport", "shield");
    }
    return {};
}

/// "Set on fly..." for a tray or shield: the name the plan gives, and a factor to type.
std::optional<PlanAnswer> MakeOnTheSpot(QWidget* parent, const PlanQuestion& question) {
    ModifierValueDialog dialog(parent);
    dialog.Name->setText(ToQ(question.asked));
    if (Dialogs::Exec(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return PlanAnswer{{}, dialog.value()};
}

/// The beams not imported, one line each, in one message.
void ListRefused(QWidget* parent, const QString& file, const std::vector<RefusedPlanBeam>& refused,
                 std::size_t beams) {
    QStringList lines;
    for (const RefusedPlanBeam& beam : refused) {
        lines << u"- " + ToQ(RefusedLine(beam));
    }
    Dialogs::ShowError(
        parent,
        QCoreApplication::translate("kova::gui::PlanImport", "%1 of %2 beams of %3 were not "
                                                             "imported:\n\n%4")
            .arg(QString::number(refused.size()), QString::number(beams), file, lines.join(u'\n')));
}

/// Moves the treatments of `imported` into `patient`, or into a new patient of the
/// workbench named after the plan's patient when it is null.
void MoveTreatments(Patient& imported, Workbench& workbench, Patient* patient, const PlanData& plan,
                    PlanImportOutcome& outcome) {
    outcome.newPatient = patient == nullptr;
    if (outcome.newPatient) {
        patient = &workbench.AddPatient();
        patient->name = PlanPatientCaption(PlanPatientOf(plan));
        patient->ID = PlanPatientOf(plan).ID;
    }
    outcome.patient = patient;
    outcome.firstTreatment = patient->treatments.size();
    for (auto& treatment : imported.treatments) {
        workbench.AddTreatment(*patient, std::move(treatment));
    }
}

} // namespace

std::optional<PlanAnswer> AskPlanQuestion(QWidget* parent, const ImportedBeam& beam,
                                          const PlanQuestion& question) {
    QStringList items;
    for (const std::string& candidate : question.candidates) {
        items << ToQ(candidate);
    }
    const bool modifier = question.pick == PlanPick::Tray || question.pick == PlanPick::Shield;
    if (modifier) {
        items << QCoreApplication::translate("kova::gui::PlanImport", "Set on fly...");
    }
    const QString label =
        QCoreApplication::translate("kova::gui::PlanImport",
                                    "Beam \u201c%1\u201d: %2.\n\nChoose the %3 (for every beam of "
                                    "the plan that asks the same):")
            .arg(ToQ(beam.title), ToQ(question.text), WhatToPick(question.pick));
    const std::optional<int> picked = Dialogs::PickItem(parent, Title(), label, items);
    if (!picked) {
        return std::nullopt;
    }
    const auto index = static_cast<std::size_t>(*picked);
    if (index >= question.candidates.size()) {
        return MakeOnTheSpot(parent, question);
    }
    return PlanAnswer{question.candidates[index], {}};
}

PlanImportOutcome RunPlanImport(QWidget* parent, Workbench& workbench, Patient* patient,
                                const std::vector<std::unique_ptr<TLinacSpec>>& linacs,
                                QString& folder) {
    PlanImportOutcome outcome;
    const QString path = Dialogs::OpenFileName(
        parent, Title(),
        QCoreApplication::translate("kova::gui::PlanImport",
                                    "DICOM RT Plan (*.dcm *.DCM);;All files (*)"),
        folder.isEmpty() ? QDir::homePath() : folder);
    if (path.isEmpty()) {
        outcome.status = QCoreApplication::translate("kova::gui::PlanImport", "Nothing imported.");
        return outcome;
    }
    folder = QFileInfo(path).absolutePath();
    const QString file = QFileInfo(path).fileName();
    const Result<PlanData> plan = ReadRTPlanFile(QFile::encodeName(path).toStdString());
    if (!plan) {
        Dialogs::ShowError(parent, file + u": " + ToQ(plan.reason()));
        outcome.status = QCoreApplication::translate("kova::gui::PlanImport", "Nothing imported.");
        return outcome;
    }
    const PlanAsker ask = [parent](const ImportedBeam& beam, const PlanQuestion& question) {
        return AskPlanQuestion(parent, beam, question);
    };
    const std::vector<ImportedBeam> beams = ImportPlanAsking(*plan, linacs, ask, FromQ(file));
    // The beams go into a patient of their own first, so that a plan whose every beam is
    // refused leaves the workbench as it was.
    Patient imported;
    const std::vector<RefusedPlanBeam> refused =
        AddPlanBeams(imported, *plan, beams, SystemToday());
    if (!imported.treatments.empty()) {
        MoveTreatments(imported, workbench, patient, *plan, outcome);
    }
    const std::size_t added = beams.size() - refused.size();
    outcome.status =
        QCoreApplication::translate("kova::gui::PlanImport", "Imported %1 of %2 beams from %3.")
            .arg(QString::number(added), QString::number(beams.size()), file);
    if (!refused.empty()) {
        ListRefused(parent, file, refused, beams.size());
    }
    return outcome;
}

} // namespace kova::gui
