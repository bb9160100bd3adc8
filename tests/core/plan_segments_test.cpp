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

/// A beam of 10 x 10 cm jaws, SSD 900 mm, the isocentre at 0, one leaf pair of 10 cm, and
/// `points`; the first gives the rest.
PlanBeam Beam(std::vector<PlanControlPoint> points) {
    PlanBeam beam = test::StaticBeam(1, "IMRT");
    beam.devices.push_back({"MLCX", {-50, 50}, 1});
    PlanControlPoint& first = points.front();
    first.collimatorAngle = first.couchAngle = 0;
    first.SSD = 900;
    first.isocenter = {0, 0, 0};
    first.devices.insert(first.devices.begin(), {{"ASYMX", {-50, 50}}, {"ASYMY", {-50, 50}}});
    beam.controlPoints = std::move(points);
    beam.finalWeight = beam.controlPoints.back().cumulativeWeight;
    return beam;
}

// One row per rule of the segments: what each gets from its two control points (MU share,
// leaf tips in cm, gantry, SSD, the point in the beam's eye view and its depth, -1 for
// none: SAD - SSD), or the refusal.
TEST(PlanSegments, FromControlPoints) {
    struct Expected {
        double share, tip1, tip2, gantry, SSD, x, y, depth;
    };
    struct Case {
        const char* what;
        std::vector<PlanControlPoint> points;
        std::function<void(PlanBeam&)> change;
        SegmentPlacement placement;
        std::vector<Expected> segments;
        std::string refusal;
    };
    const auto none = [](PlanBeam&) {};
    const SegmentPlacement iso{100, {}, {}, "HFS"};
    const PlanControlPoint open0 = Point(0, 0, -50, 50), open1 = Point(1, 0, -50, 50);
    const Case cases[] = {
        // Step and shoot: 0.4 of the MU through the first aperture, the move between without
        // MU left out, 0.6 through the second.
        {"step and shoot",
         {Point(0, 0, -20, 0), Point(4, 0, -20, 0), Point(4, 0, 0, 30), Point(10, 0, 0, 30)},
         none,
         iso,
         {{0.4, -2, 0, 0, 90, 0, 0, -1}, {0.6, 0, 3, 0, 90, 0, 0, -1}},
         {}},
        // Sliding window: the mean of -2..0 and 0..4 cm is -1..2.
        {"moving leaves",
         {Point(0, 0, -20, 0), Point(1, 0, 0, 40)},
         none,
         iso,
         {{1, -1, 2, 0, 90, 0, 0, -1}},
         {}},
        // An arc through 0 degrees the short way (350 to 10: 0), SSD 90 and 92 cm: 91 cm;
        // 180 to 20 degrees clockwise passes 270: 280.
        {"arc through 0",
         {Point(0, 350, -50, 50), Point(2, 10, -50, 50)},
         [](PlanBeam& b) { b.controlPoints[1].SSD = 920; },
         iso,
         {{1, -5, 5, 0, 91, 0, 0, -1}},
         {}},
        {"arc clockwise",
         {Point(0, 180, -50, 50), Point(2, 20, -50, 50)},
         [](PlanBeam& b) { b.controlPoints[0].gantryRotation = "CW"; },
         iso,
         {{1, -5, 5, 280, 90, 0, 0, -1}},
         {}},
        // A dose point 20 mm to the patient's left (+x): at gantry 0, 2 cm along x in the
        // isocentre plane, 100 - 90 = 10 cm deep; at gantry 90 (the source on the left) on
        // the axis, 2 cm nearer the source: 100 - 2 - 90 = 8 cm deep.
        {"off-axis point at gantry 0 and 90",
         {open0, Point(5, 0, -50, 50), Point(5, 90, -50, 50), Point(10, 90, -50, 50)},
         none,
         {100, {20, 0, 0}, {}, "HFS"},
         {{0.5, -5, 5, 0, 90, 2, 0, 10}, {0.5, -5, 5, 90, 90, 0, 0, 8}},
         {}},
        // The plan's depth wins; 10 mm head-ward is y = 1 cm at every gantry angle.
        {"point head-ward, the plan's depth",
         {Point(0, 30, -50, 50), Point(1, 30, -50, 50)},
         none,
         {100, {0, 0, 10}, 12.5, "HFS"},
         {{1, -5, 5, 30, 90, 0, 1, 12.5}},
         {}},
        {"no weight",
         {open0, open1},
         [](PlanBeam& b) { b.controlPoints[1].cumulativeWeight = {}; },
         iso,
         {},
         "control point 2 gives no CumulativeMetersetWeight that is a number"},
        {"weight going back",
         {open0, Point(2, 0, -50, 50), open1},
         none,
         iso,
         {},
         "the CumulativeMetersetWeight of control point 3 is below that of the control point "
         "before it"},
        {"last weight short of the final one",
         {open0, open1},
         [](PlanBeam& b) { b.finalWeight = 1.1; },
         iso,
         {},
         "the last control point's CumulativeMetersetWeight 1 is not the beam's final weight "
         "1.1"},
        {"off-axis point, feet first",
         {open0, open1},
         none,
         {100, {20, 0, 0}, {}, "FFS"},
         {},
         "segment 1: an off-axis dose point is placed for head-first supine set-ups only (the "
         "plan's patient position is 'FFS')"},
    };
    for (const Case& c : cases) {
        PlanBeam beam = Beam(c.points);
        c.change(beam);
        const Result<std::vector<DoseSegment>> segments = PlanSegments(beam, c.placement);
        ASSERT_EQ(segments.ok(), c.refusal.empty()) << c.what << ": " << segments.reason();
        if (!segments) {
            EXPECT_EQ(segments.reason(), c.refusal) << c.what;
            continue;
        }
        ASSERT_EQ(segments->size(), c.segments.size()) << c.what;
        for (std::size_t i = 0; i < c.segments.size(); ++i) {
            const DoseSegment& s = (*segments)[i];
            const Expected& e = c.segments[i];
            const double got[] = {
                s.MU,         s.leaves.positions[0], s.leaves.positions[1], s.gantryAngle, s.SSD,
                s.pointX + 1, s.pointY + 1,          s.depth.value_or(-1),  s.X1,          s.Y2};
            const double want[] = {e.share, e.tip1,  e.tip2,  e.gantry, e.SSD,
                                   e.x + 1, e.y + 1, e.depth, -5,       5};
            for (std::size_t k = 0; k < std::size(got); ++k) {
                EXPECT_TRUE(IsNear(got[k], want[k])) << c.what << ", segment " << i << ", " << k;
            }
        }
    }
}

} // namespace
} // namespace kova
