#pragma once

// The controls of a plan's beam for the beam dialog of its kind, worked out from the plan:
// the steps of the plan import that follow once the linac and energy are known.

#include "core/common/result.h"
#include "core/plan/plan_import.h"

#include <string>
#include <string_view>

namespace kova {

/// A beam of a plan on its linac and energy, with its dose and the user's choices.
struct PlanBeamContext {
    const PlanData& plan;
    const PlanBeam& beam; ///< its texts in Windows-1252
    std::string label;    ///< the plan's label in Windows-1252
    const TLinacSpec& linac;
    const PlanBeamDose& dose;
    const PlanAnswers& answers;
    std::string title;
};

/// Ok when the plan's source-axis distance, if given, is the linac's SAD (within 0.5 mm).
Status CheckPlanSAD(const PlanBeamContext& context);

/// The beam's name, ID, the first control point's rotations and the plan's dose (cGy).
void AddPlanIdentity(const PlanBeamContext& context, ImportedBeam& imported);

/// The plan's MU as the TPS MU; without one that is a number of 0 or more the beam is
/// computed but not compared, and its tpsRefusal says why.
void AddPlanTPSMU(const PlanBeamContext& context, ImportedBeam& imported);

/// The controls of an IMRT/VMAT beam: identity, dose, TPS MU, and its segments worked out
/// from the control points (plan_segments.h). Refused, naming the missing parameter, on an
/// energy without MLC parameters, and for what PlanSegments refuses.
Status AddDynamicControls(const PlanBeamContext& context, const TgEnergy& energy,
                          ImportedBeam& imported);

/// Adds "NAME = VALUE" to the beam's block.
void AddControl(ImportedBeam& imported, std::string_view key, const std::string& value);

/// The photon beam dialog's controls from the plan: technique, depth and SSDs, the field,
/// the wedge, tray, shield and multileaf entries and the offset box. Unsettled modifiers
/// become questions; a beam that cannot be checked fails with the reason.
Status AddPhotonControls(const PlanBeamContext& context, const TgEnergy& energy,
                         ImportedBeam& imported);

/// The electron beam dialog's controls: the applicator and its opening as the field.
Status AddElectronControls(const PlanBeamContext& context, const TeEnergy& energy,
                           ImportedBeam& imported);

/// The wedge, tray and shield of a photon beam; questions for those not settled.
Status AddPhotonModifiers(const PlanBeamContext& context, const TgEnergy& energy,
                          ImportedBeam& imported);

} // namespace kova
