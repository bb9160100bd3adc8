#pragma once

#include "core/workbench/workbench.h"

#include <string>
#include <vector>

namespace kova {

/// One control of a beam as its beam file writes it: the control's name (the key) and its
/// value (UTF-8, on one line).
struct ControlText {
    std::string name;
    std::string text;
};

/// The controls of a stored beam that its beam-file block writes, in the dialog's order and
/// with the same texts (see WriteBeamBlock): every input of the beam, as a user set it.
std::vector<ControlText> BeamControlTexts(TBeam& beam);

/// One beam of the workbench in the beam-file layout that kova-mu and the desktop program's
/// Open read (UTF-8): a "[name]" line; the treatment's `Linac`, `Energy` and `BeamKind`; the
/// `Patient` and `Treatment` that hold it; every control a user can set in the beam's dialog,
/// as the dialog shows the stored beam (edits by their text, lists by the selected entry's
/// name or "NAME : FACTOR" for an entry the beam made on the spot, check boxes 0 or 1,
/// choices by index); and the MU as a comment line. Computed fields and menus are left out:
/// the dialog works them out again from the rest.
std::string WriteBeamBlock(const std::string& patientName, const TTreatment& treatment,
                           TBeam& beam);

/// Every beam of the workbench in tree order, after a comment line saying what the file is.
std::string WriteWorkbench(const Workbench& workbench);

/// Patients and treatments that hold no beam: a beam file has nothing to keep them by. One
/// text each ("patient 'Rossi'", "treatment 'Breast' of patient 'Rossi'"), in tree order.
std::vector<std::string> NotKeptInBeamFile(const Workbench& workbench);

} // namespace kova
