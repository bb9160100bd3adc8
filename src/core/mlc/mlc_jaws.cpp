#include "core/mlc/mlc_jaws.h"

#include "core/beams/control_names.h"
#include "core/dosimetry/photon_lookups.h"
#include "core/text/number_text.h"

#include <algorithm>
#include <cmath>

namespace kova {
namespace {

constexpr std::string_view kOneDecimal = "#0.0;;0";

std::string OneDecimal(double value) {
    return FormatFloat(kOneDecimal, value);
}

std::string Cm(double value) {
    return FigureText(value, "cm");
}

Status CheckWithin(double value, const JawRange& range, const char* what) {
    if (range.Contains(value)) {
        return Status::Ok();
    }
    const std::string span = Cm(range.min) + " to " + Cm(range.max);
    if (range.min > range.max) {
        return Status::Fail(std::string("no current ") + what + " can be kept (the limits give " +
                            span + ")");
    }
    return Status::Fail(std::string("the current ") + what + " " + Cm(value) + " is not within " +
                        span);
}

} // namespace

std::vector<NamedText> RecommendedJawTexts(const MLCField& field) {
    const double le = field.geometry.left;
    const double ri = field.geometry.right;
    const double bo = field.geometry.bottom;
    const double to = field.geometry.top;
    const double width = le + ri;
    const double height = to + bo;
    const double offset = std::sqrt((le - ri) * (le - ri) / 4 + (to - bo) * (to - bo) / 4);
    return {
        {controls::kGantryRot, field.gantryText},
        {controls::kBeamWidth, OneDecimal(width)},
        {controls::kBeamHeight, OneDecimal(height)},
        {controls::kBeamLeft, FormatGeneral(le)},
        {controls::kBeamRight, FormatGeneral(ri)},
        {controls::kBeamBottom, FormatGeneral(bo)},
        {controls::kBeamTop, FormatGeneral(to)},
        {controls::kBeamWidthAsymm, OneDecimal(width)},
        {controls::kBeamHeightAsymm, OneDecimal(height)},
        {controls::kBeamAsymmWidth, OneDecimal((ri - le) * 0.5)},
        {controls::kBeamAsymmHeight, OneDecimal((to - bo) * 0.5)},
        {controls::kBeamEquivSize, OneDecimal(EquivalentSquare(width, height))},
        {controls::kBeamOffset, OneDecimal(offset)},
        {controls::kOffsetComp, OneDecimal(offset)},
    };
}

Result<JawSettings> ParseJawSettings(std::string_view left, std::string_view right,
                                     std::string_view bottom, std::string_view top,
                                     std::string_view width, std::string_view height) {
    JawSettings jaws;
    const std::pair<std::string_view, double*> fields[] = {
        {left, &jaws.left}, {right, &jaws.right}, {bottom, &jaws.bottom},
        {top, &jaws.top},   {width, &jaws.width}, {height, &jaws.height}};
    for (const auto& [text, value] : fields) {
        const Result<double> number = StrToFloat(text);
        if (!number) {
            return number.status();
        }
        *value = *number;
    }
    return jaws;
}

Result<LeafOpening> OpeningInJaws(const MLCLeaves& leaves, const JawSettings& jaws) {
    // Pair 0 at the bottom; the axis lies between pairs 12 and 13.
    constexpr std::size_t kPairs = kLeafPairCount;
    std::vector<double> boundaries;
    for (std::size_t edge = 0; edge <= kPairs; ++edge) {
        boundaries.push_back((static_cast<double>(edge) - kPairs / 2.0) * kLeafWidth);
    }
    // Bank 1 is the left bank (its tips at -L), bank 2 the right one.
    std::vector<double> positions(2 * kPairs);
    for (std::size_t pair = 0; pair < kPairs; ++pair) {
        positions[pair] = -leaves.L[pair];
        positions[kPairs + pair] = leaves.R[pair];
    }
    return MeasureLeafOpening(boundaries, positions,
                              {{-jaws.left, jaws.right}, {-jaws.bottom, jaws.top}});
}

UseCurrentLimits UseCurrentJawLimits(const TgEnergy& energy) {
    const RefFieldSpan span = energy.RefFieldsSpan();
    UseCurrentLimits limits;
    limits.width = {std::max(energy.MinWidth, span.smallestWidth),
                    std::min(energy.MaxWidth, span.largestWidth)};
    limits.height = {std::max(energy.MinHeight, span.smallestHeight),
                     std::min(energy.MaxHeight, span.largestHeight)};
    limits.left = {energy.MinLeft, energy.MaxLeft};
    limits.right = {energy.MinRight, energy.MaxRight};
    limits.bottom = {energy.MinBottom, energy.MaxBottom};
    limits.top = {energy.MinTop, energy.MaxTop};
    return limits;
}

Status CheckUseCurrentJaws(const TgEnergy& energy, const JawSettings& jaws) {
    const UseCurrentLimits limits = UseCurrentJawLimits(energy);
    for (const Status& check : {CheckWithin(jaws.width, limits.width, "width"),
                                CheckWithin(jaws.height, limits.height, "height"),
                                CheckWithin(jaws.left, limits.left, "left jaw"),
                                CheckWithin(jaws.right, limits.right, "right jaw"),
                                CheckWithin(jaws.bottom, limits.bottom, "bottom jaw"),
                                CheckWithin(jaws.top, limits.top, "top jaw")}) {
        if (!check) {
            return check;
        }
    }
    return Status::Ok();
}

} // namespace kova
