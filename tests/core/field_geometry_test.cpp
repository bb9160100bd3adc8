#include "core/beams/field_geometry.h"
#include "core/beams/photon_beam.h"
#include "core/linac/linac_spec.h"
#include "core/text/number_text.h"

#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>

namespace kova {
namespace {

using Texts = std::map<std::string_view, std::string>;

/// The texts written, by control (a control written twice keeps its last text).
Texts ByControl(const ControlTexts& written) {
    Texts texts;
    for (const auto& [control, text] : written) {
        texts[control] = text;
    }
    return texts;
}

void ExpectTexts(const ControlTexts& written, const Texts& expected, const char* what) {
    const Texts actual = ByControl(written);
    for (const auto& [control, text] : expected) {
        const auto found = actual.find(control);
        ASSERT_NE(found, actual.end()) << what << ": control " << control;
        EXPECT_EQ(found->second, text) << what << ": control " << control;
    }
}

TEST(SymmetricField, TenByTwenty) {
    const std::optional<ControlTexts> written = SymmetricFieldChanged("10", "20");
    ASSERT_TRUE(written.has_value());
    // Jaws 10/2 and 20/2 with one decimal; EqSq = 400/30 = 13.33 -> "13.3".
    ExpectTexts(*written,
                {{"BeamLeft", "5.0"},
                 {"BeamRight", "5.0"},
                 {"BeamBottom", "10.0"},
                 {"BeamTop", "10.0"},
                 {"BeamWidthAsymm", "10"},
                 {"BeamHeightAsymm", "20"},
                 {"BeamAsymmWidth", "0"},
                 {"BeamAsymmHeight", "0"},
                 {"BeamEquivSize", "13.3"},
                 {"BeamOffset", "0"},
                 {"OffsetComp", "0"}},
                "10 x 20");
}

TEST(SymmetricField, SmallFieldAndBadText) {
    // 0.4 + 0.4 is not above 1: equivalent square 0.
    const std::optional<ControlTexts> small = SymmetricFieldChanged("0.4", "0.4");
    ASSERT_TRUE(small.has_value());
    ExpectTexts(*small, {{"BeamEquivSize", "0"}, {"BeamLeft", "0.2"}}, "0.4 x 0.4");
    EXPECT_FALSE(SymmetricFieldChanged("10", "1O").has_value());
    EXPECT_FALSE(SymmetricFieldChanged("", "10").has_value());
}

TEST(JawField, AsymmetricA) {
    const TLinacSpec linac; // independent jaws on both axes
    // L 3, R 7, B 5, T 5: width 10, asymmetry (7 - 3)/2 = 2, offset sqrt((4^2 + 0)/4) = 2.
    const ControlTexts written = JawFieldChanged("BeamLeft", {"3", "7", "5", "5"}, linac);
    ExpectTexts(written,
                {{"BeamWidth", "10.0"},
                 {"BeamWidthAsymm", "10.0"},
                 {"BeamHeight", "10.0"},
                 {"BeamHeightAsymm", "10.0"},
                 {"BeamAsymmWidth", "2.0"},
                 {"BeamAsymmHeight", "0"},
                 {"BeamEquivSize", "10.0"},
                 {"BeamOffset", "2.0"},
                 {"OffsetComp", "2.0"}},
                "L3 R7 B5 T5");
    EXPECT_EQ(ByControl(written).count("BeamRight"), 0u) << "independent jaws are not mirrored";
}

TEST(JawField, JawsWithoutIndependenceMirror) {
    struct Case {
        std::string_view typed;
        JawTexts jaws;
        double onWidth, onHeight;
        std::string_view mirrored;
        const char* mirroredText;
        const char* width;
        const char* height;
    };
    const Case cases[] = {
        // 6 typed in Left: Right becomes "6", width 12.
        {"BeamLeft", {"6", "5", "5", "5"}, 0, 1, "BeamRight", "6", "12.0", "10.0"},
        {"BeamRight", {"5", "2.5", "5", "5"}, 0, 1, "BeamLeft", "2.5", "5.0", "10.0"},
        {"BeamTop", {"5", "5", "5", "7"}, 1, 0, "BeamBottom", "7", "10.0", "14.0"},
    };
    for (const Case& c : cases) {
        TLinacSpec linac;
        linac.isAsymmetricFieldsOnWidth = c.onWidth;
        linac.isAsymmetricFieldsOnHeight = c.onHeight;
        const ControlTexts written = JawFieldChanged(c.typed, c.jaws, linac);
        ASSERT_FALSE(written.empty());
        EXPECT_EQ(written.front().first, c.mirrored) << "the copy is written first";
        ExpectTexts(written,
                    {{c.mirrored, c.mirroredText},
                     {"BeamWidth", c.width},
                     {"BeamHeight", c.height},
                     {"BeamOffset", "0"}},
                    c.mirroredText);
    }
}

TEST(JawField, TextThatIsNotANumber) {
    TLinacSpec linac;
    EXPECT_TRUE(JawFieldChanged("BeamLeft", {"x", "5", "5", "5"}, linac).empty());
    // Another jaw not a number: only the mirror copy.
    linac.isAsymmetricFieldsOnWidth = 0;
    const ControlTexts written = JawFieldChanged("BeamLeft", {"4", "5", "", "5"}, linac);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0], (std::pair<std::string_view, std::string>{"BeamRight", "4"}));
}

TEST(AsymmetricField, ShiftsAboveFiftyAreNegative) {
    struct Case {
        const char *w, *h, *a, *b;
        Texts expected;
    };
    const Case cases[] = {
        // Shift 98 -> -2: X1 = 10/2 + 2 = 7, X2 = 5 - 2 = 3, offset 2.
        {"10",
         "10",
         "98",
         "0",
         {{"BeamLeft", "7.0"},
          {"BeamRight", "3.0"},
          {"BeamTop", "5.0"},
          {"BeamBottom", "5.0"},
          {"BeamOffset", "2.0"},
          {"OffsetComp", "2.0"},
          {"BeamWidth", "10"},
          {"BeamHeight", "10"},
          {"BeamEquivSize", "10.0"}}},
        // Shifts 3 and 4 (Y): offset sqrt(9 + 16) = 5; Y1 = 6 - 4 = 2, Y2 = 10.
        {"8",
         "12",
         "3",
         "4",
         {{"BeamLeft", "1.0"},
          {"BeamRight", "7.0"},
          {"BeamBottom", "2.0"},
          {"BeamTop", "10.0"},
          {"BeamOffset", "5.0"},
          {"BeamEquivSize", "9.6"}}},
        // 50 stays 50: X1 = 5 - 50 = -45.
        {"10", "10", "50", "0", {{"BeamLeft", "-45.0"}, {"BeamRight", "55.0"}}},
    };
    for (const Case& c : cases) {
        const std::optional<ControlTexts> written = AsymmetricFieldChanged(c.w, c.h, c.a, c.b);
        ASSERT_TRUE(written.has_value()) << c.a;
        ExpectTexts(*written, c.expected, c.a);
    }
    EXPECT_FALSE(AsymmetricFieldChanged("10", "10", "two", "0").has_value());
}

TEST(SsdTexts, IsocentricFollowsTheDepth) {
    TLinacSpec linac; // SAD 100
    TgEnergy energy;
    energy.SCD = 80;
    Result<SsdTexts> ssd = TechniqueChanged(kIsocentric, "5", linac, energy);
    ASSERT_TRUE(ssd.ok());
    EXPECT_EQ(ssd->ssd, "95");
    EXPECT_EQ(ssd->realSsd, "95");
    EXPECT_TRUE(ssd->ssdReadOnly);
    // General form on a technique change, "###.##" while typing: 100 - 5.555 = 94.445.
    ssd = TechniqueChanged(kIsocentric, "5.555", linac, energy);
    ASSERT_TRUE(ssd.ok());
    EXPECT_EQ(ssd->ssd, "94.445");
    EXPECT_EQ(IsocentricSsdText("5.555", linac), std::optional<std::string>("94.45"));
    EXPECT_EQ(IsocentricSsdText("5", linac), std::optional<std::string>("95"));
    EXPECT_FALSE(IsocentricSsdText("5,5", linac).has_value());

    ssd = TechniqueChanged(kFixedSsd, "5", linac, energy);
    ASSERT_TRUE(ssd.ok());
    EXPECT_EQ(ssd->ssd, "80");
    EXPECT_EQ(ssd->realSsd, "80");
    EXPECT_FALSE(ssd->ssdReadOnly);

    ssd = TechniqueChanged(kIsocentric, "abc", linac, energy);
    ASSERT_FALSE(ssd.ok());
    EXPECT_EQ(ssd.reason(), "'abc' is not a valid floating point value");
}

} // namespace
} // namespace kova
