#pragma once

#include "core/common/result.h"

#include <vector>

namespace kova {

/// A closed stretch of one axis, cm.
struct Span {
    double min = 0;
    double max = 0;
    double Length() const { return max > min ? max - min : 0; }
};

/// The jaw window a leaf opening is measured in, cm at the isocentre: `travel` along the
/// direction the leaves move, `across` along the direction the leaves are stacked.
struct LeafWindow {
    Span travel;
    Span across;
};

/// The part of a leaf opening inside the jaws.
struct LeafOpening {
    double area = 0;          ///< cm^2
    double perimeter = 0;     ///< cm, the outline of the opening
    bool wholeWindow = false; ///< true when the leaves leave the whole jaw window open
};

/// Measures the opening of a multileaf collimator with any number of leaf pairs of any
/// widths, inside the jaws. `boundaries` are the N + 1 leaf edges (cm, strictly
/// increasing, across the leaves' travel); `positions` the 2N leaf tips (cm along the
/// travel: the N tips of bank 1, then the N of bank 2, pair i open from bank 1's tip to bank
/// 2's). Each pair's opening is clipped to the window; the opening is the union of those
/// rectangles, and its perimeter is its outline: both tips of each open pair plus, at each
/// edge between neighbouring pairs (and at the first and last pair inside the window), the
/// length only one of the two has open. Fails, saying why, when the counts do not match, a
/// value is not finite or the boundaries do not increase.
Result<LeafOpening> MeasureLeafOpening(const std::vector<double>& boundaries,
                                       const std::vector<double>& positions,
                                       const LeafWindow& window);

} // namespace kova
