#pragma once

#include <QCoreApplication>
#include <QMessageBox>
#include <QString>
#include <functional>
#include <optional>

class QDialog;
class QWidget;

namespace kova::gui {

/// Every modal window of the program runs through here, so that tests can answer it: a test
/// installs a hook that receives the dialog (fully built and ready), drives its real widgets
/// and returns the result the dialog would have closed with.
class Dialogs {
    Q_DECLARE_TR_FUNCTIONS(kova::gui::Dialogs)

public:
    using ExecHook = std::function<int(QDialog&)>;
    /// Answers a save dialog in tests: receives the suggested path, returns the chosen one
    /// (empty for Cancel).
    using SaveFileHook = std::function<QString(const QString& suggested)>;

    /// Shows `dialog` modally, or hands it to the test hook; returns the dialog's result.
    static int Exec(QDialog& dialog);

    /// The application's error box, titled "KOVA X".
    static void ShowError(QWidget* parent, const QString& message);

    /// A box with OK and Cancel; true for OK.
    static bool Confirm(QWidget* parent, const QString& title, const QString& message);

    /// A question with Save, Discard and Cancel, titled "KOVA X": the button chosen.
    static QMessageBox::StandardButton AskSaveDiscardCancel(QWidget* parent,
                                                            const QString& message);

    /// The standard save dialog, starting at `suggested`: the path chosen, empty when
    /// cancelled. It asks before replacing a file unless the caller does
    /// (`askBeforeReplacing` false).
    static QString SaveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                                const QString& filter, bool askBeforeReplacing = true);

    /// The standard open dialog, starting in `folder` when given: the path chosen, empty
    /// when cancelled.
    static QString OpenFileName(QWidget* parent, const QString& caption, const QString& filter,
                                const QString& folder = QString());

    /// The standard folder dialog, starting in `folder` when given: the folder chosen, empty
    /// when cancelled. Tests answer it as the open dialog (SetOpenFileAnswer).
    static QString ExistingFolder(QWidget* parent, const QString& caption,
                                  const QString& folder = QString());

    /// A box with a message and OK, titled `title`.
    static void Inform(QWidget* parent, const QString& title, const QString& message);

    /// A list of `items` to pick one from, under `label`, with OK and Cancel (a QInputDialog
    /// run through Exec, so a test hook answers it): the index picked, none when cancelled.
    static std::optional<int> PickItem(QWidget* parent, const QString& title, const QString& label,
                                       const QStringList& items);

    /// A line of text to type under `label`, starting as `text`, with OK and Cancel (a
    /// QInputDialog run through Exec); `hidden` shows dots for a password. The text typed;
    /// none when cancelled.
    static std::optional<QString> AskText(QWidget* parent, const QString& title,
                                          const QString& label, const QString& text = QString(),
                                          bool hidden = false);

    /// For tests: the path the next open dialogs give (empty for Cancel; none restores the
    /// real dialog).
    static void SetOpenFileAnswer(std::optional<QString> path);

    /// For tests: every following Exec goes to `hook` (none restores the real dialogs).
    static void SetExecHook(ExecHook hook);
    /// For tests: every following SaveFileName goes to `hook` (none restores the real one).
    static void SetSaveFileHook(SaveFileHook hook);
    /// For tests: the answer of the next message boxes, and the texts they would have shown.
    static void SetMessageAnswer(QMessageBox::StandardButton answer);
    static const QStringList& ShownMessages();
    static void ClearShownMessages();
    /// For tests: the path the next save dialogs give (empty for Cancel; none restores the
    /// real dialog).
    static void SetSaveFileAnswer(std::optional<QString> path);

private:
    static int RunMessageBox(QMessageBox& box);
};

} // namespace kova::gui
