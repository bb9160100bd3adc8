#include "gui/modifier_value_dialog.h"

#include "gui/dialog_parts.h"
#include "gui/qt_text.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kova::gui {

ModifierValueDialog::ModifierValueDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("ModifierValueDialog"));
    setWindowTitle(QStringLiteral("Enter Modifier Name and Value"));

    Name = new QLineEdit;
    Factor = new QLineEdit;
    Name->setObjectName(QStringLiteral("Name"));
    Factor->setObjectName(QStringLiteral("Factor"));
    auto* nameLabel = new QLabel(QStringLiteral("Name"));
    auto* factorLabel = new QLabel(QStringLiteral("Factor"));
    nameLabel->setBuddy(Name);
    factorLabel->setBuddy(Factor);
    auto* hint = new QLabel(QStringLiteral("UM* = UM / Factor"));
    hint->setObjectName(QStringLiteral("FactorHint"));

    auto* grid = new QGridLayout;
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(Name, 0, 1, 1, 2);
    grid->addWidget(factorLabel, 1, 0);
    grid->addWidget(Factor, 1, 1);
    grid->addWidget(hint, 1, 2);

    ReasonLine = NewReasonLine();

    const OkCancelRow buttons =
        NewOkCancelRow(QStringLiteral("OKBtn"), QStringLiteral("CancelBtn"));
    OKBtn = buttons.ok;
    CancelBtn = buttons.cancel;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(ReasonLine);
    layout->addLayout(buttons.layout);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKBtn, &QPushButton::clicked, this, &ModifierValueDialog::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
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
