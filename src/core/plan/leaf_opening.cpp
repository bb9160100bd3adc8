#include "core/plan/leaf_opening.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace kova {
namespace {

/// Relative part of the window's area that may stay uncovered when the leaves still count
/// as leaving the whole window open (rounding of positions given in mm).
constexpr double kWholeWindowTolerance = 1e-9;

Status CheckLeaves(const std::vector<double>& boundaries, const std::vector<double>& positions) {
    if (boundaries.size() < 2) {
        return Status::Fail("the leaf boundaries are missing");
    }
    const std::size_t pairs = boundaries.size() - 1;
    if (positions.size() != 2 * pairs) {
        return Status::Fail(std::to_string(boundaries.size()) + " leaf boundaries need " +
                            std::to_string(2 * pairs) + " leaf positions, the plan gives " +
                            std::to_string(positions.size()));
    }
    const auto notFinite = [](double value) { return !std::isfinite(value); };
    if (std::any_of(boundaries.begin(), boundaries.end(), notFinite) ||
        std::any_of(positions.begin(), positions.end(), notFinite)) {
        return Status::Fail("a leaf boundary or position is not a number");
    }
    for (std::size_t i = 0; i < pairs; ++i) {
        if (!(boundaries[i] < boundaries[i + 1])) {
            return Status::Fail("the leaf boundaries do not increase");
        }
    }
    return Status::Ok();
}

Span Clip(Span span, const Span& window) {
    return {std::max(span.min, window.min), std::min(span.max, window.max)};
}

/// Length open in only one of two clipped openings.
double OneSided(const Span& a, const Span& b) {
    const double common = Clip(a, b).Length();
    return a.Length() + b.Length() - 2 * common;
}

/// One band of the window across the leaves: its height and what is open in it.
struct Row {
    double height = 0;
    Span open;
};

/// The rows of the window from bottom to top. Beyond the outermost leaves nothing but the
/// jaws limits the field, so the window there is open.
std::vector<Row> RowsInWindow(const std::vector<double>& boundaries,
                              const std::vector<double>& positions, const LeafWindow& window) {
    const std::size_t pairs = boundaries.size() - 1;
    std::vector<Row> rows;
    const auto add = [&](Span band, Span open) {
        const double height = Clip(band, window.across).Length();
        if (height > 0) {
            rows.push_back({height, Clip(open, window.travel)});
        }
    };
    add({window.across.min, boundaries.front()}, window.travel);
    for (std::size_t i = 0; i < pairs; ++i) {
        add({boundaries[i], boundaries[i + 1]}, {positions[i], positions[pairs + i]});
    }
    add({boundaries.back(), window.across.max}, window.travel);
    return rows;
}

} // namespace

Result<LeafOpening> MeasureLeafOpening(const std::vector<double>& boundaries,
                                       const std::vector<double>& positions,
                                       const LeafWindow& window) {
    if (const Status checked = CheckLeaves(boundaries, positions); !checked) {
        return checked;
    }
    LeafOpening opening;
    Span previous{0, 0}; // the opening of the row below; none below the window
    for (const Row& row : RowsInWindow(boundaries, positions, window)) {
        const bool open = row.open.Length() > 0;
        opening.area += row.open.Length() * row.height;
        opening.perimeter += (open ? 2 * row.height : 0) + OneSided(previous, row.open);
        previous = open ? row.open : Span{0, 0};
    }
    opening.perimeter += previous.Length();
    const double windowArea = window.travel.Length() * window.across.Length();
    opening.wholeWindow = windowArea - opening.area <= kWholeWindowTolerance * windowArea;
    return opening;
}

} // namespace kova
