#include "gui/electron_beam_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace kova::gui {

ElectronBeamDialog::ElectronBeamDialog(TElectronBeam& beam, QWidget* parent)
    : BeamDialog(beam, parent) {
    setObjectName(QStringLiteral("ElectronBeamDialog"));
    BeamDose = EditOf(controls::kBeamDose);
    BeamSSD = EditOf(controls::kBeamSSD);
    BeamWidth = EditOf(controls::kBeamWidth);
    BeamHeight = EditOf(controls::kBeamHeight);
    ApplicatorComp = ListOf(controls::kApplicatorComp);

    auto* values = new QWidget;
    auto* grid = new QGridLayout(values);
    grid->setContentsMargins(0, 0, 0, 0);
    QLabel* dose = AddPair(grid, 0, 0, tr("Dose [cGy]"), BeamDose);
    dose->setStyleSheet(QStringLiteral("color: red"));
    AddPair(grid, 0, 2, tr("SSD [cm]"), BeamSSD);
    AddPair(grid, 1, 0, tr("Width X [cm]"), BeamWidth);
    AddPair(grid, 1, 2, tr("Height Y [cm]"), BeamHeight);
    AddPair(grid, 2, 0, tr("Available Applicators"), ApplicatorComp);
    AddPair(grid, 3, 0, tr("TPS MU"), EditOf(controls::kTPSMU));

    SetSinglePage(tr("Beam"), values);
}

} // namespace kova::gui
