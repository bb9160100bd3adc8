#include "core/plan/leaf_opening.h"
#include "support/near.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kova {
namespace {

using test::IsNear;

/// Boundaries from `from` to `to` in steps of `width` (cm).
std::vector<double> Edges(double from, double to, double width) {
    std::vector<double> edges;
    for (double edge = from; edge <= to + 1e-9; edge += width) {
        edges.push_back(edge);
    }
    return edges;
}

/// Every pair of `edges` open from `bank1` to `bank2`.
std::vector<double> Banks(const std::vector<double>& edges, double bank1, double bank2) {
    std::vector<double> positions(edges.size() - 1, bank1);
    positions.resize(2 * (edges.size() - 1), bank2);
    return positions;
}

TEST(MeasureLeafOpening, AreasAndOutlinesWorkedByHand) {
    struct Case {
        const char* what;
        std::vector<double> boundaries;
        std::vector<double> positions;
        LeafWindow window;
        double area, perimeter;
        bool whole;
    };
    const LeafWindow jaws10{{-5, 5}, {-5, 5}};
    // The step field of tests/data/rtplan/mlc.dump, in cm: pairs of 4, 2 and 1 cm; bank 1 at
    // -3; bank 2 at +5 on the pairs below y = 1 and at 0 above. Inside 10 x 10 jaws: 6 cm of
    // 8 cm wide and 4 cm of 3 cm wide, area 48 + 12 = 60; outline 2 x 10 sides, 8 at the
    // bottom, 3 at the top and the step of 5: 36.
    const std::vector<double> mixed = {-10, -6, -4, -3, -2, -1, 0, 1, 2, 3, 4, 6, 10};
    std::vector<double> step(12, -3);
    for (int i = 0; i < 12; ++i) {
        step.push_back(i < 7 ? 5 : 0);
    }
    const Case cases[] = {
        // 10 x 10 open on 1 cm and on 0.5 cm leaves: 100 cm^2, perimeter 40, the whole jaws.
        {"1 cm leaves", Edges(-5, 5, 1), Banks(Edges(-5, 5, 1), -5, 5), jaws10, 100, 40, true},
        {"0.5 cm leaves", Edges(-5, 5, 0.5), Banks(Edges(-5, 5, 0.5), -5, 5), jaws10, 100, 40,
         true},
        // Leaves parked beyond the jaws are clipped to them.
        {"parked beyond", Edges(-20, 20, 1), Banks(Edges(-20, 20, 1), -15, 15), jaws10, 100, 40,
         true},
        // -3 to +5 under 10 x 10 jaws: 8 x 10 = 80, 2 x (8 + 10) = 36.
        {"narrower", Edges(-20, 20, 1), Banks(Edges(-20, 20, 1), -3, 5), jaws10, 80, 36, false},
        {"mixed widths", mixed, step, jaws10, 60, 36, false},
        // Three 1 cm pairs, the middle one closed: two 4 x 1 openings, 8 cm^2, 2 x 10 cm.
        {"closed middle pair",
         {-1.5, -0.5, 0.5, 1.5},
         {-2, 0, -2, 2, 0, 2},
         {{-5, 5}, {-1.5, 1.5}},
         8,
         20,
         false},
        // Four closed 1 cm pairs from -2 to 2 under jaws from -3 to 3: only the jaws limit
        // the 1 cm beyond each end, two 4 x 1 openings.
        {"beyond the leaves",
         Edges(-2, 2, 1),
         Banks(Edges(-2, 2, 1), 0, 0),
         {{-2, 2}, {-3, 3}},
         8,
         20,
         false},
        // Crossed leaves (bank 1 past bank 2) meet: nothing open.
        {"crossed", {-1, 1}, {2, -1}, {{-5, 5}, {-1, 1}}, 0, 0, false},
    };
    for (const Case& c : cases) {
        const Result<LeafOpening> opening = MeasureLeafOpening(c.boundaries, c.positions, c.window);
        ASSERT_TRUE(opening.ok()) << c.what << ": " << opening.reason();
        EXPECT_TRUE(IsNear(opening->area, c.area, {1e-12, 1e-9})) << c.what;
        EXPECT_TRUE(IsNear(opening->perimeter, c.perimeter, {1e-12, 1e-9})) << c.what;
        EXPECT_EQ(opening->wholeWindow, c.whole) << c.what;
    }
}

TEST(MeasureLeafOpening, DamagedLeafData) {
    const double nan = std::nan("");
    struct Case {
        std::vector<double> boundaries;
        std::vector<double> positions;
        std::string reason;
    };
    const Case cases[] = {
        {{}, {}, "the leaf boundaries are missing"},
        {{1}, {}, "the leaf boundaries are missing"},
        {{0, 1, 2}, {0, 0, 1}, "3 leaf boundaries need 4 leaf positions, the plan gives 3"},
        {{0, nan}, {0, 1}, "a leaf boundary or position is not a number"},
        {{0, 1}, {0, INFINITY}, "a leaf boundary or position is not a number"},
        {{0, 1, 1}, {0, 0, 1, 1}, "the leaf boundaries do not increase"},
        {{0, 2, 1}, {0, 0, 1, 1}, "the leaf boundaries do not increase"},
    };
    for (const Case& c : cases) {
        const Result<LeafOpening> opening =
            MeasureLeafOpening(c.boundaries, c.positions, {{-5, 5}, {-5, 5}});
        EXPECT_EQ(opening.reason(), c.reason);
    }
}

} // namespace
} // namespace kova
