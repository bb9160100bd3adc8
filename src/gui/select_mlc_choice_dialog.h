#pragma once

#include "core/mlc/mlc_jaws.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace kova::gui {

/// What the user chose for the jaws of a beam shaped by a multileaf field.
enum class MLCJawsChoice {
    Cancel,      ///< stop: no entry is made
    Recommended, ///< write the field's recommended jaws into the beam first
    UseCurrent,  ///< keep the beam's jaws
};

/// "MLC Jaws Settings": a sentence saying what is asked, then "Recommended", "Use current" (enabled
/// only when the beam's current jaws lie within the limits the core gives for the energy; otherwise
/// the reason is shown) and "Cancel" (also Esc). "Recommended" has the focus first.
class SelectMLCChoiceDialog : public QDialog {
    Q_OBJECT

public:
    /// The dialog result of "Use current"; "Recommended" gives Accepted and "Cancel" Rejected.
    static constexpr int kUseCurrentResult = 2;

    SelectMLCChoiceDialog(const TgEnergy& energy, const JawSettings& current,
                          QWidget* parent = nullptr);

    /// The choice a dialog result stands for.
    static MLCJawsChoice ChoiceOf(int result);
    MLCJawsChoice choice() const { return ChoiceOf(result()); }

    QPushButton* RecBtn = nullptr;
    QPushButton* CurBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QLabel* Question = nullptr;   ///< the one sentence that says what is asked
    QLabel* ReasonLine = nullptr; ///< why "Use current" is not offered; empty when it is
};

} // namespace kova::gui
