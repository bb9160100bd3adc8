#pragma once

#include "gui/workbench_model.h"

#include <QKeySequence>
#include <QString>
#include <optional>
#include <vector>

namespace kova::gui {

/// The commands that act on the selected node of the workbench, whether reached through a
/// pop-up menu, the menu bar or a key.
enum class Command {
    NewPatient,
    NewTreatment,
    NewBeam,
    Delete,
    Edit,
    Rename,
    Copy,
    Print,
    /// On the workbench: a new patient from the plan; on a patient: into that patient.
    ImportPlan,
};

/// The pop-up menus of the workbench tree.
enum class Popup { Workbench, Patient, Treatment, Beam, None };

/// The pop-up menu of the kind of the selected node (Workbench: nothing selected): patients,
/// treatments and beams have their own; information and result lines have none.
Popup PopupFor(NodeKind selected);

/// The items of a pop-up menu in order; none stands for a separator.
const std::vector<std::optional<Command>>& PopupItems(Popup popup);

/// True when `command` may act on the selected node of that kind: it is on the node's pop-up
/// menu, or it is Rename on a patient, treatment or beam, or Copy on a treatment or a beam.
/// The menu bar enables its items by this rule.
bool CommandOffered(Command command, NodeKind selected);

/// The command's caption ("New Treatment...") and its key (none for some).
QString CommandCaption(Command command);
QKeySequence CommandShortcut(Command command);

} // namespace kova::gui
