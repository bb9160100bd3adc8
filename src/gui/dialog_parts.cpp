#include "gui/dialog_parts.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace kova::gui {

QLabel* NewReasonLine() {
    auto* line = new QLabel;
    line->setObjectName(QStringLiteral("ReasonLine"));
    line->setStyleSheet(QStringLiteral("color: red"));
    line->setWordWrap(true);
    return line;
}

QDialogButtonBox* NewOkCancelBox(QDialog* dialog, const QString& okName,
                                 const QString& cancelName) {
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* ok = box->button(QDialogButtonBox::Ok);
    QPushButton* cancel = box->button(QDialogButtonBox::Cancel);
    // The program's own texts: some platform themes give the standard buttons a mnemonic.
    ok->setText(QCoreApplication::translate("kova::gui::DialogParts", "OK"));
    cancel->setText(QCoreApplication::translate("kova::gui::DialogParts", "Cancel"));
    ok->setObjectName(okName);
    cancel->setObjectName(cancelName);
    // Plain buttons as the dialogs always had, whatever icons the platform theme offers.
    ok->setIcon(QIcon());
    cancel->setIcon(QIcon());
    ok->setDefault(true);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

} // namespace kova::gui
