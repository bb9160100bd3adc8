#include "gui/modifier_value_dialog.h"

#include "gui/dialog_parts.h"
#include "gui/qt_text.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kova::gui {

ModifierValueDialog::ModifierValueDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("ModifierValueDialog"));
    setWindowTitle(tr("Enter Modifier Name and Value"));

    Name = new QLineEdit;
    Factor = new QLineEdit;
    Name->setObjectName(QStringLiteral("Name"));
    Factor->setObjectName(QStringLiteral("Factor"));
    auto* nameLabel = new QLabel(tr("Name"));
    auto* factorLabel = new QLabel(tr("Factor"));
    nameLabel->setBuddy(Name);
    factorLabel->setBuddy(Factor);
    auto* hint = new QLabel(tr("UM* = UM / Factor"));
    hint->setObjectName(QStringLiteral("FactorHint"));

    auto* grid = new QGridLayout;
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(Name, 0, 1, 1, 2);
    grid->addWidget(factorLabel, 1, 0);
    grid->addWidget(Factor, 1, 1);
    grid->addWidget(hint, 1, 2);

    ReasonLine = NewReasonLine();

    auto* buttons = NewOkCancelBox(this, QStringLiteral("OKBtn"), QStringLiteral("CancelBtn"));
    OKBtn = buttons->button(QDialogButtonBox::Ok);
    CancelBtn = buttons->button(QDialogButtonBox::Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(ReasonLine);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(buttons, &QDialogButtonBox::accepted, this, &ModifierValueDialog::OKBtnClick);
}

void ModifierValueDialog::OKBtnClick() {
    const Result<ModifierValue> checked =
        CheckModifierValue(FromQ(Name->text()), FromQ(Factor->text()));
    if (!checked) {
        // The typed texts stay as they are, so the user corrects only what is wrong.
        ReasonLine->setText(ToQ(checked.reason()));
        return;
    }
    m_value = *checked;
    ReasonLine->clear();
    accept();
}

} // namespace kova::gui
