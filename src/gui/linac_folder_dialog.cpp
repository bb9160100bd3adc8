#include "gui/linac_folder_dialog.h"

#include "core/linac/linac_folder_choice.h"
#include "gui/dialog_parts.h"
#include "gui/dialogs.h"
#include "gui/qt_text.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kova::gui {

LinacFolderDialog::LinacFolderDialog(const QString& inUse, const QString& why,
                                     const QString& chosen, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("LinacFolderDialog"));
    setWindowTitle(tr("Linac folder"));
    auto* now =
        new QLabel(tr("Linacs read now: %1\n(%2)").arg(QDir::toNativeSeparators(inUse), why));
    now->setObjectName(QStringLiteral("InUse"));
    now->setWordWrap(true);
    auto* rule = new QLabel(
        tr("KOVA X reads the Linacs folder of the folder it is started from. When there is none, "
           "it reads the folder chosen here (for example a department's shared folder), and when "
           "none is chosen, the demo linacs installed with it. A new choice is read from the next "
           "start. The linac files are only read, never written."));
    rule->setWordWrap(true);

    Folder = new QLineEdit(chosen);
    Folder->setObjectName(QStringLiteral("Folder"));
    Folder->setMinimumWidth(360);
    BrowseBtn = new QPushButton(tr("Browse..."));
    BrowseBtn->setObjectName(QStringLiteral("BrowseBtn"));
    ClearBtn = new QPushButton(tr("Clear"));
    ClearBtn->setObjectName(QStringLiteral("ClearBtn"));
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(Folder, 1);
    folderRow->addWidget(BrowseBtn);
    folderRow->addWidget(ClearBtn);

    ReasonLine = NewReasonLine();

    auto* buttons = NewOkCancelBox(this, QStringLiteral("OKBtn"), QStringLiteral("CancelBtn"));
    OKBtn = buttons->button(QDialogButtonBox::Ok);
    CancelBtn = buttons->button(QDialogButtonBox::Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(now);
    layout->addWidget(rule);
    layout->addLayout(folderRow);
    layout->addWidget(ReasonLine);
    layout->addWidget(buttons);

    connect(BrowseBtn, &QPushButton::clicked, this, &LinacFolderDialog::BrowseBtnClick);
    connect(ClearBtn, &QPushButton::clicked, Folder, &QLineEdit::clear);
    connect(buttons, &QDialogButtonBox::accepted, this, &LinacFolderDialog::OKBtnClick);
}

QString LinacFolderDialog::chosenFolder() const {
    return Folder->text().trimmed();
}

void LinacFolderDialog::BrowseBtnClick() {
    const QString picked = Dialogs::ExistingFolder(this, tr("Linac folder"), chosenFolder());
    if (!picked.isEmpty()) {
        Folder->setText(picked);
    }
}

void LinacFolderDialog::OKBtnClick() {
    const Status checked = CheckLinacFolderSetting(PathFromQ(chosenFolder()));
    if (!checked) {
        ReasonLine->setText(PathToQ(checked.reason()));
        return;
    }
    ReasonLine->clear();
    accept();
}

} // namespace kova::gui
