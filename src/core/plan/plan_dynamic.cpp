// The controls of a plan's IMRT or VMAT beam: its identity, dose and TPS MU as for any beam,
// and its segments from the control points as the texts of the IMRT/VMAT beam dialog.

#include "core/beams/dynamic_beam.h"
#include "core/beams/segment_text.h"
#include "core/linac/mlc_parameters.h"
#include "core/plan/plan_checks.h"
#include "core/plan/plan_controls.h"
#include "core/plan/plan_segments.h"

namespace kova {

constexpr double kMmPerCm = 10;

Status AddDynamicControls(const PlanBeamContext& context, const TgEnergy& energy,
                          ImportedBeam& imported) {
    if (SetupTechniqueOf(context.plan, context.beam) == "TBI") {
        return Status::Fail(
            "a total body irradiation set-up: TBI beams are entered in their own dialog");
    }
    if (const Status sad = CheckPlanSAD(context); !sad) {
        return sad;
    }
    if (const Result<MlcParameters> mlc = MlcParametersFor(context.linac, energy.Name); !mlc) {
        return Status::Fail("no IMRT/VMAT check: " + mlc.reason());
    }
    SegmentPlacement placement;
    placement.SAD = context.linac.SAD;
    placement.dosePoint = context.dose.dosePoint;
    if (context.dose.dosePointDepth) {
        placement.depth = *context.dose.dosePointDepth / kMmPerCm;
    }
    if (const PlanSetup* setup = PatientSetupOf(context.plan, context.beam)) {
        placement.patientPosition = setup->position;
    }
    const Result<std::vector<DoseSegment>> segments = PlanSegments(context.beam, placement);
    if (!segments) {
        return segments.status();
    }
    AddPlanIdentity(context, imported);
    if (const std::string leaves = LeafBoundariesText(segments->front().leaves); !leaves.empty()) {
        AddControl(imported, controls::kLeafBoundaries, leaves);
    }
    AddControl(imported, controls::kSegments, SegmentsText(*segments));
    AddPlanTPSMU(context, imported);
    return Status::Ok();
}

} // namespace kova
