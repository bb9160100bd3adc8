#include "core/common/install_layout.h"

#include <system_error>

namespace kova {

InstallLayout InstallLayoutOf(const std::filesystem::path& programFolder) {
    std::filesystem::path folder = programFolder.lexically_normal();
    // "/usr/bin/" names the same folder as "/usr/bin".
    if (!folder.has_filename() && folder.has_relative_path()) {
        folder = folder.parent_path();
    }
    InstallLayout layout;
    layout.prefix = folder.has_relative_path() ? folder.parent_path() : folder;
    if (layout.prefix.empty()) {
        layout.prefix = ".";
    }
    layout.dataFolder = layout.prefix / "share" / "kovax";
    layout.demoLinacs = layout.dataFolder / "Linacs";
    // Beside bin in a build (<build>/lib/kovax) as in an installation.
    layout.pluginFolder = layout.prefix / "lib" / "kovax";
    // The system's configuration lives in /etc, not in /usr/etc.
    layout.configFolder = layout.prefix == "/usr" ? std::filesystem::path("/etc/kovax")
                                                  : layout.prefix / "etc" / "kovax";
    return layout;
}

std::filesystem::path ProgramFilesFolder(const std::filesystem::path& programFolder) {
    const InstallLayout layout = InstallLayoutOf(programFolder);
    std::error_code error;
    return std::filesystem::is_directory(layout.dataFolder, error) ? layout.configFolder
                                                                   : programFolder;
}

} // namespace kova
