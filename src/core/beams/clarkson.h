#pragma once

// Point dose of a dynamic photon beam by modified Clarkson sector integration on the
// energy's commissioning tables. The model, its assumptions and its limits are in
// docs/clarkson.md; every table is read through the lookups of the static calculation.

#include "core/beams/dose_segment.h"
#include "core/common/result.h"
#include "core/linac/mlc_parameters.h"
#include "core/text/date_text.h"

#include <vector>

namespace kova {

class TgEnergy;

/// Sectors of the integration by default: 72 of 5 degrees, the widest the model allows.
inline constexpr int kClarksonSectors = 72;
/// Most sectors accepted (half a degree each).
inline constexpr int kMaxClarksonSectors = 720;

/// The machine a beam is computed on, beside its photon energy.
struct DoseMachine {
    double SAD = 0;                 ///< source-axis distance of the linac, cm
    MlcParameters mlc;              ///< leaf transmission and dosimetric leaf gap of the energy
    int sectors = kClarksonSectors; ///< kClarksonSectors to kMaxClarksonSectors
};

/// What one segment gives the point, with the factors of its dose per MU:
/// dose = MU x Sc x phantom x inverseSquare x offsetFactor / MUperCGy.
struct SegmentDose {
    double dose = 0;              ///< cGy
    double transmitted = 0;       ///< cGy of `dose` that came through leaves
    double depth = 0;             ///< depth of the point, cm
    double collimatorScatter = 0; ///< Sc: field factor over phantom scatter of the jaw field
    double phantom = 0;           ///< mean over the sectors of Sp x TMR
    double inverseSquare = 0;     ///< ((SCD + build-up) / (SSD + depth))^2
    double offsetFactor = 1;      ///< the energy's offset factor at the point's distance
};

/// The dose of a beam at its point.
struct PointDose {
    std::vector<SegmentDose> segments; ///< one per segment, in order
    double MU = 0;                     ///< the segments' MU together
    double dose = 0;                   ///< cGy, all segments
    double meanDepth = 0;              ///< cm, weighted by each segment's dose
    double transmissionShare = 0;      ///< part of the dose that came through leaves, 0 to 1
    double MUperCGy = 0;               ///< the energy's calibration on the day
};

/// Dose to the point of a beam given as `segments`, on `energy` of `machine`, with the
/// calibration of `today`. Fails, naming the segment (from 1), for a segment that is not
/// whole (MU below 0, jaws crossing, leaf counts that do not match, no SSD, a point above
/// the surface) or whose lookups fail (a depth beyond the depth-dose tables, a point beyond
/// the offset factors, a table without data); also for a beam without MU.
Result<PointDose> ComputePointDose(const TgEnergy& energy, const DoseMachine& machine,
                                   const std::vector<DoseSegment>& segments, const Date& today);

/// The MU that would give `plannedDose` (cGy) at the point: plannedDose / (dose / MU).
/// Refused when the beam gives the point no dose.
Result<double> MUForPlannedDose(const PointDose& pointDose, double plannedDose);

} // namespace kova
