#include "core/workbench/beam_input.h"

#include "core/beams/modifiers.h"

#include <algorithm>

namespace kova {
namespace {

bool IsToolKey(const std::string& key) {
    const auto is = [&key](const char* tool) { return key == tool; };
    return std::any_of(std::begin(kToolKeys), std::end(kToolKeys), is) ||
           std::any_of(std::begin(kMultileafKeys), std::end(kMultileafKeys), is);
}

/// True when some beam kind's dialog has a control of that name.
bool IsControlOfAnyKind(const std::string& key) {
    for (const BeamKindInfo& kind : BeamKinds()) {
        const std::unique_ptr<TBeam> beam = kind.create({});
        if (beam->CreateForm()->Find(key) != nullptr) {
            return true;
        }
    }
    return false;
}

/// Collects problems of one beam.
class Checker {
public:
    Checker(const BeamBlock& block, std::vector<InputError>& errors)
        : m_block(block), m_errors(errors) {}

    void Error(const BeamEntry* entry, const std::string& message, const std::string& text) {
        m_errors.push_back(
            {m_block.file, entry != nullptr ? entry->line : m_block.line, message, text});
        m_failed = true;
    }
    bool failed() const { return m_failed; }

private:
    const BeamBlock& m_block;
    std::vector<InputError>& m_errors;
    bool m_failed = false;
};

template <class T>
const T* FindByName(const EntryList<T>& list, const std::string& name) {
    for (const auto& entry : list) {
        if (entry->Name == name) {
            return entry.get();
        }
    }
    return nullptr;
}

const TLinacSpec* ResolveLinac(const BeamBlock& block,
                               const std::vector<std::unique_ptr<TLinacSpec>>& linacs,
                               Checker& check) {
    const BeamEntry* entry = block.Find("Linac");
    if (entry == nullptr) {
        check.Error(nullptr, "the beam names no Linac", block.title);
        return nullptr;
    }
    for (const auto& linac : linacs) {
        if (linac->Name == entry->value) {
            return linac.get();
        }
    }
    check.Error(entry, "no linac of the linac folder has this Name", entry->value);
    return nullptr;
}

std::optional<BeamKind> ResolveKind(const BeamBlock& block, Checker& check) {
    const BeamEntry* entry = block.Find("BeamKind");
    if (entry == nullptr) {
        return BeamKind::Photon;
    }
    const std::optional<BeamKind> kind = BeamKindFromText(entry->value);
    if (!kind) {
        check.Error(entry, "unknown BeamKind", entry->value);
    }
    return kind;
}

/// The treatment the beam's Linac, Energy and BeamKind describe.
std::unique_ptr<TTreatment> ResolveTreatment(const BeamBlock& block, const TLinacSpec& linac,
                                             BeamKind kind, Checker& check) {
    const BeamEntry* entry = block.Find("Energy");
    if (entry == nullptr) {
        check.Error(nullptr, "the beam names no Energy", block.title);
        return nullptr;
    }
    const bool electron = KindInfo(kind).electron;
    const TEnergy* energy =
        electron ? static_cast<const TEnergy*>(FindByName(linac.eEnergies, entry->value))
                 : FindByName(linac.gEnergies, entry->value);
    if (energy == nullptr) {
        check.Error(entry,
                    "the linac " + linac.Name + " has no " + (electron ? "electron" : "photon") +
                        " energy of this name",
                    entry->value);
        return nullptr;
    }
    Result<std::unique_ptr<TTreatment>> made = MakeTreatment(block.title, linac, kind, *energy);
    if (!made) {
        check.Error(block.Find("BeamKind"), made.reason(), BeamKindText(kind));
        return nullptr;
    }
    return std::move(made.value());
}

/// "0 (Isocentric) or 1 (Not Isocentric)".
std::string ChoiceTexts(const std::vector<ModifierItem>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        text += (i == 0 ? "" : " or ") + std::to_string(i) + " (" + items[i].text + ")";
    }
    return text;
}

void SetChoice(BeamForm& form, const BeamEntry& entry, Checker& check) {
    const std::vector<ModifierItem>& items = form.Items(entry.key);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (entry.value == std::to_string(i) || entry.value == items[i].text) {
            const Picked picked = form.Select(entry.key, static_cast<int>(i));
            if (!picked.status) {
                check.Error(&entry, picked.status.reason(), entry.value);
            }
            return;
        }
    }
    const bool menu = form.Find(entry.key)->type == ControlType::Action;
    check.Error(&entry,
                entry.key +
                    (menu ? " must be " + items.front().text : " must be " + ChoiceTexts(items)),
                entry.value);
}

/// An entry of a list by name, or one made on the spot ("NAME : FACTOR") where the list
/// offers "Set on fly...".
void SetList(BeamForm& form, const BeamEntry& entry, Checker& check) {
    const std::vector<ModifierItem>& items = form.Items(entry.key);
    if (const Status can = form.CanSet(entry.key); !can) {
        const int selected = form.Selected(entry.key);
        const bool unchanged =
            entry.value == kNoneItem ||
            (selected >= 0 && items[static_cast<std::size_t>(selected)].text == entry.value);
        if (!unchanged) {
            check.Error(&entry, can.reason(), entry.value);
        }
        return;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ItemRole role = items[i].role;
        if (role != ItemRole::SetOnFly && role != ItemRole::ComputeFromFile &&
            items[i].text == entry.value) {
            form.Select(entry.key, static_cast<int>(i));
            return;
        }
    }
    const int onFly = IndexOfRole(items, ItemRole::SetOnFly);
    if (onFly < 0 || entry.value.find(':') == std::string::npos) {
        check.Error(&entry, "no " + entry.key + " entry has this name", entry.value);
        return;
    }
    const Result<ModifierValue> value = ParseModifierValue(entry.value);
    if (!value) {
        check.Error(&entry,
                    "an entry made on the spot needs a name and a factor other than 0 "
                    "(NAME : FACTOR)",
                    entry.value);
        return;
    }
    form.Select(entry.key, onFly);
    form.AddOnFly(entry.key, *value);
}

void SetCheck(BeamForm& form, const BeamEntry& entry, Checker& check) {
    if (entry.value != "0" && entry.value != "1") {
        check.Error(&entry, entry.key + " must be 0 or 1", entry.value);
        return;
    }
    const bool checked = entry.value == "1";
    if (const Status can = form.CanSet(entry.key); !can) {
        if (checked != form.Checked(entry.key)) {
            check.Error(&entry, can.reason(), entry.value);
        }
        return;
    }
    form.SetChecked(entry.key, checked);
}

/// Types an edit; an edit on a page of controls (a field sheet) makes that page the active
/// one first, and all such edits of a beam must be on one page.
void SetEdit(BeamForm& form, const ControlSpec& control, const BeamEntry& entry,
             std::optional<int>& sheet, Checker& check) {
    if (control.sheet != 0) {
        if (sheet && *sheet != control.sheet) {
            check.Error(&entry, "the field must be given through one sheet only", entry.key);
            return;
        }
        sheet = control.sheet;
        if (!form.SetSheet(control.sheet) || !form.CanSet(entry.key)) {
            check.Error(&entry, form.CanSet(entry.key).reason(), entry.key);
            return;
        }
    } else if (const Status can = form.CanSet(entry.key); !can) {
        check.Error(&entry, can.reason(), entry.value);
        return;
    }
    form.SetText(entry.key, entry.value);
}

void SetControl(BeamForm& form, const ControlSpec& control, const BeamEntry& entry,
                std::optional<int>& sheet, Checker& check) {
    switch (control.type) {
    case ControlType::Edit:
        SetEdit(form, control, entry, sheet, check);
        break;
    case ControlType::Shown:
        check.Error(&entry, form.CanSet(entry.key).reason(), entry.key);
        break;
    case ControlType::List:
        SetList(form, entry, check);
        break;
    case ControlType::Check:
        SetCheck(form, entry, check);
        break;
    case ControlType::Choice:
    case ControlType::Action:
        SetChoice(form, entry, check);
        break;
    }
}

/// The controls of the file in the order a user sets them: by step, in file order within
/// a step. Keys that are no control of the form are errors.
std::vector<std::pair<const ControlSpec*, const BeamEntry*>>
ControlsInOrder(const BeamBlock& block, const BeamForm& form, Checker& check) {
    std::vector<std::pair<const ControlSpec*, const BeamEntry*>> controls;
    for (const BeamEntry& entry : block.entries) {
        if (IsToolKey(entry.key)) {
            continue;
        }
        if (const ControlSpec* control = form.Find(entry.key)) {
            controls.emplace_back(control, &entry);
        } else if (IsControlOfAnyKind(entry.key)) {
            check.Error(&entry, "this beam kind has no such control", entry.key);
        }
    }
    std::stable_sort(controls.begin(), controls.end(),
                     [](const auto& a, const auto& b) { return a.first->step < b.first->step; });
    return controls;
}

/// Types the block into the form; faults of the file go to `check`. The beam's refusal, when
/// a value the calculation needs is missing (as an empty value is refused at OK), is
/// returned; empty otherwise.
std::string TypeBeam(const BeamBlock& block, BeamForm& form, Checker& check) {
    std::optional<int> sheet;
    std::vector<std::string_view> set;
    for (const auto& [control, entry] : ControlsInOrder(block, form, check)) {
        SetControl(form, *control, *entry, sheet, check);
        set.push_back(control->name);
    }
    if (const Status complete = form.CheckBatchInput(set); !complete) {
        check.Error(nullptr, complete.reason(), block.title);
        return {};
    }
    return form.MissingRequired(set).reason();
}

} // namespace

std::optional<ResolvedBeam> ResolveBeam(const BeamBlock& block,
                                        const std::vector<std::unique_ptr<TLinacSpec>>& linacs,
                                        std::vector<InputError>& errors) {
    Checker check(block, errors);
    for (const BeamEntry& entry : block.entries) {
        if (!IsToolKey(entry.key) && !IsControlOfAnyKind(entry.key)) {
            check.Error(&entry, "unknown key", entry.key);
        }
    }
    const TLinacSpec* linac = ResolveLinac(block, linacs, check);
    const std::optional<BeamKind> kind = ResolveKind(block, check);
    if (linac == nullptr || !kind) {
        return std::nullopt;
    }
    ResolvedBeam beam;
    beam.block = &block;
    beam.treatment = ResolveTreatment(block, *linac, *kind, check);
    if (!beam.treatment) {
        return std::nullopt;
    }
    if (const BeamEntry* patient = block.Find("Patient")) {
        beam.patientName = patient->value;
    }
    if (const BeamEntry* treatment = block.Find("Treatment")) {
        beam.treatmentName = treatment->value;
        beam.treatment->name = treatment->value;
    }
    beam.beam = &beam.treatment->AddBeam(beam.treatment->CreateBeam(block.title));
    beam.form = beam.beam->CreateForm();
    beam.refusal = TypeBeam(block, *beam.form, check);
    if (!check.failed() && beam.refusal.empty()) {
        const std::size_t before = errors.size();
        MultileafOutcome multileaf = ImportMultileafKeys(block, *beam.form, errors);
        if (errors.size() > before) {
            return std::nullopt;
        }
        beam.multileaf = std::move(multileaf.imported);
        beam.refusal = std::move(multileaf.refusal);
    }
    if (check.failed()) {
        return std::nullopt;
    }
    return beam;
}

bool TypeBeamBlock(const BeamBlock& block, BeamForm& form, std::vector<InputError>& errors) {
    Checker check(block, errors);
    if (const std::string refusal = TypeBeam(block, form, check); !refusal.empty()) {
        check.Error(nullptr, refusal, block.title);
    }
    return !check.failed();
}

std::string InputErrorsText(const std::vector<InputError>& errors) {
    std::string text;
    for (const InputError& error : errors) {
        text += (text.empty() ? "" : "; ") + error.message +
                (error.text.empty() ? "" : ": '" + error.text + "'");
    }
    return text;
}

BeamOutcome ComputeBeam(ResolvedBeam& resolved, const Date& today) {
    BeamOutcome outcome;
    outcome.resolved = &resolved;
    outcome.beam = resolved.beam;
    if (!resolved.refusal.empty()) {
        outcome.reason = resolved.refusal;
        return outcome;
    }
    const Status accepted = resolved.form->Accept(today);
    outcome.computed = accepted.ok();
    outcome.reason = accepted.reason();
    return outcome;
}

} // namespace kova
