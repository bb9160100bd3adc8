#include "gui/select_mlc_choice_dialog.h"

#include "gui/qt_text.h"

#include <QDialogButtonBox>
#include <QIcon>
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
    setWindowTitle(tr("MLC Jaws Settings"));

    // Both choices accept jaws, each with a result of its own; Cancel is the standard button.
    auto* buttons = new QDialogButtonBox;
    RecBtn = buttons->addButton(tr("Recommended"), QDialogButtonBox::AcceptRole);
    CurBtn = buttons->addButton(tr("Use current"), QDialogButtonBox::AcceptRole);
    CancelBtn = buttons->addButton(QDialogButtonBox::Cancel);
    CancelBtn->setText(tr("Cancel"));
    CancelBtn->setIcon(QIcon()); // plain, as the other two
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

    // The buttons alone do not say what is asked.
    Question = new QLabel(tr("Which jaws should the beam use with this multileaf field: the "
                             "recommended ones (the leaf opening plus 0.8 cm beside the leaves "
                             "and 0.2 cm beyond their ends), or the jaws typed in the beam "
                             "now?"));
    Question->setObjectName(QStringLiteral("Question"));
    Question->setWordWrap(true);
    Question->setMinimumWidth(380);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Question);
    layout->addWidget(buttons);
    layout->addWidget(ReasonLine);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(RecBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CurBtn, &QPushButton::clicked, this, [this] { done(kUseCurrentResult); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    RecBtn->setFocus();
}

MLCJawsChoice SelectMLCChoiceDialog::ChoiceOf(int result) {
    if (result == kUseCurrentResult) {
        return MLCJawsChoice::UseCurrent;
    }
    return result == QDialog::Accepted ? MLCJawsChoice::Recommended : MLCJawsChoice::Cancel;
}

} // namespace kova::gui
