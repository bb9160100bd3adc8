#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <string>
#include <vector>

namespace kova {

/// The multileaf collimator the planning-system files describe: 26 leaf pairs of 1 cm at the
/// isocentre, numbered 0 (bottom) to 25 (top); the beam axis lies between pairs 12 and 13.
inline constexpr int kLeafPairCount = 26;
inline constexpr double kLeafWidth = 1.0; ///< cm
/// No leaf of any collimator reaches further from the axis, cm: a tip beyond it can only come
/// from a damaged file, and would give an opening the collimator cannot make.
inline constexpr double kMaxLeafTip = 40.0;
/// Added to the widest leaf tip of each bank for the recommended left and right jaws, cm.
inline constexpr double kMLCSideMargin = 0.8;
/// Added beyond the outermost used pair for the recommended bottom and top jaws, cm.
inline constexpr double kMLCEndMargin = 0.2;

/// Leaf tip positions of one field, cm from the axis: R[i] of the right bank (positive to the
/// right), L[i] of the left bank (positive to the left). Pair i is open when R[i] + L[i] > 0.
struct MLCLeaves {
    std::array<double, kLeafPairCount> R{};
    std::array<double, kLeafPairCount> L{};
};

/// What a field's shape gives: the opening and the jaws that cover it with their margins.
struct MLCGeometry {
    double area = 0;      ///< cm^2
    double perimeter = 0; ///< cm
    double left = 0;      ///< recommended left jaw, cm from the axis
    double right = 0;     ///< recommended right jaw, cm from the axis
    double bottom = 0;    ///< recommended bottom jaw, cm from the axis
    double top = 0;       ///< recommended top jaw, cm from the axis
};

/// Area, perimeter and recommended jaw edges of a leaf shape.
/// - area: sum of the pair openings times the leaf width; crossed leaves (R + L < 0) meet and
///   count as a closed pair;
/// - perimeter: the outline of the opening: the two leaf tips of each open pair, and between
///   neighbouring pairs the edge that only one of them has open (the steps of both banks
///   where the openings overlap, the whole opening next to a closed pair). A rectangle a cm
///   wide over k pairs gives 2a + 2k wherever its closed neighbours are parked;
/// - left/right: the widest tip of each bank (from -20 cm) plus kMLCSideMargin;
/// - bottom/top: from the lowest and highest pair with a leaf off the axis (all pairs when
///   none is) plus kMLCEndMargin.
MLCGeometry ComputeMLCGeometry(const MLCLeaves& leaves);

/// A 64 x 64 one-bit picture of a leaf shape: black leaves on white, row 0 the top pair and
/// row 63 the bottom pair, covering +-20 cm across. Pixels outside the picture do not exist:
/// reading one gives white.
class MLCPicture {
public:
    static constexpr int kSize = 64;

    bool IsBlack(int x, int y) const;
    /// Makes the pixels from x = `from` towards `to` black, `to` itself excluded; whatever
    /// lies outside the picture is left out.
    void DrawRowSpan(int y, int from, int to);
    /// Number of black pixels.
    std::size_t BlackCount() const;

private:
    std::array<std::bitset<kSize>, kSize> m_rows{};
};

/// The picture of a leaf shape: on each row a left-bank line from x = 0 towards
/// 33 - L x 32 / 20 and a right-bank line from x = 63 towards R x 31 / 20 + 32, each end
/// truncated towards zero. Leaves beyond the picture (any value, however large) only fill
/// their row.
MLCPicture DrawMLCPicture(const MLCLeaves& leaves);

/// One field of a planning-system file, measured.
struct MLCField {
    std::string name;       ///< as read; a Shaper name keeps its leading blank
    double gantry = 0;      ///< degrees
    std::string gantryText; ///< the gantry in the general number form ("90.0" gives "90")
    MLCLeaves leaves;
    MLCGeometry geometry;
    MLCPicture picture;
};

/// Measures and draws a field read from a file.
MLCField MakeMLCField(std::string name, double gantry, const MLCLeaves& leaves);

/// The eight column captions of the field list, in order: "Field Name", "Field Gantry",
/// "Field Area", "Field Left", "Field Right", "Field Bottom", "Field Top", "Field Perimeter".
const std::array<const char*, 8>& MLCFieldColumns();

/// The texts of a field in those eight columns: the name, the gantry text, then area, left,
/// right, bottom, top and perimeter in the general number form.
std::array<std::string, 8> MLCFieldTexts(const MLCField& field);

/// The fields of one file, in file order.
struct MLCFieldList {
    std::string fileName; ///< the file's name without its folder
    std::vector<MLCField> fields;
};

} // namespace kova
