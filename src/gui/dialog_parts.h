#pragma once

#include <QString>

class QDialog;
class QDialogButtonBox;
class QLabel;

namespace kova::gui {

/// The red line under a dialog's boxes that says why OK was refused; empty until then.
QLabel* NewReasonLine();

/// OK and Cancel in the platform's order, each with its object name, OK the default button.
/// Cancel rejects `dialog`; OK only emits accepted(), which the caller connects to its own OK
/// handler, so that a refused OK keeps the dialog open.
QDialogButtonBox* NewOkCancelBox(QDialog* dialog, const QString& okName, const QString& cancelName);

} // namespace kova::gui
