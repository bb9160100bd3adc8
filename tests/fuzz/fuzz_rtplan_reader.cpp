// Feeds arbitrary bytes to the DICOM RT Plan reader and imports whatever it accepts on the
// demo dual energy linac, answering every question with its first candidate (a tray or
// shield made on the spot when there is none), then computes every beam that is ready, as
// kova-mu does and as the desktop program puts a plan into a patient. Any crash, hang,
// sanitizer report or broken promise (a refusal without a reason, an MU that is not a finite
// number above 0) is a finding.

#include "core/common/file_bytes.h"
#include "core/linac/linac_spec.h"
#include "core/linac/mlc_parameters.h"
#include "core/plan/plan_answers.h"
#include "core/plan/plan_workbench.h"
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

/// The demo linac under the machine name of the seed plans, with its MLC sidecar, so that
/// IMRT and VMAT beams reach their point dose.
const std::vector<std::unique_ptr<kova::TLinacSpec>>& Linacs() {
    static const auto linacs = [] {
        std::vector<std::unique_ptr<kova::TLinacSpec>> made;
        const kova::FileBytes text = kova::ReadFileBytes(KOVA_DEMO_LINAC, 1u << 22);
        made.push_back(std::make_unique<kova::TLinacSpec>());
        Require(text.ok() && kova::ReadLinacText(text.bytes, *made.back()).accepted());
        const kova::FileBytes sidecar =
            kova::ReadFileBytes(KOVA_DEMO_MLC, kova::kMaxMlcSidecarBytes);
        Require(sidecar.ok());
        auto entries = kova::ParseMlcSidecar(sidecar.bytes, *made.back());
        Require(entries.ok());
        made.back()->Mlc.entries = std::move(entries.value());
        return made;
    }();
    return linacs;
}

/// The first candidate of a question; a tray or shield made on the spot when there is none.
std::optional<kova::PlanAnswer> FirstChoice(const kova::ImportedBeam&,
                                            const kova::PlanQuestion& question) {
    if (!question.candidates.empty()) {
        return kova::PlanAnswer{question.candidates[0], {}};
    }
    return kova::PlanAnswer{{}, kova::ModifierValue{"T", 0.97}};
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
        Compute(kova::ImportPlanBeam(*plan, i, Linacs()));
    }
    const std::vector<kova::ImportedBeam> beams =
        kova::ImportPlanAsking(*plan, Linacs(), FirstChoice);
    Require(beams.size() == plan->beams.size());
    kova::Patient patient;
    const std::vector<kova::RefusedPlanBeam> refused =
        kova::AddPlanBeams(patient, *plan, beams, kova::Date{2026, 11, 2});
    std::size_t added = 0;
    for (const auto& treatment : patient.treatments) {
        Require(!treatment->beams.empty());
        for (const auto& beam : treatment->beams) {
            Require(beam->calculated && std::isfinite(beam->MU) && beam->MU > 0);
            ++added;
        }
    }
    for (const kova::RefusedPlanBeam& beam : refused) {
        Require(!beam.reason.empty());
    }
    Require(added + refused.size() == beams.size());
    return 0;
}
