#include "gui/dialogs.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QStringList>
#include <optional>

namespace kova::gui {
namespace {

Dialogs::ExecHook& Hook() {
    static Dialogs::ExecHook hook;
    return hook;
}

Dialogs::SaveFileHook& SaveHook() {
    static Dialogs::SaveFileHook hook;
    return hook;
}

std::optional<QMessageBox::StandardButton>& MessageAnswer() {
    static std::optional<QMessageBox::StandardButton> answer;
    return answer;
}

std::optional<QString>& SaveFileAnswer() {
    static std::optional<QString> answer;
    return answer;
}

std::optional<QString>& OpenFileAnswer() {
    static std::optional<QString> answer;
    return answer;
}

QStringList& Shown() {
    static QStringList shown;
    return shown;
}

/// The program's own button texts ("OK", never a theme's "Ok" or "&OK"), as NewOkCancelBox
/// gives every dialog.
void PlainButtonTexts(QMessageBox& box) {
    if (QAbstractButton* ok = box.button(QMessageBox::Ok)) {
        ok->setText(QCoreApplication::translate("kova::gui::DialogParts", "OK"));
    }
    if (QAbstractButton* cancel = box.button(QMessageBox::Cancel)) {
        cancel->setText(QCoreApplication::translate("kova::gui::DialogParts", "Cancel"));
    }
}

} // namespace

int Dialogs::Exec(QDialog& dialog) {
    if (Hook()) {
        return Hook()(dialog);
    }
    return dialog.exec();
}

int Dialogs::RunMessageBox(QMessageBox& box) {
    PlainButtonTexts(box);
    Shown().append(box.text());
    if (MessageAnswer()) {
        return *MessageAnswer();
    }
    return box.exec();
}

void Dialogs::ShowError(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Critical, tr("KOVA X"), message, QMessageBox::Ok, parent);
    RunMessageBox(box);
}

bool Dialogs::Confirm(QWidget* parent, const QString& title, const QString& message) {
    QMessageBox box(QMessageBox::Question, title, message, QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    return RunMessageBox(box) == QMessageBox::Ok;
}

QMessageBox::StandardButton Dialogs::AskSaveDiscardCancel(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Question, tr("KOVA X"), message,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    const int answer = RunMessageBox(box);
    if (answer == QMessageBox::Save || answer == QMessageBox::Discard) {
        return static_cast<QMessageBox::StandardButton>(answer);
    }
    // Closing the box any other way keeps the work.
    return QMessageBox::Cancel;
}

QString Dialogs::SaveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                              const QString& filter, bool askBeforeReplacing) {
    if (SaveHook()) {
        return SaveHook()(suggested);
    }
    if (SaveFileAnswer()) {
        return *SaveFileAnswer();
    }
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter, nullptr,
                                        askBeforeReplacing ? QFileDialog::Options()
                                                           : QFileDialog::DontConfirmOverwrite);
}

QString Dialogs::OpenFileName(QWidget* parent, const QString& caption, const QString& filter,
                              const QString& folder) {
    if (OpenFileAnswer()) {
        return *OpenFileAnswer();
    }
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString Dialogs::ExistingFolder(QWidget* parent, const QString& caption, const QString& folder) {
    if (OpenFileAnswer()) {
        return *OpenFileAnswer();
    }
    return QFileDialog::getExistingDirectory(parent, caption, folder);
}

void Dialogs::Inform(QWidget* parent, const QString& title, const QString& message) {
    QMessageBox box(QMessageBox::Information, title, message, QMessageBox::Ok, parent);
    RunMessageBox(box);
}

std::optional<int> Dialogs::PickItem(QWidget* parent, const QString& title, const QString& label,
                                     const QStringList& items) {
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("PickItemDialog"));
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    dialog.setOption(QInputDialog::UseListViewForComboBoxItems);
    dialog.setOkButtonText(QCoreApplication::translate("kova::gui::DialogParts", "OK"));
    dialog.setCancelButtonText(QCoreApplication::translate("kova::gui::DialogParts", "Cancel"));
    if (Exec(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    const qsizetype picked = items.indexOf(dialog.textValue());
    return picked < 0 ? std::nullopt : std::optional<int>(static_cast<int>(picked));
}

void Dialogs::SetOpenFileAnswer(std::optional<QString> path) {
    OpenFileAnswer() = std::move(path);
}

void Dialogs::SetExecHook(ExecHook hook) {
    Hook() = std::move(hook);
}

void Dialogs::SetSaveFileHook(SaveFileHook hook) {
    SaveHook() = std::move(hook);
}

void Dialogs::SetMessageAnswer(QMessageBox::StandardButton answer) {
    MessageAnswer() = answer;
}

const QStringList& Dialogs::ShownMessages() {
    return Shown();
}

void Dialogs::ClearShownMessages() {
    Shown().clear();
}

void Dialogs::SetSaveFileAnswer(std::optional<QString> path) {
    SaveFileAnswer() = std::move(path);
}

} // namespace kova::gui
