#include "core/linac/linac_folder_choice.h"

#include "core/common/install_layout.h"

#include <system_error>

namespace kova {
namespace {

bool IsFolder(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

std::string Resolved(const std::string& path, const std::filesystem::path& currentFolder) {
    if (path.empty()) {
        return path;
    }
    const std::filesystem::path given(path);
    return (given.is_absolute() ? given : currentFolder / given).lexically_normal().string();
}

} // namespace

LinacFolderChoice ChooseLinacFolder(const LinacFolderCandidates& candidates) {
    if (!candidates.commandLine.empty()) {
        return {candidates.commandLine, LinacFolderSource::CommandLine, "given with --linacs"};
    }
    if (candidates.currentFolderLinacsExists) {
        return {candidates.currentFolderLinacs, LinacFolderSource::CurrentFolder,
                "the Linacs folder of the current folder"};
    }
    if (!candidates.settings.empty()) {
        return {candidates.settings, LinacFolderSource::Settings,
                candidates.settingsExists
                    ? "chosen with File > Linac folder... (the current folder has no Linacs "
                      "folder)"
                    : "chosen with File > Linac folder..., but it cannot be found now"};
    }
    if (candidates.installedDemoExists) {
        return {candidates.installedDemo, LinacFolderSource::InstalledDemo,
                "the demo linacs installed with KOVA X (no Linacs folder in the current folder "
                "and none chosen with File > Linac folder...): typical published values, not "
                "for clinical use"};
    }
    return {candidates.currentFolderLinacs, LinacFolderSource::NotFound,
            "no Linacs folder in the current folder, none chosen with File > Linac folder... "
            "and no demo linacs installed"};
}

std::string ShortWhy(LinacFolderSource source) {
    switch (source) {
    case LinacFolderSource::CommandLine:
        return "--linacs";
    case LinacFolderSource::CurrentFolder:
        return "current folder";
    case LinacFolderSource::Settings:
        return "chosen folder";
    case LinacFolderSource::InstalledDemo:
        return "demo, not for clinical use";
    case LinacFolderSource::NotFound:
        break;
    }
    return "not found";
}

LinacFolderCandidates FindLinacFolderCandidates(const std::string& commandLine,
                                                const std::string& settings,
                                                const std::filesystem::path& programFolder,
                                                const std::filesystem::path& currentFolder) {
    LinacFolderCandidates candidates;
    candidates.commandLine = Resolved(commandLine, currentFolder);
    candidates.currentFolderLinacs = Resolved("Linacs", currentFolder);
    candidates.currentFolderLinacsExists = IsFolder(candidates.currentFolderLinacs);
    candidates.settings = Resolved(settings, currentFolder);
    candidates.settingsExists = !settings.empty() && IsFolder(candidates.settings);
    candidates.installedDemo = InstallLayoutOf(programFolder).demoLinacs.string();
    candidates.installedDemoExists = IsFolder(candidates.installedDemo);
    return candidates;
}

Status CheckLinacFolderSetting(const std::string& folder) {
    if (folder.empty()) {
        return Status::Ok();
    }
    if (!std::filesystem::path(folder).is_absolute()) {
        return Status::Fail("Give the whole path of the folder, from / on: " + folder);
    }
    if (!IsFolder(folder)) {
        return Status::Fail("There is no folder " + folder);
    }
    return Status::Ok();
}

} // namespace kova
