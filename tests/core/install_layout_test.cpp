#include "core/common/install_layout.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace kova {
namespace {

TEST(InstallLayout, FoldersFollowFromTheProgramsFolder) {
    // The package installs under /usr, whose configuration lives in /etc; every other
    // prefix keeps its own etc.
    const struct {
        const char* programFolder;
        const char* prefix;
        const char* demoLinacs;
        const char* configFolder;
        const char* pluginFolder;
    } cases[] = {
        {"/usr/bin", "/usr", "/usr/share/kovax/Linacs", "/etc/kovax", "/usr/lib/kovax"},
        {"/usr/bin/", "/usr", "/usr/share/kovax/Linacs", "/etc/kovax", "/usr/lib/kovax"},
        {"/usr/./bin", "/usr", "/usr/share/kovax/Linacs", "/etc/kovax", "/usr/lib/kovax"},
        {"/usr/local/bin", "/usr/local", "/usr/local/share/kovax/Linacs", "/usr/local/etc/kovax",
         "/usr/local/lib/kovax"},
        {"/opt/kovax/bin", "/opt/kovax", "/opt/kovax/share/kovax/Linacs", "/opt/kovax/etc/kovax",
         "/opt/kovax/lib/kovax"},
        {"/home/ana/kova/build/bin", "/home/ana/kova/build",
         "/home/ana/kova/build/share/kovax/Linacs", "/home/ana/kova/build/etc/kovax",
         "/home/ana/kova/build/lib/kovax"},
    };
    for (const auto& c : cases) {
        const InstallLayout layout = InstallLayoutOf(c.programFolder);
        EXPECT_EQ(layout.prefix, c.prefix) << c.programFolder;
        EXPECT_EQ(layout.demoLinacs, c.demoLinacs) << c.programFolder;
        EXPECT_EQ(layout.configFolder, c.configFolder) << c.programFolder;
        EXPECT_EQ(layout.pluginFolder, c.pluginFolder) << c.programFolder;
    }
}

TEST(InstallLayout, ProgramFilesAreInTheConfigurationFolderOnlyWhenInstalled) {
    const test::TempDir root;
    const std::filesystem::path bin = root.Path() / "bin";
    std::filesystem::create_directories(bin);
    // A build tree: no share/kovax beside bin, the files stay next to the program.
    EXPECT_EQ(ProgramFilesFolder(bin), bin);
    std::filesystem::create_directories(root.Path() / "share" / "kovax");
    EXPECT_EQ(ProgramFilesFolder(bin), root.Path() / "etc" / "kovax");
}

} // namespace
} // namespace kova
