// Saving a linac as a new linac file: where it may be written, that it is written whole or
// not at all, and that it reads back as the linac in memory.

#include "core/common/file_bytes.h"
#include "core/common/file_write.h"
#include "core/linac/linac_file.h"
#include "core/linac/linac_spec.h"
#include "support/linac_text.h"
#include "support/lnc_file.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>

namespace kova {
namespace {

namespace fs = std::filesystem;

std::string Written(const TLinacSpec& linac) {
    std::ostringstream out;
    linac.WriteTo(out);
    return out.str();
}

TLinacSpec TestLinac() {
    TLinacSpec linac;
    EXPECT_TRUE(ReadLinacText(test::LinacText{}.Text(), linac).accepted());
    return linac;
}

/// The names of the files in a folder.
std::set<std::string> FilesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::string Bytes(const fs::path& path) {
    return ReadFileBytes(path.string(), 1u << 20).bytes;
}

TEST(LinacFile, SavedLinacReadsBackAsItIsInMemory) {
    TLinacSpec linac = TestLinac();
    // Edits of the kind the linac window makes: a changed factor, an added tray with an
    // empty name and a euro sign in another, a photon energy at its defaults (empty date).
    linac.gEnergies[0]->Wedges[0]->WFValues[0]->WF = 0.2875;
    linac.gEnergies[0]->Trays.push_back(std::make_unique<Tray>());
    linac.gEnergies[0]->Trays.back()->Name = "Vassoio \x80";
    linac.gEnergies[0]->Trays.push_back(std::make_unique<Tray>());
    linac.gEnergies.push_back(std::make_unique<TgEnergy>());
    linac.SerialNumber = "";
    test::TempDir dir;
    const std::string path = dir.File("copy.lnc").string();
    const Status saved = SaveLinacFile(linac, path, {});
    ASSERT_TRUE(saved.ok()) << saved.reason();
    TLinacSpec reread;
    ASSERT_TRUE(reread.LoadFromFile(path).accepted());
    EXPECT_EQ(Written(reread), Written(linac));
    EXPECT_EQ(reread.gEnergies[0]->Wedges[0]->WFValues[0]->WF, 0.2875);
    EXPECT_EQ(reread.gEnergies[0]->Trays[1]->Name, "Vassoio \x80");
    // Empty texts come back empty, not as one blank.
    EXPECT_EQ(reread.gEnergies[0]->Trays[2]->Name, "");
    EXPECT_EQ(reread.SerialNumber, "");
    EXPECT_EQ(reread.gEnergies[1]->CalDate, "");
    EXPECT_EQ(FilesIn(dir.Path()), std::set<std::string>{"copy.lnc"});
}

TEST(LinacFile, RefusedSavesWriteNothing) {
    test::TempDir dir;
    const fs::path linacs = dir.Path() / "Linacs";
    fs::create_directory(linacs);
    const std::string original = "a file of the user's";
    test::WriteBytesFile(dir.Path(), "taken.lnc", original);
    test::WriteBytesFile(linacs, "sala1.lnc", original);
    const TLinacSpec linac = TestLinac();
    TLinacSpec unwritable = TestLinac();
    unwritable.Name = "Sala\nA"; // a line break would come back as a blank
    struct Case {
        const char* what;
        const TLinacSpec& linac;
        std::string path;
        bool replace;
        std::string reason;
    };
    const std::string taken = (dir.Path() / "taken.lnc").string();
    const std::string inLinacs = (linacs / "sala1.lnc").string();
    const std::string roundabout = (dir.Path() / "sub" / ".." / "Linacs" / "new.lnc").string();
    const std::string noFolder = (dir.Path() / "missing" / "x.lnc").string();
    const std::string protectedReason = ", which is never written: choose another folder";
    const Case cases[] = {
        {"existing file", linac, taken, false, "The file " + taken + " already exists"},
        {"the program's folder", linac, inLinacs, true,
         inLinacs + " is in the program's linac folder " + linacs.string() + protectedReason},
        {"the same folder by another road", linac, roundabout, false,
         roundabout + " is in the program's linac folder " + linacs.string() + protectedReason},
        {"a folder that does not exist", linac, noFolder, false, "Cannot write file " + noFolder},
        {"a name a file cannot keep", unwritable, dir.File("u.lnc").string(), false,
         "The linac cannot be written as a linac file: the linac name 'Sala\nA' holds a "
         "control character, which a linac file cannot store"},
        {"no name", linac, "", false, "No file name was given"},
    };
    for (const Case& c : cases) {
        const Status saved = SaveLinacFile(c.linac, c.path, {linacs.string(), c.replace});
        EXPECT_EQ(saved.reason(), c.reason) << c.what;
    }
    EXPECT_EQ(Bytes(dir.Path() / "taken.lnc"), original);
    EXPECT_EQ(Bytes(linacs / "sala1.lnc"), original);
    EXPECT_EQ(FilesIn(dir.Path()), (std::set<std::string>{"Linacs", "taken.lnc"}));
    EXPECT_EQ(FilesIn(linacs), std::set<std::string>{"sala1.lnc"});
}

TEST(LinacFile, ConfirmedSaveReplacesTheFileWhole) {
    test::TempDir dir;
    test::WriteBytesFile(dir.Path(), "copy.lnc", "old bytes");
    // A temporary name already in use is left alone; another one is taken.
    test::WriteBytesFile(dir.Path(), "copy.lnc.tmp", "someone's file");
    const TLinacSpec linac = TestLinac();
    const std::string path = dir.File("copy.lnc").string();
    ASSERT_TRUE(SaveLinacFile(linac, path, {"", true}).ok());
    TLinacSpec reread;
    ASSERT_TRUE(reread.LoadFromFile(path).accepted());
    EXPECT_EQ(Written(reread), Written(linac));
    EXPECT_EQ(Bytes(dir.File("copy.lnc.tmp")), "someone's file");
    EXPECT_EQ(FilesIn(dir.Path()), (std::set<std::string>{"copy.lnc", "copy.lnc.tmp"}));
}

TEST(SafeFileWrite, FailuresLeaveTheFolderAsItWas) {
    struct Case {
        const char* what;
        std::string name;
        bool replace;
        unsigned long sizeLimit; ///< bytes a file may grow to; 0: no limit
        std::string reason;
    } cases[] = {
        {"a full disk", "old.txt", true, 1000, "Cannot write file DIR/old.txt: File too large"},
        {"a folder in the way", "sub", true, 0, "Cannot write file DIR/sub: Is a directory"},
        {"a folder that does not exist", "none/new.txt", true, 0,
         "Cannot write file DIR/none/new.txt"},
        {"a file kept", "old.txt", false, 0, "The file DIR/old.txt already exists"},
        {"a dangling link kept", "link", false, 0, "The file DIR/link already exists"},
    };
    for (Case& c : cases) {
        test::TempDir dir;
        test::WriteBytesFile(dir.Path(), "old.txt", "earlier bytes");
        fs::create_directory(dir.Path() / "sub");
        fs::create_symlink("nowhere", dir.Path() / "link");
        c.reason.replace(c.reason.find("DIR"), 3, dir.Path().string());
        const std::string path = (dir.Path() / c.name).string();
        Status written = Status::Ok();
        {
            const test::FileSizeLimit limit(c.sizeLimit);
            written = WriteFileAtomically(path, std::string(5000, 'x'), c.replace);
        }
        EXPECT_EQ(written.reason(), c.reason) << c.what;
        EXPECT_EQ(Bytes(dir.Path() / "old.txt"), "earlier bytes") << c.what;
        // No temporary file stays.
        EXPECT_EQ(FilesIn(dir.Path()), (std::set<std::string>{"link", "old.txt", "sub"})) << c.what;
        EXPECT_TRUE(fs::is_empty(dir.Path() / "sub")) << c.what;
    }
    // A file replaced keeps its permissions.
    test::TempDir dir;
    const fs::path file = dir.Path() / "old.txt";
    test::WriteBytesFile(dir.Path(), "old.txt", "earlier bytes");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(WriteFileAtomically(file.string(), "new bytes", true).ok());
    EXPECT_EQ(Bytes(file), "new bytes");
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(LinacFile, InFolderComparesWhereTheFileWouldBe) {
    test::TempDir dir;
    const std::string folder = dir.Path().string();
    EXPECT_TRUE(IsInFolder(folder + "/a.lnc", folder));
    EXPECT_TRUE(IsInFolder(folder + "/x/../a.lnc", folder + "/"));
    EXPECT_FALSE(IsInFolder(folder + "/x/a.lnc", folder));
    EXPECT_FALSE(IsInFolder(dir.Path().parent_path().string() + "/a.lnc", folder));
}

} // namespace
} // namespace kova
