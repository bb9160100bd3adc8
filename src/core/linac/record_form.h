#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kova {

/// What kind of control edits a field of a record's window.
enum class ControlKind {
    Text,   ///< a free-text box holding a name
    Number, ///< a free-text box holding a number
    Date,   ///< a "dd/mm/yyyy" box
    Check,  ///< a check box: text "1" checked, "0" cleared
    Choice, ///< a radio group: text the selected item's index ("0", "1"...), "" for none
};

/// One control of a record's window; its name is the name of the field it edits.
struct FormControl {
    std::string name;
    std::string label; ///< the label beside a box, or the caption of a check box or radio group
    ControlKind kind = ControlKind::Number;
    std::vector<std::string> choices; ///< the items of a radio group
    /// A check box that enables this control exactly when it is checked; empty for none.
    std::string enabledBy;
};

/// A group box of a window with its controls. A group holding a radio group is that radio
/// group (its caption is the radio group's label).
struct FormGroup {
    std::string caption;
    std::vector<FormControl> controls;
};

/// The layout of a record's window: the window collects texts in these controls and the
/// record converts them.
struct FormLayout {
    std::string formName; ///< the window's name ("WedgeForm")
    std::string caption;  ///< its title ("Wedge")
    std::vector<FormGroup> groups;
    std::string firstFocus; ///< the control that gets the focus first
    int columns = 1;        ///< the groups are laid out in this many columns
};

/// The texts of a window's controls by control name, in UTF-8 (a check box "1" or "0", a
/// radio group its index or "" for none). A control missing from the map counts as empty.
using FormTexts = std::map<std::string, std::string>;

/// Why a window's texts could not be stored: the first control, in the record's order of
/// reading, whose text was refused. Nothing is stored then.
struct FormCheck {
    std::string control;
    std::string reason; ///< empty when every text was accepted

    bool ok() const { return reason.empty(); }
};

/// A record shown and edited in a window of its own (an energy, a table entry). The window
/// shows EditorTexts() in the controls of EditorLayout(); OK hands the texts back to
/// SaveEditorTexts(), which converts every text before it stores anything.
class EditableRecord {
public:
    EditableRecord() = default;
    EditableRecord(const EditableRecord&) = delete;
    EditableRecord& operator=(const EditableRecord&) = delete;
    virtual ~EditableRecord() = default;

    virtual const FormLayout& EditorLayout() const = 0;
    /// The record's fields as the window's texts: numbers in the general form.
    virtual FormTexts EditorTexts() const = 0;
    /// Converts every text, then stores them all; on the first refused text stores nothing.
    virtual FormCheck SaveEditorTexts(const FormTexts& texts) = 0;
};

/// Reads a window's texts in the record's order. Each read converts one text; after the
/// first refusal every later read gives a placeholder and the refusal is kept, so a record
/// reads all its fields and then stores them only when check().ok().
class FormReader {
public:
    explicit FormReader(const FormTexts& texts) : m_texts(texts) {}

    /// A name as a linac file keeps it (Windows-1252): an empty or blank name is "n/a"; a
    /// name a linac file cannot hold is refused.
    std::string Name(const char* control);
    /// A number typed with "." as decimal separator.
    double Number(const char* control);
    /// Like Number, refusing a negative value: a depth, a depth dose, a factor (the rule of
    /// the linac file reader, so an edit never makes what a file could not hold).
    double NonNegative(const char* control);
    /// Like Number, but a text that is no number keeps `kept` instead of being refused.
    double NumberOr(const char* control, double kept);
    /// A "dd/mm/yyyy" date, written back as "dd/mm/yyyy"; an empty box (only blanks and the
    /// two slashes of its mask) gives "".
    std::string Date(const char* control);
    bool Check(const char* control);
    /// The selected item of a radio group; `kept` when none is selected.
    int Choice(const char* control, int itemCount, int kept);

    /// Refuses the text of `control`, read well but not acceptable, unless a text before it
    /// was already refused.
    void Refuse(const char* control, std::string reason);

    const FormCheck& check() const { return m_check; }

private:
    std::string_view Text(const char* control) const;

    const FormTexts& m_texts;
    FormCheck m_check;
};

/// The sentence a record's window shows for a refused box: the field named by its label (its
/// unit or note in brackets left out) before a conversion error ("Tray Factor: '0,9' is not a
/// valid floating point value ..."), or "Depth is empty" for a number box left empty. Other
/// refusals name what they are about already and are shown as they stand.
std::string RefusalText(const FormLayout& layout, const FormTexts& texts, const FormCheck& check);

/// Why `name` (Windows-1252) cannot be written as a text word of a linac file, or "" when it
/// can: it holds a control character or the byte 0xE7 (the letter c with cedilla, which the
/// file keeps for spaces), or is longer than a word may be.
std::string LinacTextProblem(std::string_view name);

} // namespace kova
