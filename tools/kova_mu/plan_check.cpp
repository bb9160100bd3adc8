#include "kova_mu/plan_check.h"

#include "core/plan/plan_import.h"
#include "core/text/cp1252.h"
#include "core/workbench/beam_input.h"
#include "kova_mu/report.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

namespace kova::mu {
namespace {

using Json = nlohmann::ordered_json;

/// One beam of the plan on its way: imported, typed, computed, or refused on the way.
struct PlanBeamRun {
    const ImportedBeam* imported = nullptr;
    std::optional<ResolvedBeam> resolved;
    std::optional<BeamOutcome> outcome;
    std::string reason; ///< why it never reached OK
};

std::vector<PlanBeamRun> RunBeams(const std::vector<ImportedBeam>& imported,
                                  const std::vector<std::unique_ptr<TLinacSpec>>& linacs,
                                  const Date& today) {
    // Outcomes point at their resolved beams: every run is in place before any is computed.
    std::vector<PlanBeamRun> runs(imported.size());
    for (std::size_t i = 0; i < imported.size(); ++i) {
        PlanBeamRun& run = runs[i];
        run.imported = &imported[i];
        if (!imported[i].Ready()) {
            run.reason = imported[i].Problem();
            continue;
        }
        std::vector<InputError> errors;
        run.resolved = ResolveBeam(imported[i].block, linacs, errors);
        if (!run.resolved) {
            run.reason = InputErrorsText(errors);
            continue;
        }
        run.outcome = ComputeBeam(*run.resolved, today);
    }
    return runs;
}

void WriteRunsText(std::ostream& out, const PlanData& plan, const std::vector<PlanBeamRun>& runs,
                   const ActionLevels& levels, bool explain) {
    const PlanPatient patient = PlanPatientOf(plan);
    out << "Plan " << EscapeControls(plan.label) << ": " << TerminalText(patient.name) << " ("
        << TerminalText(patient.ID) << ")\n";
    for (const PlanBeamRun& run : runs) {
        if (run.outcome) {
            WriteText(out, *run.outcome, levels, run.imported->tpsRefusal, explain);
        } else {
            out << "== " << TerminalText(run.imported->title)
                << ": refused: " << TerminalText(run.reason) << '\n';
        }
    }
}

Json Named(const TLinacSpec* linac, const TEnergy* energy, const ImportedBeam& imported) {
    return {{"linac", linac != nullptr ? Json(Cp1252ToUtf8(linac->Name)) : Json(nullptr)},
            {"energy", energy != nullptr ? Json(Cp1252ToUtf8(energy->Name)) : Json(nullptr)},
            {"beamKind", energy != nullptr ? Json(BeamKindText(imported.kind)) : Json(nullptr)}};
}

/// The beams in plan order: those that reached OK as kova-mu writes every beam, the others
/// with where they stopped.
Json BeamsJson(const std::string& path, const std::vector<PlanBeamRun>& runs, const Date& today,
               const ActionLevels& levels) {
    std::vector<BeamOutcome> outcomes;
    for (const PlanBeamRun& run : runs) {
        if (run.outcome) {
            outcomes.push_back(*run.outcome);
        }
    }
    std::stringstream written;
    WriteJson(written, outcomes, today, levels);
    const Json computed = Json::parse(written.str())["beams"];
    Json beams = Json::array();
    std::size_t next = 0;
    for (const PlanBeamRun& run : runs) {
        if (run.outcome) {
            beams.push_back(computed.at(next++));
            if (run.outcome->computed && !run.imported->tpsRefusal.empty()) {
                beams.back()["reason"] = Cp1252ToUtf8(run.imported->tpsRefusal);
            }
        } else {
            Json beam = {
                {"file", nullptr}, {"line", nullptr}, {"title", Cp1252ToUtf8(run.imported->title)}};
            beam.update(Named(run.imported->linac, run.imported->energy, *run.imported));
            beam["computed"] = false;
            beam["reason"] = Cp1252ToUtf8(run.reason);
            beams.push_back(beam);
        }
        beams.back()["file"] = EscapedUtf8(path);
        beams.back()["line"] = nullptr; // a plan's beam has no line in a beam file
    }
    return beams;
}

void WriteRunsJson(std::ostream& out, const std::string& path, const PlanData& plan,
                   const std::vector<PlanBeamRun>& runs, const Date& today,
                   const ActionLevels& levels) {
    const PlanPatient patient = PlanPatientOf(plan);
    const Json document = {{"date", FormatShortDate(today)},
                           {"plan",
                            {{"file", EscapedUtf8(path)},
                             {"label", plan.label},
                             {"patientName", Cp1252ToUtf8(patient.name)},
                             {"patientID", Cp1252ToUtf8(patient.ID)}}},
                           {"beams", BeamsJson(path, runs, today, levels)}};
    out << document.dump(2) << '\n';
}

} // namespace

PlanCheckResult CheckPlan(const std::string& path, const PlanReader& readPlan,
                          const std::vector<std::unique_ptr<TLinacSpec>>& linacs, const Date& today,
                          const ActionLevels& levels, bool json, std::ostream& out,
                          std::ostream& err, bool explain, const ComputedPlanBeam& computed) {
    const Result<PlanData> plan = readPlan(path);
    if (!plan) {
        err << "kova-mu: " << EscapeControls(path + ": " + plan.reason()) << '\n';
        return {};
    }
    const std::vector<ImportedBeam> imported = ImportPlan(*plan, linacs, path);
    std::vector<PlanBeamRun> runs = RunBeams(imported, linacs, today);
    PlanCheckResult result{true, true, false};
    for (PlanBeamRun& run : runs) {
        // A beam whose MU cannot be compared with the plan's is not checked either.
        result.allComputed = result.allComputed && run.outcome && run.outcome->computed &&
                             run.imported->tpsRefusal.empty();
        if (run.outcome && run.outcome->computed) {
            const auto tps = CompareWithTPS(*run.outcome->beam, levels);
            result.anyBeyond = result.anyBeyond || (tps && tps->beyondActionLevel);
            if (computed) {
                computed(*run.resolved, *plan);
            }
        }
    }
    if (json) {
        WriteRunsJson(out, path, *plan, runs, today, levels);
    } else {
        WriteRunsText(out, *plan, runs, levels, explain);
    }
    return result;
}

} // namespace kova::mu
