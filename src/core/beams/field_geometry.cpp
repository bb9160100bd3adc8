#include "core/beams/field_geometry.h"

#include "core/beams/control_names.h"
#include "core/dosimetry/photon_lookups.h"
#include "core/linac/linac_spec.h"
#include "core/text/number_text.h"

#include <array>
#include <cmath>

namespace kova {
namespace {

/// One decimal, zero as "0": how derived sizes and offsets are shown.
std::string OneDecimal(double value) {
    return FormatFloat("#0.0;;0", value);
}

/// Converts every text; none when any is not a number.
template <std::size_t N>
std::optional<std::array<double, N>> Numbers(const std::array<std::string_view, N>& texts) {
    std::array<double, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        const Result<double> value = StrToFloat(texts[i]);
        if (!value) {
            return std::nullopt;
        }
        values[i] = *value;
    }
    return values;
}

bool IsWidthJaw(std::string_view control) {
    return control == controls::kBeamLeft || control == controls::kBeamRight;
}

std::string_view OppositeJaw(std::string_view control) {
    if (control == controls::kBeamLeft) {
        return controls::kBeamRight;
    }
    if (control == controls::kBeamRight) {
        return controls::kBeamLeft;
    }
    return control == controls::kBeamBottom ? controls::kBeamTop : controls::kBeamBottom;
}

std::string& JawText(JawTexts& jaws, std::string_view control) {
    if (control == controls::kBeamLeft) {
        return jaws.left;
    }
    if (control == controls::kBeamRight) {
        return jaws.right;
    }
    return control == controls::kBeamBottom ? jaws.bottom : jaws.top;
}

} // namespace

std::optional<ControlTexts> SymmetricFieldChanged(std::string_view width, std::string_view height) {
    const auto values = Numbers<2>({width, height});
    if (!values) {
        return std::nullopt;
    }
    const auto [w, h] = *values;
    return ControlTexts{
        {controls::kBeamWidthAsymm, FormatGeneral(w)},
        {controls::kBeamHeightAsymm, FormatGeneral(h)},
        {controls::kBeamAsymmWidth, "0"},
        {controls::kBeamAsymmHeight, "0"},
        {controls::kBeamLeft, OneDecimal(w / 2)},
        {controls::kBeamRight, OneDecimal(w / 2)},
        {controls::kBeamTop, OneDecimal(h / 2)},
        {controls::kBeamBottom, OneDecimal(h / 2)},
        {controls::kBeamEquivSize, OneDecimal(EquivalentSquare(w, h))},
        {controls::kBeamOffset, "0"},
        {controls::kOffsetComp, "0"},
    };
}

ControlTexts JawFieldChanged(std::string_view changed, const JawTexts& typed,
                             const TLinacSpec& linac) {
    JawTexts jaws = typed;
    ControlTexts texts;
    const Result<double> value = StrToFloat(JawText(jaws, changed));
    if (!value) {
        return texts;
    }
    const double independent =
        IsWidthJaw(changed) ? linac.isAsymmetricFieldsOnWidth : linac.isAsymmetricFieldsOnHeight;
    if (independent == 0) {
        const std::string_view opposite = OppositeJaw(changed);
        JawText(jaws, opposite) = FormatGeneral(*value);
        texts.emplace_back(opposite, JawText(jaws, opposite));
    }
    const auto values = Numbers<4>({jaws.left, jaws.right, jaws.top, jaws.bottom});
    if (!values) {
        return texts;
    }
    const auto [l, r, t, b] = *values;
    const ControlTexts derived = {
        {controls::kBeamWidth, OneDecimal(l + r)},
        {controls::kBeamWidthAsymm, OneDecimal(l + r)},
        {controls::kBeamHeight, OneDecimal(t + b)},
        {controls::kBeamHeightAsymm, OneDecimal(t + b)},
        {controls::kBeamAsymmWidth, OneDecimal((r - l) / 2)},
        {controls::kBeamAsymmHeight, OneDecimal((t - b) / 2)},
        {controls::kBeamEquivSize, OneDecimal(EquivalentSquare(l + r, t + b))},
    };
    texts.insert(texts.end(), derived.begin(), derived.end());
    const double offset = std::sqrt(((l - r) * (l - r) + (t - b) * (t - b)) / 4);
    texts.emplace_back(controls::kBeamOffset, OneDecimal(offset));
    texts.emplace_back(controls::kOffsetComp, OneDecimal(offset));
    return texts;
}

std::optional<ControlTexts> AsymmetricFieldChanged(std::string_view width, std::string_view height,
                                                   std::string_view shiftWidth,
                                                   std::string_view shiftHeight) {
    const auto values = Numbers<4>({width, height, shiftWidth, shiftHeight});
    if (!values) {
        return std::nullopt;
    }
    auto [w, h, a, b] = *values;
    // Set-up sheets write a negative shift as 100 plus the shift; read it back the same way.
    if (a > 50) {
        a -= 100;
    }
    if (b > 50) {
        b -= 100;
    }
    const double offset = std::sqrt(a * a + b * b);
    return ControlTexts{
        {controls::kBeamWidth, FormatGeneral(w)},
        {controls::kBeamHeight, FormatGeneral(h)},
        {controls::kBeamLeft, OneDecimal(w / 2 - a)},
        {controls::kBeamRight, OneDecimal(w / 2 + a)},
        {controls::kBeamTop, OneDecimal(h / 2 + b)},
        {controls::kBeamBottom, OneDecimal(h / 2 - b)},
        {controls::kBeamEquivSize, OneDecimal(EquivalentSquare(w, h))},
        {controls::kBeamOffset, OneDecimal(offset)},
        {controls::kOffsetComp, OneDecimal(offset)},
    };
}

Result<SsdTexts> TechniqueChanged(int technique, std::string_view depth, const TLinacSpec& linac,
                                  const TgEnergy& energy) {
    if (technique == 1) {
        const std::string scd = FormatGeneral(energy.SCD);
        return SsdTexts{scd, scd, false};
    }
    const Result<double> d = StrToFloat(depth);
    if (!d) {
        return d.status();
    }
    const std::string ssd = FormatGeneral(linac.SAD - *d);
    return SsdTexts{ssd, ssd, true};
}

std::optional<std::string> IsocentricSsdText(std::string_view depth, const TLinacSpec& linac) {
    const Result<double> d = StrToFloat(depth);
    if (!d) {
        return std::nullopt;
    }
    return FormatFloat("###.##", linac.SAD - *d);
}

} // namespace kova
