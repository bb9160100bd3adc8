#pragma once

#include "core/linac/linac_spec.h"
#include "core/text/date_text.h"
#include "core/workbench/workbench.h"

#include <memory>
#include <string>
#include <vector>

namespace kova {

/// A workbench read back from a beam file.
struct WorkbenchFile {
    Workbench workbench;
    int beamsInFile = 0;
    /// One line for each problem of the file and each beam that is not in the workbench
    /// (refused by the check of its keys or by its calculation now), saying where and why.
    std::vector<std::string> refused;
};

/// Reads a beam file (as WriteWorkbench writes it, or any file kova-mu reads) into a
/// workbench: every beam is typed into its dialog's form on `linacs` and computed on `today`
/// as OK would do. Consecutive beams with the same `Patient` name belong to one patient, and
/// consecutive beams of one patient with the same `Treatment` name, linac, energy and beam
/// kind to one treatment; without those keys a beam goes to "New Patient" and
/// "New Treatment". A beam that is refused now (its linac, energy or entry is gone, a value
/// is refused, the calculation fails) is left out and listed in `refused`, which names the
/// file by the last part of `path`. MLC files the beams name are found next to `path`.
WorkbenchFile ReadWorkbench(const std::string& path, const std::string& text,
                            const std::vector<std::unique_ptr<TLinacSpec>>& linacs,
                            const Date& today);

} // namespace kova
