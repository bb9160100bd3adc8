#pragma once

#include "core/beams/tps_check.h"
#include "core/common/result.h"
#include "core/linac/linac_spec.h"
#include "core/plan/plan_data.h"
#include "core/text/date_text.h"
#include "core/workbench/beam_input.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace kova::mu {

/// How a whole plan went.
struct PlanCheckResult {
    bool read = false;        ///< false when the file is no RT Plan kova-mu can read
    bool allComputed = false; ///< every beam imported and computed
    bool anyBeyond = false;   ///< a computed beam beyond its action level
};

/// Reads the RT Plan file at a path: kova-mu's DICOM plug-in, or the DICOM library itself
/// in a test.
using PlanReader = std::function<Result<PlanData>(const std::string& path)>;

/// Receives each beam of the plan that was computed, with the plan (for --record).
using ComputedPlanBeam = std::function<void(ResolvedBeam& beam, const PlanData& plan)>;

/// Computes every beam of the DICOM RT Plan `path`, read with `readPlan`, on `linacs` on
/// `today` and writes each beam as the beam files' beams are written (text, or with `json` one
/// object with the plan's patient and label and the beams in plan order); a beam the import refuses
/// or cannot settle (no linac or energy of the plan's name) is written refused, with the reason
/// naming the mismatch. A file that cannot be read goes to `err`. With `explain` the text
/// carries the trace of each looked-up value under its line. Each computed beam goes to
/// `computed` when one is given.
PlanCheckResult CheckPlan(const std::string& path, const PlanReader& readPlan,
                          const std::vector<std::unique_ptr<TLinacSpec>>& linacs, const Date& today,
                          const ActionLevels& levels, bool json, std::ostream& out,
                          std::ostream& err, bool explain = false,
                          const ComputedPlanBeam& computed = {});

} // namespace kova::mu
