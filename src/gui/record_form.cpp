#include "gui/record_form.h"

#include "gui/dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
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
    ok = new QPushButton(QStringLiteral("Ok"));
    cancel = new QPushButton(QStringLiteral("Cancel"));
    ok->setObjectName(QStringLiteral("ok"));
    cancel->setObjectName(QStringLiteral("cancel"));
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(ok, &QPushButton::clicked, this, &RecordForm::okClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    CheckClick();
    if (QWidget* first = ControlWidget(m_layout.firstFocus)) {
        first->setFocus();
    }
}

QWidget* RecordForm::BuildGroup(const FormGroup& group) {
    if (group.controls.size() == 1 && group.controls[0].kind == ControlKind::Choice) {
        return BuildChoice(group.controls[0]);
    }
    auto* box = new QGroupBox(Q(group.caption));
    auto* form = new QFormLayout(box);
    for (const FormControl& control : group.controls) {
        if (control.kind == ControlKind::Check) {
            auto* check = new QCheckBox(Q(control.label));
            check->setObjectName(Q(control.name));
            connect(check, &QCheckBox::toggled, this, &RecordForm::CheckClick);
            m_checks[control.name] = check;
            form->addRow(check);
            continue;
        }
        auto* edit = new QLineEdit;
        edit->setObjectName(Q(control.name));
        if (control.kind == ControlKind::Date) {
            edit->setInputMask(QString::fromLatin1(kDateMask));
        }
        m_edits[control.name] = edit;
        form->addRow(Q(control.label), edit);
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
    m_choices[control.name] = buttons;
    return box;
}

QWidget* RecordForm::ControlWidget(const std::string& name) const {
    if (const auto edit = m_edits.find(name); edit != m_edits.end()) {
        return edit->second;
    }
    if (const auto check = m_checks.find(name); check != m_checks.end()) {
        return check->second;
    }
    if (const auto choice = m_choices.find(name); choice != m_choices.end()) {
        return choice->second->buttons().value(0);
    }
    return nullptr;
}

void RecordForm::SetText(const FormControl& control, const std::string& text) {
    if (control.kind == ControlKind::Check) {
        m_checks.at(control.name)->setChecked(text == "1");
    } else if (control.kind == ControlKind::Choice) {
        QButtonGroup* buttons = m_choices.at(control.name);
        // An exclusive group cannot clear its last button: a value without an item shows
        // none selected.
        buttons->setExclusive(false);
        for (QAbstractButton* button : buttons->buttons()) {
            button->setChecked(Q(text) == QString::number(buttons->id(button)));
        }
        buttons->setExclusive(true);
    } else {
        m_edits.at(control.name)->setText(Q(text));
    }
}

void RecordForm::LoadEntry() {
    const FormTexts texts = m_record.EditorTexts();
    for (const FormGroup& group : m_layout.groups) {
        for (const FormControl& control : group.controls) {
            const auto text = texts.find(control.name);
            SetText(control, text == texts.end() ? std::string() : text->second);
        }
    }
    CheckClick();
}

FormTexts RecordForm::Texts() const {
    FormTexts texts;
    for (const auto& [name, edit] : m_edits) {
        texts[name] = edit->text().toStdString();
    }
    for (const auto& [name, check] : m_checks) {
        texts[name] = std::string(1, check->isChecked() ? '1' : '0');
    }
    for (const auto& [name, buttons] : m_choices) {
        const int selected = buttons->checkedId();
        texts[name] = selected < 0 ? std::string() : std::to_string(selected);
    }
    return texts;
}

bool RecordForm::SaveEntry() {
    const FormCheck check = m_record.SaveEditorTexts(Texts());
    if (!check.ok()) {
        Dialogs::ShowError(this, Q(check.reason));
        if (QWidget* refused = ControlWidget(check.control)) {
            refused->setFocus();
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
            if (!control.enabledBy.empty() && m_checks.count(control.enabledBy) != 0) {
                ControlWidget(control.name)
                    ->setEnabled(m_checks.at(control.enabledBy)->isChecked());
            }
        }
    }
}

} // namespace kova::gui
