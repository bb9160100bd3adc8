#include "gui/select_mlc_choice_dialog.h"

#include "gui/qt_text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kova::gui {

SelectMLCChoiceDialog::SelectMLCChoiceDialog(const TgEnergy& energy, const JawSettings& current,
                                             QWidget* parent)
    // A single border and no icons in the title bar: the dialog ends through its buttons.
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("SelectMLCChoiceDialog"));
    setWindowTitle(QStringLiteral("MLC Jaws Settings"));

    RecBtn = new QPushButton(QStringLiteral("Recommended"));
    CurBtn = new QPushButton(QStringLiteral("Use current"));
    CancelBtn = new QPushButton(QStringLiteral("Cancel"));
    RecBtn->setObjectName(QStringLiteral("RecBtn"));
    CurBtn->setObjectName(QStringLiteral("CurBtn"));
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    RecBtn->setDefault(true);

    const Status usable = CheckUseCurrentJaws(energy, current);
    CurBtn->setEnabled(usable.ok());
    ReasonLine = new QLabel(ToQ(usable.reason()));
    ReasonLine->setObjectName(QStringLiteral("ReasonLine"));
    ReasonLine->setWordWrap(true);
    ReasonLine->setVisible(!usable.ok());

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(RecBtn);
    buttons->addWidget(CurBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(ReasonLine);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(RecBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CurBtn, &QPushButton::clicked, this, [this] { done(kUseCurrentResult); });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    RecBtn->setFocus();
}

MLCJawsChoice SelectMLCChoiceDialog::ChoiceOf(int result) {
    if (result == kUseCurrentResult) {
        return MLCJawsChoice::UseCurrent;
    }
    return result == QDialog::Accepted ? MLCJawsChoice::Recommended : MLCJawsChoice::Cancel;
}

} // namespace kova::gui
