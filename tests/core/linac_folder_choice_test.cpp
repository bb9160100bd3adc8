#include "core/linac/linac_folder_choice.h"
#include "support/temp_dir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace kova {
namespace {

using Source = LinacFolderSource;

TEST(LinacFolderChoice, FirstCandidateThatAppliesWins) {
    // Each row: --linacs, ./Linacs exists, setting, setting exists, demo installed, and the
    // folder that must be read.
    const struct {
        const char* row;
        const char* commandLine;
        bool currentExists;
        const char* settings;
        bool settingsExists;
        bool demoExists;
        Source source;
        const char* folder;
    } cases[] = {
        {"the option wins over everything", "/cli", true, "/dept", true, true, Source::CommandLine,
         "/cli"},
        {"a missing option folder is still the one asked for", "/gone", false, "", false, true,
         Source::CommandLine, "/gone"},
        {"the rule of old: ./Linacs", "", true, "/dept", true, true, Source::CurrentFolder,
         "/home/ana/Linacs"},
        {"no ./Linacs: the chosen folder", "", false, "/dept", true, true, Source::Settings,
         "/dept"},
        {"a chosen folder not mounted is never replaced by the demo linacs", "", false, "/dept",
         false, true, Source::Settings, "/dept"},
        {"nothing chosen: the demo linacs", "", false, "", false, true, Source::InstalledDemo,
         "/usr/share/kovax/Linacs"},
        {"nothing at all: ./Linacs, whose scan says it is missing", "", false, "", false, false,
         Source::NotFound, "/home/ana/Linacs"},
    };
    for (const auto& c : cases) {
        LinacFolderCandidates candidates;
        candidates.commandLine = c.commandLine;
        candidates.currentFolderLinacs = "/home/ana/Linacs";
        candidates.currentFolderLinacsExists = c.currentExists;
        candidates.settings = c.settings;
        candidates.settingsExists = c.settingsExists;
        candidates.installedDemo = "/usr/share/kovax/Linacs";
        candidates.installedDemoExists = c.demoExists;
        const LinacFolderChoice choice = ChooseLinacFolder(candidates);
        EXPECT_EQ(choice.source, c.source) << c.row;
        EXPECT_EQ(choice.folder, c.folder) << c.row;
        EXPECT_FALSE(choice.why.empty()) << c.row;
    }
}

TEST(LinacFolderChoice, ReasonsSayWhatTheUserMustKnow) {
    LinacFolderCandidates demo;
    demo.installedDemo = "/usr/share/kovax/Linacs";
    demo.installedDemoExists = true;
    EXPECT_NE(ChooseLinacFolder(demo).why.find("not for clinical use"), std::string::npos);
    EXPECT_EQ(ShortWhy(Source::InstalledDemo), "demo, not for clinical use");
    LinacFolderCandidates unmounted;
    unmounted.settings = "/mnt/physics/Linacs";
    EXPECT_NE(ChooseLinacFolder(unmounted).why.find("cannot be found"), std::string::npos);
}

TEST(LinacFolderChoice, CandidatesComeFromTheFileSystem) {
    const test::TempDir root;
    const std::filesystem::path bin = root.Path() / "usr" / "bin";
    const std::filesystem::path demo = root.Path() / "usr" / "share" / "kovax" / "Linacs";
    const std::filesystem::path home = root.Path() / "home";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(demo);
    std::filesystem::create_directories(home / "dept");

    // Relative folders are the current folder's.
    LinacFolderCandidates found = FindLinacFolderCandidates("dept", "dept", bin, home);
    EXPECT_EQ(found.commandLine, (home / "dept").string());
    EXPECT_TRUE(found.settingsExists);
    EXPECT_FALSE(found.currentFolderLinacsExists);

    found = FindLinacFolderCandidates("", "", bin, home);
    EXPECT_EQ(ChooseLinacFolder(found).source, Source::InstalledDemo);
    EXPECT_EQ(ChooseLinacFolder(found).folder, demo.string());

    std::filesystem::create_directories(home / "Linacs");
    found = FindLinacFolderCandidates("", "", bin, home);
    EXPECT_EQ(ChooseLinacFolder(found).source, Source::CurrentFolder);
    EXPECT_EQ(ChooseLinacFolder(found).folder, (home / "Linacs").string());
}

TEST(LinacFolderChoice, OnlyAWholePathOfAFolderIsKept) {
    const test::TempDir root;
    std::ofstream(root.File("plain.txt")) << "not a folder";
    const struct {
        std::string folder;
        const char* reason; // empty: kept
    } cases[] = {
        {"", ""},
        {root.Path().string(), ""},
        {"Linacs", "Give the whole path of the folder, from / on: Linacs"},
        {root.File("missing").string(), "There is no folder "},
        {root.File("plain.txt").string(), "There is no folder "},
    };
    for (const auto& c : cases) {
        const Status status = CheckLinacFolderSetting(c.folder);
        EXPECT_EQ(status.reason().substr(0, std::string(c.reason).size()), c.reason) << c.folder;
        EXPECT_EQ(status.ok(), std::string(c.reason).empty()) << c.folder;
    }
}

} // namespace
} // namespace kova
