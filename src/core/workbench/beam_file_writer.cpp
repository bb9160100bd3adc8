#include "core/workbench/beam_file_writer.h"

#include "core/beams/beam_form.h"
#include "core/text/cp1252.h"
#include "core/text/date_text.h"
#include "core/text/number_text.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace kova {
namespace {

/// A text as one value of a beam file: UTF-8, on one line (a line break would start a new
/// key; no dialog box can hold one, but a name typed elsewhere might).
std::string Value(const std::string& cp1252) {
    std::string text = Cp1252ToUtf8(cp1252);
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return text;
}

/// The factor of an entry made on the spot, as its editor shows it: the entry's one number
/// besides its name. Empty when it has none.
std::string FactorText(const EnergyListItem& entry) {
    const FormTexts texts = entry.EditorTexts();
    for (const FormGroup& group : entry.EditorLayout().groups) {
        for (const FormControl& control : group.controls) {
            if (control.kind == ControlKind::Number) {
                const auto it = texts.find(control.name);
                return it == texts.end() ? std::string() : it->second;
            }
        }
    }
    return {};
}

/// True when `entry` is one of the items a new beam of the same kind on the same machine
/// offers in list `name`: an entry of the energy, not one the beam made on the spot.
bool OfferedToEveryBeam(const BeamForm& fresh, std::string_view name, const EnergyListItem* entry) {
    return IndexOfEntry(fresh.Items(name), entry) >= 0;
}

/// A list's value: the selected entry's name, "NAME : FACTOR" for an entry the beam made on
/// the spot, "None" for an action item that carries no entry (a cancelled "Set on fly...").
std::string ListValue(const BeamForm& form, const BeamForm& fresh, std::string_view name) {
    const int selected = form.Selected(name);
    const std::vector<ModifierItem>& items = form.Items(name);
    if (selected < 0 || static_cast<std::size_t>(selected) >= items.size()) {
        return kNoneItem;
    }
    const ModifierItem& item = items[static_cast<std::size_t>(selected)];
    if (item.entry == nullptr) {
        const bool action =
            item.role == ItemRole::SetOnFly || item.role == ItemRole::ComputeFromFile;
        return action ? std::string(kNoneItem) : Value(item.text);
    }
    if (OfferedToEveryBeam(fresh, name, item.entry)) {
        return Value(item.entry->Name);
    }
    return Value(item.entry->Name) + " : " + FactorText(*item.entry);
}

bool SameValue(const std::string& a, const std::string& b) {
    const Result<double> x = StrToFloat(a);
    const Result<double> y = StrToFloat(b);
    if (!x || !y) {
        return a == b;
    }
    return std::fabs(*x - *y) <= 1e-9 * std::max(1.0, std::fabs(*x));
}

/// True when typing the boxes of page `sheet` of `form` into a new form of the same beam
/// fills every field box as `form` shows it.
bool SheetGivesTheField(const BeamForm& form, const TBeam& beam, int sheet) {
    const std::unique_ptr<TBeam> blank = CreateBeam(beam.Kind(), beam.name, beam.machine);
    const std::unique_ptr<BeamForm> trial = blank->CreateForm();
    if (!trial->SetSheet(sheet)) {
        return false;
    }
    for (const ControlSpec& control : form.Controls()) {
        if (control.sheet == sheet && control.type == ControlType::Edit &&
            trial->CanSet(control.name)) {
            trial->SetText(control.name, form.Text(control.name));
        }
    }
    return std::all_of(form.Controls().begin(), form.Controls().end(),
                       [&](const ControlSpec& control) {
                           return control.sheet == 0 ||
                                  SameValue(trial->Text(control.name), form.Text(control.name));
                       });
}

/// The page of field boxes to write: the form's own when it gives the field the form shows,
/// else the first other page that does. (A field set from outside the page in use, such as
/// jaws recommended for a multileaf field, is kept that way.) 0 for a form without pages.
int SheetToWrite(const BeamForm& form, const TBeam& beam) {
    std::vector<int> sheets{form.Sheet()};
    for (const ControlSpec& control : form.Controls()) {
        if (control.sheet != 0 &&
            std::find(sheets.begin(), sheets.end(), control.sheet) == sheets.end()) {
            sheets.push_back(control.sheet);
        }
    }
    if (sheets.size() == 1) {
        return sheets.front();
    }
    for (const int sheet : sheets) {
        if (SheetGivesTheField(form, beam, sheet)) {
            return sheet;
        }
    }
    return form.Sheet();
}

/// The value of a control the user can set now, or none for one the file leaves out: one the
/// dialog works out, a menu, a control it would not let the user change, and the boxes of
/// field pages other than `sheet`.
std::optional<std::string> ControlValue(const BeamForm& form, const BeamForm& fresh,
                                        const ControlSpec& control, int sheet) {
    if (control.type == ControlType::Shown || control.type == ControlType::Action ||
        !form.CanSet(control.name) || (control.sheet != 0 && control.sheet != sheet)) {
        return std::nullopt;
    }
    switch (control.type) {
    case ControlType::Edit:
        return Value(form.Text(control.name));
    case ControlType::List:
        return ListValue(form, fresh, control.name);
    case ControlType::Check:
        return std::string(form.Checked(control.name) ? "1" : "0");
    case ControlType::Choice:
        return std::to_string(form.Selected(control.name));
    case ControlType::Shown:
    case ControlType::Action:
        break;
    }
    return std::nullopt;
}

} // namespace

std::vector<ControlText> BeamControlTexts(TBeam& beam) {
    // The dialog of the stored beam, as "Edit..." shows it; a new beam of the same kind tells
    // the energy's entries from the ones this beam made on the spot.
    const std::unique_ptr<BeamForm> form = beam.CreateForm();
    form->LoadControls();
    const std::unique_ptr<TBeam> blank = CreateBeam(beam.Kind(), beam.name, beam.machine);
    const std::unique_ptr<BeamForm> fresh = blank->CreateForm();
    const int sheet = SheetToWrite(*form, beam);
    std::vector<ControlText> controls;
    for (const ControlSpec& control : form->Controls()) {
        if (std::optional<std::string> value = ControlValue(*form, *fresh, control, sheet)) {
            controls.push_back({std::string(control.name), std::move(*value)});
        }
    }
    return controls;
}

std::string WriteBeamBlock(const std::string& patientName, const TTreatment& treatment,
                           TBeam& beam) {
    std::ostringstream out;
    out << '[' << Value(beam.name) << "]\n";
    if (treatment.linac != nullptr && treatment.Energy() != nullptr) {
        out << "Linac = " << Value(treatment.linac->Name) << '\n';
        out << "Energy = " << Value(treatment.Energy()->Name) << '\n';
    }
    out << "BeamKind = " << BeamKindText(beam.Kind()) << '\n';
    out << "Patient = " << Value(patientName) << '\n';
    out << "Treatment = " << Value(treatment.name) << '\n';
    for (const ControlText& control : BeamControlTexts(beam)) {
        out << control.name << (control.text.empty() ? " =" : " = ") << control.text << '\n';
    }
    if (beam.calculated) {
        out << "# MU = " << beam.MUText() << ", computed on " << FormatShortDate(beam.day) << '\n';
    }
    return out.str();
}

std::string WriteWorkbench(const Workbench& workbench) {
    std::string text = "# KOVA X workbench: open it in the desktop program, or check it with "
                       "kova-mu.\n";
    for (const auto& patient : workbench.patients()) {
        for (const auto& treatment : patient->treatments) {
            for (const auto& beam : treatment->beams) {
                text += '\n' + WriteBeamBlock(patient->name, *treatment, *beam);
            }
        }
    }
    return text;
}

std::vector<std::string> NotKeptInBeamFile(const Workbench& workbench) {
    std::vector<std::string> lost;
    for (const auto& patient : workbench.patients()) {
        if (patient->treatments.empty()) {
            lost.push_back("patient '" + patient->name + "'");
        }
        for (const auto& treatment : patient->treatments) {
            if (treatment->beams.empty()) {
                lost.push_back("treatment '" + treatment->name + "' of patient '" + patient->name +
                               "'");
            }
        }
    }
    return lost;
}

} // namespace kova
