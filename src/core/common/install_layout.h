#pragma once

#include <filesystem>

namespace kova {

/// The folders of an installed KOVA X, found from the folder of its executable
/// (`<prefix>/bin`) rather than from paths fixed at build time, so that one build serves
/// the package (prefix /usr) and any `cmake --install --prefix` alike.
struct InstallLayout {
    std::filesystem::path prefix;       ///< the folder above the program's folder
    std::filesystem::path dataFolder;   ///< <prefix>/share/kovax
    std::filesystem::path demoLinacs;   ///< <prefix>/share/kovax/Linacs: the demo linacs
    std::filesystem::path configFolder; ///< /etc/kovax for the prefix /usr, else <prefix>/etc/kovax
    std::filesystem::path
        pluginFolder; ///< <prefix>/lib/kovax: kova-mu's plug-ins, loaded on demand
};

/// The layout around `programFolder`, from its path alone (nothing is looked up).
InstallLayout InstallLayoutOf(const std::filesystem::path& programFolder);

/// Where the program's own files are read from (the banners "MyBanner1.txt" and
/// "MyBanner2.txt", "ActionLevels.ini"): the configuration folder of an installation (a
/// program folder whose data folder exists), since nobody should have to write into /usr/bin;
/// else the program's own folder, as in a build tree (build/bin).
std::filesystem::path ProgramFilesFolder(const std::filesystem::path& programFolder);

} // namespace kova
