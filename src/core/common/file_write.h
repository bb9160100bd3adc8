#pragma once

#include "core/common/result.h"

#include <string>
#include <string_view>

namespace kova {

/// How a safe write of a file ended.
struct FileWrite {
    enum class Outcome {
        Written,      ///< the file holds the new bytes
        Exists,       ///< a file is already there and was not to be replaced
        CannotCreate, ///< no temporary file could be made in the folder (missing, no permission)
        CannotWrite,  ///< a write, the sync to disk or the close failed (a full disk, a quota)
        CannotPlace,  ///< the finished file could not take the name
    };

    Outcome outcome = Outcome::Written;
    int error = 0;      ///< the system's error number; 0 when written or when it had none
    std::string reason; ///< the system's words for `error` ("No space left on device")

    bool ok() const { return outcome == Outcome::Written; }
};

/// The one way the core writes a file a user keeps. The bytes go to a new file of a unique
/// name created in the same folder (created exclusively: never a file or link that is
/// already there), every write and the close are checked and the data is synced to disk
/// before the file is renamed to `path`; the folder is synced after where it can be. On any
/// failure the temporary file is removed and `path` is as it was. An existing file replaced
/// keeps its permissions. Without `replaceExisting`, an existing file at `path` is never
/// replaced, even when it appears while writing.
FileWrite WriteFileSafely(const std::string& path, std::string_view bytes, bool replaceExisting);

/// WriteFileSafely as a sentence for the user: "The file PATH already exists", "Cannot
/// write file PATH: REASON" (without a reason when the folder does not exist, as the path
/// then says it).
Status WriteFileAtomically(const std::string& path, std::string_view bytes, bool replaceExisting);

/// For command-line tools: from now on, SIGINT, SIGTERM and SIGHUP first remove the
/// temporary file of a write under way, then end the program as that signal would have.
/// Signals the program was started with ignored stay ignored. Best effort: a file being
/// renamed at that moment may stay. SIGXFSZ is ignored too, so that a write past a file
/// size limit fails with its reason ("File too large") rather than killing the program.
void RemoveTemporaryFileOnInterrupt();

} // namespace kova
