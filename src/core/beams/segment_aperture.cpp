#include "core/beams/segment_aperture.h"

#include "core/text/number_text.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <utility>

namespace kova {
namespace {

std::string Cm(double value) {
    return FormatGeneral(value) + " cm";
}

Status CheckJaws(const DoseSegment& s) {
    for (const double value : {s.X1, s.X2, s.Y1, s.Y2}) {
        if (!std::isfinite(value)) {
            return Status::Fail("a jaw position is not a number");
        }
    }
    if (!(s.X1 < s.X2)) {
        return Status::Fail("the jaws X1 = " + Cm(s.X1) + " and X2 = " + Cm(s.X2) +
                            " cross or touch");
    }
    if (!(s.Y1 < s.Y2)) {
        return Status::Fail("the jaws Y1 = " + Cm(s.Y1) + " and Y2 = " + Cm(s.Y2) +
                            " cross or touch");
    }
    return Status::Ok();
}

Status CheckLeaves(const LeafBank& leaves) {
    const std::vector<double>& b = leaves.boundaries;
    if (b.empty() && leaves.positions.empty()) {
        return Status::Ok();
    }
    if (b.size() < 2 || leaves.positions.size() != 2 * (b.size() - 1)) {
        return Status::Fail(std::to_string(b.size()) + " leaf boundaries and " +
                            std::to_string(leaves.positions.size()) +
                            " leaf positions do not make leaf pairs");
    }
    const auto notFinite = [](double value) { return !std::isfinite(value); };
    if (std::any_of(b.begin(), b.end(), notFinite) ||
        std::any_of(leaves.positions.begin(), leaves.positions.end(), notFinite)) {
        return Status::Fail("a leaf boundary or position is not a number");
    }
    if (std::adjacent_find(b.begin(), b.end(), std::greater_equal<double>()) != b.end()) {
        return Status::Fail("the leaf boundaries do not increase");
    }
    return Status::Ok();
}

/// Narrows [tIn, tOut] to where the ray o + t u lies strictly between lo and hi on one axis.
void Clip(double o, double u, double lo, double hi, double& tIn, double& tOut) {
    if (u == 0) {
        if (!(lo < o && o < hi)) {
            tOut = -1;
        }
        return;
    }
    const double a = (lo - o) / u;
    const double b = (hi - o) / u;
    tIn = std::max(tIn, std::min(a, b));
    tOut = std::min(tOut, std::max(a, b));
}

} // namespace

Result<SegmentAperture> SegmentAperture::Make(const DoseSegment& segment, double leafGap) {
    if (Status jaws = CheckJaws(segment); !jaws) {
        return jaws;
    }
    if (Status leaves = CheckLeaves(segment.leaves); !leaves) {
        return leaves;
    }
    SegmentAperture a;
    a.m_swapped = segment.leaves.travel == LeafTravel::AlongY;
    a.m_x1 = a.m_swapped ? segment.Y1 : segment.X1;
    a.m_x2 = a.m_swapped ? segment.Y2 : segment.X2;
    a.m_y1 = a.m_swapped ? segment.X1 : segment.Y1;
    a.m_y2 = a.m_swapped ? segment.X2 : segment.Y2;
    a.m_boundaries = segment.leaves.boundaries;
    const std::size_t pairs = a.m_boundaries.empty() ? 0 : a.m_boundaries.size() - 1;
    // Rounded leaf ends let through as much as an opening half the gap wider at each end.
    for (std::size_t i = 0; i < pairs; ++i) {
        a.m_openFrom.push_back(segment.leaves.positions[i] - leafGap / 2);
        a.m_openTo.push_back(segment.leaves.positions[pairs + i] + leafGap / 2);
    }
    return a;
}

Cover SegmentAperture::CoverAt(double x, double y) const {
    if (!(m_x1 < x && x < m_x2 && m_y1 < y && y < m_y2)) {
        return Cover::Jaws;
    }
    // Beyond the outermost leaf pairs only the jaws limit the field.
    if (m_boundaries.empty() || !(m_boundaries.front() < y && y < m_boundaries.back())) {
        return Cover::Open;
    }
    const auto above = std::upper_bound(m_boundaries.begin(), m_boundaries.end(), y);
    const auto pair = static_cast<std::size_t>(above - m_boundaries.begin()) - 1;
    return m_openFrom[pair] < x && x < m_openTo[pair] ? Cover::Open : Cover::Leaf;
}

void SegmentAperture::AddCrossings(double x, double y, double ux, double uy, double tIn,
                                   double tOut, std::vector<double>& crossings) const {
    const auto add = [&](double t) {
        if (tIn < t && t < tOut) {
            crossings.push_back(t);
        }
    };
    if (uy != 0) {
        for (const double edge : m_boundaries) {
            add((edge - y) / uy);
        }
    }
    if (ux == 0) {
        return;
    }
    // A leaf tip is crossed only where the ray runs within its pair's band.
    for (std::size_t i = 0; i < m_openFrom.size(); ++i) {
        for (const double tip : {m_openFrom[i], m_openTo[i]}) {
            const double t = (tip - x) / ux;
            const double across = y + t * uy;
            if (m_boundaries[i] <= across && across <= m_boundaries[i + 1]) {
                add(t);
            }
        }
    }
}

void SegmentAperture::Walk(double x, double y, double ux, double uy, std::vector<RayPiece>& pieces,
                           std::vector<double>& crossings) const {
    if (m_swapped) {
        std::swap(x, y);
        std::swap(ux, uy);
    }
    pieces.clear();
    double tIn = 0;
    double tOut = std::numeric_limits<double>::infinity();
    Clip(x, ux, m_x1, m_x2, tIn, tOut);
    Clip(y, uy, m_y1, m_y2, tIn, tOut);
    if (!(tIn < tOut)) {
        return;
    }
    crossings.clear();
    crossings.push_back(tIn);
    crossings.push_back(tOut);
    AddCrossings(x, y, ux, uy, tIn, tOut, crossings);
    std::sort(crossings.begin(), crossings.end());
    double start = 0;
    for (const double end : crossings) {
        if (!(end > start)) {
            continue;
        }
        const double middle = (start + end) / 2;
        const Cover cover = CoverAt(x + middle * ux, y + middle * uy);
        if (!pieces.empty() && pieces.back().cover == cover) {
            pieces.back().end = end;
        } else {
            pieces.push_back({end, cover});
        }
        start = end;
    }
}

} // namespace kova
