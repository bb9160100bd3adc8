#include "gui/record_form.h"

#include "gui/dialog_parts.h"
#include "gui/dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kova::gui {
namespace {

QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

/// The mask of a "dd/mm/yyyy" box; its blanks show as "_".
const char* const kDateMask = "99/99/9999;_";

} // namespace

RecordForm::RecordForm(EditableRecord& record, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_record(record), m_layout(record.EditorLayout()) {
    setObjectName(Q(m_layout.formName));
    setWindowTitle(Q(m_layout.caption));
    auto* groups = new QGridLayout;
    const int columns = std::max(1, m_layout.columns);
    for (std::size_t i = 0; i < m_layout.groups.size(); ++i) {
        const int index = static_cast<int>(i);
        groups->addWidget(BuildGroup(m_layout.groups[i]), index / columns, index % columns);
    }
    auto* buttons = NewOkCancelBox(this, QStringLiteral("ok"), QStringLiteral("cancel"));
    ok = buttons->button(QDialogButtonBox::Ok);
    cancel = buttons->button(QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(buttons, &QDialogButtonBox::accepted, this, &RecordForm::okClick);
    CheckClick();
    if (const FieldWidget* first = WidgetOf(m_layout.firstFocus)) {
        first->Focus()->setFocus();
    }
}

QWidget* RecordForm::BuildGroup(const FormGroup& group) {
    if (group.controls.size() == 1 && group.controls[0].kind == ControlKind::Choice) {
        return BuildChoice(group.controls[0]);
    }
    auto* box = new QGroupBox(Q(group.caption));
    auto* form = new QFormLayout(box);
    for (const FormControl& control : group.controls) {
        FieldWidget& widget = m_widgets[control.name];
        if (control.kind == ControlKind::Check) {
            widget.check = new QCheckBox(Q(control.label));
            widget.check->setObjectName(Q(control.name));
            connect(widget.check, &QCheckBox::toggled, this, &RecordForm::CheckClick);
            connect(widget.check, &QCheckBox::toggled, this, &RecordForm::TextsChanged);
            form->addRow(widget.check);
            continue;
        }
        widget.edit = new QLineEdit;
        widget.edit->setObjectName(Q(control.name));
        if (control.kind == ControlKind::Date) {
            widget.edit->setInputMask(QString::fromLatin1(kDateMask));
        }
        connect(widget.edit, &QLineEdit::textChanged, this, &RecordForm::TextsChanged);
        form->addRow(Q(control.label), widget.edit);
    }
    return box;
}

QWidget* RecordForm::BuildChoice(const FormControl& control) {
    auto* box = new QGroupBox(Q(control.label));
    box->setObjectName(Q(control.name));
    auto* column = new QVBoxLayout(box);
    auto* buttons = new QButtonGroup(box);
    for (std::size_t i = 0; i < control.choices.size(); ++i) {
        auto* button = new QRadioButton(Q(control.choices[i]));
        buttons->addButton(button, static_cast<int>(i));
        column->addWidget(button);
    }
    m_widgets[control.name].choice = buttons;
    connect(buttons, &QButtonGroup::idToggled, this, &RecordForm::TextsChanged);
    return box;
}

QWidget* RecordForm::FieldWidget::Focus() const {
    if (choice != nullptr) {
        return choice->buttons().value(0);
    }
    return check != nullptr ? static_cast<QWidget*>(check) : edit;
}

const RecordForm::FieldWidget* RecordForm::WidgetOf(const std::string& name) const {
    const auto found = m_widgets.find(name);
    return found == m_widgets.end() ? nullptr : &found->second;
}

void RecordForm::SetText(const FieldWidget& widget, const std::string& text) {
    if (widget.check != nullptr) {
        widget.check->setChecked(text == "1");
    } else if (widget.choice != nullptr) {
        // An exclusive group cannot clear its last button: a value without an item shows
        // none selected.
        widget.choice->setExclusive(false);
        for (QAbstractButton* button : widget.choice->buttons()) {
            button->setChecked(Q(text) == QString::number(widget.choice->id(button)));
        }
        widget.choice->setExclusive(true);
    } else {
        widget.edit->setText(Q(text));
    }
}

std::string RecordForm::TextOf(const FieldWidget& widget) {
    if (widget.check != nullptr) {
        return std::string(1, widget.check->isChecked() ? '1' : '0');
    }
    if (widget.choice != nullptr) {
        const int selected = widget.choice->checkedId();
        return selected < 0 ? std::string() : std::to_string(selected);
    }
    return widget.edit->text().toStdString();
}

void RecordForm::LoadEntry() {
    const FormTexts texts = m_record.EditorTexts();
    for (const auto& [name, widget] : m_widgets) {
        const auto text = texts.find(name);
        SetText(widget, text == texts.end() ? std::string() : text->second);
    }
    CheckClick();
}

FormTexts RecordForm::Texts() const {
    FormTexts texts;
    for (const auto& [name, widget] : m_widgets) {
        texts[name] = TextOf(widget);
    }
    return texts;
}

bool RecordForm::SaveEntry() {
    const FormTexts texts = Texts();
    if (m_changeCheck && texts != m_record.EditorTexts()) {
        if (const QString refusal = m_changeCheck(); !refusal.isEmpty()) {
            Dialogs::ShowError(this, refusal);
            return false;
        }
    }
    const FormCheck check = m_record.SaveEditorTexts(texts);
    if (!check.ok()) {
        Dialogs::ShowError(this, Q(RefusalText(m_layout, texts, check)));
        if (const FieldWidget* refused = WidgetOf(check.control)) {
            refused->Focus()->setFocus();
        }
        return false;
    }
    // The boxes show what was stored ("n/a" for an empty name).
    LoadEntry();
    return true;
}

void RecordForm::okClick() {
    if (SaveEntry()) {
        accept();
    }
}

void RecordForm::CheckClick() {
    for (const FormGroup& group : m_layout.groups) {
        for (const FormControl& control : group.controls) {
            const FieldWidget* by = WidgetOf(control.enabledBy);
            if (by != nullptr && by->check != nullptr) {
                WidgetOf(control.name)->Focus()->setEnabled(by->check->isChecked());
            }
        }
    }
}

} // namespace kova::gui
