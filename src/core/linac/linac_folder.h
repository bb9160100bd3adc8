#pragma once

#include "core/linac/linac_spec.h"

#include <memory>
#include <string>
#include <vector>

namespace kova {

/// A file of the linac folder that was not kept, and why.
struct SkippedLinacFile {
    std::string fileName;
    LoadOutcome outcome = LoadOutcome::NotALinacFile;
    std::string reason;
};

/// What a scan of the linac folder found.
struct LinacFolderScan {
    bool folderFound = false;
    std::string folderError;                         ///< why the folder could not be listed
    std::vector<std::unique_ptr<TLinacSpec>> linacs; ///< accepted, in scan order
    std::vector<SkippedLinacFile> skipped;           ///< files left out, in scan order
    std::vector<std::string> fileNames;              ///< every file scanned, in scan order
};

/// One file of a scan as the user reads it.
struct LinacFileNote {
    std::string fileName;
    std::string note; ///< "read", or why the file was left out
};

/// Every file of the scan in scan order: "read", "not a linac file: REASON" or
/// "cannot be opened".
std::vector<LinacFileNote> LinacFileNotes(const LinacFolderScan& scan);

/// The linac files of a folder: ordinary files whose name ends in ".lnc" in any case,
/// hidden ones (name starting with ".") left out, sorted by name without regard to case.
std::vector<std::string> ListLinacFiles(const std::string& folder, std::string& error);

/// Reads every linac file of `folder` once, in list order. A file that cannot be opened or
/// is rejected is left out with its reason; the scan goes on with the next file. Each
/// linac's FileName is the bare file name; its MLC sidecar ("NAME.lnc.ini") is read with it.
LinacFolderScan ScanLinacFolder(const std::string& folder);

} // namespace kova
