#include "gui/explain_dock.h"

#include "core/dosimetry/trace.h"
#include "gui/qt_text.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kova::gui {

ExplainDock::ExplainDock(QWidget* parent) : QDockWidget(tr("Explain"), parent) {
    setObjectName(QStringLiteral("ExplainDock"));
    // Never closed, so never lost: the menus offer no command to bring it back.
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    m_hint = new QLabel(tr("Select a factor, a depth dose or the calibration of a beam to see "
                           "where its value comes from."),
                        body);
    m_hint->setWordWrap(true);
    ExplainText = new QPlainTextEdit(body);
    ExplainText->setObjectName(QStringLiteral("ExplainText"));
    ExplainText->setReadOnly(true);
    // Indentation carries the structure: a fixed-pitch font keeps it.
    ExplainText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ExplainText->setLineWrapMode(QPlainTextEdit::NoWrap);
    ExplainCopy = new QPushButton(tr("&Copy"), body);
    ExplainCopy->setObjectName(QStringLiteral("ExplainCopy"));
    connect(ExplainCopy, &QPushButton::clicked, this, &ExplainDock::ExplainCopyClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ExplainCopy);
    layout->addWidget(m_hint);
    layout->addWidget(ExplainText);
    layout->addLayout(buttons);
    setWidget(body);
    ShowTrace(nullptr);
}

void ExplainDock::ShowTrace(const std::shared_ptr<const Trace>& trace) {
    ExplainText->setPlainText(trace != nullptr ? ToQ(kova::ExplainText(*trace)) : QString());
    m_hint->setVisible(trace == nullptr);
    ExplainCopy->setEnabled(trace != nullptr);
}

void ExplainDock::ExplainCopyClick() {
    QGuiApplication::clipboard()->setText(ExplainText->toPlainText());
}

} // namespace kova::gui
