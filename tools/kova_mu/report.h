#pragma once

#include "core/beams/beam.h"
#include "core/beams/tps_check.h"
#include "core/workbench/beam_input.h"

#include <nlohmann/json.hpp>
#include <ostream>
#include <vector>

namespace kova::mu {

/// "== TITLE: MU = 298.51" (with a TPS MU "== TITLE: MU = 117.51, TPS 116, -1.3 %", and
/// ", beyond action level" when it is; or "== TITLE: refused: REASON"), then the beam's result
/// lines as the program shows them, two spaces of indent per level.
/// With `notCompared` (why the beam has no TPS MU to be compared with) a computed beam's
/// first line ends ", not compared: REASON". With `explain` every line that shows a looked-up
/// value is followed by its trace (ExplainLines), one level deeper, each line marked "| ".
void WriteText(std::ostream& out, const BeamOutcome& outcome, const ActionLevels& levels,
               const std::string& notCompared = {}, bool explain = false);

/// "# Patient NAME, treatment NAME" for a beam of a saved workbench (its Patient and
/// Treatment keys, "-" for one missing); empty for a beam without either.
std::string GroupLine(const ResolvedBeam& beam);

/// A reported value as JSON: null for none, texts from the linac files' Windows-1252 to
/// UTF-8, numbers at full precision (null when not finite).
nlohmann::ordered_json ToJson(const ReportedValue& value);

/// Every beam with its stored input and results at full precision, where each factor comes
/// from ("traces": a trace object per factor name), its result lines, its column of the
/// details report and its set-up row.
void WriteJson(std::ostream& out, const std::vector<BeamOutcome>& outcomes, const Date& today,
               const ActionLevels& levels);

} // namespace kova::mu
