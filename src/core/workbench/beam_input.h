#pragma once

#include "core/beams/beam.h"
#include "core/beams/beam_form.h"
#include "core/linac/linac_spec.h"
#include "core/workbench/beam_file.h"
#include "core/workbench/multileaf_input.h"
#include "core/workbench/treatment.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kova {

/// Keys of a beam file that are not controls of a beam dialog: what the treatment dialog
/// chooses, and the patient and treatment of the workbench that hold the beam.
inline constexpr const char* kToolKeys[] = {"Linac", "Energy", "BeamKind", "Patient", "Treatment"};

/// A beam of a beam file typed into its dialog's form, ready for OK: the treatment that
/// holds the beam, the beam and its form with every key of the file set.
struct ResolvedBeam {
    const BeamBlock* block = nullptr;
    std::unique_ptr<TTreatment> treatment;
    TBeam* beam = nullptr; ///< owned by the treatment
    std::unique_ptr<BeamForm> form;
    /// The "Patient" and "Treatment" keys: the patient and the treatment of the workbench
    /// that hold the beam; none when the file does not give them. The treatment, when
    /// given, also carries that name.
    std::optional<std::string> patientName;
    std::optional<std::string> treatmentName;
    /// The multileaf field taken from an MLC file, when the beam names one.
    std::optional<MultileafImport> multileaf;
    /// Why the beam is refused before OK (set while typing it); empty otherwise.
    std::string refusal;
};

/// Checks one beam and types it: every key known, the linac and energy found, the kind
/// offered, each value one the dialog would take. Each key is a control of the beam kind's
/// dialog and is set the way a user sets it, in the order a user goes through the dialog.
/// Problems go to `errors` (with file, line and text); none is returned then.
std::optional<ResolvedBeam> ResolveBeam(const BeamBlock& block,
                                        const std::vector<std::unique_ptr<TLinacSpec>>& linacs,
                                        std::vector<InputError>& errors);

/// Types the controls of `block` into the form of a beam already in its treatment, as
/// ResolveBeam does (the "Linac", "Energy" and "BeamKind" keys are left to the caller).
/// Problems go to `errors`; false when there was one.
bool TypeBeamBlock(const BeamBlock& block, BeamForm& form, std::vector<InputError>& errors);

/// The problems of a beam without where they stand, for a beam that has no place in a
/// file: "MESSAGE: 'TEXT'" each, joined by "; ".
std::string InputErrorsText(const std::vector<InputError>& errors);

/// The outcome of one beam: computed, or refused with the reason.
struct BeamOutcome {
    const ResolvedBeam* resolved = nullptr;
    bool computed = false;
    std::string reason;
    const TBeam* beam = nullptr;
};

/// Presses OK on the beam's form on `today`.
BeamOutcome ComputeBeam(ResolvedBeam& resolved, const Date& today);

} // namespace kova
