#pragma once

#include <QDockWidget>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kova {
struct Trace;
}

namespace kova::gui {

/// "Explain": where the value of the selected result line comes from, as the core writes it
/// (ExplainText: the table, the entries with their keys, values and weights, the rule and any
/// formula), read-only, with Copy. A line without a looked-up value shows a hint instead.
class ExplainDock : public QDockWidget {
    Q_OBJECT

public:
    explicit ExplainDock(QWidget* parent = nullptr);

    /// Shows `trace`; none clears the text and shows the hint.
    void ShowTrace(const std::shared_ptr<const Trace>& trace);

    QPlainTextEdit* ExplainText = nullptr;
    QPushButton* ExplainCopy = nullptr;

private:
    void ExplainCopyClick();

    QLabel* m_hint = nullptr;
};

} // namespace kova::gui
