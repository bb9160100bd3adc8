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
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cassert>
#include <stdexcept>

namespace kova::gui {

BeamDialog::BeamDialog(TBeam& beam, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_beam(beam), m_form(beam.CreateForm()) {
    setWindowTitle(ToQ(m_form->Caption()));
    CreateControls();
    m_buttons = NewOkCancelBox(this, QStringLiteral("Button1"), QStringLiteral("Button2"));
    Button1 = m_buttons->button(QDialogButtonBox::Ok);
    Button2 = m_buttons->button(QDialogButtonBox::Cancel);
    ReasonLine = NewReasonLine();
    connect(m_buttons, &QDialogButtonBox::accepted, this, &BeamDialog::OKClick);
}

BeamDialog::~BeamDialog() = default;

void BeamDialog::CreateControls() {
    m_widgets.resize(m_form->Controls().size());
    for (std::size_t i = 0; i < m_widgets.size(); ++i) {
        const ControlSpec& control = m_form->Controls()[i];
        ControlWidget& widget = m_widgets[i];
        QObject* object = nullptr;
        switch (control.type) {
        case ControlType::Edit:
        case ControlType::Shown:
            object = widget.edit = new QLineEdit(this);
            break;
        case ControlType::List:
            object = widget.list = new QComboBox(this);
            break;
        case ControlType::Check:
            object = widget.check = new QCheckBox(this);
            break;
        case ControlType::Choice: {
            object = widget.choice = new QButtonGroup(this);
            const auto& items = m_form->Items(control.name);
            for (std::size_t item = 0; item < items.size(); ++item) {
                widget.items.push_back(new QRadioButton(ToQ(items[item].text), this));
                widget.choice->addButton(widget.items.back(), static_cast<int>(item));
            }
            break;
        }
        case ControlType::Action:
            continue; // a menu of the kind's dialog
        }
        object->setObjectName(ToQ(std::string(control.name)));
        RefreshControl(control, widget);
        ConnectControl(control, widget);
    }
}

void BeamDialog::ConnectControl(const ControlSpec& control, const ControlWidget& widget) {
    const std::string name(control.name);
    switch (control.type) {
    case ControlType::Edit:
    case ControlType::Shown:
        connect(widget.edit, &QLineEdit::textChanged, this, [this, name](const QString& text) {
            ShowReason({}); // the refusal was about what stood there before
            m_form->SetText(name, FromQ(text));
            Refresh();
        });
        break;
    case ControlType::List:
        connect(widget.list, &QComboBox::currentIndexChanged, this,
                [this, name](int index) { Picked(name, index); });
        break;
    case ControlType::Check:
        connect(widget.check, &QCheckBox::toggled, this, [this, name](bool checked) {
            ShowReason({});
            m_form->SetChecked(name, checked);
            Refresh();
        });
        break;
    case ControlType::Choice:
        connect(widget.choice, &QButtonGroup::idToggled, this, [this, name](int id, bool checked) {
            if (checked) {
                Picked(name, id);
            }
        });
        break;
    case ControlType::Action:
        break;
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

const BeamDialog::ControlWidget& BeamDialog::WidgetOf(std::string_view name) const {
    return m_widgets.at(m_form->IndexOf(name));
}

template <class W>
W* BeamDialog::Checked(W* widget, std::string_view name) {
    if (widget == nullptr) {
        // A kind's dialog asked for a control as a widget its table does not make.
        assert(false && "a beam dialog control of another type");
        throw std::logic_error("the control " + std::string(name) + " is of another type");
    }
    return widget;
}

QLineEdit* BeamDialog::EditOf(std::string_view name) const {
    return Checked(WidgetOf(name).edit, name);
}

QComboBox* BeamDialog::ListOf(std::string_view name) const {
    return Checked(WidgetOf(name).list, name);
}

QCheckBox* BeamDialog::CheckOf(std::string_view name) const {
    return Checked(WidgetOf(name).check, name);
}

QRadioButton* BeamDialog::ChoiceItemOf(std::string_view name, int item) const {
    const ControlWidget& widget = WidgetOf(name);
    Checked(widget.choice, name);
    // An item the control does not have is a programming error, as a misspelled name is.
    return widget.items.at(static_cast<std::size_t>(item));
}

void BeamDialog::SetContent(QWidget* pages) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addWidget(ReasonLine);
    layout->addWidget(m_buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void BeamDialog::Refresh() {
    for (std::size_t i = 0; i < m_widgets.size(); ++i) {
        RefreshControl(m_form->Controls()[i], m_widgets[i]);
    }
}

void BeamDialog::RefreshControl(const ControlSpec& control, const ControlWidget& widget) {
    const std::string_view name = control.name;
    switch (control.type) {
    case ControlType::Edit:
    case ControlType::Shown: {
        const QSignalBlocker blocker(widget.edit);
        const QString text = ToQ(m_form->Text(name));
        if (widget.edit->text() != text) {
            widget.edit->setText(text);
        }
        ShowReadOnly(widget.edit, m_form->ReadOnly(name));
        widget.edit->setEnabled(m_form->Enabled(name));
        break;
    }
    case ControlType::List: {
        const QSignalBlocker blocker(widget.list);
        QStringList texts;
        for (const ModifierItem& item : m_form->Items(name)) {
            texts << ToQ(item.text);
        }
        QStringList shown;
        for (int i = 0; i < widget.list->count(); ++i) {
            shown << widget.list->itemText(i);
        }
        if (shown != texts) {
            widget.list->clear();
            widget.list->addItems(texts);
        }
        widget.list->setCurrentIndex(m_form->Selected(name));
        widget.list->setEnabled(m_form->Enabled(name));
        break;
    }
    case ControlType::Check: {
        const QSignalBlocker blocker(widget.check);
        widget.check->setChecked(m_form->Checked(name));
        widget.check->setEnabled(m_form->Enabled(name));
        break;
    }
    case ControlType::Choice: {
        const QSignalBlocker blocker(widget.choice);
        if (QAbstractButton* button = widget.choice->button(m_form->Selected(name))) {
            button->setChecked(true);
        }
        break;
    }
    case ControlType::Action:
        break;
    }
}

void BeamDialog::ShowControl(std::string_view name) {
    const ControlWidget& control = WidgetOf(name);
    QWidget* widget = control.edit != nullptr    ? static_cast<QWidget*>(control.edit)
                      : control.list != nullptr  ? static_cast<QWidget*>(control.list)
                      : control.check != nullptr ? static_cast<QWidget*>(control.check)
                      : control.items.empty()    ? nullptr
                                                 : control.items.front();
    if (widget == nullptr) {
        return;
    }
    // Every page on the way up is brought forward: a tab's page sits in the tab widget's
    // stack of pages.
    for (QWidget* page = widget; page != nullptr && page != this; page = page->parentWidget()) {
        QWidget* stack = page->parentWidget();
        auto* tabs = stack != nullptr ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
        if (tabs != nullptr && tabs->indexOf(page) >= 0) {
            tabs->setCurrentWidget(page);
        }
    }
    widget->setFocus(Qt::OtherFocusReason);
    if (control.edit != nullptr) {
        control.edit->selectAll();
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

void BeamDialog::SetSinglePage(const QString& title, QWidget* values) {
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(IdentityGrid());
    layout->addWidget(values);
    auto* pages = new QTabWidget;
    pages->setObjectName(QStringLiteral("PageControl1"));
    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(group);
    pages->addTab(page, tr("Beam"));
    SetContent(pages);
}

QWidget* BeamDialog::IdentityGrid() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    AddPair(grid, 0, 0, tr("Name"), EditOf(controls::kBeamName));
    AddPair(grid, 0, 2, tr("ID"), EditOf(controls::kBeamID));
    grid->addWidget(new QLabel(tr("gantry")), 1, 1);
    grid->addWidget(new QLabel(tr("jaws")), 1, 2);
    grid->addWidget(new QLabel(tr("couch/base")), 1, 3);
    AddPair(grid, 2, 0, tr("ROT [deg]"), EditOf(controls::kGantryRot));
    grid->addWidget(EditOf(controls::kJawsRot), 2, 2);
    grid->addWidget(EditOf(controls::kCouchRot), 2, 3);
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
        if (!m_form->RefusedControl().empty()) {
            ShowControl(m_form->RefusedControl());
        }
        return;
    }
    ShowReason({});
    accept();
}

} // namespace kova::gui
