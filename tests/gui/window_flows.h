#pragma once

// Helpers that drive the main window and the linac window as a user does, answering modal
// windows through Dialogs.

#include "core/linac/linac_spec.h"
#include "gui/dialogs.h"
#include "gui/linac_spec_window.h"
#include "gui/main_window.h"
#include "gui/workbench_rows.h"
#include "support/temp_dir.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <string>

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace kova::guitest {

/// Answers every modal window with `answer` until the object goes.
class DialogAnswer {
public:
    explicit DialogAnswer(gui::Dialogs::ExecHook answer) {
        gui::Dialogs::SetExecHook(std::move(answer));
    }
    ~DialogAnswer() { gui::Dialogs::SetExecHook({}); }
    DialogAnswer(const DialogAnswer&) = delete;
    DialogAnswer& operator=(const DialogAnswer&) = delete;
};

QString Folder(const test::TempDir& dir);
/// Clicks the button and gives the result the dialog closed with.
int Press(QDialog& dialog, const char* button);
/// The box of that name; ends the test program when there is none.
QLineEdit* Edit(QDialog& dialog, const char* name);
void Type(QDialog& dialog, const char* edit, const QString& text);

QStringList Children(const QTreeWidgetItem* item);
QStringList Roots(const QTreeWidget* tree);
/// The item reached by `captions` from the roots; ends the test program when there is none.
QTreeWidgetItem* Item(const gui::LinacSpecWindow& window, const QStringList& captions);
void Select(gui::LinacSpecWindow& window, const QStringList& captions);
/// Every item of the tree, parents first.
QList<QTreeWidgetItem*> AllItems(const QTreeWidget* tree);
int Level(const QTreeWidgetItem* item);

/// A patient with a treatment on `linacName` (its first photon energy); the treatment's row.
Row AddTreatment(gui::MainWindow& window, const QString& linacName);
/// Computes a new beam on the treatment: 200 cGy at 10 cm depth, SSD 100, 10 x 10 cm, behind
/// `wedge`; gives its MU as the workbench keeps it (-1 when it was refused).
double NewBeamMu(gui::MainWindow& window, const QModelIndex& treatment, const char* wedge);

std::string Bytes(const std::string& path);
/// The linac's text as the linac writer (and `lnc dump`) writes it.
std::string Written(const TLinacSpec& linac);

} // namespace kova::guitest
