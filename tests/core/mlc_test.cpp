// Multileaf fields from planning-system files: the Shaper and PLATO readers, the geometry and
// picture of a field, the multileaf factors and the jaws a field recommends.
//
// The files in tests/data/mlc hold the same four fields in both formats (see the README
// there); every figure expected below is worked by hand in the comment beside it.

#include "core/common/file_bytes.h"
#include "core/mlc/mlc_factors.h"
#include "core/mlc/mlc_file.h"
#include "core/mlc/mlc_jaws.h"
#include "core/text/number_text.h"
#include "support/lnc_file.h"
#include "support/near.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace kova {
namespace {

using test::IsNear;

const std::string kDataDir = KOVA_MLC_DATA_DIR;
constexpr const char* kNoField = "No multileaf field found in ";

std::string Fixture(const std::string& name) {
    const FileBytes file = ReadFileBytes(kDataDir + "/" + name, kMaxMLCFileBytes);
    if (!file.ok()) {
        throw std::runtime_error(file.reason);
    }
    return file.bytes;
}

/// `text` with the first `from` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos) {
        throw std::runtime_error("'" + from + "' is not in the test text");
    }
    return text.replace(at, from.size(), to);
}

std::string ReplacedAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
    return text;
}

struct ExpectedField {
    const char* shaperName;
    const char* platoName;
    const char* gantry;
    double area, perimeter, left, right, bottom, top;
};

// The four fields of plan.mlc and plan.s01 (w = 1 cm, h = 13, closed pairs at 0):
const ExpectedField kPlanFields[] = {
    // R = L = 5 on pairs 8..17: a = 10 pairs x 10 = 100; p = 2 x 10 + 2 x 10 = 40;
    // left = right = 5 + 0.8; bottom (13 - 8) + 0.2 = 5.2; top (17 + 1 - 13) + 0.2 = 5.2.
    {" AP 10x10", "AP10x10", "0", 100, 40, 5.8, 5.8, 5.2, 5.2},
    // R = 6, L = 2 on pairs 14..19, 8 wide and 6 high: a = 48; p = 2 x 8 + 2 x 6 = 28;
    // left 2.8, right 6.8; bottom (13 - 14) + 0.2 = -0.8; top (19 + 1 - 13) + 0.2 = 7.2.
    {" Off axis 8x6", "OFF8x6", "90", 48, 28, 2.8, 6.8, -0.8, 7.2},
    // R = L = 3 on pairs 10, 11, 13, 14; pair 12 closed at x = 2 (R = 2, L = -2): two 6 x 2
    // openings, a = 24, p = 2 x (2 x 6 + 2 x 2) = 32; left = right = 3.8; pair 12 has leaves
    // off the axis, so pairs 10..14 are used: bottom 3 + 0.2 = 3.2, top 2 + 0.2 = 2.2.
    {" Split at pair 12", "SPLIT", "180", 24, 32, 3.8, 3.8, 3.2, 2.2},
    // Pairs 11..14: R = 4, 5, 6, 2 and L = 1, 3, 2, 2, openings 5, 8, 8, 4: a = 25;
    // p = bottom edge 5 + top edge 4 + leaf tips 4 x 2 + right steps 1 + 1 + 4 + left steps
    // 2 + 1 + 0 = 26; left 3.8, right 6.8; bottom 2 + 0.2 = 2.2; top 2 + 0.2 = 2.2.
    {" Irregular", "IRREG", "270", 25, 26, 3.8, 6.8, 2.2, 2.2},
};

void ExpectPlanFields(const MLCFieldList& list, bool shaper) {
    ASSERT_EQ(list.fields.size(), std::size(kPlanFields));
    for (std::size_t i = 0; i < list.fields.size(); ++i) {
        const MLCField& field = list.fields[i];
        const ExpectedField& e = kPlanFields[i];
        EXPECT_EQ(field.name, shaper ? e.shaperName : e.platoName);
        EXPECT_EQ(field.gantryText, e.gantry);
        const MLCGeometry& g = field.geometry;
        EXPECT_TRUE(IsNear(g.area, e.area)) << field.name;
        EXPECT_TRUE(IsNear(g.perimeter, e.perimeter)) << field.name;
        EXPECT_TRUE(IsNear(g.left, e.left)) << field.name;
        EXPECT_TRUE(IsNear(g.right, e.right)) << field.name;
        EXPECT_TRUE(IsNear(g.bottom, e.bottom)) << field.name;
        EXPECT_TRUE(IsNear(g.top, e.top)) << field.name;
    }
}

/// Same name, gantry and leaves: the field was read from the same words.
void ExpectSameField(const MLCField& actual, const MLCField& expected, const std::string& what) {
    EXPECT_EQ(actual.name, expected.name) << what;
    EXPECT_EQ(actual.gantryText, expected.gantryText) << what;
    EXPECT_EQ(actual.leaves.R, expected.leaves.R) << what;
    EXPECT_EQ(actual.leaves.L, expected.leaves.L) << what;
}

// Both formats with LF and CR LF line ends, with and without a UTF-8 byte-order mark: the
// same four fields. A file saved on Windows reads as on Linux (no CR ends a Shaper name,
// and the PLATO gantry line converts).
TEST(MLCReaders, PlanFilesOfBothFormats) {
    for (const char* name : {"plan.mlc", "plan_crlf.mlc", "plan.s01", "plan_crlf.s01"}) {
        for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
            SCOPED_TRACE(name + std::string(bom.empty() ? "" : " with BOM"));
            const Result<MLCFieldList> list =
                ReadMLCBytes(kDataDir + "/" + name, bom + Fixture(name));
            ASSERT_TRUE(list.ok()) << list.reason();
            EXPECT_EQ(list->fileName, name);
            ExpectPlanFields(*list, std::string(name).ends_with(".mlc"));
        }
    }
    // The list shows the eight columns in the general number form.
    const Result<MLCFieldList> list = ReadMLCFile(kDataDir + "/plan.mlc");
    ASSERT_TRUE(list.ok()) << list.reason();
    const std::array<std::string, 8> expected = {" Off axis 8x6", "90",   "48",  "2.8",
                                                 "6.8",           "-0.8", "7.2", "28"};
    EXPECT_EQ(MLCFieldTexts(list->fields[1]), expected);
    EXPECT_EQ(std::string(MLCFieldColumns()[7]), "Field Perimeter");
}

TEST(MLCReaders, FormatFromLowerCasedExtensionAndExactFirstWord) {
    const std::string plato = "<PlatoRTSTaggedASCII>1.0";
    struct Case {
        const char* path;
        std::string bytes;
        MLCFormat format;
    };
    const Case cases[] = {
        {"plan.mlc", "File Rev", MLCFormat::Shaper},
        {"/some/dir/PLAN.MLC", "File Rev", MLCFormat::Shaper},
        {"plan.mlc", "file Rev", MLCFormat::Unknown}, // the word is case-sensitive
        {"plan.mlc",
         "\xEF\xBB\xBF"
         "File",
         MLCFormat::Shaper}, // byte-order mark ignored
        {"plan.mlc", "", MLCFormat::Unknown},
        {"plan.mlc", plato, MLCFormat::Unknown},
        {"plan.s01", plato, MLCFormat::Plato},
        {"plan.S", plato + "\n", MLCFormat::Plato}, // ".s" is enough
        {"plan.txt", plato, MLCFormat::Unknown},
        {"plan.s01", "<PlatoRTSTaggedASCII>1.00", MLCFormat::Unknown},
        {"plan.mlc.txt", "File", MLCFormat::Unknown},
        {"plan.mlc/plan", "File", MLCFormat::Unknown}, // a folder's extension does not count
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DetectMLCFormat(c.path, c.bytes), c.format) << c.path << " " << c.bytes;
    }
}

TEST(MLCReaders, FilesWithoutAField) {
    test::TempDir dir;
    const std::string plan = Fixture("plan.mlc");
    const std::string big(kMaxMLCFileBytes + 1, ' ');
    const std::vector<std::pair<std::string, std::string>> files = {
        {"empty.mlc", ""},
        {"header_only.mlc", plan.substr(0, plan.find("Field"))},
        {"plan.txt", plan},                                      // unknown extension
        {"lower.mlc", "file" + plan.substr(4)},                  // unknown first word
        {"no_tag.mlc", ReplacedAll(plan, "Field =", "field =")}, // only "Field" starts one
    };
    for (const auto& [name, bytes] : files) {
        const std::string path = test::WriteBytesFile(dir.Path(), name, bytes).string();
        const Result<MLCFieldList> list = ReadMLCFile(path);
        ASSERT_FALSE(list.ok()) << name;
        EXPECT_EQ(list.reason(), kNoField + path) << name;
    }
    // A file that cannot be read, too large or cut short says which.
    const std::string tooBig =
        test::WriteBytesFile(dir.Path(), "too_big.mlc", "File" + big).string();
    const std::string cut =
        test::WriteBytesFile(dir.Path(), "cut.mlc", plan.substr(0, plan.find("Leaf 20A"))).string();
    const std::pair<std::string, std::string> unread[] = {
        {tooBig, "the file " + tooBig + " is larger than 4194304 bytes"},
        {dir.File("missing.mlc").string(),
         "Cannot open file " + dir.File("missing.mlc").string() + ": no such file"},
        {dir.Path().string(), "Cannot open file " + dir.Path().string() + ": it is a folder"},
        {cut, "cut.mlc ends inside the field that starts on line 10: it is cut short"},
    };
    for (const auto& [path, reason] : unread) {
        EXPECT_EQ(ReadMLCFile(path).reason(), reason);
    }
}

/// Where field k of a fixture is complete: just after its last leaf value.
std::vector<std::size_t> FieldEnds(const std::string& text, bool shaper) {
    std::vector<std::size_t> ends;
    for (std::size_t at = 0;;) {
        if (shaper) {
            at = text.find("Leaf 26B", at);
            if (at == std::string::npos) {
                return ends;
            }
            at = text.find_first_of("\r\n", at);
            ends.push_back(at);
        } else {
            at = text.find("<endMLC>", at);
            if (at == std::string::npos) {
                return ends;
            }
            ends.push_back(text.find_last_not_of("\r\n", at - 1) + 1);
            ++at;
        }
    }
}

// A file cut anywhere lists exactly the fields completed before the cut, each as in the
// whole file: a field cut before "Gantry", before "<beginMLC>", inside its leaf table or
// inside its last value is left out, never listed with shifted or shortened values.
TEST(MLCReaders, FileCutAnywhereKeepsTheCompleteFieldsBefore) {
    for (const char* name : {"plan.mlc", "plan_crlf.mlc", "plan.s01", "plan_crlf.s01"}) {
        const std::string text = Fixture(name);
        const Result<MLCFieldList> whole = ReadMLCBytes(name, text);
        ASSERT_TRUE(whole.ok());
        const bool shaper = std::string(name).ends_with("mlc");
        const std::vector<std::size_t> ends = FieldEnds(text, shaper);
        const int firstLine = shaper ? 10 : 4; // the lines of "Field =" and "<beginBeam>"
        ASSERT_EQ(ends.size(), whole->fields.size()) << name;
        for (std::size_t cut = 0; cut <= text.size(); ++cut) {
            std::size_t complete = 0;
            while (complete < ends.size() && ends[complete] < cut) {
                ++complete;
            }
            const Result<MLCFieldList> read = ReadMLCBytes(name, text.substr(0, cut));
            const std::string what = std::string(name) + " cut at " + std::to_string(cut);
            if (complete == 0) {
                // Cut inside the first field, after its whole start word, it says so.
                const std::string start = shaper ? "Field" : "<beginBeam>";
                const bool inField =
                    cut >= text.find(start + (shaper ? " " : "")) + start.size() + 1;
                ASSERT_EQ(read.reason(),
                          inField
                              ? name + std::string(" ends inside the field that starts on line ") +
                                    std::to_string(firstLine) + ": it is cut short"
                              : kNoField + std::string(name))
                    << what;
                continue;
            }
            ASSERT_TRUE(read.ok()) << what << ": " << read.reason();
            ASSERT_EQ(read->fields.size(), complete) << what;
            for (std::size_t i = 0; i < complete; ++i) {
                ExpectSameField(read->fields[i], whole->fields[i], what);
            }
        }
    }
}

// A field that lacks the word its reader looks for ("Gantry", "<beginMLC>") is dropped where
// the next field starts; the next field is read whole, never lent to the broken one.
TEST(MLCReaders, BrokenFieldIsDroppedNotMixedWithTheNext) {
    const std::pair<std::string, std::string> files[] = {
        {"plan.mlc", Replaced(Fixture("plan.mlc"), "Gantry = 90.0", "Couch = 90.0")},
        {"plan.s01",
         Replaced(Fixture("plan.s01"), "<gantryAngle>90.0\n<collimatorAngle>0.0\n<beginMLC>",
                  "<gantryAngle>90.0\n<collimatorAngle>0.0\n<noMLC>")},
    };
    for (const auto& [name, bytes] : files) {
        const Result<MLCFieldList> list = ReadMLCBytes(name, bytes);
        ASSERT_TRUE(list.ok()) << name << ": " << list.reason();
        std::vector<std::string> gantries;
        for (const MLCField& field : list->fields) {
            gantries.push_back(field.gantryText);
        }
        EXPECT_EQ(gantries, (std::vector<std::string>{"0", "180", "270"})) << name;
    }
}

// Every number is one whole word converted strictly; the first that is not a number stops
// the whole import with the conversion message, even after good fields.
TEST(MLCReaders, NumberThatIsNotOneStopsTheImport) {
    const std::string shaper = Fixture("plan.mlc");
    const std::string plato = Fixture("plan.s01");
    struct Case {
        const char* what;
        const char* path;
        std::string bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"Shaper gantry", "plan.mlc", Replaced(shaper, "Gantry = 90.0", "Gantry = 5,0"),
         "'5,0' is not a valid floating point value (use a decimal point: 5.0)"},
        {"Shaper right leaf", "plan.mlc", Replaced(shaper, "Leaf 15A =   6.00", "Leaf 15A = 5,0"),
         "'5,0' is not a valid floating point value (use a decimal point: 5.0)"},
        {"Shaper left leaf out of range", "plan.mlc",
         Replaced(shaper, "Leaf 15B =   2.00", "Leaf 15B = 1e999"),
         "'1e999' is not a valid floating point value"},
        {"Shaper leaf with a unit", "plan.mlc", Replaced(shaper, "6.00", "6.00cm"),
         "'6.00cm' is not a valid floating point value"},
        {"Shaper leaf nan", "plan.mlc", Replaced(shaper, "2.00", "nan"),
         "'nan' is not a valid floating point value"},
        {"PLATO gantry", "plan.s01", Replaced(plato, "<gantryAngle>90.0", "<gantryAngle>5,0"),
         "'5,0' is not a valid floating point value (use a decimal point: 5.0)"},
        {"PLATO right leaf", "plan.s01", Replaced(plato, "<rightX>6.00", "<rightX>5,0"),
         "'5,0' is not a valid floating point value (use a decimal point: 5.0)"},
        {"PLATO left leaf", "plan.s01", Replaced(plato, "<leftX>-2.00", "<leftX>inf"),
         "'inf' is not a valid floating point value"},
        {"PLATO empty tagged value", "plan.s01", Replaced(plato, "<rightX>5.00", "<rightX>"),
         "'' is not a valid floating point value"},
    };
    for (const Case& c : cases) {
        const Result<MLCFieldList> list = ReadMLCBytes(c.path, c.bytes);
        ASSERT_FALSE(list.ok()) << c.what;
        EXPECT_EQ(list.reason(), c.reason) << c.what;
    }
}

// The leaves must be those of the one collimator modelled, 26 pairs of 1 cm: a file made for
// another, or with a leaf line too many or too few, is refused at the line and word that do
// not fit, and so is a tip no collimator reaches. Lines: plan.mlc's first field starts on line
// 10 (leaf 26A on 41, 1B on 42, 26B on 67); plan.s01's first pair line is 30.
TEST(MLCReaders, LeavesThatDoNotFitTheCollimatorAreRefused) {
    const std::string shaper = Fixture("plan.mlc");
    const std::string plato = Fixture("plan.s01");
    const std::string fit = ": the collimator has 26 pairs of 1 cm leaves";
    struct Case {
        const char* path;
        std::string bytes;
        std::string reason; ///< empty: read
    };
    const Case cases[] = {
        {"plan.mlc", Replaced(shaper, "Leaf 26A =   0.00\n", "Leaf 26A = 0\nLeaf 26A = 0\n"),
         "plan.mlc, line 42: the leaf label '26A' stands where leaf 1B of 26 pairs was expected"},
        {"plan.mlc", Replaced(shaper, "Leaf 26A", "Leaf 99A"),
         "plan.mlc, line 41: the leaf label '99A' stands where leaf 26A of 26 pairs was expected"},
        {"plan.mlc", Replaced(shaper, "Leaf 26B =   0.00\n", "Leaf 26B = 0\nLeaf 27B = 0\n"),
         "plan.mlc, line 68: the leaf label '27B' follows leaf 26B: the collimator has 26 pairs"},
        {"plan.mlc", Replaced(shaper, "Leaf  1B =   0.00", "Leaf  1B =  -1e308"),
         "plan.mlc, line 42: leaf 1B at '-1e308' cm lies beyond the collimator, more than 40 cm "
         "from the axis"},
        {"plan.mlc", Replaced(shaper, "Leaf  1B =   0.00", "Leaf  1B = 40.01"),
         "plan.mlc, line 42: leaf 1B at '40.01' cm lies beyond the collimator, more than 40 cm "
         "from the axis"},
        {"plan.mlc", Replaced(shaper, "Leaf  1B =   0.00", "Leaf  1B = -40"), ""},
        {"plan.s01",
         Replaced(plato, "<leafWidth>1.0 <leafCentre>12.5", "<leafWidth>0.5 <leafCentre>12.5"),
         "plan.s01, line 30: the leaf width '<leafWidth>0.5' of pair 26 is not 1 cm" + fit},
        {"plan.s01", Replaced(plato, "<leafCentre>12.5", "<leafCentre>6.25"),
         "plan.s01, line 30: the leaf centre '<leafCentre>6.25' of pair 26 is not 12.5 cm" + fit},
        {"plan.s01", Replaced(plato, "<leafPair>26", "<leafPair>27"),
         "plan.s01, line 30: the leaf pair '<leafPair>27' stands where pair 26 was expected" + fit},
        {"plan.s01", Replaced(plato, "<rightX>0.15", "<rightX>41"),
         "plan.s01, line 30: leaf pair 26 right at '<rightX>41' cm lies beyond the collimator, "
         "more than 40 cm from the axis"},
    };
    for (const Case& c : cases) {
        const Result<MLCFieldList> list = ReadMLCBytes(c.path, c.bytes);
        EXPECT_EQ(list.reason(), c.reason);
    }
}

// Words and lines of any length: nothing is cut at 1023 or 1024 characters, so no later read
// slips onto the wrong word or line.
TEST(MLCReaders, WordsAndLinesOfAnyLength) {
    const std::string longName(5000, 'n');
    const std::string shaper =
        Replaced(Replaced(Fixture("plan.mlc"), "Field = AP 10x10", "Field = " + longName),
                 "KOVA test plan", std::string(100000, 'w'));
    const Result<MLCFieldList> s = ReadMLCBytes("plan.mlc", shaper);
    ASSERT_TRUE(s.ok()) << s.reason();
    ASSERT_EQ(s->fields.size(), 4u);
    EXPECT_EQ(s->fields[0].name, " " + longName);
    EXPECT_EQ(s->fields[1].name, " Off axis 8x6");

    std::string plato = Fixture("plan.s01");
    plato =
        Replaced(plato, "<beamDescription>Test field 1",
                 "<beamDescription>" + std::string(3000, 'd') + " words " + std::string(3000, 'e'));
    plato = Replaced(plato, "AP10x10", longName);
    plato = Replaced(plato, "<gantryAngle>0.0", "<gantryAngle>" + std::string(2000, ' ') + "45");
    const Result<MLCFieldList> p = ReadMLCBytes("plan.s01", plato);
    ASSERT_TRUE(p.ok()) << p.reason();
    ASSERT_EQ(p->fields.size(), 4u);
    EXPECT_EQ(p->fields[0].name, longName);
    EXPECT_EQ(p->fields[0].gantryText, "45");
    EXPECT_EQ(p->fields[1].gantryText, "90");
}

/// A PLATO file of one field named P1 whose top pair (the first leaf line) has the words
/// `left` and `right`; every other pair is open 1 + 1.
std::string PlatoOneField(const std::string& gantryLine, const std::string& left,
                          const std::string& right) {
    std::string text = "<PlatoRTSTaggedASCII>1.0\n<beginBeam>\n<n>1\n<d>x\nP1\n";
    for (int line = 4; line <= 12; ++line) {
        text += "<tag>" + std::to_string(line) + "\n";
    }
    text += gantryLine + "\n<c>0\n<beginMLC>\n";
    for (int line = 1; line <= 10; ++line) {
        text += "<h>" + std::to_string(line) + "\n";
    }
    for (int j = 0; j < kLeafPairCount; ++j) {
        text += "<p>" + std::to_string(26 - j) + " <w>1 <c>" + FormatGeneral(12.5 - j) +
                " <leftX>" + (j == 0 ? left : "-1") + " <rightX>" + (j == 0 ? right : "1") + "\n";
    }
    return text + "<endMLC>\n<endBeam>\n";
}

TEST(MLCReaders, PlatoTopPairFirstAndTheClosedLeafMark) {
    struct Case {
        const char* left; // the left tip as a coordinate, negative to the left
        const char* right;
        double L, R; // what pair 25 holds
    };
    const Case cases[] = {
        {"-0.15", "0.15", 0, 0},    // the exporter's mark of a closed pair
        {"0.15", "-0.15", 0, 0},    // the mark either way round
        {"-0.150", "0.1500", 0, 0}, // the same numbers
        {"-0.1501", "0.1501", 0.1501, 0.1501},
        {"-0.1499", "0.1499", 0.1499, 0.1499},
        {"-5", "5", 5, 5},
        {"2", "6", -2, 6}, // left tip right of the axis
        {"0", "0", 0, 0},
    };
    for (const Case& c : cases) {
        const Result<MLCFieldList> list =
            ReadMLCBytes("p.s01", PlatoOneField("<gantryAngle>10", c.left, c.right));
        ASSERT_TRUE(list.ok()) << c.left << ": " << list.reason();
        const MLCLeaves& leaves = list->fields.at(0).leaves;
        EXPECT_EQ(leaves.L[25], c.L) << c.left;
        EXPECT_EQ(leaves.R[25], c.R) << c.right;
        EXPECT_FALSE(std::signbit(leaves.L[25]) && leaves.L[25] == 0) << "no -0 from " << c.left;
        EXPECT_EQ(leaves.L[24], 1);
        EXPECT_EQ(leaves.R[0], 1);
    }
    // A gantry line without a tag is its own value.
    const Result<MLCFieldList> untagged = ReadMLCBytes("p.s01", PlatoOneField("270.0", "-1", "1"));
    ASSERT_TRUE(untagged.ok()) << untagged.reason();
    EXPECT_EQ(untagged->fields[0].gantryText, "270");
}

/// Leaves open from -left to right on pairs first..last, all others closed at 0.
MLCLeaves Opening(int first, int last, double left, double right) {
    MLCLeaves leaves;
    for (int i = first; i <= last; ++i) {
        leaves.L[i] = left;
        leaves.R[i] = right;
    }
    return leaves;
}

TEST(MLCGeometry, AreaPerimeterAndRecommendedEdges) {
    struct Case {
        const char* what;
        MLCLeaves leaves;
        MLCGeometry expected; // area, perimeter, left, right, bottom, top
    };
    MLCLeaves crossed = Opening(10, 11, 4, 4);
    crossed.R[12] = -3; // crossed leaves meet: pair 12 is closed
    crossed.L[12] = 1;
    MLCLeaves disjoint = Opening(10, 10, 5, -1); // -5 to -1
    disjoint.L[11] = -1;                         // 1 to 5
    disjoint.R[11] = 5;
    const Case cases[] = {
        {"10 x 10", Opening(8, 17, 5, 5), {100, 40, 5.8, 5.8, 5.2, 5.2}},
        // Nothing open: Lmax = Rmax = 0 (above the start -20); first 0 and last 25.
        {"all closed", MLCLeaves{}, {0, 0, 0.8, 0.8, 13.2, 13.2}},
        // 2 x 1 on the bottom pair: p = 2 x 2 + 2 x 1 = 6; bottom 13 + 0.2, top (1 - 13) + 0.2.
        {"bottom pair", Opening(0, 0, 1, 1), {2, 6, 1.8, 1.8, 13.2, -11.8}},
        // 3 x 1 on the top pair, right bank only: left 0 + 0.8, right 3.8.
        {"top pair", Opening(25, 25, 0, 3), {3, 8, 0.8, 3.8, -11.8, 13.2}},
        // 4 x 4 from x = 3 to 7 on pairs 13..16 with the closed pairs parked at 0, outside
        // the opening: p = 2 x 4 + 2 x 4 = 16 (the pairwise leaf steps would count the
        // parking distance, 3 on each end, as outline and give 22). Lmax = 0 (closed
        // pairs) beats -3: left 0.8; right 7.8; bottom 0.2, top 4.2.
        {"off axis, parked outside", Opening(13, 16, -3, 7), {16, 16, 0.8, 7.8, 0.2, 4.2}},
        // Pair 10 open from -5 to -1, pair 11 from 1 to 5: two 4 x 1 boxes, p = 2 x 10 = 20.
        // Pairs 10 and 11 used: bottom (13 - 10) + 0.2, top (11 + 1 - 13) + 0.2.
        {"disjoint neighbours", disjoint, {8, 20, 5.8, 5.8, 3.2, -0.8}},
        // Pairs 10, 11 open 8; pair 12 crossed (R + L = -2) counts as closed: a = 16,
        // p = 2 x 8 + 2 x 2 = 20; pair 12 is used: top (13 - 13) + 0.2.
        {"crossed leaves", crossed, {16, 20, 4.8, 4.8, 3.2, 0.2}},
    };
    for (const Case& c : cases) {
        const MLCGeometry g = ComputeMLCGeometry(c.leaves);
        EXPECT_TRUE(IsNear(g.area, c.expected.area)) << c.what;
        EXPECT_TRUE(IsNear(g.perimeter, c.expected.perimeter)) << c.what;
        EXPECT_TRUE(IsNear(g.left, c.expected.left)) << c.what;
        EXPECT_TRUE(IsNear(g.right, c.expected.right)) << c.what;
        EXPECT_TRUE(IsNear(g.bottom, c.expected.bottom)) << c.what;
        EXPECT_TRUE(IsNear(g.top, c.expected.top)) << c.what;
    }
}

/// The black pixels of one row, as a string of '#' and '.'.
std::string Row(const MLCPicture& picture, int y) {
    std::string row;
    for (int x = 0; x < MLCPicture::kSize; ++x) {
        row += picture.IsBlack(x, y) ? '#' : '.';
    }
    return row;
}

TEST(MLCPicture, LeavesBlackOpeningWhiteTopPairFirst) {
    // R = L = 5: the left line ends at 33 - 5 x 32 / 20 = 25 (x 0..24 black), the right one
    // at 5 x 31 / 20 + 32 = 39.75, truncated 39 (x 63 down to 40 black).
    const MLCPicture open = DrawMLCPicture(Opening(0, 25, 5, 5));
    EXPECT_EQ(Row(open, 10), std::string(25, '#') + std::string(15, '.') + std::string(24, '#'));
    // Row y shows pair 25 - (25 y) / 63: the top pair in rows 0..2, the bottom pair in row 63.
    const MLCPicture top = DrawMLCPicture(Opening(25, 25, 5, 5));
    const MLCPicture bottom = DrawMLCPicture(Opening(0, 0, 5, 5));
    for (int y = 0; y < MLCPicture::kSize; ++y) {
        EXPECT_EQ(Row(top, y) == Row(open, 10), y <= 2) << y;
        EXPECT_EQ(Row(bottom, y) == Row(open, 10), y == 63) << y;
    }
    // A closed pair at 0: left to 33 (0..32), right down to 32 exclusive (33..63): all black.
    EXPECT_EQ(Row(top, 3), std::string(64, '#'));
}

TEST(MLCPicture, LeavesFarOutsideNeverLeaveThePicture) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double tip; // both banks
        std::string row;
    };
    const Case cases[] = {
        // Left end 33 - 48 = -15: from 0 leftwards, only x = 0 is in the picture. Right end
        // 30 x 1.55 + 32 = 78.5: from 63 rightwards, only x = 63.
        {30, "#" + std::string(62, '.') + "#"},
        {1e300, "#" + std::string(62, '.') + "#"},
        {inf, "#" + std::string(62, '.') + "#"},
        // Left end 33 - 32 = 1 (x = 0), right end 20 x 1.55 + 32 = 63: an empty line.
        {20, "#" + std::string(63, '.')},
        // Crossed far beyond: both lines run across the whole row.
        {-30, std::string(64, '#')},
        {-1e300, std::string(64, '#')},
        {-inf, std::string(64, '#')},
        {nan, std::string(64, '#')},
    };
    for (const Case& c : cases) {
        const MLCPicture picture = DrawMLCPicture(Opening(0, 25, c.tip, c.tip));
        for (int y : {0, 31, 63}) {
            EXPECT_EQ(Row(picture, y), c.row) << c.tip << " row " << y;
        }
        EXPECT_EQ(picture.BlackCount(),
                  64 * static_cast<std::size_t>(std::count(c.row.begin(), c.row.end(), '#')))
            << c.tip;
    }
    MLCPicture picture;
    picture.DrawRowSpan(-1, 0, 10);
    picture.DrawRowSpan(64, 0, 10);
    picture.DrawRowSpan(5, -100, 1000);
    EXPECT_EQ(picture.BlackCount(), 64u);
    EXPECT_FALSE(picture.IsBlack(-1, 5) || picture.IsBlack(64, 5) || picture.IsBlack(0, 64));
}

/// Photon energy with multileaf support; phantom scatter 0.97 at 5 x 5, 1.00 at 10 x 10 and
/// 1.03 at 20 x 20, linear in the equivalent square in between; jaws 1 to 40 cm wide and
/// high, X jaws -2 to 20, Y jaws -10 to 20.
std::unique_ptr<TgEnergy> ScatterEnergy(std::vector<std::pair<double, double>> sizeAndScatter = {
                                            {5, 0.97}, {10, 1.00}, {20, 1.03}}) {
    auto energy = std::make_unique<TgEnergy>();
    energy->Name = "X6";
    energy->MLCSupported = true;
    energy->MinWidth = energy->MinHeight = 1;
    energy->MaxWidth = energy->MaxHeight = 40;
    energy->MinLeft = energy->MinRight = -2;
    energy->MaxLeft = energy->MaxRight = 20;
    energy->MinBottom = energy->MinTop = -10;
    energy->MaxBottom = energy->MaxTop = 20;
    for (const auto& [size, scatter] : sizeAndScatter) {
        auto field = std::make_unique<RefField>();
        field->Width = field->Height = size;
        field->isScatterPhantomFactorAvailable = true;
        field->ScatterPhantomFactor = scatter;
        energy->RefFields.push_back(std::move(field));
    }
    return energy;
}

std::string TextOf(const std::vector<NamedText>& texts, const std::string& control) {
    for (const NamedText& t : texts) {
        if (t.control == control) {
            return t.text;
        }
    }
    return "<none>";
}

TEST(MLCFactors, OpeningEqualToTheJawsGivesExactlyOne) {
    // 10 x 10 opening under "Use current" 10 x 10 jaws: e = 10, sqrt(100) = 10 and
    // 4 x 100 / 40 = 10, so both factors are Sp(10) / Sp(10). (Twice the area over the
    // perimeter would give 5 and Sp(5) / Sp(10) = 0.97.)
    const auto energy = ScatterEnergy();
    const Result<MLCFieldList> list = ReadMLCFile(kDataDir + "/plan.mlc");
    ASSERT_TRUE(list.ok());
    const MLCGeometry& g = list->fields[0].geometry;
    const Result<MLCFactors> factors = ComputeMLCFactors(*energy, 10, g.area, g.perimeter);
    ASSERT_TRUE(factors.ok()) << factors.reason();
    EXPECT_EQ(factors->sqrtFactor, 1.0);
    EXPECT_EQ(factors->leqFactor, 1.0);
    EXPECT_EQ(factors->Average(), 1.0);
    EXPECT_EQ(MLCFactorMessage(g.area, g.perimeter, *factors),
              "a = 100.0 cm^2, p = 40.0 cm\nMultileaf Factor sqrt(a) = 1.000\n"
              "Multileaf Factor leq = 1.000\n\nGuessed (Avg.) Multileaf Factor = 1.000");
    EXPECT_EQ(MLCEntryName(list->fileName, list->fields[0].name), "plan.mlc:: AP 10x10");
}

// The off-axis 8 x 6 field of plan.s01 with "Recommended": its jaws and factor.
TEST(MLCFactors, OffAxisFieldWithRecommendedJaws) {
    const Result<MLCFieldList> list = ReadMLCFile(kDataDir + "/plan.s01");
    ASSERT_TRUE(list.ok());
    const MLCField& field = list->fields[1];
    const std::vector<NamedText> texts = RecommendedJawTexts(field);
    // Le 2.8, Ri 6.8, Bo -0.8, To 7.2: width 9.6, height 6.4; shifts (6.8 - 2.8) / 2 = 2 and
    // (7.2 + 0.8) / 2 = 4; EqSq 2 x 9.6 x 6.4 / 16 = 7.68; offset sqrt(4 + 16) = 4.47.
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"GantryRot", "90"},       {"BeamWidth", "9.6"},       {"BeamHeight", "6.4"},
        {"BeamLeft", "2.8"},       {"BeamRight", "6.8"},       {"BeamBottom", "-0.8"},
        {"BeamTop", "7.2"},        {"BeamWidthAsymm", "9.6"},  {"BeamHeightAsymm", "6.4"},
        {"BeamAsymmWidth", "2.0"}, {"BeamAsymmHeight", "4.0"}, {"BeamEquivSize", "7.7"},
        {"BeamOffset", "4.5"},     {"OffsetComp", "4.5"}};
    ASSERT_EQ(texts.size(), expected.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i].control, expected[i].first);
        EXPECT_EQ(texts[i].text, expected[i].second) << expected[i].first;
    }
    // e = 7.7 as shown: Sp(7.7) = 0.97 + 0.03 x 2.7 / 5 = 0.9862.
    // sqrt(48) = 6.928203230: Sp = 0.97 + 0.03 x 1.928203230 / 5 = 0.981569219.
    // 4 x 48 / 28 = 6.857142857: Sp = 0.97 + 0.03 x 1.857142857 / 5 = 0.981142857.
    // sqrtFactor = 0.981569219 / 0.9862 = 0.995304420; leq = 0.981142857 / 0.9862 = 0.994872092;
    // mean 0.995088256.
    const auto energy = ScatterEnergy();
    const Result<double> e = StrToFloat(TextOf(texts, "BeamEquivSize"));
    ASSERT_TRUE(e.ok());
    const Result<MLCFactors> factors =
        ComputeMLCFactors(*energy, *e, field.geometry.area, field.geometry.perimeter);
    ASSERT_TRUE(factors.ok()) << factors.reason();
    const test::Tolerance hand{1e-9, 1e-12};
    EXPECT_TRUE(IsNear(factors->sqrtFactor, 0.995304420, hand));
    EXPECT_TRUE(IsNear(factors->leqFactor, 0.994872092, hand));
    EXPECT_TRUE(IsNear(factors->Average(), 0.995088256, hand));
    EXPECT_EQ(MLCFactorMessage(field.geometry.area, field.geometry.perimeter, *factors),
              "a = 48.0 cm^2, p = 28.0 cm\nMultileaf Factor sqrt(a) = 0.995\n"
              "Multileaf Factor leq = 0.995\n\nGuessed (Avg.) Multileaf Factor = 0.995");
}

TEST(MLCFactors, RecommendedJawsOfASymmetricField) {
    // Le = Ri = 5.8, Bo = To = 5.2: 11.6 x 10.4, EqSq 2 x 11.6 x 10.4 / 22 = 10.967 -> 11.0,
    // no shift, no offset.
    const std::vector<NamedText> texts =
        RecommendedJawTexts(MakeMLCField("F1", 0, Opening(8, 17, 5, 5)));
    EXPECT_EQ(TextOf(texts, "BeamWidth"), "11.6");
    EXPECT_EQ(TextOf(texts, "BeamHeight"), "10.4");
    EXPECT_EQ(TextOf(texts, "BeamAsymmWidth"), "0");
    EXPECT_EQ(TextOf(texts, "BeamAsymmHeight"), "0");
    EXPECT_EQ(TextOf(texts, "BeamEquivSize"), "11.0");
    EXPECT_EQ(TextOf(texts, "BeamOffset"), "0");
}

TEST(MLCFactors, RefusedWithAReason) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        std::function<void(TgEnergy&)> change;
        double e, area, perimeter;
        const char* reason;
    };
    const Case cases[] = {
        {"no multileaf", [](TgEnergy& g) { g.MLCSupported = false; }, 10, 100, 40,
         "the energy X6 has no multileaf collimator"},
        {"area 0", {}, 10, 0, 40, "the multileaf field area (cm^2) is 0; it must be above 0"},
        {"area negative", {}, 10, -4, 40, "the multileaf field area (cm^2) is -4; it must be"},
        {"area nan", {}, 10, nan, 40, "the multileaf field area (cm^2) is not a number"},
        {"perimeter 0", {}, 10, 100, 0, "the multileaf field perimeter (cm) is 0"},
        {"perimeter negative", {}, 10, 100, -1, "the multileaf field perimeter (cm) is -1"},
        {"jaws 0", {}, 0, 100, 40, "the equivalent square of the jaws (cm) is 0"},
        {"no phantom scatter",
         [](TgEnergy& g) {
             g.RefFields[1]->isScatterPhantomFactorAvailable = false,
             g.RefFields[0]->isScatterPhantomFactorAvailable = false,
             g.RefFields[2]->isScatterPhantomFactorAvailable = false;
         },
         10, 100, 40, "no reference field of X6 has a phantom scatter factor"},
        {"jaw field scatter 0", [](TgEnergy& g) { g.RefFields[1]->ScatterPhantomFactor = 0; }, 10,
         25, 20, "the phantom scatter factor of the jaw field is 0; it must be above 0"},
        // Sp(5) = 1e300 over Sp(20) = 1e-300 overflows.
        {"not finite",
         [](TgEnergy& g) {
             g.RefFields[0]->ScatterPhantomFactor = 1e300;
             g.RefFields[2]->ScatterPhantomFactor = 1e-300;
         },
         20, 25, 20, "the multileaf factor sqrt(a) is too large; it must be above 0"},
        {"negative", [](TgEnergy& g) { g.RefFields[0]->ScatterPhantomFactor = -1; }, 10, 25, 20,
         "the multileaf factor sqrt(a) is -1; it must be above 0"},
        // sqrt(1e300) = 1e150 cm lies beyond every reference field's reach.
        {"opening beyond the table", {}, 10, 1e300, 4e150, "no reference field is near"},
    };
    for (const Case& c : cases) {
        const auto energy = ScatterEnergy();
        if (c.change) {
            c.change(*energy);
        }
        const Result<MLCFactors> factors = ComputeMLCFactors(*energy, c.e, c.area, c.perimeter);
        ASSERT_FALSE(factors.ok()) << c.what;
        EXPECT_EQ(factors.reason().rfind(c.reason, 0), 0u)
            << c.what << ": the reason was \"" << factors.reason() << "\"";
    }
}

TEST(MLCJaws, UseCurrentOnlyWithinTheLimits) {
    // Width and height: [max(1, 5), min(40, 20)] = [5, 20] from the reference fields 5 to 20.
    struct Case {
        JawSettings jaws; // left, right, bottom, top, width, height
        const char* reason;
    };
    const Case cases[] = {
        {{5, 5, 5, 5, 10, 10}, ""},
        {{-2, 20, -10, 20, 5, 20}, ""}, // every bound included
        {{10, 10.01, 5, 5, 20.01, 10}, "the current width 20.01 cm is not within 5 cm to 20 cm"},
        // Within MaxWidth 40 but wider than the largest reference field.
        {{15, 15, 5, 5, 30, 10}, "the current width 30 cm is not within 5 cm to 20 cm"},
        {{2, 2, 5, 5, 4.9, 10}, "the current width 4.9 cm is not within 5 cm to 20 cm"},
        {{5, 5, 2, 2, 10, 4}, "the current height 4 cm is not within 5 cm to 20 cm"},
        {{-2.1, 12, 5, 5, 9.9, 10}, "the current left jaw -2.1 cm is not within -2 cm to 20 cm"},
        {{12, -2.5, 5, 5, 9.5, 10}, "the current right jaw -2.5 cm is not within -2 cm to 20 cm"},
        {{5, 5, -10.5, 20.5, 10, 10}, "the current bottom jaw -10.5 cm is not within"},
        {{5, 5, 0, 20.5, 10, 20.5}, "the current height 20.5 cm is not within"},
        {{5, 5, -5, 20.5, 10, 15.5}, "the current top jaw 20.5 cm is not within -10 cm to 20 cm"},
    };
    const auto energy = ScatterEnergy();
    for (const Case& c : cases) {
        const Status status = CheckUseCurrentJaws(*energy, c.jaws);
        EXPECT_EQ(status.reason().rfind(c.reason, 0), 0u) << status.reason();
        EXPECT_EQ(status.ok(), std::string(c.reason).empty()) << c.reason;
    }
    // Without reference fields no current field can be kept.
    const auto bare = ScatterEnergy({});
    EXPECT_EQ(CheckUseCurrentJaws(*bare, {5, 5, 5, 5, 10, 10}).reason(),
              "no current width can be kept (the limits give 100 cm to 0 cm)");
}

TEST(MLCJaws, JawTextsReadInOrder) {
    const Result<JawSettings> jaws = ParseJawSettings("1", "2", " 3 ", "4", "5.5", "6e0");
    ASSERT_TRUE(jaws.ok()) << jaws.reason();
    EXPECT_EQ(jaws->left + jaws->right + jaws->bottom + jaws->top, 10);
    EXPECT_EQ(jaws->width, 5.5);
    EXPECT_EQ(jaws->height, 6);
    // The first text that is not a number, in the order left, right, bottom, top, width,
    // height, names the failure.
    EXPECT_EQ(ParseJawSettings("1", "2", "5,0", "x", "5", "6").reason(),
              "'5,0' is not a valid floating point value (use a decimal point: 5.0)");
    EXPECT_EQ(ParseJawSettings("1", "2", "3", "4", "5", "").reason(),
              "'' is not a valid floating point value");
}

} // namespace
} // namespace kova
