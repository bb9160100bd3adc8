#pragma once

#include "core/linac/linac_folder.h"
#include "core/workbench/program_title.h"

#include <QString>
#include <vector>

namespace kova::gui {

/// "About KOVA X": the product and its version, the Qt version, the linac folder in use and
/// why (`why`, left out when empty), and what the results rest on.
QString AboutText(const ProgramInfo& info, const QString& linacFolder, const QString& why = {});

/// "Linac files...": every file of the linac folder with "read" or why it was left out.
/// `folderError` is why the folder could not be read (empty when it was).
QString LinacFilesText(const QString& linacFolder, const std::string& folderError,
                       const std::vector<LinacFileNote>& files);

} // namespace kova::gui
