#pragma once

#include <gtest/gtest.h>

namespace kova::test {

/// How close two doubles must be: within `relative` of the larger magnitude, or within
/// `absoluteFloor` (which keeps comparisons with 0 meaningful).
struct Tolerance {
    double relative = 1e-12;
    double absoluteFloor = 1e-12;
};

/// The one comparator for computed doubles in tests:
/// EXPECT_TRUE(IsNear(actual, expected)) or with a looser Tolerance for measured data.
::testing::AssertionResult IsNear(double actual, double expected, Tolerance tolerance = {});

} // namespace kova::test
