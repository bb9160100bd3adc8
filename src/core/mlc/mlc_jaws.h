#pragma once

#include "core/common/result.h"
#include "core/linac/energy.h"
#include "core/mlc/mlc_field.h"
#include "core/plan/leaf_opening.h"

#include <string>
#include <string_view>
#include <vector>

namespace kova {

/// A text for the photon beam edit of that name.
struct NamedText {
    std::string_view control; ///< the edit's name (one of the controls:: names)
    std::string text;
};

/// What "Recommended" writes into the photon beam, in the order it is written (each write
/// runs that edit's own handler), with Le, Ri, Bo, To the field's recommended jaws:
/// GantryRot = the gantry text; BeamWidth = Le + Ri and BeamHeight = To + Bo ("#0.0;;0");
/// BeamLeft, BeamRight, BeamBottom, BeamTop = Le, Ri, Bo, To (general form); BeamWidthAsymm
/// and BeamHeightAsymm as the width and height; BeamAsymmWidth = (Ri - Le) / 2 and
/// BeamAsymmHeight = (To - Bo) / 2; BeamEquivSize = the equivalent square of the width and
/// height; BeamOffset and OffsetComp = the distance of the field centre from the axis
/// (all "#0.0;;0").
std::vector<NamedText> RecommendedJawTexts(const MLCField& field);

/// The jaws a beam holds, cm.
struct JawSettings {
    double left = 0, right = 0, bottom = 0, top = 0;
    double width = 0, height = 0;
};

/// The beam's jaw texts as numbers, converted in the order left, right, bottom, top, width,
/// height; the first that is not a number fails with its conversion message.
Result<JawSettings> ParseJawSettings(std::string_view left, std::string_view right,
                                     std::string_view bottom, std::string_view top,
                                     std::string_view width, std::string_view height);

/// The part of a field's leaf opening inside the jaws (cm from the axis, in the plane the
/// leaves are given in; the jaws' width and height are not used): its area, its perimeter
/// (the outline of the clipped opening) and whether the leaves leave the whole jaw field
/// open, measured as an RT Plan's leaf opening is (MeasureLeafOpening). Beyond the outermost
/// pairs only the jaws limit the field.
Result<LeafOpening> OpeningInJaws(const MLCLeaves& leaves, const JawSettings& jaws);

/// A closed interval, cm; empty when min > max.
struct JawRange {
    double min = 0;
    double max = 0;
    bool Contains(double value) const { return value >= min && value <= max; }
};

/// Where the current jaws must lie for "Use current": width and height within the energy's
/// limits and within the span of its reference fields (the factor is looked up there), each
/// jaw within the energy's jaw limits. Bounds included.
struct UseCurrentLimits {
    JawRange width, height, left, right, bottom, top;
};
UseCurrentLimits UseCurrentJawLimits(const TgEnergy& energy);

/// Whether the current jaws may be kept with a multileaf field; the refusal names the first
/// setting out of its range (width, height, left, right, bottom, top).
Status CheckUseCurrentJaws(const TgEnergy& energy, const JawSettings& jaws);

} // namespace kova
