#include "core/plan/plan_segments.h"
#include "support/near.h"
#include "support/test_plans.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kova {
namespace {

using test::IsNear;

/// A control point with its weight, gantry angle and the tips of one leaf pair (mm).
PlanControlPoint Point(double weight, double gantry, double bank1, double bank2) {
    PlanControlPoint point;
    point.cumulativeWeight = weight;
    point.gantryAngle = gantry;
    point.devices = {{"MLCX", {bank1, bank2}}};
    return point;
}

/// A static beam (10 x 10 cm jaws, SSD 900 mm, isocentre at 0) with one leaf pair of
/// 10 cm and control points `points` after its first, which gives the rest.
PlanBeam Beam(std::vector<PlanControlPoint> points) {
    PlanBeam beam = test::StaticBeam(1, "IMRT");
    beam.devices.push_back({"MLCX", {-50, 50}, 1});
    PlanControlPoint& first = points.front();
    first.collimatorAngle = 0;
    first.couchAngle = 0;
    first.SSD = 900;
    first.isocenter = {0, 0, 0};
    first.devices.insert(first.devices.begin(), {{"ASYMX", {-50, 50}}, {"ASYMY", {-50, 50}}});
    beam.controlPoints = std::move(points);
    beam.finalWeight = beam.controlPoints.back().cumulativeWeight;
    return beam;
}

// One row per rule of the segments: what each gets from its two control points (MU share,
// leaf tips in cm, gantry, SSD, the point in the beam's eye view and its depth), or the
// refusal.
TEST(PlanSegments, FromControlPoints) {
    struct Expected {
        double share, tip1, tip2, gantry, SSD, x, y, depth;
    };
    struct Case {
        const char* what;
        std::function<PlanBeam()> beam;
        SegmentPlacement placement;
        std::vector<Expected> segments; ///< depth -1: none, SAD - SSD
        std::string refusal;
    };
    const SegmentPlacement iso{100, {}, {}, "HFS"};
    const Case cases[] = {
        // Step and shoot: 0.4 of the MU through the first aperture, the move between
        // without MU left out, 0.6 through the second.
        {"step and shoot",
         [] {
             return Beam({Point(0, 0, -20, 0), Point(4, 0, -20, 0), Point(4, 0, 0, 30),
                          Point(10, 0, 0, 30)});
         },
         iso,
         {{0.4, -2, 0, 0, 90, 0, 0, -1}, {0.6, 0, 3, 0, 90, 0, 0, -1}},
         {}},
        // Sliding window: the mean of the two control points, -2..0 and 0..4 cm give -1..2.
        {"moving leaves",
         [] {
             return Beam({Point(0, 0, -20, 0), Point(1, 0, 0, 40)});
         },
         iso,
         {{1, -1, 2, 0, 90, 0, 0, -1}},
         {}},
        // An arc through 0 degrees the short way (350 to 10: 0), SSD 90 and 92 cm: 91 cm.
        {"arc through 0",
         [] {
             PlanBeam beam = Beam({Point(0, 350, -50, 50), Point(2, 10, -50, 50)});
             beam.controlPoints[1].SSD = 920;
             return beam;
         },
         iso,
         {{1, -5, 5, 0, 91, 0, 0, -1}},
         {}},
        // A dose point 20 mm to the patient's left (+x): at gantry 0 it is 2 cm along x in
        // the isocentre plane, 100 - 90 = 10 cm deep; at gantry 90 (the source on the left) it lies
        // on the axis
        // 2 cm nearer the source: depth 100 - 2 - 90 = 8 cm.
        {"off-axis point at gantry 0 and 90",
         [] {
             return Beam({Point(0, 0, -50, 50), Point(5, 0, -50, 50), Point(5, 90, -50, 50),
                          Point(10, 90, -50, 50)});
         },
         {100, {20, 0, 0}, {}, "HFS"},
         {{0.5, -5, 5, 0, 90, 2, 0, 10}, {0.5, -5, 5, 90, 90, 0, 0, 8}},
         {}},
        // The plan's depth of the point wins; 10 mm head-ward is y = 1 cm at every gantry.
        {"point head-ward with the plan's depth",
         [] {
             return Beam({Point(0, 30, -50, 50), Point(1, 30, -50, 50)});
         },
         {100, {0, 0, 10}, 12.5, "HFS"},
         {{1, -5, 5, 30, 90, 0, 1, 12.5}},
         {}},
        {"no weight",
         [] {
             PlanBeam beam = Beam({Point(0, 0, -50, 50), Point(1, 0, -50, 50)});
             beam.controlPoints[1].cumulativeWeight.reset();
             return beam;
         },
         iso,
         {},
         "control point 2 gives no CumulativeMetersetWeight that is a number"},
        {"weight going back",
         [] {
             return Beam({Point(0, 0, -50, 50), Point(2, 0, -50, 50), Point(1, 0, -50, 50)});
         },
         iso,
         {},
         "the CumulativeMetersetWeight of control point 3 is below that of the control point "
         "before it"},
        {"last weight short of the final weight",
         [] {
             PlanBeam beam = Beam({Point(0, 0, -50, 50), Point(0.9, 0, -50, 50)});
             beam.finalWeight = 1;
             return beam;
         },
         iso,
         {},
         "the last control point's CumulativeMetersetWeight 0.9 is not the beam's final "
         "weight 1"},
        {"off-axis point, feet first",
         [] {
             return Beam({Point(0, 0, -50, 50), Point(1, 0, -50, 50)});
         },
         {100, {20, 0, 0}, {}, "FFS"},
         {},
         "segment 1: an off-axis dose point is placed for head-first supine set-ups only "
         "(the plan's patient position is 'FFS')"},
    };
    for (const Case& c : cases) {
        const Result<std::vector<DoseSegment>> segments = PlanSegments(c.beam(), c.placement);
        if (!c.refusal.empty()) {
            EXPECT_EQ(segments.reason(), c.refusal) << c.what;
            continue;
        }
        ASSERT_TRUE(segments.ok()) << c.what << ": " << segments.reason();
        ASSERT_EQ(segments->size(), c.segments.size()) << c.what;
        for (std::size_t i = 0; i < c.segments.size(); ++i) {
            const DoseSegment& s = (*segments)[i];
            const Expected& e = c.segments[i];
            EXPECT_TRUE(IsNear(s.MU, e.share)) << c.what << " " << i;
            EXPECT_TRUE(IsNear(s.leaves.positions[0], e.tip1)) << c.what << " " << i;
            EXPECT_TRUE(IsNear(s.leaves.positions[1], e.tip2)) << c.what << " " << i;
            EXPECT_TRUE(IsNear(s.gantryAngle, e.gantry)) << c.what << " " << i;
            EXPECT_TRUE(IsNear(s.SSD, e.SSD)) << c.what << " " << i;
            EXPECT_TRUE(IsNear(s.pointX, e.x, {1e-9, 1e-9})) << c.what << " " << i;
            EXPECT_TRUE(IsNear(s.pointY, e.y, {1e-9, 1e-9})) << c.what << " " << i;
            EXPECT_TRUE(e.depth < 0 ? !s.depth : s.depth && IsNear(*s.depth, e.depth))
                << c.what << " " << i;
            EXPECT_TRUE(IsNear(s.X1, -5) && IsNear(s.Y2, 5)) << c.what << " jaws";
        }
    }
}

} // namespace
} // namespace kova
