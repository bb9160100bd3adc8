#pragma once

#include "core/beams/beam.h"
#include "core/beams/modifiers.h"
#include "core/common/result.h"
#include "core/text/date_text.h"

#include <string>
#include <string_view>
#include <vector>

namespace kova {

/// What kind of control a beam dialog shows for a control of a form.
enum class ControlType {
    Edit,   ///< typed text
    Shown,  ///< a text the form works out or takes from the machine; never typed
    List,   ///< a drop-down list whose items may carry table entries
    Check,  ///< a check box
    Choice, ///< a radio group
    Action, ///< a menu of commands
};

/// One control of a beam dialog: its name (also the key of a beam file), what it is, the
/// text it starts with (the index of the selected item for a choice, "1" for a ticked box),
/// and which of the kind's typing rules a change runs (0 for none). `sheet` is the page of
/// controls that must be the active one for the rule to run (0 for none); `step` orders
/// batch input the way a user goes through the dialog (lower steps first, the file's order
/// within a step). `caption` names the control in messages ("Width: '1o' is not a valid
/// floating point value"). `required`: a beam file must give the control, because its
/// default text is no value the calculation may take for the patient (a dose or depth of 0,
/// a field of 0 cm); defaults that are real values (the SSD from the linac, the first
/// applicator, the TBI dose point distance of the energy) are not required.
struct ControlSpec {
    std::string_view name;
    ControlType type = ControlType::Edit;
    std::string_view defaultText = "0";
    int rule = 0;
    int sheet = 0;
    int step = 1;
    std::string_view caption = {};
    bool required = false;
};

/// What a dialog must do after an item was picked.
enum class FollowUp {
    Nothing,
    AskModifierValue, ///< "Set on fly...": ask a name and a factor, then AddOnFly
    ComputeFromFile,  ///< "Compute from file...": run the MLC file import
};

/// The outcome of picking an item: whether the rule it ran failed, and what comes next.
struct Picked {
    Status status = Status::Ok();
    FollowUp followUp = FollowUp::Nothing;
};

/// The state of a beam dialog, kept in the core: every control's text, list, selection and
/// check state, with the typing rules of the beam's kind. The desktop dialog shows this
/// state and forwards what the user does; the batch tool sets the same controls by name. So
/// both give the same MU. A form edits one beam, which must outlive it; OK (Accept) is the
/// only step that changes the beam.
class BeamForm {
public:
    BeamForm(const BeamForm&) = delete;
    BeamForm& operator=(const BeamForm&) = delete;
    virtual ~BeamForm() = default;

    /// The dialog's caption for a new beam of the kind ("New Photon Beam").
    virtual std::string Caption() const = 0;

    const std::vector<ControlSpec>& Controls() const { return m_controls; }
    /// The control of that name, or null.
    const ControlSpec* Find(std::string_view name) const;
    /// The position of control `name` in Controls(). Only the program names controls: an
    /// unknown name is a fault of the program (an assertion in debug builds, else
    /// std::logic_error), never a read past the table.
    std::size_t IndexOf(std::string_view name) const;

    const std::string& Text(std::string_view name) const;
    bool Enabled(std::string_view name) const;
    bool ReadOnly(std::string_view name) const;
    const std::vector<ModifierItem>& Items(std::string_view name) const;
    int Selected(std::string_view name) const;
    /// The entry of the selected item; null for an item that carries none.
    const EnergyListItem* SelectedEntry(std::string_view name) const;
    bool Checked(std::string_view name) const;

    /// Why `name` cannot be typed, picked or ticked now; ok when it can.
    virtual Status CanSet(std::string_view name) const;
    /// Makes `sheet` the active page of controls; false when it is disabled.
    virtual bool SetSheet(int sheet) { return sheet == 0; }
    /// The active page of controls.
    virtual int Sheet() const { return 0; }

    /// Types `text` into an edit and runs its rule.
    void SetText(std::string_view name, const std::string& text);
    /// Picks item `index` of a list, choice or menu and runs its rule.
    Picked Select(std::string_view name, int index);
    /// Ticks or clears a check box and runs its rule.
    void SetChecked(std::string_view name, bool checked);
    /// After "Set on fly...": a new entry of the beam's own, offered in the list from now on
    /// and selected.
    void AddOnFly(std::string_view name, const ModifierValue& value);
    /// After "Set on fly..." or "Compute from file..." was cancelled.
    virtual void FollowUpCancelled(std::string_view name);

    /// A text of a batch input that leaves a control unset in a way the dialog would not let
    /// happen (for example no field at all); ok otherwise. `set` lists the controls set.
    virtual Status CheckBatchInput(const std::vector<std::string_view>& set) const;
    /// Why a batch input that set `set` cannot be computed: a required control
    /// (ControlSpec::required) needed now is left at its default, which is no real value
    /// ("the beam gives no BeamDepth", naming every such control). Ok otherwise.
    Status MissingRequired(const std::vector<std::string_view>& set) const;

    /// OK: reads every control, checks and calculates, and stores the inputs with their
    /// results in the beam only when all of it succeeded. Otherwise says why and changes
    /// nothing.
    virtual Status Accept(const Date& today) = 0;
    /// Fills the controls from the stored beam, as before an edit.
    virtual void LoadControls() = 0;

    /// The control the last refusal of OK is about (a box that is empty or no number, a size
    /// that must be above 0), so that a dialog can show it; empty when the refusal is about
    /// no one control (a limit or a table of the linac).
    std::string_view RefusedControl() const { return m_refused; }

protected:
    explicit BeamForm(std::vector<ControlSpec> controls);

    /// Whether required control `control` must be given by a batch input that set the
    /// controls `set`: when it lies on no page of controls or on the active one.
    virtual bool NeededNow(const ControlSpec& control,
                           const std::vector<std::string_view>& set) const;

    /// Runs the kind's rule of a control the user changed; a rule that cannot run says why.
    virtual Status RunRule(const ControlSpec& control) = 0;
    /// Makes the entry of "Set on fly..." for list `name` and returns the list's new items.
    virtual std::vector<ModifierItem> MakeOnFly(std::string_view name, const ModifierValue& value,
                                                const EnergyListItem*& made);

    /// Write access for the rules; none of them runs a rule.
    std::string& TextRef(std::string_view name);
    void SetEnabled(std::string_view name, bool enabled);
    void SetReadOnly(std::string_view name, bool readOnly);
    void SetItems(std::string_view name, std::vector<ModifierItem> items, int selected = 0);
    void SelectQuietly(std::string_view name, int index);
    void SelectEntryQuietly(std::string_view name, const EnergyListItem* entry);
    void SetCheckedQuietly(std::string_view name, bool checked);

    /// `status` with the control's caption before its reason, so the user knows which box;
    /// a failure is remembered as about that control.
    Status Captioned(std::string_view name, const Status& status) const;
    /// Refuses OK for `reason` about control `name`, remembered as the refused control.
    Status Refused(std::string_view name, const std::string& reason) const;
    /// The control's caption in messages ("Depth"); its name when it has none.
    std::string CaptionOf(std::string_view name) const;
    /// Forgets the refused control: OK starts reading again.
    void ClearRefused() const { m_refused = {}; }

private:
    struct State {
        std::string text;
        bool enabled = true;
        bool readOnly = false;
        std::vector<ModifierItem> items;
        int selected = -1;
        bool checked = false;
    };
    std::vector<ControlSpec> m_controls;
    std::vector<State> m_state;
    /// Set while OK reads and checks, which are const: what they refused is not state of the
    /// dialog's controls.
    mutable std::string_view m_refused;
};

} // namespace kova
