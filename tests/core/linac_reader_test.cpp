#include "core/linac/energies_tree.h"
#include "core/linac/linac_spec.h"
#include "support/linac_text.h"
#include "support/lnc_file.h"
#include "support/temp_dir.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace kova {
namespace {

using test::LinacText;

// Every field has a value of its own, so a token read into the wrong member shows.
const std::string kGoodText =
    "DAZUZODADIDUSPECFILE 0\n"
    "Sala\xE7"
    "A Elekta Synergy\xE7"
    "Agility 151234\n"
    "95.5\n"
    "W H Le Ri Bo To\n"
    "0 0.5\n" // asymmetric on width, on height
    "2\n"
    "X\xE7"
    "6 6\n"
    "40 35 2 3\n"                         // largest width, height; smallest width, height
    "20 21 22 23\n"                       // largest left, right, bottom, top
    "-1 -2 -3 -4\n"                       // smallest left, right, bottom, top
    "101 1.6\n"                           // SCD, build-up
    "0 400 41\n"                          // TBI: supported, distance, field size
    "1 1 0\n"                             // open/wedge, print offset, MLC
    "0.3\n"                               // IgnoreOffset
    "0.987654321098765 5.27 15/03/2025\n" // calibration factor, half-life, date
    "2\n"                                 // reference fields
    "10 12 1.01 1 0.98 2\n" // width, height, field factor, scatter flag, scatter factor
    "1.5 1\n"
    "10 0.67\n"
    "5 6 0.95 0 0.97 0\n"
    "2\n" // wedges: name, type, max width, max height, offset-wedged
    "W\xE7"
    "60 1 20 30 1 2\n"
    "5 0.98 0.31\n" // field size, warp, wedge factor
    "20 0.97 0.33\n"
    "Odd 3 10 11 0 0\n"
    "1\nTray\xE7"
    "1 0.97\n"
    "2\n0 1\n5 1.02\n"
    "1\nMLC\xE7"
    "A 0.985\n" // read although MLC is off
    "1\nBlock 0.94\n"
    // a second photon energy: the other flag values, empty tables
    "X18 18 40 40 1 1 20 20 20 20 -2 -2 -10 -10 100 3.2 1 0 0 0 0 1 0 0.95 0 01/01/2026"
    " 0 0 0 0 0 0\n"
    "1\n"
    "E\xE7"
    "9 9 105 2.7\n" // name, nominal energy, SSD, Buildup90
    "2\nA10 1.02\nA15 0.98\n"
    "trailing tokens are ignored\n";

std::string WrittenText(const TLinacSpec& linac) {
    std::ostringstream out;
    linac.WriteTo(out);
    return out.str();
}

/// A linac that nothing has been read into: every default, no energies, no file name.
void ExpectUntouched(const TLinacSpec& linac) {
    EXPECT_EQ(linac.Name, "n/a");
    EXPECT_EQ(linac.SerialNumber, "");
    EXPECT_EQ(linac.SAD, 100);
    EXPECT_EQ(linac.WidthChar, "LR");
    EXPECT_TRUE(linac.gEnergies.empty());
    EXPECT_TRUE(linac.eEnergies.empty());
    EXPECT_EQ(linac.FileName, "");
}

TEST(LinacReader, ReadsEveryFieldIntoItsMember) {
    test::TempDir dir;
    const std::string path = test::WriteLncFile(dir.Path(), "good.lnc", kGoodText).string();
    TLinacSpec linac;
    const LoadResult result = linac.LoadFromFile(path);
    ASSERT_EQ(result.outcome, LoadOutcome::Accepted) << result.reason;
    EXPECT_EQ(result.reason, "");
    EXPECT_EQ(linac.FileName, path);

    EXPECT_EQ(linac.Name, "Sala A");
    EXPECT_EQ(linac.Brand, "Elekta");
    EXPECT_EQ(linac.Model, "Synergy Agility");
    EXPECT_EQ(linac.SerialNumber, "151234");
    EXPECT_EQ(linac.SAD, 95.5);
    const std::vector<std::string> labels = {linac.WidthChar, linac.HeightChar, linac.LeftChar,
                                             linac.RightChar, linac.BottomChar, linac.TopChar};
    EXPECT_EQ(labels, (std::vector<std::string>{"W", "H", "Le", "Ri", "Bo", "To"}));
    EXPECT_EQ(linac.isAsymmetricFieldsOnWidth, 0);
    EXPECT_EQ(linac.isAsymmetricFieldsOnHeight, 0.5); // kept as stored: non-zero means yes

    ASSERT_EQ(linac.gEnergies.size(), 2u);
    const TgEnergy& x6 = *linac.gEnergies[0];
    EXPECT_EQ(x6.Name, "X 6");
    EXPECT_EQ(x6.NominalEnergy, 6);
    const std::vector<double> limits = {x6.MaxWidth, x6.MaxHeight, x6.MinWidth,  x6.MinHeight,
                                        x6.MaxLeft,  x6.MaxRight,  x6.MaxBottom, x6.MaxTop,
                                        x6.MinLeft,  x6.MinRight,  x6.MinBottom, x6.MinTop};
    EXPECT_EQ(limits, (std::vector<double>{40, 35, 2, 3, 20, 21, 22, 23, -1, -2, -3, -4}));
    EXPECT_EQ(x6.SCD, 101);
    EXPECT_EQ(x6.Buildup, 1.6);
    EXPECT_FALSE(x6.TBISupported);
    EXPECT_EQ(x6.TBIRef, 400);
    EXPECT_EQ(x6.TBIFieldSize, 41);
    EXPECT_TRUE(x6.OpenWedgeMUSupported);
    EXPECT_TRUE(x6.PrintOffset); // "Offset alla Philips"
    EXPECT_FALSE(x6.MLCSupported);
    EXPECT_EQ(x6.IgnoreOffset, 0.3);
    EXPECT_EQ(x6.cGyUMRatio, 0.987654321098765);
    EXPECT_EQ(x6.HalfLife, 5.27);
    EXPECT_EQ(x6.CalDate, "15/03/2025");

    ASSERT_EQ(x6.RefFields.size(), 2u);
    const RefField& field = *x6.RefFields[0];
    EXPECT_EQ(field.Width, 10);
    EXPECT_EQ(field.Height, 12);
    EXPECT_EQ(field.FieldFactor, 1.01);
    EXPECT_TRUE(field.isScatterPhantomFactorAvailable);
    EXPECT_EQ(field.ScatterPhantomFactor, 0.98);
    ASSERT_EQ(field.PDDValues.size(), 2u);
    EXPECT_EQ(field.PDDValues[1]->Depth, 10);
    EXPECT_EQ(field.PDDValues[1]->PercentDose, 0.67);
    EXPECT_FALSE(x6.RefFields[1]->isScatterPhantomFactorAvailable);
    EXPECT_EQ(x6.RefFields[1]->ScatterPhantomFactor, 0.97);
    EXPECT_TRUE(x6.RefFields[1]->PDDValues.empty());

    ASSERT_EQ(x6.Wedges.size(), 2u);
    const Wedge& wedge = *x6.Wedges[0];
    EXPECT_EQ(wedge.Name, "W 60");
    EXPECT_EQ(wedge.WedgeType, 1);
    EXPECT_EQ(wedge.MaxWidth, 20);
    EXPECT_EQ(wedge.MaxHeight, 30);
    EXPECT_TRUE(wedge.isOffsetWedged);
    ASSERT_EQ(wedge.WFValues.size(), 2u);
    EXPECT_EQ(wedge.WFValues[1]->FieldSize, 20);
    EXPECT_EQ(wedge.WFValues[1]->PDDWarp, 0.97);
    EXPECT_EQ(wedge.WFValues[1]->WF, 0.33);
    EXPECT_EQ(x6.Wedges[1]->WedgeType, 3); // accepted as stored
    EXPECT_EQ(x6.Wedges[1]->Caption(), "Odd ()");

    ASSERT_EQ(x6.Trays.size(), 1u);
    EXPECT_EQ(x6.Trays[0]->Name, "Tray 1");
    EXPECT_EQ(x6.Trays[0]->TF, 0.97);
    ASSERT_EQ(x6.OffsetFactors.size(), 2u);
    EXPECT_EQ(x6.OffsetFactors[1]->CenterFieldOffset, 5);
    EXPECT_EQ(x6.OffsetFactors[1]->OF, 1.02);
    ASSERT_EQ(x6.MultileafFactors.size(), 1u); // consumed although MLC is not supported
    EXPECT_EQ(x6.MultileafFactors[0]->Name, "MLC A");
    EXPECT_EQ(x6.MultileafFactors[0]->MLCF, 0.985);
    ASSERT_EQ(x6.Shields.size(), 1u);
    EXPECT_EQ(x6.Shields[0]->Name, "Block");
    EXPECT_EQ(x6.Shields[0]->SF, 0.94);

    const TgEnergy& x18 = *linac.gEnergies[1];
    EXPECT_EQ(x18.Buildup, 3.2);
    EXPECT_TRUE(x18.TBISupported);
    EXPECT_FALSE(x18.OpenWedgeMUSupported);
    EXPECT_FALSE(x18.PrintOffset); // "Offset alla Varian"
    EXPECT_TRUE(x18.MLCSupported);
    EXPECT_EQ(x18.cGyUMRatio, 0.95);
    EXPECT_EQ(x18.CalDate, "01/01/2026");
    EXPECT_TRUE(x18.RefFields.empty() && x18.Shields.empty());

    ASSERT_EQ(linac.eEnergies.size(), 1u);
    const TeEnergy& e9 = *linac.eEnergies[0];
    EXPECT_EQ(e9.Name, "E 9");
    EXPECT_EQ(e9.NominalEnergy, 9);
    EXPECT_EQ(e9.SSD, 105);
    EXPECT_EQ(e9.Buildup90, 2.7);
    ASSERT_EQ(e9.Applicators.size(), 2u);
    EXPECT_EQ(e9.Applicators[1]->Name, "A15");
    EXPECT_EQ(e9.Applicators[1]->AF, 0.98);

    const std::vector<EnergiesTreeNode> tree = BuildEnergiesTree(linac);
    ASSERT_EQ(tree.size(), 3u);
    EXPECT_EQ(tree[0].Caption, "X 6 (6 MV)");
    EXPECT_EQ(tree[1].Caption, "X18 (18 MV)");
    EXPECT_EQ(tree[2].Caption, "E 9 (9 MeV)");
    ASSERT_EQ(tree[0].Children.size(), 6u);
    EXPECT_EQ(tree[0].Children[4].Caption, "Multileaf Factors");
    ASSERT_EQ(tree[0].Children[4].Children.size(), 1u);
    EXPECT_EQ(tree[0].Children[4].Children[0].Caption, "MLC A");
}

TEST(LinacReader, BuilderDefaultIsAccepted) {
    // The broken-file table below changes one piece of this text at a time.
    TLinacSpec linac;
    const LoadResult result = ReadLinacText(LinacText().Text(), linac);
    ASSERT_TRUE(result.accepted()) << result.reason;
    ASSERT_EQ(linac.gEnergies.size(), 1u);
    ASSERT_EQ(linac.eEnergies.size(), 1u);
    EXPECT_EQ(linac.gEnergies[0]->Shields.size(), 1u);
    EXPECT_EQ(linac.eEnergies[0]->Applicators.size(), 1u);
}

TEST(LinacReader, NoEnergiesGivesAnEmptyTree) {
    test::TempDir dir;
    LinacText text;
    text.Photons.clear();
    text.Electrons.clear();
    const std::string path = test::WriteLncFile(dir.Path(), "empty.lnc", text.Text()).string();
    TLinacSpec linac;
    ASSERT_TRUE(linac.LoadFromFile(path).accepted());
    EXPECT_EQ(linac.Name, "Test");
    EXPECT_TRUE(BuildEnergiesTree(linac).empty());
}

TEST(LinacReader, SpaceStandInIsDecodedInTextWordsOnly) {
    LinacText text;
    text.Name = "Sala\xE7"
                "A";
    text.Photons[0].CalDate = "15\xE7"
                              "03\xE7"
                              "2025";
    text.Photons[0].Shields.Entries = {"\xE7Lead\xE7\xE7"
                                       "block\xE7 0.9"};
    TLinacSpec linac;
    ASSERT_TRUE(ReadLinacText(text.Text(), linac).accepted());
    EXPECT_EQ(linac.Name, "Sala A");
    EXPECT_EQ(linac.gEnergies[0]->CalDate, "15\xE7"
                                           "03\xE7"
                                           "2025");
    EXPECT_EQ(linac.gEnergies[0]->Shields[0]->Name, " Lead  block ");
}

TEST(LinacReader, AnyWhitespaceSeparatesTokens) {
    LinacText tidy;
    tidy.Name = "Sala\xE7"
                "A";
    TLinacSpec reference;
    ASSERT_TRUE(ReadLinacText(tidy.Text(), reference).accepted());
    const std::string expected = WrittenText(reference);
    for (const char* separator : {" ", "\t", "\r\n", "\v", "\f", "  \t\r\n\v\f  "}) {
        LinacText text = tidy;
        text.Separator = separator;
        TLinacSpec linac;
        ASSERT_TRUE(ReadLinacText(text.Text(), linac).accepted());
        EXPECT_EQ(WrittenText(linac), expected);
    }
}

TEST(LinacReader, LongestWordIsAccepted) {
    LinacText text;
    text.Model = std::string(255, 'm');
    TLinacSpec linac;
    ASSERT_TRUE(ReadLinacText(text.Text(), linac).accepted());
    EXPECT_EQ(linac.Model.size(), 255u);
}

// The reason says why, and a FIFO or a device is refused at once, never waited on.
TEST(LinacReader, FilesThatCannotBeOpened) {
    test::TempDir dir;
    const std::string fifo = dir.File("fifo.lnc").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string loop = dir.File("loop.lnc").string();
    std::filesystem::create_symlink(loop, loop);
    const std::pair<std::string, std::string> cases[] = {
        {dir.File("missing.lnc").string(), "no such file"},
        {dir.Path().string(), "it is a folder"},
        {fifo, "it is not a regular file (a FIFO, a device or a socket)"},
        {"/dev/null", "it is not a regular file (a FIFO, a device or a socket)"},
        {loop, "its symbolic links form a loop"},
        {dir.File("missing.lnc").string() + "/x.lnc", "no such file"},
    };
    for (const auto& [path, why] : cases) {
        TLinacSpec linac;
        const LoadResult result = linac.LoadFromFile(path);
        EXPECT_EQ(result.outcome, LoadOutcome::CannotOpen) << path;
        EXPECT_EQ(result.reason, "Cannot open file " + path + ": " + why);
        ExpectUntouched(linac);
    }
}

/// The packed file with its first four bytes replaced by `announced`.
std::string WithAnnouncedSize(std::string bytes, std::uint32_t announced) {
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((announced >> (8 * i)) & 0xFF);
    }
    return bytes;
}

struct BrokenCase {
    const char* what;
    std::string bytes;
    const char* reasonPart;
};

std::vector<BrokenCase> BrokenFiles() {
    const std::string good = LinacText().Text();
    const std::string packed = test::PackedLinac(good);
    const auto size = static_cast<std::uint32_t>(good.size());
    const auto modified = [](auto change) {
        LinacText text;
        change(text);
        return test::PackedLinac(text.Text());
    };
    std::vector<BrokenCase> cases = {
        {"shorter than 4 bytes", std::string("\x05\x00\x00", 3), "shorter than its 4-byte"},
        {"empty file", "", "shorter than its 4-byte"},
        {"announced size above 4 MiB", WithAnnouncedSize(packed, 4u * 1024 * 1024 + 1),
         "the announced text length 4194305 bytes is above the limit of 4194304 bytes (4 MiB)"},
        {"announced size 0xFFFFFFFF", WithAnnouncedSize(packed, 0xFFFFFFFFu), "above the limit"},
        {"not a zlib stream", std::string("\x10\0\0\0", 4) + "this is not zlib data",
         "cannot be decompressed"},
        {"length only, no stream", std::string("\0\0\0\0", 4), "cannot be decompressed"},
        {"stream cut in the middle", packed.substr(0, packed.size() / 2), "cannot be decompressed"},
        {"announced one byte more", WithAnnouncedSize(packed, size + 1), "not the announced"},
        {"announced one byte less", WithAnnouncedSize(packed, size - 1), "longer than"},
        {"empty text", test::PackedLinac(""), "does not start with the word DAZUZODADIDUSPECFILE"},
        {"magic word in lower case",
         modified([](LinacText& t) { t.Magic = "dazuzodadiduspecfile"; }), "does not start"},
        {"magic word cut short", modified([](LinacText& t) { t.Magic = "DAZUZODADIDUSPECFIL"; }),
         "does not start"},
        {"magic word only", test::PackedLinac("DAZUZODADIDUSPECFILE\n"),
         "ends early, an integer was expected (format number)"},
        {"format not an integer", modified([](LinacText& t) { t.Format = "0.0"; }),
         "'0.0' is not an integer (format number)"},
        {"SAD not a number", modified([](LinacText& t) { t.SAD = "abc"; }),
         "'abc' is not a number (SAD of the linac header)"},
        {"decimal comma", modified([](LinacText& t) { t.Photons[0].cGyUMRatio = "0,98"; }),
         "'0,98' is not a number (cGyUMRatio of photon energy 1)"},
        {"nan as a number", modified([](LinacText& t) { t.Photons[0].SCD = "nan"; }),
         "'nan' is not a number (SCD"},
        {"number out of range", modified([](LinacText& t) { t.AsymmetricOnWidth = "1e999"; }),
         "'1e999' is not a number"},
        {"flag 2", modified([](LinacText& t) { t.Photons[0].TBISupported = "2"; }),
         "the flag 2 is neither 0 nor 1 (TBISupported of photon energy 1)"},
        {"flag -1 in a reference field",
         modified([](LinacText& t) { t.Photons[0].RefFields.Entries = {"10 10 1 -1 1 0"}; }),
         "the flag -1 is neither 0 nor 1 (isScatterPhantomFactorAvailable of reference field 1"},
        {"flag written as a word",
         modified([](LinacText& t) { t.Photons[0].MLCSupported = "yes"; }),
         "'yes' is not an integer (MLCSupported"},
        {"negative energy count", modified([](LinacText& t) { t.PhotonCount = "-1"; }),
         "the count -1 is negative (photon energy count)"},
        {"negative table count", modified([](LinacText& t) { t.Photons[0].Trays.Count = "-3"; }),
         "the count -3 is negative (tray count of photon energy 1)"},
        {"count not an integer", modified([](LinacText& t) { t.Photons[0].Wedges.Count = "1.5"; }),
         "'1.5' is not an integer (wedge count"},
        {"count beyond int", modified([](LinacText& t) { t.ElectronCount = "99999999999"; }),
         "is not an integer (electron energy count)"},
        {"word of 256 bytes", modified([](LinacText& t) { t.Name = std::string(256, 'n'); }),
         "a word of 256 bytes is longer than 255 (Name of the linac header)"},
        {"wedge type 256",
         modified([](LinacText& t) { t.Photons[0].Wedges.Entries = {"W 256 20 20 0 0"}; }),
         "the value 256 is outside 0 to 255 (WedgeType of wedge 1 of photon energy 1)"},
        {"wedge type -1",
         modified([](LinacText& t) { t.Photons[0].Wedges.Entries = {"W -1 20 20 0 0"}; }),
         "the value -1 is outside 0 to 255"},
        {"bad depth dose",
         modified([](LinacText& t) { t.Photons[0].RefFields.Entries = {"10 10 1 0 1 1 1.5 x"}; }),
         "'x' is not a number (PercentDose of depth dose 1 of reference field 1"},
        // A count larger than the entries that follow runs into the end of the text.
        {"table count too large", modified([](LinacText& t) {
             t.Electrons.clear();
             t.Photons[0].Shields.Count = "2";
         }),
         "the file ends early"},
        // A huge count is not trusted: nothing is reserved, the first missing token stops it
        // (the electron count "0" that follows is taken as the first energy's name).
        {"huge energy count", modified([](LinacText& t) {
             t.Photons.clear();
             t.Electrons.clear();
             t.PhotonCount = "2000000000";
         }),
         "the file ends early, a number was expected (NominalEnergy of photon energy 1)"},
        // Broken in the very last entry: the energies read before must not be kept either.
        {"broken last applicator",
         modified([](LinacText& t) { t.Electrons[0].Applicators.Entries = {"A10 one"}; }),
         "'one' is not a number (AF of applicator 1 of electron energy 1)"},
    };
    std::string cut = good.substr(0, good.find("Tray"));
    cases.push_back({"ends inside a photon energy", test::PackedLinac(cut),
                     "the file ends early, a word was expected (Name of tray 1"});
    return cases;
}

TEST(LinacReader, BrokenFilesAreRejectedWithAReason) {
    test::TempDir dir;
    int index = 0;
    for (const BrokenCase& c : BrokenFiles()) {
        const std::string path =
            test::WriteBytesFile(dir.Path(), "broken" + std::to_string(++index) + ".lnc", c.bytes)
                .string();
        TLinacSpec linac;
        const LoadResult result = linac.LoadFromFile(path);
        EXPECT_EQ(result.outcome, LoadOutcome::NotALinacFile) << c.what;
        EXPECT_NE(result.reason.find(c.reasonPart), std::string::npos)
            << c.what << ": the reason was \"" << result.reason << "\"";
        ExpectUntouched(linac);
    }
}

// Where a text is broken, the reason names its line: the token's own line, counted by line
// feeds only (a CR LF file counts as an LF file), or the last line when the text ends early.
TEST(LinacReader, ReasonsNameTheLine) {
    struct Case {
        const char* what;
        std::function<void(LinacText&)> change;
        const char* reason;
    };
    // LinacText puts every token (or table entry) on a line of its own: 1 magic word,
    // 2 format, 3-6 name, brand, model, serial number, 7 SAD, ..., 16 photon count, 17-42 the
    // energy's 26 values (40 cGyUMRatio), 43 reference field count, 44 its entry, ..., 55
    // electron count, 56-59 its four values, 60 applicator count, 61 its entry; no final LF.
    const Case cases[] = {
        {"SAD", [](LinacText& t) { t.SAD = "abc"; },
         "line 7: 'abc' is not a number (SAD of the linac header)"},
        {"calibration", [](LinacText& t) { t.Photons[0].cGyUMRatio = "0,98"; },
         "line 40: '0,98' is not a number (cGyUMRatio of photon energy 1)"},
        {"depth dose in an entry line",
         [](LinacText& t) { t.Photons[0].RefFields.Entries = {"10 10 1 0 1 1 1.5 x"}; },
         "line 44: 'x' is not a number (PercentDose of depth dose 1 of reference field 1 of "
         "photon energy 1)"},
        {"last line", [](LinacText& t) { t.Electrons[0].Applicators.Entries = {"A10 one"}; },
         "line 61: 'one' is not a number (AF of applicator 1 of electron energy 1)"},
        {"CR LF", [](LinacText& t) { t.SAD = "abc", t.Separator = "\r\n"; }, "line 7: 'abc'"},
        {"one line", [](LinacText& t) { t.SAD = "abc", t.Separator = " \t"; }, "line 1: 'abc'"},
        // Token k on line 2k - 1.
        {"blank lines between", [](LinacText& t) { t.SAD = "abc", t.Separator = "\n\n"; },
         "line 13: 'abc'"},
        // Values that cannot come from a machine (the format another layout's).
        {"format 1", [](LinacText& t) { t.Format = "1"; },
         "line 2: the format 1 is unknown: this program reads format 0 (format number)"},
        {"format -1", [](LinacText& t) { t.Format = "-1"; }, "line 2: the format -1 is unknown"},
        {"negative depth dose",
         [](LinacText& t) { t.Photons[0].RefFields.Entries = {"10 10 1 0 1 1 1.5 -1"}; },
         "line 44: '-1' is negative, which a measured value cannot be (PercentDose of depth dose "
         "1 of reference field 1 of photon energy 1)"},
        {"negative warp",
         [](LinacText& t) { t.Photons[0].Wedges.Entries = {"W60 0 20 30 0 1 10 -1 0.3"}; },
         "line 46: '-1' is negative, which a measured value cannot be (PDDWarp of wedge factor 1 "
         "of wedge 1 of photon energy 1)"},
        {"negative half-life", [](LinacText& t) { t.Photons[0].HalfLife = "-5.27"; },
         "line 41: '-5.27' is negative, which a measured value cannot be (HalfLife"},
        {"negative applicator factor",
         [](LinacText& t) { t.Electrons[0].Applicators.Entries = {"A10 -0.1"}; },
         "line 61: '-0.1' is negative, which a measured value cannot be (AF of applicator 1"},
        {"calibrated in the year 1", [](LinacText& t) { t.Photons[0].CalDate = "01/01/0001"; },
         "line 42: the calibration date 01/01/0001 is before 1900 (CalDate of photon energy 1)"},
        {"calibrated in 1899", [](LinacText& t) { t.Photons[0].CalDate = "31/12/1899"; },
         "line 42: the calibration date 31/12/1899 is before 1900"},
        {"ends early", [](LinacText& t) { t.Electrons[0].Applicators.Count = "2"; },
         "line 61: the file ends early, a word was expected (Name of applicator 2 of electron "
         "energy 1)"},
        // Two line feeds after the last token: the end lies on line 63.
        {"ends early after blank lines",
         [](LinacText& t) {
             t.Electrons[0].Applicators.Count = "2";
             t.Trailer = "\n\n";
         },
         "line 63: the file ends early"},
    };
    for (const Case& c : cases) {
        LinacText text;
        c.change(text);
        TLinacSpec linac;
        const LoadResult result = ReadLinacText(text.Text(), linac);
        ASSERT_FALSE(result.accepted()) << c.what;
        EXPECT_EQ(result.reason.rfind(c.reason, 0), 0u)
            << c.what << ": the reason was \"" << result.reason << "\"";
    }
}

// A deflate stream expands its input at most about 1032 times: a length announced beyond
// 1032 x the compressed bytes + 64 is refused before anything is allocated for it, and one
// at that bound is left to zlib, which then finds the real length.
TEST(LinacReader, AnnouncedLengthTheCompressedDataCannotHold) {
    const std::string text = LinacText().Text();
    const std::string packed = test::PackedLinac(text);
    const std::size_t compressed = packed.size() - 4;
    const auto bound = static_cast<std::uint32_t>(1032 * compressed + 64);
    const Result<std::string> beyond = UnpackLinacFile(WithAnnouncedSize(packed, bound + 1));
    EXPECT_EQ(beyond.reason(), "the announced text length " + std::to_string(bound + 1) +
                                   " bytes cannot come from " + std::to_string(compressed) +
                                   " bytes of compressed data");
    const Result<std::string> atBound = UnpackLinacFile(WithAnnouncedSize(packed, bound));
    EXPECT_EQ(atBound.reason(), "the text has " + std::to_string(text.size()) +
                                    " bytes, not the announced " + std::to_string(bound));
    // Nothing after the length: any length above 64 bytes is refused the same way.
    EXPECT_EQ(UnpackLinacFile(std::string("\x41\0\0\0", 4)).reason(),
              "the announced text length 65 bytes cannot come from 0 bytes of compressed data");
}

// The largest text accepted is 4 MiB; a text of exactly that size reads.
TEST(LinacReader, TextOfTheLargestSizeIsAccepted) {
    std::string text = LinacText().Text();
    text.resize(kMaxLinacTextBytes, ' ');
    EXPECT_EQ(kMaxLinacTextBytes, 4u * 1024 * 1024);
    test::TempDir dir;
    const std::string path = test::WriteLncFile(dir.Path(), "largest.lnc", text).string();
    TLinacSpec linac;
    const LoadResult result = linac.LoadFromFile(path);
    EXPECT_TRUE(result.accepted()) << result.reason;
    EXPECT_EQ(linac.Name, "Test");
}

// A stream that lost its Adler-32 trailer has produced the whole text when its input runs
// out. The file must be rejected as damaged, not blamed on a text longer than announced:
// the text has exactly the announced length.
TEST(LinacReader, StreamWithoutItsChecksumIsDamagedNotTooLong) {
    const std::string text = LinacText().Text();
    const std::string packed = test::PackedLinac(text);
    for (std::size_t cut : {1u, 4u}) {
        const Result<std::string> unpacked = UnpackLinacFile(packed.substr(0, packed.size() - cut));
        ASSERT_FALSE(unpacked.ok()) << "cut " << cut;
        EXPECT_NE(unpacked.reason().find("cannot be decompressed"), std::string::npos)
            << "cut " << cut << ": " << unpacked.reason();
    }
}

TEST(LinacReader, RejectedTextLeavesALinacAsItWas) {
    TLinacSpec linac;
    linac.Name = "kept";
    LinacText text;
    text.Electrons[0].SSD = "x";
    EXPECT_FALSE(ReadLinacText(text.Text(), linac).accepted());
    EXPECT_EQ(linac.Name, "kept");
    EXPECT_TRUE(linac.gEnergies.empty());
}

TEST(LinacReader, WrittenTextReadsBackTheSame) {
    TLinacSpec first;
    ASSERT_TRUE(ReadLinacText(kGoodText, first).accepted());
    const std::string written = WrittenText(first);
    // 15 significant digits survive; a six-digit writer would have kept 0.987654.
    EXPECT_NE(written.find("0.987654321098765"), std::string::npos);
    TLinacSpec second;
    ASSERT_TRUE(ReadLinacText(written, second).accepted());
    EXPECT_EQ(WrittenText(second), written);
    EXPECT_EQ(second.gEnergies[0]->cGyUMRatio, 0.987654321098765);
    EXPECT_EQ(second.Name, "Sala A");
    EXPECT_EQ(second.gEnergies[0]->Wedges[1]->WedgeType, 3);

    // An empty serial number and CalDate are written as tokens that keep their place, and
    // read back empty.
    TLinacSpec blank;
    blank.gEnergies.push_back(std::make_unique<TgEnergy>());
    TLinacSpec reread;
    ASSERT_TRUE(ReadLinacText(WrittenText(blank), reread).accepted());
    ASSERT_EQ(reread.gEnergies.size(), 1u);
    EXPECT_EQ(reread.gEnergies[0]->CalDate, "");
    EXPECT_EQ(reread.SerialNumber, "");
    EXPECT_EQ(WrittenText(reread), WrittenText(blank));
}

TEST(LinacReader, OddLayoutFromAnotherWriterReadsLikeTheTidyOne) {
    TLinacSpec tidy;
    ASSERT_TRUE(ReadLinacText(kGoodText, tidy).accepted());
    // The same tokens with every line break made into another whitespace run, and blanks
    // before the first and after the last token.
    std::string odd = " \r\n\t";
    const char* const runs[] = {"\r\n", "\t\t", " \v ", "\f", "\n\n\n", "  \t "};
    std::size_t next = 0;
    for (char c : kGoodText) {
        odd += c == '\n' ? runs[next++ % std::size(runs)] : std::string(1, c);
    }
    odd += "\r\n \t";
    std::string oneLine = kGoodText;
    for (char& c : oneLine) {
        if (c == '\n') {
            c = ' ';
        }
    }
    for (const std::string* text : {&odd, &oneLine}) {
        TLinacSpec linac;
        ASSERT_TRUE(ReadLinacText(*text, linac).accepted());
        EXPECT_EQ(WrittenText(linac), WrittenText(tidy));
    }
}

TEST(LinacReader, UnpackGivesTheTextBack) {
    const std::string text = LinacText().Text();
    const Result<std::string> unpacked = UnpackLinacFile(test::PackedLinac(text));
    ASSERT_TRUE(unpacked.ok()) << unpacked.reason();
    EXPECT_EQ(*unpacked, text);
    // An empty text is a valid container; the reader then rejects it.
    const Result<std::string> empty = UnpackLinacFile(test::PackedLinac(""));
    ASSERT_TRUE(empty.ok()) << empty.reason();
    EXPECT_EQ(*empty, "");
}

} // namespace
} // namespace kova
