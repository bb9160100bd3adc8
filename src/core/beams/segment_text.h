#pragma once

// The segments of an imported dynamic beam as the texts of its dialog's controls, so that a
// beam file (and a saved workbench) carries them like any other input: a beam read back is
// typed from these texts and gives the same dose.
//
//     LeafBoundaries = MLCX -20 -19.5 ... 20
//     Segments = 0.02 90 - 0 0 -5 5 -5 5 0 181 0 -1.2 ... ; 0.02 90 - ...
//
// Each segment is: its share of the beam's MU, SSD, depth ("-" when the plan gives none),
// the point in the beam's eye view (x, y), jaws X1 X2 Y1 Y2, collimator, gantry and couch
// angles, then its 2N leaf tips. Lengths in cm at the isocentre, angles in degrees.

#include "core/beams/dose_segment.h"
#include "core/common/result.h"

#include <string>
#include <string_view>
#include <vector>

namespace kova {

/// Most segments of one beam: a plan's beam has at most 10000 control points.
inline constexpr std::size_t kMaxSegments = 10000;
/// Most leaf pairs of one multileaf collimator.
inline constexpr std::size_t kMaxLeafPairs = 1000;

/// "MLCX b0 ... bN" ("MLCY" for leaves travelling along y); empty without leaves.
std::string LeafBoundariesText(const LeafBank& leaves);

/// The segments as the "Segments" text, each value at full precision.
std::string SegmentsText(const std::vector<DoseSegment>& segments);

/// The segments the two texts give, each segment's MU its share of the beam's MU. Fails
/// naming the first fault: a value that is not a number, a segment with the wrong count of
/// values, no segment, more than kMaxSegments segments or kMaxLeafPairs leaf pairs.
Result<std::vector<DoseSegment>> ParseSegments(std::string_view leafBoundaries,
                                               std::string_view segments);

} // namespace kova
