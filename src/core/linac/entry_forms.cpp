// The editor windows of the table entries: their controls, the texts they show and how OK
// stores them. Every text is converted before anything is stored, so a refused box leaves
// the entry exactly as it was.

#include "core/linac/energy_list_item.h"
#include "core/text/cp1252.h"
#include "core/text/number_text.h"

namespace kova {
namespace {

FormControl Number(const char* name, const char* label) {
    return FormControl{name, label, ControlKind::Number, {}, {}};
}

FormControl Text(const char* name, const char* label) {
    return FormControl{name, label, ControlKind::Text, {}, {}};
}

FormControl Check(const char* name, const char* label) {
    return FormControl{name, label, ControlKind::Check, {}, {}};
}

/// `control`, enabled exactly when the check box `checkBox` is checked.
FormControl EnabledBy(FormControl control, const char* checkBox) {
    control.enabledBy = checkBox;
    return control;
}

std::string G(double value) {
    return FormatGeneral(value);
}

std::string Flag(bool value) {
    return value ? "1" : "0";
}

/// The window of a named entry with one factor (tray, shield, multileaf factor, applicator).
FormLayout NamedLayout(const char* formName, const char* caption, const char* nameGroup,
                       const char* factorGroup, FormControl factor) {
    return FormLayout{
        formName, caption, {{nameGroup, {Text("Name", "Name")}}, {factorGroup, {factor}}}, "Name"};
}

FormTexts NamedTexts(const std::string& name, const char* factorControl, double factor) {
    return {{"Name", Cp1252ToUtf8(name)}, {factorControl, G(factor)}};
}

FormCheck SaveNamed(const FormTexts& texts, const char* factorControl, std::string& name,
                    double& factor) {
    FormReader in(texts);
    std::string newName = in.Name("Name");
    const double newFactor = in.NonNegative(factorControl);
    if (in.check().ok()) {
        name = std::move(newName);
        factor = newFactor;
    }
    return in.check();
}

} // namespace

const FormLayout& EnergyListItem::EditorLayout() const {
    static const FormLayout layout{"EnergyListItemForm", "EnergyListItemForm", {}, {}};
    return layout;
}

FormTexts EnergyListItem::EditorTexts() const {
    return {};
}

FormCheck EnergyListItem::SaveEditorTexts(const FormTexts&) {
    return {};
}

const FormLayout& RefField::EditorLayout() const {
    static const FormLayout layout{
        "RefFieldForm",
        "Reference Field",
        {{"Field Size", {Number("Width", "Width"), Number("Height", "Height")}},
         {"Modifiers",
          {Number("FieldFactor", "Field Factor"),
           EnabledBy(Number("ScatterPhantomFactor", "Phantom Scatter Factor"),
                     "isScatterPhantomFactorAvailable"),
           Check("isScatterPhantomFactorAvailable", "Is Phantom Scatter data Available?")}}},
        "Width"};
    return layout;
}

FormTexts RefField::EditorTexts() const {
    return {{"Width", G(Width)},
            {"Height", G(Height)},
            {"FieldFactor", G(FieldFactor)},
            {"isScatterPhantomFactorAvailable", Flag(isScatterPhantomFactorAvailable)},
            {"ScatterPhantomFactor", G(ScatterPhantomFactor)}};
}

FormCheck RefField::SaveEditorTexts(const FormTexts& texts) {
    FormReader in(texts);
    const double width = in.NonNegative("Width");
    const double height = in.NonNegative("Height");
    const double fieldFactor = in.NonNegative("FieldFactor");
    const bool available = in.Check("isScatterPhantomFactorAvailable");
    // Without phantom scatter data nothing reads the factor: an empty box keeps the stored
    // one, so a new field can be accepted without inventing a figure.
    const double scatter = available ? in.NonNegative("ScatterPhantomFactor")
                                     : in.NumberOr("ScatterPhantomFactor", ScatterPhantomFactor);
    if (in.check().ok()) {
        Width = width;
        Height = height;
        FieldFactor = fieldFactor;
        isScatterPhantomFactorAvailable = available;
        ScatterPhantomFactor = scatter;
    }
    return in.check();
}

const FormLayout& PDDValue::EditorLayout() const {
    static const FormLayout layout{
        "PDDValueForm",
        "PDD Value",
        {{"PDD Value",
          {Number("Depth", "Depth [cm]"), Number("PercentDose", "Dose fraction (1 at build-up)")}}},
        "Depth"};
    return layout;
}

FormTexts PDDValue::EditorTexts() const {
    return {{"Depth", G(Depth)}, {"PercentDose", G(PercentDose)}};
}

FormCheck PDDValue::SaveEditorTexts(const FormTexts& texts) {
    FormReader in(texts);
    const double depth = in.NonNegative("Depth");
    const double percentDose = in.NonNegative("PercentDose");
    if (in.check().ok()) {
        Depth = depth;
        PercentDose = percentDose;
    }
    return in.check();
}

const FormLayout& Wedge::EditorLayout() const {
    static const FormLayout layout{
        "WedgeForm",
        "Wedge",
        {{"Treatment identifiers", {Text("Name", "Name")}},
         {"Wedge Type",
          {FormControl{"WedgeTypes",
                       "Wedge Type",
                       ControlKind::Choice,
                       {"Static", "Dynamic", "Universal"},
                       {}}}},
         {"Special behaviour", {Check("isOffsetWedged", "Do not use Offset Factor when wedged")}},
         {"Maximum Field Size",
          {Number("MaxWidth", "Width [cm]"), Number("MaxHeight", "Height [cm]")}}},
        "Name"};
    return layout;
}

FormTexts Wedge::EditorTexts() const {
    // A type without an item (a file may hold 3) selects none.
    return {{"Name", Cp1252ToUtf8(Name)},
            {"WedgeTypes", WedgeType <= 2 ? std::to_string(WedgeType) : std::string()},
            {"MaxWidth", G(MaxWidth)},
            {"MaxHeight", G(MaxHeight)},
            {"isOffsetWedged", Flag(isOffsetWedged)}};
}

FormCheck Wedge::SaveEditorTexts(const FormTexts& texts) {
    FormReader in(texts);
    std::string name = in.Name("Name");
    // No item selected keeps the stored type instead of inventing one.
    const int type = in.Choice("WedgeTypes", 3, WedgeType);
    const double maxWidth = in.Number("MaxWidth");
    const double maxHeight = in.Number("MaxHeight");
    const bool offsetWedged = in.Check("isOffsetWedged");
    if (in.check().ok()) {
        Name = std::move(name);
        WedgeType = static_cast<std::uint8_t>(type);
        MaxWidth = maxWidth;
        MaxHeight = maxHeight;
        isOffsetWedged = offsetWedged;
    }
    return in.check();
}

const FormLayout& WFValue::EditorLayout() const {
    static const FormLayout layout{"WFValueForm",
                                   "Wedge Factor Value",
                                   {{"Field Size", {Number("FieldSize", "Size [cm]")}},
                                    {"PDD modifier", {Number("PDDWarp", "Warp value")}},
                                    {"Modifiers", {Number("WF", "Wedge Factor")}}},
                                   "FieldSize"};
    return layout;
}

FormTexts WFValue::EditorTexts() const {
    return {{"FieldSize", G(FieldSize)}, {"PDDWarp", G(PDDWarp)}, {"WF", G(WF)}};
}

FormCheck WFValue::SaveEditorTexts(const FormTexts& texts) {
    FormReader in(texts);
    const double fieldSize = in.NonNegative("FieldSize");
    const double warp = in.NonNegative("PDDWarp");
    const double wf = in.NonNegative("WF");
    if (in.check().ok()) {
        FieldSize = fieldSize;
        PDDWarp = warp;
        WF = wf;
    }
    return in.check();
}

const FormLayout& Tray::EditorLayout() const {
    static const FormLayout layout =
        NamedLayout("TrayForm", "Tray", "Identifier", "Modifiers", Number("TF", "Tray Factor"));
    return layout;
}

FormTexts Tray::EditorTexts() const {
    return NamedTexts(Name, "TF", TF);
}

FormCheck Tray::SaveEditorTexts(const FormTexts& texts) {
    return SaveNamed(texts, "TF", Name, TF);
}

const FormLayout& Shield::EditorLayout() const {
    static const FormLayout layout = NamedLayout("ShieldForm", "Shield", "Identifier", "Modifiers",
                                                 Number("SF", "Shield Factor"));
    return layout;
}

FormTexts Shield::EditorTexts() const {
    return NamedTexts(Name, "SF", SF);
}

FormCheck Shield::SaveEditorTexts(const FormTexts& texts) {
    return SaveNamed(texts, "SF", Name, SF);
}

const FormLayout& MLCFValue::EditorLayout() const {
    static const FormLayout layout =
        NamedLayout("MLCFValueForm", "Multileaf Factor Value", "Treatment identifiers", "Modifiers",
                    Number("MLCF", "MLC Factor"));
    return layout;
}

FormTexts MLCFValue::EditorTexts() const {
    return NamedTexts(Name, "MLCF", MLCF);
}

FormCheck MLCFValue::SaveEditorTexts(const FormTexts& texts) {
    return SaveNamed(texts, "MLCF", Name, MLCF);
}

const FormLayout& Applicator::EditorLayout() const {
    static const FormLayout layout =
        NamedLayout("ApplicatorForm", "ApplicatorForm", "Identifier", "Calibration",
                    Number("AF", "Applicator Factor [cGy / MU]"));
    return layout;
}

FormTexts Applicator::EditorTexts() const {
    return NamedTexts(Name, "AF", AF);
}

FormCheck Applicator::SaveEditorTexts(const FormTexts& texts) {
    return SaveNamed(texts, "AF", Name, AF);
}

const FormLayout& OFValue::EditorLayout() const {
    static const FormLayout layout{
        "OFValueForm",
        "Offset Factor Value",
        {{"Offset value", {Number("CenterFieldOffset", "Center Field Offset [cm] ")}},
         {"Modifiers", {Number("OF", "Offset Factor")}}},
        "CenterFieldOffset"};
    return layout;
}

FormTexts OFValue::EditorTexts() const {
    return {{"CenterFieldOffset", G(CenterFieldOffset)}, {"OF", G(OF)}};
}

FormCheck OFValue::SaveEditorTexts(const FormTexts& texts) {
    FormReader in(texts);
    const double offset = in.Number("CenterFieldOffset");
    const double factor = in.NonNegative("OF");
    if (in.check().ok()) {
        CenterFieldOffset = offset;
        OF = factor;
    }
    return in.check();
}

} // namespace kova
