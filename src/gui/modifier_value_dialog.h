#pragma once

#include "core/beams/modifiers.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kova::gui {

/// Asks for a beam modifier made on the spot ("Set on fly..."): a name and the factor the MU
/// are divided by. The beam dialog that opened it builds the entry from value().
class ModifierValueDialog : public QDialog {
    Q_OBJECT

public:
    explicit ModifierValueDialog(QWidget* parent = nullptr);

    /// What OK accepted; meaningful once the dialog closed with OK.
    const ModifierValue& value() const { return m_value; }

    QLineEdit* Name = nullptr;
    QLineEdit* Factor = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QLabel* ReasonLine = nullptr;

public slots:
    void OKBtnClick();

private:
    ModifierValue m_value;
};

} // namespace kova::gui
