#pragma once

#include "core/common/result.h"

#include <filesystem>
#include <string>

namespace kova {

/// Where the desktop program's linac folder came from.
enum class LinacFolderSource {
    CommandLine,   ///< kovax --linacs DIR
    CurrentFolder, ///< the Linacs folder of the current folder, the rule of old
    Settings,      ///< chosen with "Linac folder..." and kept in the user's settings
    InstalledDemo, ///< the demo linacs installed with the program
    NotFound,      ///< none of them: the current folder's Linacs, which is missing
};

/// The folders that may hold the linacs at start-up, with what the file system says of them.
struct LinacFolderCandidates {
    std::string commandLine; ///< from --linacs DIR; empty when not given
    std::string currentFolderLinacs;
    bool currentFolderLinacsExists = false;
    std::string settings; ///< chosen with "Linac folder..."; empty when none
    bool settingsExists = false;
    std::string installedDemo; ///< <prefix>/share/kovax/Linacs
    bool installedDemoExists = false;
};

/// The folder the linacs are read from, and why that one.
struct LinacFolderChoice {
    std::string folder;
    LinacFolderSource source = LinacFolderSource::NotFound;
    std::string why; ///< a sentence for the About box
};

/// The first that applies: the folder given with --linacs; the current folder's Linacs
/// folder when it exists; the folder chosen in the settings (even when it cannot be found
/// now: a department's folder that is not mounted must not be replaced by the demo linacs
/// without a word); the installed demo linacs when they exist; else the current folder's
/// Linacs folder, whose scan then says it is missing.
LinacFolderChoice ChooseLinacFolder(const LinacFolderCandidates& candidates);

/// A few words for the status bar: "--linacs", "current folder", "chosen folder",
/// "demo, not for clinical use", "not found".
std::string ShortWhy(LinacFolderSource source);

/// The candidates as the file system has them. Relative paths (`commandLine`, `settings`)
/// are taken from `currentFolder`; the installed demo linacs are looked for around
/// `programFolder` (InstallLayoutOf).
LinacFolderCandidates FindLinacFolderCandidates(const std::string& commandLine,
                                                const std::string& settings,
                                                const std::filesystem::path& programFolder,
                                                const std::filesystem::path& currentFolder);

/// Whether `folder` may be kept as the chosen linac folder: empty (none chosen) or the
/// whole path of an existing folder.
Status CheckLinacFolderSetting(const std::string& folder);

} // namespace kova
