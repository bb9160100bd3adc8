#include "gui/open_wedged_beam_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace kova::gui {

PhotonOWBeamDialog::PhotonOWBeamDialog(TPhotonOWBeam& beam, QWidget* parent)
    : PhotonBeamDialog(beam, parent) {
    setObjectName(QStringLiteral("PhotonOWBeamDialog"));
    BeamWedgeDose = EditOf(controls::kBeamWedgeDose);
    const auto redLabel = [](const QString& text, const char* name) {
        auto* label = new QLabel(text);
        label->setObjectName(QString::fromLatin1(name));
        label->setStyleSheet(QStringLiteral("color: red"));
        return label;
    };
    m_doseGrid->addWidget(redLabel(tr("Open"), "OpenLabel"), 0, 0);
    m_doseGrid->addWidget(redLabel(tr("Wedge"), "WedgeLabel"), 0, 1);
    m_doseGrid->addWidget(BeamWedgeDose, 1, 1);
}

} // namespace kova::gui
