#pragma once

// The segments of a plan's dynamic beam (step-and-shoot, sliding window, VMAT arc), worked
// out from its control points for the point dose of clarkson.h.

#include "core/beams/dose_segment.h"
#include "core/common/result.h"
#include "core/plan/plan_data.h"

#include <optional>
#include <string>
#include <vector>

namespace kova {

/// Where the beam's dose point lies, and the machine it is placed on.
struct SegmentPlacement {
    double SAD = 0; ///< source-axis distance of the linac, cm
    /// The plan's dose point (BeamDoseSpecificationPoint), mm in the patient's frame; empty
    /// for the isocentre.
    std::vector<double> dosePoint;
    std::optional<double> depth; ///< the plan's depth of the dose point, cm
    std::string patientPosition; ///< "HFS", ...: the set-up an off-axis point is placed for
};

/// The segments between consecutive control points of `beam`, in order, each segment's MU
/// its share of the beam's meterset (the difference of the two cumulative weights over the
/// final weight); segments without meterset are left out. A control point after the first
/// gives what changes; the rest is the previous one's. A segment whose two control points
/// have the same jaws and leaves (step-and-shoot) takes that aperture; otherwise every jaw
/// and leaf is the mean of the two (sliding window, VMAT). Angles and SSD are the means of
/// the two (the gantry the way its GantryRotationDirection says, else like the collimator
/// and couch the short way round). Lengths from mm to cm.
/// The dose point in the beam's eye view: its offset from the isocentre turned by the couch
/// and gantry angles of the segment (IEC 61217, head-first supine set-ups only) and
/// projected onto the isocentre plane; its depth is the plan's when given, else SAD - SSD
/// minus its height above the isocentre along the beam. Fails naming what is missing or
/// damaged (a weight, an angle, the SSD, the jaws, leaf boundaries, the isocentre).
Result<std::vector<DoseSegment>> PlanSegments(const PlanBeam& beam,
                                              const SegmentPlacement& placement);

} // namespace kova
