#pragma once

#include "core/common/result.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kova {

class TLinacSpec;
class TgEnergy;

/// Texts to write into other edits, in the order they are written.
using ControlTexts = std::vector<std::pair<std::string_view, std::string>>;

/// The three ways of entering the jaw field.
enum class FieldSheet { Symmetric, AsymmetricA, AsymmetricB };

/// Typing in the symmetric sheet (width and height): jaw positions W/2 and H/2, the
/// equivalent square, no asymmetry and no offset. None when a text is not a number.
std::optional<ControlTexts> SymmetricFieldChanged(std::string_view width, std::string_view height);

/// The four jaw texts of the "Asymmetric A" sheet.
struct JawTexts {
    std::string left, right, bottom, top;
};

/// Typing in one jaw edit (`changed`: "BeamLeft", "BeamRight", "BeamBottom" or "BeamTop") of the
/// "Asymmetric A" sheet. On an axis whose jaws move only together, the typed value is first copied
/// into the opposite jaw. Then the width, height, asymmetries, equivalent square and offset follow
/// from the four jaws. Empty when the typed text is not a number; only the copy when another jaw is
/// not.
ControlTexts JawFieldChanged(std::string_view changed, const JawTexts& jaws,
                             const TLinacSpec& linac);

/// Typing in the "Asymmetric B" sheet: size and shift per axis; a shift above 50 means that
/// value minus 100 (98 is -2). None when a text is not a number.
std::optional<ControlTexts> AsymmetricFieldChanged(std::string_view width, std::string_view height,
                                                   std::string_view shiftWidth,
                                                   std::string_view shiftHeight);

/// The SSD texts after a change of technique.
struct SsdTexts {
    std::string ssd;
    std::string realSsd;
    bool ssdReadOnly = true;
};

/// Technique 1 (fixed SSD): both SSDs become the energy's SCD and the SSD is editable.
/// Technique 0 (isocentric): both become SAD - depth and the SSD is read-only; a depth text
/// that is not a number fails with the conversion message.
Result<SsdTexts> TechniqueChanged(int technique, std::string_view depth, const TLinacSpec& linac,
                                  const TgEnergy& energy);

/// Isocentric SSD text ("###.##") for a typed depth; none when the depth is not a number.
std::optional<std::string> IsocentricSsdText(std::string_view depth, const TLinacSpec& linac);

} // namespace kova
