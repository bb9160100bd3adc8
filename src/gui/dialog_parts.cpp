#include "gui/dialog_parts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace kova::gui {

QLabel* NewReasonLine() {
    auto* line = new QLabel;
    line->setObjectName(QStringLiteral("ReasonLine"));
    line->setStyleSheet(QStringLiteral("color: red"));
    line->setWordWrap(true);
    return line;
}

OkCancelRow NewOkCancelRow(const QString& okName, const QString& cancelName) {
    OkCancelRow row{new QPushButton(QStringLiteral("OK")),
                    new QPushButton(QStringLiteral("Cancel")), new QHBoxLayout};
    row.ok->setObjectName(okName);
    row.cancel->setObjectName(cancelName);
    row.ok->setDefault(true);
    row.layout->addStretch();
    row.layout->addWidget(row.ok);
    row.layout->addWidget(row.cancel);
    return row;
}

} // namespace kova::gui
