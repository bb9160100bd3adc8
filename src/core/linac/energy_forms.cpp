// The energy windows "gEnergy" and "eEnergy": their controls, the texts they show and how OK
// stores them. Every text is converted before anything is stored.

#include "core/linac/energy.h"
#include "core/text/cp1252.h"
#include "core/text/number_text.h"

#include <array>

namespace kova {
namespace {

FormControl Number(const char* name, const char* label) {
    return FormControl{name, label, ControlKind::Number, {}, {}};
}

FormControl Check(const char* name, const char* label) {
    return FormControl{name, label, ControlKind::Check, {}, {}};
}

FormControl NameBox() {
    return FormControl{"Name", "Name", ControlKind::Text, {}, {}};
}

template <class E>
struct NumberField {
    const char* control;
    double E::*member;
    bool nonNegative = false; ///< refused below 0, as the linac file reader refuses it
};

using PhotonNumber = NumberField<TgEnergy>;

/// The photon energy's numbers that OK reads before the calibration date, in that order.
constexpr std::array<PhotonNumber, 17> kPhotonNumbers = {{
    {"MaxWidth", &TgEnergy::MaxWidth},
    {"MaxHeight", &TgEnergy::MaxHeight},
    {"MaxLeft", &TgEnergy::MaxLeft},
    {"MaxRight", &TgEnergy::MaxRight},
    {"MaxBottom", &TgEnergy::MaxBottom},
    {"MaxTop", &TgEnergy::MaxTop},
    {"MinWidth", &TgEnergy::MinWidth},
    {"MinHeight", &TgEnergy::MinHeight},
    {"MinLeft", &TgEnergy::MinLeft},
    {"MinRight", &TgEnergy::MinRight},
    {"MinBottom", &TgEnergy::MinBottom},
    {"MinTop", &TgEnergy::MinTop},
    {"NominalEnergy", &TgEnergy::NominalEnergy},
    {"Buildup", &TgEnergy::Buildup},
    {"SCD", &TgEnergy::SCD},
    {"cGyUMRatio", &TgEnergy::cGyUMRatio, true},
    {"HalfLife", &TgEnergy::HalfLife, true},
}};

/// The TBI numbers, read after the TBI check box.
constexpr std::array<PhotonNumber, 2> kTbiNumbers = {{
    {"TBIRef", &TgEnergy::TBIRef},
    {"TBIFieldSize", &TgEnergy::TBIFieldSize},
}};

/// The electron energy's numbers in the order OK reads them.
constexpr std::array<NumberField<TeEnergy>, 3> kElectronNumbers = {{
    {"NominalEnergy", &TeEnergy::NominalEnergy},
    {"Buildup90", &TeEnergy::Buildup90},
    {"SSD", &TeEnergy::SSD},
}};

/// Reads the numbers of `fields` in order.
template <class E, std::size_t N>
std::array<double, N> ReadNumbers(FormReader& in, const std::array<NumberField<E>, N>& fields) {
    std::array<double, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        values[i] = fields[i].nonNegative ? in.NonNegative(fields[i].control)
                                          : in.Number(fields[i].control);
    }
    return values;
}

template <class E, std::size_t N>
void StoreNumbers(E& energy, const std::array<NumberField<E>, N>& fields,
                  const std::array<double, N>& values) {
    for (std::size_t i = 0; i < N; ++i) {
        energy.*(fields[i].member) = values[i];
    }
}

template <class E, std::size_t N>
void ShowNumbers(const E& energy, const std::array<NumberField<E>, N>& fields, FormTexts& texts) {
    for (const NumberField<E>& field : fields) {
        texts[field.control] = FormatGeneral(energy.*(field.member));
    }
}

/// The six limits of a field-size group: prefix "Max" or "Min".
std::vector<FormControl> LimitControls(const std::string& prefix) {
    std::vector<FormControl> controls;
    for (const char* side : {"Width", "Height", "Left", "Right", "Bottom", "Top"}) {
        controls.push_back(
            FormControl{prefix + side, std::string(side) + " [cm]", ControlKind::Number, {}, {}});
    }
    return controls;
}

FormLayout PhotonLayout() {
    return FormLayout{
        "gEnergyForm",
        "gEnergy",
        {{"Energy Field Identifiers", {NameBox()}},
         {"Energy Specification", {Number("NominalEnergy", "Nominal Energy [MV]")}},
         {"Calibration",
          {Number("cGyUMRatio", "Factor [cGy / MU]"), Number("HalfLife", "Half Life [years]"),
           FormControl{"CalDate", "Date", ControlKind::Date, {}, {}},
           Number("Buildup", "Build-up [cm]"), Number("SCD", "SCD [cm]")}},
         {"Total Body Irradiation - TBI support",
          {Check("TBISupported", "Is TBI Available?"), Number("TBIRef", "Ref Distance [cm]"),
           Number("TBIFieldSize", "Field Size [cm]")}},
         {"Offset Support", {Number("IgnoreOffset", "Ignore if < [cm]")}},
         {"Maximum Field Size", LimitControls("Max")},
         {"Minimum Field Size", LimitControls("Min")},
         {"Options",
          {Check("OpenWedgeMUSupported", "Open/Wedge Supported ?"),
           Check("MLCSupported", "MLC Supported ?")}},
         {"Print Options",
          {FormControl{"PrintOffset",
                       "Print Options",
                       ControlKind::Choice,
                       {"Offset alla Varian", "Offset alla Philips"},
                       {}}}}},
        "Name",
        3};
}

std::string Flag(bool value) {
    return value ? "1" : "0";
}

} // namespace

const FormLayout& TgEnergy::EditorLayout() const {
    static const FormLayout layout = PhotonLayout();
    return layout;
}

FormTexts TgEnergy::EditorTexts() const {
    FormTexts texts{{"Name", Cp1252ToUtf8(Name)},
                    {"CalDate", Cp1252ToUtf8(CalDate)},
                    {"TBISupported", Flag(TBISupported)},
                    {"OpenWedgeMUSupported", Flag(OpenWedgeMUSupported)},
                    {"MLCSupported", Flag(MLCSupported)},
                    {"PrintOffset", PrintOffset ? "1" : "0"},
                    {"IgnoreOffset", FormatGeneral(IgnoreOffset)}};
    ShowNumbers(*this, kPhotonNumbers, texts);
    ShowNumbers(*this, kTbiNumbers, texts);
    return texts;
}

FormCheck TgEnergy::SaveEditorTexts(const FormTexts& texts) {
    FormReader in(texts);
    std::string name = in.Name("Name");
    const auto numbers = ReadNumbers(in, kPhotonNumbers);
    std::string date = in.Date("CalDate");
    if (const std::string problem = CalDateProblem(date); !problem.empty()) {
        in.Refuse("CalDate", problem);
    }
    const bool tbi = in.Check("TBISupported");
    const auto tbiNumbers = ReadNumbers(in, kTbiNumbers);
    const bool openWedge = in.Check("OpenWedgeMUSupported");
    const bool multileaf = in.Check("MLCSupported");
    const int printOffset = in.Choice("PrintOffset", 2, PrintOffset ? 1 : 0);
    const double ignoreOffset = in.Number("IgnoreOffset");
    if (!in.check().ok()) {
        return in.check();
    }
    Name = std::move(name);
    StoreNumbers(*this, kPhotonNumbers, numbers);
    CalDate = std::move(date);
    TBISupported = tbi;
    StoreNumbers(*this, kTbiNumbers, tbiNumbers);
    OpenWedgeMUSupported = openWedge;
    MLCSupported = multileaf;
    PrintOffset = printOffset == 1;
    IgnoreOffset = ignoreOffset;
    return {};
}

const FormLayout& TeEnergy::EditorLayout() const {
    static const FormLayout layout{
        "eEnergyForm",
        "eEnergy",
        {{"Energy Field identifiers", {NameBox()}},
         {"Energy specification",
          {Number("NominalEnergy", "Nominal Energy [MeV]"), Number("Buildup90", "90% Depth [cm]"),
           Number("SSD", "SSD [cm]")}}},
        "Name"};
    return layout;
}

FormTexts TeEnergy::EditorTexts() const {
    FormTexts texts{{"Name", Cp1252ToUtf8(Name)}};
    ShowNumbers(*this, kElectronNumbers, texts);
    return texts;
}

FormCheck TeEnergy::SaveEditorTexts(const FormTexts& texts) {
    FormReader in(texts);
    std::string name = in.Name("Name");
    const auto numbers = ReadNumbers(in, kElectronNumbers);
    if (!in.check().ok()) {
        return in.check();
    }
    Name = std::move(name);
    StoreNumbers(*this, kElectronNumbers, numbers);
    return {};
}

} // namespace kova
