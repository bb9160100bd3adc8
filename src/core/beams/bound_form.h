#pragma once

// A beam form whose control table also says where each control's value is kept in the kind's
// record of inputs: OK reads the controls into that record, an edit shows the stored record
// in them, and the beam lists its inputs for the tools, all from the one table.

#include "core/beams/beam_form.h"
#include "core/beams/result_text.h"
#include "core/text/number_text.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kova {

/// A table entry kept in a record as a pointer of its own type (a wedge, a tray...).
template <class Input>
struct EntrySlot {
    const EnergyListItem* (*get)(const Input& in) = nullptr;
    void (*set)(Input& in, const EnergyListItem* entry) = nullptr;
};

/// The entry slot of member `Member` (such as &PhotonFields::wedge) of `Input`.
template <class Input, auto Member>
EntrySlot<Input> EntryAt() {
    return {[](const Input& in) -> const EnergyListItem* { return in.*Member; },
            [](Input& in, const EnergyListItem* entry) {
                using Entry = std::remove_cv_t<
                    std::remove_pointer_t<std::remove_reference_t<decltype(in.*Member)>>>;
                in.*Member = static_cast<const Entry*>(entry);
            }};
}

/// Where a control's value is kept in `Input`: nowhere, a text, a number, the planning
/// system's MU (none when the box is empty), a choice, a check box, a table entry, or a
/// figure only worked out from the record (shown by an edit, never read).
template <class Input>
using ValueSlot = std::variant<std::monostate, std::string Input::*, double Input::*,
                               std::optional<double> Input::*, int Input::*, bool Input::*,
                               EntrySlot<Input>, double (*)(const Input&)>;

/// One control of a kind's table with where its value is kept.
template <class Input>
struct BoundControl {
    ControlSpec control;
    ValueSlot<Input> slot;
    /// Its name among the beam's inputs (TBeam::Inputs); empty when not listed there.
    std::string_view key;
    /// Its place in the order OK reads the controls (from 1; the first text that is not a
    /// number is the one reported); 0 when OK does not read it.
    int read = 0;
    /// A check box whose record keeps the opposite (the box "Use Offset", the record
    /// "offsetOff").
    bool inverted = false;
};

template <class Input>
using BoundTable = std::vector<BoundControl<Input>>;

/// `row` as a control a beam file must give (ControlSpec::required).
template <class Input>
BoundControl<Input> Required(BoundControl<Input> row) {
    row.control.required = true;
    return row;
}

/// An edit box `name` stored in `slot`, written to Inputs() as `key` (none when empty), read
/// `read`-th by OK, starting with `text` and named `caption` in refusals.
template <class Input>
BoundControl<Input> EditControl(std::string_view name, ValueSlot<Input> slot, std::string_view key,
                                int read, std::string_view text = "",
                                std::string_view caption = {}) {
    return {{name, ControlType::Edit, text, 0, 0, 1, caption}, slot, key, read};
}

/// The inputs `stored` holds, listed by the controls of `table` that name them.
template <class Input>
std::vector<NamedValue> BoundValues(const BoundTable<Input>& table, const Input& stored) {
    std::vector<NamedValue> values;
    for (const BoundControl<Input>& row : table) {
        if (row.key.empty()) {
            continue;
        }
        const ReportedValue value = std::visit(
            [&stored](const auto& slot) -> ReportedValue {
                using S = std::decay_t<decltype(slot)>;
                if constexpr (std::is_same_v<S, EntrySlot<Input>>) {
                    const EnergyListItem* entry = slot.get(stored);
                    return entry != nullptr ? ReportedValue(entry->Name) : std::monostate{};
                } else if constexpr (std::is_member_object_pointer_v<S>) {
                    if constexpr (std::is_same_v<S, std::optional<double> Input::*>) {
                        const auto& number = stored.*slot;
                        return number ? ReportedValue(*number) : std::monostate{};
                    } else {
                        return stored.*slot;
                    }
                } else {
                    return std::monostate{};
                }
            },
            row.slot);
        values.push_back({std::string(row.key), value});
    }
    return values;
}

/// The controls of a table as the form base keeps them.
template <class Input>
std::vector<ControlSpec> SpecsOf(const BoundTable<Input>& table) {
    std::vector<ControlSpec> specs;
    for (const BoundControl<Input>& row : table) {
        specs.push_back(row.control);
    }
    return specs;
}

/// A beam form whose table binds its controls to the kind's record of inputs `Input`.
template <class Input>
class BoundForm : public BeamForm {
protected:
    explicit BoundForm(BoundTable<Input> table)
        : BeamForm(SpecsOf(table)), m_table(std::move(table)) {}

    /// Whether OK reads `control` now (all the table says it reads, unless the kind says
    /// otherwise).
    virtual bool ReadsNow(const ControlSpec&) const { return true; }

    /// Reads the controls into `in` in OK's reading order; the first text that is not a
    /// number fails with the control's caption.
    Status ReadBound(Input& in) const {
        ClearRefused();
        std::vector<const BoundControl<Input>*> rows;
        for (const BoundControl<Input>& row : m_table) {
            if (row.read > 0 && ReadsNow(row.control)) {
                rows.push_back(&row);
            }
        }
        std::stable_sort(rows.begin(), rows.end(),
                         [](const auto* a, const auto* b) { return a->read < b->read; });
        for (const BoundControl<Input>* row : rows) {
            if (Status read = ReadOne(*row, in); !read) {
                return read;
            }
        }
        return Status::Ok();
    }

    /// Shows `shown` in every control that keeps a value, in table order, each set as a user
    /// sets it (so the typing rules fill what follows from it).
    void LoadBound(const Input& shown) {
        for (const BoundControl<Input>& row : m_table) {
            LoadOne(row, shown);
        }
    }

private:
    Status ReadOne(const BoundControl<Input>& row, Input& in) const {
        const std::string_view name = row.control.name;
        const auto& slot = row.slot;
        if (const auto* text = std::get_if<std::string Input::*>(&slot)) {
            in.** text = Text(name);
        } else if (const auto* number = std::get_if<double Input::*>(&slot)) {
            const std::string& typed = Text(name);
            if (typed.find_first_not_of(" \t") == std::string::npos) {
                return Refused(name, CaptionOf(name) + " is empty");
            }
            const Result<double> value = StrToFloat(typed);
            if (!value) {
                return Captioned(name, value.status());
            }
            in.** number = *value;
        } else if (const auto* optional = std::get_if<std::optional<double> Input::*>(&slot)) {
            return ReadOptional(name, in.**optional);
        } else if (const auto* choice = std::get_if<int Input::*>(&slot)) {
            in.** choice = Selected(name);
        } else if (const auto* check = std::get_if<bool Input::*>(&slot)) {
            in.** check = Checked(name) != row.inverted;
        } else if (const auto* entry = std::get_if<EntrySlot<Input>>(&slot)) {
            entry->set(in, SelectedEntry(name));
        }
        return Status::Ok();
    }

    /// The planning system's MU: none when the box is empty, otherwise a number above 0 and
    /// at most kMaxTPSMU.
    Status ReadOptional(std::string_view name, std::optional<double>& out) const {
        const std::string& text = Text(name);
        if (text.find_first_not_of(" \t") == std::string::npos) {
            out.reset();
            return Status::Ok();
        }
        const Result<double> value = StrToFloat(text);
        if (!value) {
            return Captioned(name, value.status());
        }
        if (!(*value > 0) || !std::isfinite(*value)) {
            return Refused(name, "The TPS MU must be above 0");
        }
        if (*value > kMaxTPSMU) {
            return Status::Fail("The TPS MU must be at most " + FigureText(kMaxTPSMU) + " (it is " +
                                FigureText(*value) + ")");
        }
        out = *value;
        return Status::Ok();
    }

    void LoadOne(const BoundControl<Input>& row, const Input& shown) {
        const std::string_view name = row.control.name;
        const auto& slot = row.slot;
        if (const auto* text = std::get_if<std::string Input::*>(&slot)) {
            SetText(name, shown.**text);
        } else if (const auto* number = std::get_if<double Input::*>(&slot)) {
            SetText(name, G(shown.**number));
        } else if (const auto* optional = std::get_if<std::optional<double> Input::*>(&slot)) {
            const std::optional<double>& value = shown.**optional;
            SetText(name, value ? G(*value) : std::string());
        } else if (const auto* choice = std::get_if<int Input::*>(&slot)) {
            (void)Select(name, shown.**choice);
        } else if (const auto* check = std::get_if<bool Input::*>(&slot)) {
            SetChecked(name, shown.**check != row.inverted);
        } else if (const auto* entry = std::get_if<EntrySlot<Input>>(&slot)) {
            SelectEntryQuietly(name, entry->get(shown));
        } else if (const auto* derived = std::get_if<double (*)(const Input&)>(&slot)) {
            SetText(name, G((*derived)(shown)));
        }
    }

    BoundTable<Input> m_table;
};

} // namespace kova
