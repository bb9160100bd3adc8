#include "support/near.h"

#include <algorithm>
#include <cmath>

namespace kova::test {

::testing::AssertionResult IsNear(double actual, double expected, Tolerance tolerance) {
    const double difference = std::fabs(actual - expected);
    const double allowed =
        std::max(tolerance.absoluteFloor,
                 tolerance.relative * std::max(std::fabs(actual), std::fabs(expected)));
    // Written so that a NaN on either side fails.
    if (difference <= allowed) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "actual " << ::testing::PrintToString(actual) << " differs from expected "
           << ::testing::PrintToString(expected) << " by " << difference << " (allowed " << allowed
           << ")";
}

} // namespace kova::test
