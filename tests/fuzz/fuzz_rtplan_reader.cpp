// Feeds arbitrary bytes to the DICOM RT Plan reader and imports whatever it accepts on the
// demo dual energy linac, answering every question with its first candidate, then computes
// every beam that is ready. Any crash, hang, sanitizer report or broken promise (a refusal
// without a reason, an MU that is not a finite number above 0) is a finding.

#include "core/common/file_bytes.h"
#include "core/linac/linac_spec.h"
#include "core/plan/plan_import.h"
#include "core/workbench/beam_input.h"
#include "dicom/rt_plan_reader.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

namespace {

void Require(bool promise) {
    if (!promise) {
        std::abort();
    }
}

/// The demo linac under the machine name of the seed plans.
const std::vector<std::unique_ptr<kova::TLinacSpec>>& Linacs() {
    static const auto linacs = [] {
        std::vector<std::unique_ptr<kova::TLinacSpec>> made;
        const kova::FileBytes text = kova::ReadFileBytes(KOVA_DEMO_LINAC, 1u << 22);
        made.push_back(std::make_unique<kova::TLinacSpec>());
        Require(text.ok() && kova::ReadLinacText(text.bytes, *made.back()).accepted());
        return made;
    }();
    return linacs;
}

/// The first candidate of every question, and a factor for a tray or shield.
kova::PlanAnswers FirstChoices(const kova::ImportedBeam& beam) {
    kova::PlanAnswers answers;
    for (const kova::PlanQuestion& question : beam.questions) {
        const std::string first = question.candidates.empty() ? "" : question.candidates[0];
        switch (question.pick) {
        case kova::PlanPick::Machine:
            answers.linac = first;
            break;
        case kova::PlanPick::Energy:
            answers.energy = first;
            break;
        case kova::PlanPick::Wedge:
            answers.wedge = first;
            break;
        case kova::PlanPick::Tray:
            answers.tray = kova::ModifierValue{"T", 0.97};
            break;
        case kova::PlanPick::Shield:
            answers.shield = kova::ModifierValue{"S", 0.95};
            break;
        }
    }
    return answers;
}

void Compute(const kova::ImportedBeam& beam) {
    Require(beam.Ready() != !beam.Problem().empty());
    if (!beam.Ready()) {
        return;
    }
    std::vector<kova::InputError> errors;
    std::optional<kova::ResolvedBeam> resolved = kova::ResolveBeam(beam.block, Linacs(), errors);
    Require(resolved.has_value() || !errors.empty());
    if (resolved) {
        const kova::BeamOutcome outcome = kova::ComputeBeam(*resolved, kova::Date{2026, 11, 2});
        Require(outcome.computed ? std::isfinite(outcome.beam->MU) && outcome.beam->MU > 0
                                 : !outcome.reason.empty());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kova::Result<kova::PlanData> plan = kova::ReadRTPlan(bytes);
    if (!plan) {
        Require(!plan.reason().empty());
        return 0;
    }
    for (std::size_t i = 0; i < plan->beams.size(); ++i) {
        const kova::ImportedBeam asked = kova::ImportPlanBeam(*plan, i, Linacs());
        Compute(asked);
        if (!asked.questions.empty()) {
            Compute(kova::ImportPlanBeam(*plan, i, Linacs(), FirstChoices(asked)));
        }
    }
    return 0;
}
