#pragma once

#include "core/linac/linac_spec.h"
#include "core/plan/plan_answers.h"
#include "core/workbench/workbench.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace kova::gui {

/// Puts a question of a plan's import to the user: a pick list of the question's candidates
/// (for a tray or shield also "Set on fly...", which asks for a name and factor). None when
/// the user cancels.
std::optional<PlanAnswer> AskPlanQuestion(QWidget* parent, const ImportedBeam& beam,
                                          const PlanQuestion& question);

/// What "Import RT Plan..." did.
struct PlanImportOutcome {
    Patient* patient = nullptr;     ///< the patient that got beams; null when none did
    bool newPatient = false;        ///< the patient was made for the plan
    std::size_t firstTreatment = 0; ///< the patient's first new treatment
    QString status;                 ///< a line for the status bar
};

/// "Import RT Plan...": asks for an RT Plan file (starting in `folder`, which then keeps the
/// file's folder), reads it, asks what the plan leaves open and puts its beams into
/// `patient`, or when null into a new patient of `workbench` named after the plan's patient
/// (made only when a beam is imported). A file that cannot be read is reported in the error
/// box; the beams not imported are listed, each with its reason, in one message.
PlanImportOutcome RunPlanImport(QWidget* parent, Workbench& workbench, Patient* patient,
                                const std::vector<std::unique_ptr<TLinacSpec>>& linacs,
                                QString& folder);

} // namespace kova::gui
