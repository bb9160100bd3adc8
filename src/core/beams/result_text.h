#pragma once

// Texts shared by the result lines, report columns and set-up rows of every beam kind.

#include "core/beams/beam.h"
#include "core/common/text_tree.h"
#include "core/dosimetry/trace.h"
#include "core/text/date_text.h"

#include <string>
#include <vector>

namespace kova {

class TgEnergy;

/// The general form of a number (up to 15 significant digits, no trailing zeros).
std::string G(double value);
/// Three and two fixed decimals ("0.000", "0.00").
std::string F3(double value);
std::string F2(double value);
/// How the MU are shown in the tree ("#0.##;;0").
std::string MUFormat(double mu);
/// A field size on the set-up sheet ("##.#;;0").
std::string SetupSize(double value);

/// "*" after a value interpolated between table entries, "" after a tabulated one.
const char* Mark(bool fromTable);

/// The two backslashes that separate paired values in result lines and reports.
inline constexpr const char* kPair = "\\\\";

/// `values` joined by the pair separator.
std::string Joined(const std::vector<std::string>& values);

/// A tree line with its children and image (-1 for none).
TextNode Line(std::string text, std::vector<TextNode> children = {}, int image = -1);

/// `node` with the trace named `factor` among `traces` (none when there is no such trace).
TextNode Traced(TextNode node, const TraceList& traces, const std::string& factor);

/// "Gantry\\Jaws\\Couch = G\\J\\C", an empty text shown as "*".
TextNode RotationLine(const BeamFields& beam);

/// "Actual Calibration Factor = ... cGy/UM" with the day, the original factor and its date.
TextNode CalibrationLine(double muPerCGy, const Date& day, const TgEnergy& energy);

/// MU rounded to whole units: the integer part of MU + 0.5.
double WholeMU(double mu);

} // namespace kova
