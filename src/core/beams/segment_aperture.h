#pragma once

// The aperture of one segment as the sector integration walks it: along a ray from the dose
// point, where the ray is outside the jaws, under a leaf, or open.

#include "core/beams/dose_segment.h"
#include "core/common/result.h"

#include <vector>

namespace kova {

/// What covers a stretch of a ray.
enum class Cover { Jaws, Leaf, Open };

/// A stretch of a ray that ends `end` cm from the point (isocentre plane) and starts where
/// the previous one ended (the first at the point).
struct RayPiece {
    double end = 0;
    Cover cover = Cover::Open;
};

/// The jaws and leaves of a segment in the collimator frame, leaves turned to travel along x,
/// each leaf end moved back by half the dosimetric leaf gap.
class SegmentAperture {
public:
    /// Checks the segment's jaws and leaves (finite, jaws that do not cross or touch, N + 1
    /// increasing boundaries with 2N positions) and builds its aperture with the leaf gap
    /// `leafGap` (cm at the isocentre).
    static Result<SegmentAperture> Make(const DoseSegment& segment, double leafGap);

    /// The pieces of the ray from (x, y) in the direction (ux, uy), both in the collimator
    /// frame (isocentre plane, cm), from the point to where the ray leaves the jaws; pieces
    /// with the same cover are joined. Empty when the ray never meets the jaw opening.
    /// `crossings` is scratch space kept by the caller, so that a beam allocates once.
    void Walk(double x, double y, double ux, double uy, std::vector<RayPiece>& pieces,
              std::vector<double>& crossings) const;

private:
    SegmentAperture() = default;
    Cover CoverAt(double x, double y) const;
    void AddCrossings(double x, double y, double ux, double uy, double tIn, double tOut,
                      std::vector<double>& crossings) const;

    bool m_swapped = false; ///< leaves travel along y: x and y exchanged
    double m_x1 = 0, m_x2 = 0, m_y1 = 0, m_y2 = 0;
    std::vector<double> m_boundaries; ///< across the travel
    std::vector<double> m_openFrom;   ///< per pair, bank 1's tip minus half the gap
    std::vector<double> m_openTo;     ///< per pair, bank 2's tip plus half the gap
};

} // namespace kova
