#pragma once

#include "core/linac/record_form.h"

#include <QDialog>
#include <functional>
#include <map>
#include <string>

class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPushButton;

namespace kova::gui {

/// The window of an energy or a table entry: its controls are built from the record's layout
/// and keep the names of the fields they edit ("Width", "WedgeTypes"). OK stores the texts
/// through the record, which converts every one first; a refused box is reported, gets the
/// focus, and the window stays open with the record unchanged.
class RecordForm : public QDialog {
    Q_OBJECT

public:
    explicit RecordForm(EditableRecord& record, QWidget* parent = nullptr);

    /// Shows the record's fields in the controls.
    void LoadEntry();
    /// Stores the controls in the record; false (with the reason shown, nothing stored) when
    /// a box is refused.
    bool SaveEntry();
    /// The texts of the controls as they stand.
    FormTexts Texts() const;
    EditableRecord& record() const { return m_record; }

    /// A check that OK runs when the texts differ from the record's: a sentence refuses the
    /// change (shown; the window stays open and the record as it was), an empty one allows it.
    using ChangeCheck = std::function<QString()>;
    void SetChangeCheck(ChangeCheck check) { m_changeCheck = std::move(check); }

    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;

signals:
    /// A control's text or state changed, typed or loaded: Texts() holds the new texts.
    void TextsChanged();

public slots:
    void okClick();
    /// A check box changed: the controls it enables follow it.
    void CheckClick();

private:
    /// The widget of one control, of the type its kind makes.
    struct FieldWidget {
        QLineEdit* edit = nullptr;      ///< a text, number or date box
        QCheckBox* check = nullptr;     ///< a check box
        QButtonGroup* choice = nullptr; ///< a radio group
        /// The widget that takes the focus and follows the check box that enables it.
        QWidget* Focus() const;
    };

    QWidget* BuildGroup(const FormGroup& group);
    QWidget* BuildChoice(const FormControl& control);
    static void SetText(const FieldWidget& widget, const std::string& text);
    static std::string TextOf(const FieldWidget& widget);
    /// The widget of the control `name`; null for a name the layout does not have.
    const FieldWidget* WidgetOf(const std::string& name) const;

    EditableRecord& m_record;
    const FormLayout& m_layout;
    ChangeCheck m_changeCheck;
    std::map<std::string, FieldWidget> m_widgets; ///< by control name
};

} // namespace kova::gui
