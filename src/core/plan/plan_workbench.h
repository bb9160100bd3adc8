#pragma once

// A planning system's plan put into the workbench: its patient and the treatments and beams
// of its imported beams, each computed as OK of its dialog computes it.

#include "core/plan/plan_import.h"
#include "core/text/date_text.h"
#include "core/workbench/workbench.h"

#include <string>
#include <vector>

namespace kova {

/// The name of a patient made for a plan: "NAME (ID)"; the name alone when the plan gives no
/// ID, the ID alone when it gives no name, "New Patient" when it gives neither.
std::string PlanPatientCaption(const PlanPatient& patient);

/// A beam of a plan that is not in the workbench, and why.
struct RefusedPlanBeam {
    std::string title;
    std::string reason;
};

/// Puts the ready beams of `beams` (imported from `plan`) into `patient`: one new treatment
/// per linac, energy and beam kind, named by the plan's label and the energy ("Plan1 6MV",
/// the energy alone without a label; "Plan1 6MV (IMRT/VMAT Beam)" for a kind made only from
/// plans) and added in the order of its first beam; in it the
/// beams in plan order, each typed into its dialog's form from its block and computed with
/// OK on `today`. The patient's existing treatments are left as they are; a new treatment
/// whose beams are all refused is not added. Returns the beams not added, in plan order:
/// those not ready with their problem, those the form or OK refused with the reason.
std::vector<RefusedPlanBeam> AddPlanBeams(Patient& patient, const PlanData& plan,
                                          const std::vector<ImportedBeam>& beams,
                                          const Date& today);

/// "TITLE: REASON", a line of the message that lists the refused beams.
std::string RefusedLine(const RefusedPlanBeam& refused);

} // namespace kova
