#pragma once

#include <QString>

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace kova::gui {

/// The red line under a dialog's boxes that says why OK was refused; empty until then.
QLabel* NewReasonLine();

/// OK and Cancel at the right of a row, OK the default button, each with its object name.
struct OkCancelRow {
    QPushButton* ok;
    QPushButton* cancel;
    QHBoxLayout* layout;
};
OkCancelRow NewOkCancelRow(const QString& okName, const QString& cancelName);

} // namespace kova::gui
