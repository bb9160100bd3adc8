#include "core/beams/field_geometry.h"

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

bool IsWidthJaw(PhotonControl control) {
    return control == PhotonControl::BeamLeft || control == PhotonControl::BeamRight;
}

PhotonControl OppositeJaw(PhotonControl control) {
    switch (control) {
    case PhotonControl::BeamLeft:
        return PhotonControl::BeamRight;
    case PhotonControl::BeamRight:
        return PhotonControl::BeamLeft;
    case PhotonControl::BeamBottom:
        return PhotonControl::BeamTop;
    default:
        return PhotonControl::BeamBottom;
    }
}

std::string& JawText(JawTexts& jaws, PhotonControl control) {
    switch (control) {
    case PhotonControl::BeamLeft:
        return jaws.left;
    case PhotonControl::BeamRight:
        return jaws.right;
    case PhotonControl::BeamBottom:
        return jaws.bottom;
    default:
        return jaws.top;
    }
}

} // namespace

std::optional<ControlTexts> SymmetricFieldChanged(std::string_view width, std::string_view height) {
    const auto values = Numbers<2>({width, height});
    if (!values) {
        return std::nullopt;
    }
    const auto [w, h] = *values;
    return ControlTexts{
        {PhotonControl::BeamWidthAsymm, FormatGeneral(w)},
        {PhotonControl::BeamHeightAsymm, FormatGeneral(h)},
        {PhotonControl::BeamAsymmWidth, "0"},
        {PhotonControl::BeamAsymmHeight, "0"},
        {PhotonControl::BeamLeft, OneDecimal(w / 2)},
        {PhotonControl::BeamRight, OneDecimal(w / 2)},
        {PhotonControl::BeamTop, OneDecimal(h / 2)},
        {PhotonControl::BeamBottom, OneDecimal(h / 2)},
        {PhotonControl::BeamEquivSize, OneDecimal(EquivalentSquare(w, h))},
        {PhotonControl::BeamOffset, "0"},
        {PhotonControl::OffsetComp, "0"},
    };
}

ControlTexts JawFieldChanged(PhotonControl changed, const JawTexts& typed,
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
        const PhotonControl opposite = OppositeJaw(changed);
        JawText(jaws, opposite) = FormatGeneral(*value);
        texts.emplace_back(opposite, JawText(jaws, opposite));
    }
    const auto values = Numbers<4>({jaws.left, jaws.right, jaws.top, jaws.bottom});
    if (!values) {
        return texts;
    }
    const auto [l, r, t, b] = *values;
    const ControlTexts derived = {
        {PhotonControl::BeamWidth, OneDecimal(l + r)},
        {PhotonControl::BeamWidthAsymm, OneDecimal(l + r)},
        {PhotonControl::BeamHeight, OneDecimal(t + b)},
        {PhotonControl::BeamHeightAsymm, OneDecimal(t + b)},
        {PhotonControl::BeamAsymmWidth, OneDecimal((r - l) / 2)},
        {PhotonControl::BeamAsymmHeight, OneDecimal((t - b) / 2)},
        {PhotonControl::BeamEquivSize, OneDecimal(EquivalentSquare(l + r, t + b))},
    };
    texts.insert(texts.end(), derived.begin(), derived.end());
    const double offset = std::sqrt(((l - r) * (l - r) + (t - b) * (t - b)) / 4);
    texts.emplace_back(PhotonControl::BeamOffset, OneDecimal(offset));
    texts.emplace_back(PhotonControl::OffsetComp, OneDecimal(offset));
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
        {PhotonControl::BeamWidth, FormatGeneral(w)},
        {PhotonControl::BeamHeight, FormatGeneral(h)},
        {PhotonControl::BeamLeft, OneDecimal(w / 2 - a)},
        {PhotonControl::BeamRight, OneDecimal(w / 2 + a)},
        {PhotonControl::BeamTop, OneDecimal(h / 2 + b)},
        {PhotonControl::BeamBottom, OneDecimal(h / 2 - b)},
        {PhotonControl::BeamEquivSize, OneDecimal(EquivalentSquare(w, h))},
        {PhotonControl::BeamOffset, OneDecimal(offset)},
        {PhotonControl::OffsetComp, OneDecimal(offset)},
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
