#include "core/beams/beam_form.h"

#include "core/text/number_text.h"

#include <algorithm>
#include <cassert>
#include <stdexcept>

namespace kova {

BeamForm::BeamForm(std::vector<ControlSpec> controls)
    : m_controls(std::move(controls)), m_state(m_controls.size()) {
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        const ControlSpec& control = m_controls[i];
        State& state = m_state[i];
        switch (control.type) {
        case ControlType::Edit:
        case ControlType::Shown:
            state.text = control.defaultText;
            state.readOnly = control.type == ControlType::Shown;
            break;
        case ControlType::Check:
            state.checked = control.defaultText == "1";
            break;
        case ControlType::Choice:
            state.selected = control.defaultText == "1" ? 1 : 0;
            break;
        case ControlType::List:
        case ControlType::Action:
            break;
        }
    }
}

std::size_t BeamForm::IndexOf(std::string_view name) const {
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        if (m_controls[i].name == name) {
            return i;
        }
    }
    // Only the program itself names controls; an unknown name is a fault in it, stopped
    // here rather than reading past the table.
    assert(false && "the beam form has no control of that name");
    throw std::logic_error("the beam form has no control " + std::string(name));
}

const ControlSpec* BeamForm::Find(std::string_view name) const {
    for (const ControlSpec& control : m_controls) {
        if (control.name == name) {
            return &control;
        }
    }
    return nullptr;
}

Status BeamForm::Captioned(std::string_view name, const Status& status) const {
    const std::string_view caption = m_controls[IndexOf(name)].caption;
    if (status.ok()) {
        return status;
    }
    m_refused = m_controls[IndexOf(name)].name;
    return caption.empty() ? status : Status::Fail(std::string(caption) + ": " + status.reason());
}

Status BeamForm::Refused(std::string_view name, const std::string& reason) const {
    m_refused = m_controls[IndexOf(name)].name;
    return Status::Fail(reason);
}

std::string BeamForm::CaptionOf(std::string_view name) const {
    const ControlSpec& control = m_controls[IndexOf(name)];
    return std::string(control.caption.empty() ? control.name : control.caption);
}

const std::string& BeamForm::Text(std::string_view name) const {
    return m_state[IndexOf(name)].text;
}

bool BeamForm::Enabled(std::string_view name) const {
    return m_state[IndexOf(name)].enabled;
}

bool BeamForm::ReadOnly(std::string_view name) const {
    return m_state[IndexOf(name)].readOnly;
}

const std::vector<ModifierItem>& BeamForm::Items(std::string_view name) const {
    return m_state[IndexOf(name)].items;
}

int BeamForm::Selected(std::string_view name) const {
    return m_state[IndexOf(name)].selected;
}

const EnergyListItem* BeamForm::SelectedEntry(std::string_view name) const {
    const State& state = m_state[IndexOf(name)];
    if (state.selected < 0 || static_cast<std::size_t>(state.selected) >= state.items.size()) {
        return nullptr;
    }
    return state.items[static_cast<std::size_t>(state.selected)].entry;
}

bool BeamForm::Checked(std::string_view name) const {
    return m_state[IndexOf(name)].checked;
}

Status BeamForm::CanSet(std::string_view name) const {
    const std::size_t index = IndexOf(name);
    if (m_controls[index].type == ControlType::Shown) {
        return Status::Fail(std::string(name) + " is worked out by the dialog, not typed");
    }
    if (!m_state[index].enabled || m_state[index].readOnly) {
        return Status::Fail(std::string(name) + " cannot be set here");
    }
    return Status::Ok();
}

void BeamForm::SetText(std::string_view name, const std::string& text) {
    const std::size_t index = IndexOf(name);
    m_state[index].text = text;
    // Typing rules skip a text that is not a number; there is nothing to report.
    (void)RunRule(m_controls[index]);
}

Picked BeamForm::Select(std::string_view name, int index) {
    const std::size_t i = IndexOf(name);
    State& state = m_state[i];
    if (index < 0 || static_cast<std::size_t>(index) >= state.items.size()) {
        return {};
    }
    state.selected = index;
    Picked picked;
    switch (state.items[static_cast<std::size_t>(index)].role) {
    case ItemRole::SetOnFly:
        picked.followUp = FollowUp::AskModifierValue;
        break;
    case ItemRole::ComputeFromFile:
        picked.followUp = FollowUp::ComputeFromFile;
        break;
    default:
        picked.status = RunRule(m_controls[i]);
        break;
    }
    return picked;
}

void BeamForm::SetChecked(std::string_view name, bool checked) {
    const std::size_t index = IndexOf(name);
    m_state[index].checked = checked;
    (void)RunRule(m_controls[index]);
}

void BeamForm::AddOnFly(std::string_view name, const ModifierValue& value) {
    const EnergyListItem* made = nullptr;
    std::vector<ModifierItem> items = MakeOnFly(name, value, made);
    SetItems(name, std::move(items));
    SelectEntryQuietly(name, made);
}

void BeamForm::FollowUpCancelled(std::string_view) {
    // "Set on fly..." stays selected; it carries no entry, so the beam gets none.
}

Status BeamForm::CheckBatchInput(const std::vector<std::string_view>&) const {
    return Status::Ok();
}

Status BeamForm::MissingRequired(const std::vector<std::string_view>& set) const {
    std::string missing;
    for (const ControlSpec& control : m_controls) {
        const bool given = std::find(set.begin(), set.end(), control.name) != set.end();
        if (control.required && !given && NeededNow(control, set)) {
            missing += (missing.empty() ? "" : ", ") + std::string(control.name);
        }
    }
    if (missing.empty()) {
        return Status::Ok();
    }
    return Status::Fail("the beam gives no " + missing);
}

bool BeamForm::NeededNow(const ControlSpec& control, const std::vector<std::string_view>&) const {
    return control.sheet == 0 || control.sheet == Sheet();
}

std::vector<ModifierItem> BeamForm::MakeOnFly(std::string_view name, const ModifierValue&,
                                              const EnergyListItem*& made) {
    made = nullptr;
    return Items(name);
}

std::string& BeamForm::TextRef(std::string_view name) {
    return m_state[IndexOf(name)].text;
}

void BeamForm::SetEnabled(std::string_view name, bool enabled) {
    m_state[IndexOf(name)].enabled = enabled;
}

void BeamForm::SetReadOnly(std::string_view name, bool readOnly) {
    m_state[IndexOf(name)].readOnly = readOnly;
}

void BeamForm::SetItems(std::string_view name, std::vector<ModifierItem> items, int selected) {
    State& state = m_state[IndexOf(name)];
    state.items = std::move(items);
    state.selected = state.items.empty() ? -1 : selected;
}

void BeamForm::SelectQuietly(std::string_view name, int index) {
    State& state = m_state[IndexOf(name)];
    if (index >= 0 && static_cast<std::size_t>(index) < state.items.size()) {
        state.selected = index;
    }
}

void BeamForm::SelectEntryQuietly(std::string_view name, const EnergyListItem* entry) {
    SelectQuietly(name, IndexOfEntry(Items(name), entry));
}

void BeamForm::SetCheckedQuietly(std::string_view name, bool checked) {
    m_state[IndexOf(name)].checked = checked;
}

} // namespace kova
