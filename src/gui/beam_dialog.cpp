#include "gui/beam_dialog.h"

#include "core/text/date_text.h"
#include "gui/dialog_parts.h"
#include "gui/dialogs.h"
#include "gui/modifier_value_dialog.h"
#include "gui/qt_text.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kova::gui {

BeamDialog::BeamDialog(TBeam& beam, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_beam(beam), m_form(beam.CreateForm()) {
    setWindowTitle(ToQ(m_form->Caption()));
    CreateControls();
    Button1 = new QPushButton(QStringLiteral("OK"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Cancel"));
    Button2->setObjectName(QStringLiteral("Button2"));
    ReasonLine = NewReasonLine();
    connect(Button1, &QPushButton::clicked, this, &BeamDialog::OKClick);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

BeamDialog::~BeamDialog() = default;

void BeamDialog::CreateControls() {
    for (const ControlSpec& control : m_form->Controls()) {
        QObject* widget = nullptr;
        switch (control.type) {
        case ControlType::Edit:
        case ControlType::Shown:
            widget = new QLineEdit(this);
            break;
        case ControlType::List:
            widget = new QComboBox(this);
            break;
        case ControlType::Check:
            widget = new QCheckBox(this);
            break;
        case ControlType::Choice: {
            auto* group = new QButtonGroup(this);
            const auto& items = m_form->Items(control.name);
            for (std::size_t i = 0; i < items.size(); ++i) {
                group->addButton(new QRadioButton(ToQ(items[i].text), this), static_cast<int>(i));
            }
            widget = group;
            break;
        }
        case ControlType::Action:
            continue; // a menu of the kind's dialog
        }
        widget->setObjectName(ToQ(std::string(control.name)));
        m_widgets.emplace(std::string(control.name), widget);
        RefreshControl(control);
        ConnectControl(control);
    }
}

void BeamDialog::ConnectControl(const ControlSpec& control) {
    const std::string name(control.name);
    QObject* widget = m_widgets.at(name);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        connect(edit, &QLineEdit::textChanged, this, [this, name](const QString& text) {
            ShowReason({}); // the refusal was about what stood there before
            m_form->SetText(name, FromQ(text));
            Refresh();
        });
    } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
        connect(list, &QComboBox::currentIndexChanged, this,
                [this, name](int index) { Picked(name, index); });
    } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        connect(check, &QCheckBox::toggled, this, [this, name](bool checked) {
            ShowReason({});
            m_form->SetChecked(name, checked);
            Refresh();
        });
    } else if (auto* group = qobject_cast<QButtonGroup*>(widget)) {
        connect(group, &QButtonGroup::idToggled, this, [this, name](int id, bool checked) {
            if (checked) {
                Picked(name, id);
            }
        });
    }
}

void BeamDialog::Picked(std::string_view name, int index) {
    const kova::Picked picked = m_form->Select(name, index);
    ShowReason(picked.status.reason());
    if (picked.followUp == FollowUp::AskModifierValue) {
        ModifierValueDialog dialog(this);
        if (Dialogs::Exec(dialog) == QDialog::Accepted) {
            m_form->AddOnFly(name, dialog.value());
        } else {
            m_form->FollowUpCancelled(name);
        }
    } else if (picked.followUp == FollowUp::ComputeFromFile) {
        ComputeFromFile(name);
    }
    Refresh();
}

void BeamDialog::ComputeFromFile(std::string_view name) {
    m_form->FollowUpCancelled(name);
}

QLineEdit* BeamDialog::EditOf(std::string_view name) const {
    return qobject_cast<QLineEdit*>(m_widgets.find(name)->second);
}

QComboBox* BeamDialog::ListOf(std::string_view name) const {
    return qobject_cast<QComboBox*>(m_widgets.find(name)->second);
}

QCheckBox* BeamDialog::CheckOf(std::string_view name) const {
    return qobject_cast<QCheckBox*>(m_widgets.find(name)->second);
}

QButtonGroup* BeamDialog::ChoiceOf(std::string_view name) const {
    return qobject_cast<QButtonGroup*>(m_widgets.find(name)->second);
}

void BeamDialog::SetContent(QWidget* pages) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addWidget(ReasonLine);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void BeamDialog::Refresh() {
    for (const ControlSpec& control : m_form->Controls()) {
        if (control.type != ControlType::Action) {
            RefreshControl(control);
        }
    }
}

void BeamDialog::RefreshControl(const ControlSpec& control) {
    QObject* widget = m_widgets.at(std::string(control.name));
    const QSignalBlocker blocker(widget);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        const QString text = ToQ(m_form->Text(control.name));
        if (edit->text() != text) {
            edit->setText(text);
        }
        ShowReadOnly(edit, m_form->ReadOnly(control.name));
        edit->setEnabled(m_form->Enabled(control.name));
    } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
        QStringList texts;
        for (const ModifierItem& item : m_form->Items(control.name)) {
            texts << ToQ(item.text);
        }
        QStringList shown;
        for (int i = 0; i < list->count(); ++i) {
            shown << list->itemText(i);
        }
        if (shown != texts) {
            list->clear();
            list->addItems(texts);
        }
        list->setCurrentIndex(m_form->Selected(control.name));
        list->setEnabled(m_form->Enabled(control.name));
    } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        check->setChecked(m_form->Checked(control.name));
        check->setEnabled(m_form->Enabled(control.name));
    } else if (auto* group = qobject_cast<QButtonGroup*>(widget)) {
        if (QAbstractButton* button = group->button(m_form->Selected(control.name))) {
            button->setChecked(true);
        }
    }
}

void BeamDialog::ShowReadOnly(QLineEdit* edit, bool readOnly) {
    if (edit->isReadOnly() == readOnly && edit->property("styled").toBool()) {
        return;
    }
    edit->setProperty("styled", true);
    edit->setReadOnly(readOnly);
    // A box that takes no typing looks like the dialog behind it and is skipped by Tab.
    edit->setFocusPolicy(readOnly ? Qt::NoFocus : Qt::StrongFocus);
    QPalette colours = edit->palette();
    colours.setColor(QPalette::Base, palette().color(readOnly ? QPalette::Window : QPalette::Base));
    edit->setPalette(colours);
}

void BeamDialog::ShowReason(const std::string& reason) {
    ReasonLine->setText(ToQ(reason));
}

QLabel* BeamDialog::AddPair(QGridLayout* grid, int row, int column, const QString& caption,
                            QWidget* field) {
    auto* label = new QLabel(caption);
    label->setBuddy(field);
    grid->addWidget(label, row, column);
    grid->addWidget(field, row, column + 1);
    return label;
}

QWidget* BeamDialog::IdentityGrid() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    AddPair(grid, 0, 0, QStringLiteral("Name"), EditOf("BeamName"));
    AddPair(grid, 0, 2, QStringLiteral("ID"), EditOf("BeamID"));
    grid->addWidget(new QLabel(QStringLiteral("gantry")), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("jaws")), 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("couch/base")), 1, 3);
    AddPair(grid, 2, 0, QStringLiteral("ROT [deg]"), EditOf("GantryRot"));
    grid->addWidget(EditOf("JawsRot"), 2, 2);
    grid->addWidget(EditOf("CouchRot"), 2, 3);
    return box;
}

void BeamDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void BeamDialog::FormShow() {
    setWindowTitle(ToQ(m_beam.name));
}

void BeamDialog::LoadControls() {
    m_form->LoadControls();
    Refresh();
}

void BeamDialog::OKClick() {
    const Status accepted = m_form->Accept(SystemToday());
    Refresh();
    if (!accepted) {
        ShowReason(accepted.reason());
        return;
    }
    ShowReason({});
    accept();
}

} // namespace kova::gui
