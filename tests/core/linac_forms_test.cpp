// The windows of energies and table entries as the core sees them: their controls, the texts
// they show, and how OK converts every text before it stores anything.

#include "core/linac/energy.h"
#include "core/linac/record_form.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace kova {
namespace {

/// The control names of a layout, group by group, "|" between groups.
std::string ControlNames(const FormLayout& layout) {
    std::string names;
    for (const FormGroup& group : layout.groups) {
        names += names.empty() ? "" : "|";
        for (std::size_t i = 0; i < group.controls.size(); ++i) {
            names += (i == 0 ? "" : " ") + group.controls[i].name;
        }
    }
    return names;
}

TEST(RecordForms, EveryWindowHasItsCaptionControlsAndFirstFocus) {
    struct Case {
        std::unique_ptr<EditableRecord> record;
        const char* caption;
        const char* controls;
        const char* firstFocus;
    };
    Case cases[] = {
        {std::make_unique<RefField>(), "Reference Field",
         "Width Height|FieldFactor ScatterPhantomFactor isScatterPhantomFactorAvailable", "Width"},
        {std::make_unique<PDDValue>(), "PDD Value", "Depth PercentDose", "Depth"},
        {std::make_unique<Wedge>(), "Wedge", "Name|WedgeTypes|isOffsetWedged|MaxWidth MaxHeight",
         "Name"},
        {std::make_unique<WFValue>(), "Wedge Factor Value", "FieldSize|PDDWarp|WF", "FieldSize"},
        {std::make_unique<Tray>(), "Tray", "Name|TF", "Name"},
        {std::make_unique<Shield>(), "Shield", "Name|SF", "Name"},
        {std::make_unique<MLCFValue>(), "Multileaf Factor Value", "Name|MLCF", "Name"},
        {std::make_unique<OFValue>(), "Offset Factor Value", "CenterFieldOffset|OF",
         "CenterFieldOffset"},
        {std::make_unique<Applicator>(), "ApplicatorForm", "Name|AF", "Name"},
        {std::make_unique<TeEnergy>(), "eEnergy", "Name|NominalEnergy Buildup90 SSD", "Name"},
        {std::make_unique<TgEnergy>(), "gEnergy",
         "Name|NominalEnergy|cGyUMRatio HalfLife CalDate Buildup SCD|TBISupported TBIRef "
         "TBIFieldSize|IgnoreOffset|MaxWidth MaxHeight MaxLeft MaxRight MaxBottom MaxTop|MinWidth "
         "MinHeight MinLeft MinRight MinBottom MinTop|OpenWedgeMUSupported MLCSupported|"
         "PrintOffset",
         "Name"},
    };
    for (const Case& c : cases) {
        const FormLayout& layout = c.record->EditorLayout();
        EXPECT_EQ(layout.caption, c.caption);
        EXPECT_EQ(ControlNames(layout), c.controls) << c.caption;
        EXPECT_EQ(layout.firstFocus, c.firstFocus) << c.caption;
        // Every control the window shows has a text, and nothing else has one.
        const FormTexts texts = c.record->EditorTexts();
        std::size_t controls = 0;
        for (const FormGroup& group : layout.groups) {
            for (const FormControl& control : group.controls) {
                EXPECT_EQ(texts.count(control.name), 1u) << c.caption << " " << control.name;
                ++controls;
            }
        }
        EXPECT_EQ(texts.size(), controls) << c.caption;
    }
}

TEST(RecordForms, EntriesShowTheirFieldsAsText) {
    WFValue value;
    value.FieldSize = 10;
    value.WF = 0.985;
    EXPECT_EQ(value.EditorTexts(),
              (FormTexts{{"FieldSize", "10"}, {"PDDWarp", "1"}, {"WF", "0.985"}}));
    // Names are Windows-1252 in the linac and UTF-8 in the windows: 0x80 is the euro sign.
    // A wedge type a file may hold without an item in the window selects none.
    Wedge wedge;
    wedge.Name = "W\x80";
    wedge.WedgeType = 3;
    EXPECT_EQ(wedge.EditorTexts().at("Name"), "W\xE2\x82\xAC");
    EXPECT_EQ(wedge.EditorTexts().at("WedgeTypes"), "");
}

/// A tray named "Old" with factor 0.9, as an editor would find it.
std::unique_ptr<Tray> OldTray() {
    auto tray = std::make_unique<Tray>();
    tray->Name = "Old";
    tray->TF = 0.9;
    return tray;
}

TEST(RecordForms, NamesAreStoredAsALinacFileKeepsThem) {
    struct Case {
        const char* typed; // UTF-8, as the window holds it
        const char* stored;
        const char* refusal; // empty when accepted
    };
    const std::string tooLong(256, 'x');
    const std::string longest(255, 'x');
    const Case cases[] = {
        {"Tray A", "Tray A", ""},
        {"", "n/a", ""},
        {"   ", "n/a", ""},                           // blank is empty
        {"Vassoio \xE2\x82\xAC", "Vassoio \x80", ""}, // euro sign, byte 0x80
        {"Citt\xC3\xA0", "Citt\xE0", ""},             // a with grave accent
        {longest.c_str(), longest.c_str(), ""},       // the longest word a file holds
        {"Gan\xC3\xA7o", "Old",
         "The name 'Gan\xC3\xA7o' holds the letter c with cedilla, "
         "which a linac file keeps for spaces"},
        {"\xC5\x81\xC3\xB3"
         "d\xC5\xBA",
         "Old",
         "The name '\xC5\x81\xC3\xB3"
         "d\xC5\xBA' holds a "
         "character that a linac file cannot store"},
        {"A\tB", "Old",
         "The name 'A\tB' holds a control character, which a linac file "
         "cannot store"},
        {tooLong.c_str(), "Old", ""}, // refused: longer than a word of a linac file
    };
    for (const Case& c : cases) {
        auto tray = OldTray();
        const FormCheck check = tray->SaveEditorTexts({{"Name", c.typed}, {"TF", "0.97"}});
        EXPECT_EQ(tray->Name, c.stored) << c.typed;
        const bool refused = std::string(c.stored) == "Old";
        EXPECT_EQ(check.ok(), !refused) << c.typed;
        if (refused) {
            EXPECT_EQ(check.control, "Name");
            EXPECT_EQ(tray->TF, 0.9) << "nothing is stored when a box is refused";
        }
        if (*c.refusal != '\0') {
            EXPECT_EQ(check.reason, c.refusal);
        }
    }
}

TEST(RecordForms, AnyBoxThatIsNoNumberStoresNothing) {
    // Each row: the entry, the texts of OK, the control refused and what stays stored.
    struct Case {
        const char* what;
        std::function<std::unique_ptr<EditableRecord>()> make;
        FormTexts texts;
        const char* control;
        const char* reason;
        const char* shown; ///< what the editor shows: the field named by its label
    };
    const Case cases[] = {
        // An empty tray factor would have stored TF 0, and every MU would divide by it.
        {"empty tray factor",
         [] { return std::unique_ptr<EnergyListItem>(OldTray()); },
         {{"Name", "New"}, {"TF", ""}},
         "TF",
         "'' is not a valid floating point value",
         "Tray Factor is empty"},
        // A comma is not the decimal separator; the offset before it is not stored either.
        {"offset factor with a comma",
         [] { return std::make_unique<OFValue>(); },
         {{"CenterFieldOffset", "5"}, {"OF", "1,02"}},
         "OF",
         "'1,02' is not a valid floating point value (use a decimal point: 1.02)",
         "Offset Factor: '1,02' is not a valid floating point value (use a decimal point: 1.02)"},
        {"depth typed as text",
         [] { return std::make_unique<PDDValue>(); },
         {{"Depth", "ten"}, {"PercentDose", "0.67"}},
         "Depth",
         "'ten' is not a valid floating point value",
         "Depth: 'ten' is not a valid floating point value"},
        // The first refused box in the order of reading is the one reported.
        {"wedge with two bad boxes",
         [] { return std::make_unique<Wedge>(); },
         {{"Name", "W"}, {"WedgeTypes", "1"}, {"MaxWidth", "x"}, {"MaxHeight", "y"}},
         "MaxWidth",
         "'x' is not a valid floating point value",
         "Width: 'x' is not a valid floating point value"},
        {"reference field scatter checked but empty",
         [] { return std::make_unique<RefField>(); },
         {{"Width", "5"},
          {"Height", "5"},
          {"FieldFactor", "0.95"},
          {"isScatterPhantomFactorAvailable", "1"},
          {"ScatterPhantomFactor", ""}},
         "ScatterPhantomFactor",
         "'' is not a valid floating point value",
         "Phantom Scatter Factor is empty"},
        {"infinite wedge factor",
         [] { return std::make_unique<WFValue>(); },
         {{"FieldSize", "10"}, {"PDDWarp", "1"}, {"WF", "1e999"}},
         "WF",
         "'1e999' is not a valid floating point value",
         "Wedge Factor: '1e999' is not a valid floating point value"},
        // What a linac file cannot hold, an edit cannot make.
        {"negative warp",
         [] { return std::make_unique<WFValue>(); },
         {{"FieldSize", "10"}, {"PDDWarp", "-1"}, {"WF", "0.3"}},
         "PDDWarp",
         "'-1' is negative, which a measured value cannot be",
         "Warp value: '-1' is negative, which a measured value cannot be"},
        {"negative half-life", [] { return std::make_unique<TgEnergy>(); },
         [] {
             FormTexts texts = TgEnergy().EditorTexts();
             texts["HalfLife"] = "-5.27";
             return texts;
         }(),
         "HalfLife", "'-5.27' is negative, which a measured value cannot be",
         "Half Life: '-5.27' is negative, which a measured value cannot be"},
        {"calibrated before 1900", [] { return std::make_unique<TgEnergy>(); },
         [] {
             FormTexts texts = TgEnergy().EditorTexts();
             texts["CalDate"] = "01/01/0001";
             return texts;
         }(),
         "CalDate", "the calibration date 01/01/0001 is before 1900",
         "Date: the calibration date 01/01/0001 is before 1900"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<EditableRecord> record = c.make();
        const FormTexts before = record->EditorTexts();
        const FormCheck check = record->SaveEditorTexts(c.texts);
        EXPECT_FALSE(check.ok()) << c.what;
        EXPECT_EQ(check.control, c.control) << c.what;
        EXPECT_EQ(check.reason, c.reason) << c.what;
        EXPECT_EQ(RefusalText(record->EditorLayout(), c.texts, check), c.shown) << c.what;
        EXPECT_EQ(record->EditorTexts(), before) << c.what << ": something was stored";
    }
}

TEST(RecordForms, ReferenceFieldWithoutScatterDataKeepsItsFactor) {
    struct Case {
        const char* check;
        const char* scatterText;
        double stored; // the stored factor starts at 0.97
    };
    const Case cases[] = {
        {"0", "", 0.97},     // cleared and empty: kept, so a new field can be accepted
        {"0", "n/a", 0.97},  // cleared, no number: kept
        {"0", "0.99", 0.99}, // cleared but a number: stored like any box
        {"1", "0.98", 0.98},
    };
    for (const Case& c : cases) {
        RefField field;
        field.ScatterPhantomFactor = 0.97;
        const FormCheck check = field.SaveEditorTexts({{"Width", "4"},
                                                       {"Height", "6"},
                                                       {"FieldFactor", "0.93"},
                                                       {"isScatterPhantomFactorAvailable", c.check},
                                                       {"ScatterPhantomFactor", c.scatterText}});
        ASSERT_TRUE(check.ok()) << check.reason;
        EXPECT_EQ(field.ScatterPhantomFactor, c.stored) << c.scatterText;
        EXPECT_EQ(field.isScatterPhantomFactorAvailable, std::string(c.check) == "1");
        EXPECT_EQ(field.Caption(), "4 cm x 6 cm");
        EXPECT_EQ(field.FieldFactor, 0.93);
    }
}

TEST(RecordForms, WedgeTypeIsKeptWhenNoItemIsSelected) {
    struct Case {
        int stored;
        const char* selected;
        int expected;
    };
    const Case cases[] = {
        {0, "2", 2},              // "Universal"
        {2, "0", 0},              // "Static"
        {3, "", 3},               // a file wedge of type 3 keeps it (the old window stored 255)
        {1, "", 1},  {1, "7", 1}, // no such item: kept
    };
    for (const Case& c : cases) {
        Wedge wedge;
        wedge.WedgeType = static_cast<std::uint8_t>(c.stored);
        const FormCheck check = wedge.SaveEditorTexts({{"Name", ""},
                                                       {"WedgeTypes", c.selected},
                                                       {"MaxWidth", "20"},
                                                       {"MaxHeight", "30"},
                                                       {"isOffsetWedged", "1"}});
        ASSERT_TRUE(check.ok()) << check.reason;
        EXPECT_EQ(wedge.WedgeType, c.expected) << c.stored << " / '" << c.selected << "'";
        EXPECT_EQ(wedge.Name, "n/a");
        EXPECT_TRUE(wedge.isOffsetWedged);
        EXPECT_EQ(wedge.MaxHeight, 30);
    }
}

TEST(RecordForms, NewEnergyIsAcceptedWithTheDefaultsItShows) {
    TgEnergy photon;
    FormTexts texts = photon.EditorTexts();
    EXPECT_EQ(texts.at("Name"), "n/a");
    EXPECT_EQ(texts.at("NominalEnergy"), "0");
    EXPECT_EQ(texts.at("TBISupported"), "1");
    EXPECT_EQ(texts.at("PrintOffset"), "0");
    EXPECT_EQ(texts.at("CalDate"), "");
    texts["Name"] = "X10";
    texts["NominalEnergy"] = "10";
    texts["PrintOffset"] = "1";
    texts["MLCSupported"] = "1";
    ASSERT_TRUE(photon.SaveEditorTexts(texts).ok());
    EXPECT_EQ(photon.Name, "X10");
    EXPECT_EQ(photon.NominalEnergy, 10);
    EXPECT_TRUE(photon.PrintOffset);
    EXPECT_TRUE(photon.MLCSupported);
    EXPECT_TRUE(photon.TBISupported);
    EXPECT_EQ(photon.CalDate, "");

    TeEnergy electron;
    FormTexts eTexts = electron.EditorTexts();
    eTexts["SSD"] = "100";
    ASSERT_TRUE(electron.SaveEditorTexts(eTexts).ok());
    EXPECT_EQ(electron.SSD, 100);
    EXPECT_EQ(electron.Name, "n/a");
}

TEST(RecordForms, CalibrationDateIsEmptyOrADay) {
    struct Case {
        const char* typed;
        const char* stored;
        bool accepted;
    };
    const Case cases[] = {
        {"", "", true},
        {"//", "", true},         // an untouched masked box, blanks removed
        {"  /  /    ", "", true}, // the same with its blanks
        {"15/03/2025", "15/03/2025", true},
        {"1/2/2026", "01/02/2026", true},
        {"31/02/2026", "", false}, // no such day
        {"12/  /    ", "", false}, // half typed
        {"2025-03-15", "", false},
    };
    for (const Case& c : cases) {
        TgEnergy photon;
        photon.CalDate = "01/01/2000";
        FormTexts texts = photon.EditorTexts();
        texts["CalDate"] = c.typed;
        const FormCheck check = photon.SaveEditorTexts(texts);
        EXPECT_EQ(check.ok(), c.accepted) << c.typed;
        EXPECT_EQ(photon.CalDate, c.accepted ? c.stored : "01/01/2000") << c.typed;
        if (!c.accepted) {
            EXPECT_EQ(check.reason, "'" + std::string(c.typed) + "' is not a valid date");
        }
    }
}

} // namespace
} // namespace kova
