#include "core/workbench/workbench_file.h"

#include "core/workbench/beam_file.h"
#include "core/workbench/beam_input.h"

#include <filesystem>

namespace kova {
namespace {

bool SameTreatment(const TTreatment& a, const TTreatment& b) {
    return a.name == b.name && a.linac == b.linac && a.kind == b.kind && a.Energy() == b.Energy();
}

/// Puts computed beams into the workbench: a beam joins the last patient and treatment made
/// when it names the same ones, so consecutive beams gather as they were saved.
class Gatherer {
public:
    explicit Gatherer(Workbench& workbench) : m_workbench(workbench) {}

    void Add(ResolvedBeam& resolved) {
        const std::string patientName = resolved.patientName.value_or(Patient{}.name);
        resolved.treatment->name = resolved.treatmentName.value_or(TTreatment{}.name);
        // The form refers to the beam, which may move to another treatment now.
        resolved.form.reset();
        if (m_patient == nullptr || m_patient->name != patientName) {
            m_patient = &m_workbench.AddPatient();
            m_patient->name = patientName;
            m_treatment = nullptr;
        }
        if (m_treatment != nullptr && SameTreatment(*m_treatment, *resolved.treatment)) {
            std::unique_ptr<TBeam> beam = std::move(resolved.treatment->beams.front());
            resolved.treatment->beams.clear();
            m_treatment->AddBeam(std::move(beam));
            return;
        }
        m_treatment = &m_workbench.AddTreatment(*m_patient, std::move(resolved.treatment));
    }

private:
    Workbench& m_workbench;
    Patient* m_patient = nullptr;
    TTreatment* m_treatment = nullptr;
};

std::string BeamTitle(const BeamBlock& block) {
    return "[" + block.title + "] ";
}

/// A problem as the user reads it: the file by its name alone.
std::string Line(InputError error, const std::string& fileName) {
    error.file = fileName;
    return error.ToString();
}

} // namespace

WorkbenchFile ReadWorkbench(const std::string& path, const std::string& text,
                            const std::vector<std::unique_ptr<TLinacSpec>>& linacs,
                            const Date& today) {
    WorkbenchFile file;
    const std::string fileName = std::filesystem::path(path).filename().string();
    std::vector<InputError> syntax;
    const std::vector<BeamBlock> blocks = ParseBeamText(path, text, syntax);
    file.beamsInFile = static_cast<int>(blocks.size());
    for (const InputError& error : syntax) {
        file.refused.push_back(Line(error, fileName));
    }
    Gatherer gather(file.workbench);
    for (const BeamBlock& block : blocks) {
        std::vector<InputError> errors;
        std::optional<ResolvedBeam> resolved = ResolveBeam(block, linacs, errors);
        if (!resolved) {
            for (const InputError& error : errors) {
                file.refused.push_back(BeamTitle(block) + Line(error, fileName));
            }
            continue;
        }
        const BeamOutcome outcome = ComputeBeam(*resolved, today);
        if (!outcome.computed) {
            file.refused.push_back(BeamTitle(block) + fileName + ":" + std::to_string(block.line) +
                                   ": " + outcome.reason);
            continue;
        }
        gather.Add(*resolved);
    }
    return file;
}

} // namespace kova
