#pragma once

// A beam file's multileaf field taken from an MLC file, as "Compute from file..." takes it in
// the photon beam dialog.

#include "core/beams/beam_form.h"
#include "core/mlc/mlc_factors.h"
#include "core/mlc/mlc_field.h"
#include "core/workbench/beam_file.h"

#include <optional>
#include <string>
#include <vector>

namespace kova {

/// The keys of a beam file that import a multileaf field: the MLC file (relative to the beam
/// file), the field (default: the first; matched ignoring the blanks around its name) and
/// the jaws ("Current", the default, or "Recommended").
inline constexpr const char* kMultileafKeys[] = {"MultileafFile", "MultileafField", "MLCJaws"};

/// The multileaf field a beam took from a file, with its factors.
struct MultileafImport {
    std::string fileName; ///< without its folder, as the entry's name shows it
    MLCField field;
    MLCFactors factors;
};

/// What importing the field gave: the field, or a refusal of the beam (the jaws outside
/// the limits of "Use current", factors that cannot be computed). Problems with the keys
/// themselves go to `errors`.
struct MultileafOutcome {
    std::optional<MultileafImport> imported;
    std::string refusal;
};

/// The path of the MLC file a `MultileafFile` value names: as written when absolute, else
/// next to the beam file of `block`.
std::string MultileafFilePath(const BeamBlock& block, const std::string& value);

/// Reads the field the block names, applies "Recommended" jaws when asked, computes the
/// factors and makes the beam's multileaf entry "FILE::FIELD", selected in the form.
MultileafOutcome ImportMultileafKeys(const BeamBlock& block, BeamForm& form,
                                     std::vector<InputError>& errors);

} // namespace kova
