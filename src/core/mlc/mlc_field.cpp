#include "core/mlc/mlc_field.h"

#include "core/text/number_text.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kova {
namespace {

constexpr int kLast = kLeafPairCount - 1;
/// The pair just above the beam axis.
constexpr int kAxisPair = kLeafPairCount / 2;
/// The picture spans +-20 cm across.
constexpr double kPictureHalfRange = 20.0;

/// The opening of pair i, cm; crossed leaves (R + L < 0) meet, so the pair is closed.
double Opening(const MLCLeaves& leaves, int i) {
    const double opening = leaves.R[i] + leaves.L[i];
    return opening > 0 ? opening : 0;
}

/// Length of the edge between two neighbouring pairs that borders the opening: what one
/// pair has open and the other has not. Pair -1 and pair 26 are closed.
double ExposedEdge(const MLCLeaves& leaves, int below, int above) {
    const double belowWidth = below >= 0 ? Opening(leaves, below) : 0;
    const double aboveWidth = above < kLeafPairCount ? Opening(leaves, above) : 0;
    double shared = 0;
    if (belowWidth > 0 && aboveWidth > 0) {
        const double right = std::min(leaves.R[below], leaves.R[above]);
        const double left = std::max(-leaves.L[below], -leaves.L[above]);
        shared = right > left ? right - left : 0;
    }
    return belowWidth + aboveWidth - 2 * shared;
}

/// The outline of the opening: the two leaf tips of every open pair, and between
/// neighbouring pairs the part of the edge that only one of them has open. Where the open
/// spans overlap this is |R[s] - R[s-1]| + |L[s] - L[s-1]|, the steps of both banks; next to a
/// closed pair it is the whole opening, wherever the closed pair's leaves are parked.
double Perimeter(const MLCLeaves& leaves) {
    double p = 0;
    for (int s = 0; s <= kLeafPairCount; ++s) {
        if (s < kLeafPairCount && Opening(leaves, s) > 0) {
            p += 2 * kLeafWidth;
        }
        p += ExposedEdge(leaves, s - 1, s);
    }
    return p;
}

/// The largest value, starting from -20 cm; a tie keeps the earlier value.
double Widest(const std::array<double, kLeafPairCount>& bank) {
    double widest = -kPictureHalfRange;
    for (double tip : bank) {
        if (tip > widest) {
            widest = tip;
        }
    }
    return widest;
}

/// A pixel position for a line end: truncated towards zero, and for values beyond the
/// picture (or not a number) a position just outside it, so no double out of the range of
/// int is ever converted.
int PixelEnd(double x) {
    constexpr double kBelow = -1;
    constexpr double kAbove = MLCPicture::kSize + 1;
    if (!(x > kBelow)) {
        return static_cast<int>(kBelow);
    }
    if (!(x < kAbove)) {
        return static_cast<int>(kAbove);
    }
    return static_cast<int>(x);
}

} // namespace

MLCGeometry ComputeMLCGeometry(const MLCLeaves& leaves) {
    MLCGeometry g;
    for (int i = 0; i < kLeafPairCount; ++i) {
        g.area += Opening(leaves, i) * kLeafWidth;
    }
    g.perimeter = Perimeter(leaves);
    g.left = Widest(leaves.L) + kMLCSideMargin;
    g.right = Widest(leaves.R) + kMLCSideMargin;
    int first = -1;
    int last = -1;
    for (int i = 0; i < kLeafPairCount; ++i) {
        if (leaves.R[i] != 0 || leaves.L[i] != 0) {
            first = first < 0 ? i : first;
            last = i;
        }
    }
    if (first < 0) {
        first = 0;
        last = kLast;
    }
    g.bottom = (kAxisPair - first) * kLeafWidth + kMLCEndMargin;
    g.top = (last + 1 - kAxisPair) * kLeafWidth + kMLCEndMargin;
    return g;
}

bool MLCPicture::IsBlack(int x, int y) const {
    if (x < 0 || x >= kSize || y < 0 || y >= kSize) {
        return false;
    }
    return m_rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
}

void MLCPicture::DrawRowSpan(int y, int from, int to) {
    if (y < 0 || y >= kSize || from == to) {
        return;
    }
    // The pixels from `from` up to `to` with `to` left out, in increasing order.
    int low = from < to ? from : to + 1;
    int high = from < to ? to - 1 : from;
    low = low < 0 ? 0 : low;
    high = high >= kSize ? kSize - 1 : high;
    for (int x = low; x <= high; ++x) {
        m_rows[static_cast<std::size_t>(y)].set(static_cast<std::size_t>(x));
    }
}

std::size_t MLCPicture::BlackCount() const {
    std::size_t count = 0;
    for (const auto& row : m_rows) {
        count += row.count();
    }
    return count;
}

MLCPicture DrawMLCPicture(const MLCLeaves& leaves) {
    MLCPicture picture;
    constexpr int kLastRow = MLCPicture::kSize - 1;
    for (int y = 0; y <= kLastRow; ++y) {
        const int i = kLast - (kLast * y) / kLastRow;
        const double xL = 33 - leaves.L[i] * 32 / kPictureHalfRange;
        const double xR = leaves.R[i] * 31 / kPictureHalfRange + 32;
        picture.DrawRowSpan(y, 0, PixelEnd(xL));
        picture.DrawRowSpan(y, kLastRow, PixelEnd(xR));
    }
    return picture;
}

MLCField MakeMLCField(std::string name, double gantry, const MLCLeaves& leaves) {
    MLCField field;
    field.name = std::move(name);
    field.gantry = gantry;
    field.gantryText = FormatGeneral(gantry);
    field.leaves = leaves;
    field.geometry = ComputeMLCGeometry(leaves);
    field.picture = DrawMLCPicture(leaves);
    return field;
}

const std::array<const char*, 8>& MLCFieldColumns() {
    static const std::array<const char*, 8> columns = {
        "Field Name",  "Field Gantry", "Field Area", "Field Left",
        "Field Right", "Field Bottom", "Field Top",  "Field Perimeter"};
    return columns;
}

std::array<std::string, 8> MLCFieldTexts(const MLCField& field) {
    const MLCGeometry& g = field.geometry;
    return {field.name,
            field.gantryText,
            FormatGeneral(g.area),
            FormatGeneral(g.left),
            FormatGeneral(g.right),
            FormatGeneral(g.bottom),
            FormatGeneral(g.top),
            FormatGeneral(g.perimeter)};
}

} // namespace kova
