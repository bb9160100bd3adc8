#pragma once

#include "core/common/result.h"
#include "core/linac/linac_spec.h"

#include <string>
#include <string_view>

namespace kova {

/// The bytes of a .lnc file holding `text`: its length as a 4-byte little-endian integer,
/// then the text compressed as one zlib stream.
Result<std::string> PackLinacText(std::string_view text);

/// Where a linac may be saved.
struct LinacSaveOptions {
    /// The program's Linacs folder: the files read at start are never written, and no file is
    /// added there behind the user's back.
    std::string protectedFolder;
    /// The user confirmed that the file at the path may be replaced.
    bool replaceExisting = false;
};

/// Writes `linac`, as it is in memory, as a linac file at `path`. Refused, with nothing
/// written: a path in the protected folder; an existing file without `replaceExisting`; a
/// linac whose text would not read back the same; any write failure. The file appears
/// whole or not at all.
Status SaveLinacFile(const TLinacSpec& linac, const std::string& path,
                     const LinacSaveOptions& options);

/// True when `path` names a file directly inside `folder` (both may be relative, and need
/// not exist).
bool IsInFolder(const std::string& path, const std::string& folder);

} // namespace kova
