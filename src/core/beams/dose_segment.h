#pragma once

// A segment of a dynamic photon beam (step-and-shoot, sliding window, VMAT): the part of
// the beam between two control points, with one fixed aperture. The point-dose engine
// (clarkson.h) takes a beam as a list of them; whoever reads a plan makes them.

#include <optional>
#include <vector>

namespace kova {

/// The direction the leaves of a multileaf collimator travel in.
enum class LeafTravel { AlongX, AlongY };

/// The leaves of a segment, cm at the isocentre plane in the collimator frame. Without
/// boundaries the jaws alone shape the field.
struct LeafBank {
    LeafTravel travel = LeafTravel::AlongX;
    /// N + 1 leaf edges across the travel, strictly increasing; any count and widths.
    std::vector<double> boundaries;
    /// 2N leaf tips along the travel: the N of bank 1 (the negative side), then the N of
    /// bank 2; pair i is open from bank 1's tip to bank 2's.
    std::vector<double> positions;
};

/// One segment: its MU and aperture, the angles it is delivered at and where the dose point
/// lies for it. The defaults are refused (closed jaws, no SSD), so nothing unset passes.
struct DoseSegment {
    double MU = 0; ///< the beam's MU times the segment's share of the meterset, >= 0
    /// Jaw positions, cm at the isocentre plane, signed along the collimator axes (X1 is
    /// negative when that jaw is open past the axis): the field spans X1..X2 and Y1..Y2.
    double X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
    LeafBank leaves;
    /// Degrees, IEC 61217: the collimator frame is the gantry frame turned by this angle
    /// about the beam axis, counter-clockwise seen from the source.
    double collimatorAngle = 0;
    double gantryAngle = 0; ///< degrees; reported, the dose does not depend on it
    double couchAngle = 0;  ///< degrees; reported, the dose does not depend on it
    double SSD = 0;         ///< source to surface distance along the ray to the point, cm
    /// Depth of the point along that ray, cm, when the plan gives it; otherwise SAD - SSD
    /// (the point in the isocentre plane).
    std::optional<double> depth;
    /// The point in the beam's eye view: its projection onto the isocentre plane, cm, in the
    /// gantry frame (the collimator at 0). The isocentre is (0, 0).
    double pointX = 0, pointY = 0;
};

} // namespace kova
