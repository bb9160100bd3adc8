#pragma once

#include "core/beams/beam.h"
#include "core/beams/beam_form.h"
#include "core/beams/control_names.h"

#include <QDialog>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QShowEvent;
class QWidget;

namespace kova::gui {

/// The frame every beam dialog shares. The beam's form (in the core) holds every control's
/// state and runs the typing rules; this window creates one widget per control of the form,
/// named after it, forwards what the user does to the form and shows the form's state again.
/// OK asks the form to check, calculate and store; a refusal is shown in the reason line.
/// The kind's dialog only lays the widgets out. The beam must outlive the dialog.
class BeamDialog : public QDialog {
    Q_OBJECT

public:
    ~BeamDialog() override;

    /// Fills the controls from the stored beam, before an edit.
    virtual void LoadControls();

    QPushButton *Button1 = nullptr, *Button2 = nullptr;
    /// Why OK was refused, or what a handler could not do.
    QLabel* ReasonLine = nullptr;

public slots:
    /// On showing: the caption becomes the beam's name.
    virtual void FormShow();
    void OKClick();

protected:
    explicit BeamDialog(TBeam& beam, QWidget* parent);

    void showEvent(QShowEvent* event) override;

    BeamForm& form() { return *m_form; }
    const BeamForm& form() const { return *m_form; }

    /// The widget of a control, as created for its type.
    QLineEdit* EditOf(std::string_view name) const;
    QComboBox* ListOf(std::string_view name) const;
    QCheckBox* CheckOf(std::string_view name) const;
    /// The radio button of item `item` of a Choice control.
    QRadioButton* ChoiceItemOf(std::string_view name, int item) const;

    /// Lays out `pages` (the kind's content) above the reason line and the buttons.
    void SetContent(QWidget* pages);
    /// The content of a kind with one page ("Beam" of PageControl1): the identity rows and
    /// `values` in a group box titled `title`.
    void SetSinglePage(const QString& title, QWidget* values);
    /// Shows the form's state in every widget: texts, lists, selections, checks, and which
    /// controls are enabled or read-only. A widget whose state is unchanged is left alone,
    /// so typing is never disturbed.
    virtual void Refresh();
    void ShowReason(const std::string& reason);
    /// Brings the control of `name` into view, on whichever tab it is, and gives it the focus:
    /// OK names it as the one to mend.
    void ShowControl(std::string_view name);
    /// Read-only boxes look read-only and are out of the tab order.
    void ShowReadOnly(QLineEdit* edit, bool readOnly);
    /// A user action on a control: the form runs the rule, the dialog shows the outcome.
    void Picked(std::string_view name, int index);
    /// "Compute from file..." of a list; the photon beam dialog imports an MLC field.
    virtual void ComputeFromFile(std::string_view name);

    /// A caption in column `column` and its field right of it.
    static QLabel* AddPair(QGridLayout* grid, int row, int column, const QString& caption,
                           QWidget* field);
    /// The identity rows: "Name", "ID", and the three rotations under "ROT [deg]".
    QWidget* IdentityGrid();

    TBeam& m_beam;

private:
    /// The widget of one control, of the type its table row says (one of the four).
    struct ControlWidget {
        QLineEdit* edit = nullptr;
        QComboBox* list = nullptr;
        QCheckBox* check = nullptr;
        QButtonGroup* choice = nullptr;
        std::vector<QRadioButton*> items; ///< a choice's buttons, by item
    };
    /// The widget of `name`; a name the form does not have stops the program (see
    /// BeamForm::IndexOf), and so does asking for a widget of another type.
    const ControlWidget& WidgetOf(std::string_view name) const;
    template <class W>
    static W* Checked(W* widget, std::string_view name);

    void CreateControls();
    void ConnectControl(const ControlSpec& control, const ControlWidget& widget);
    void RefreshControl(const ControlSpec& control, const ControlWidget& widget);

    std::unique_ptr<BeamForm> m_form;
    std::vector<ControlWidget> m_widgets;  ///< by the form's controls
    QDialogButtonBox* m_buttons = nullptr; ///< Button1 and Button2, laid out by SetContent
};

} // namespace kova::gui
