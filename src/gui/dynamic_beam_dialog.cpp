#include "gui/dynamic_beam_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace kova::gui {

DynamicBeamDialog::DynamicBeamDialog(TDynamicBeam& beam, QWidget* parent)
    : BeamDialog(beam, parent) {
    setObjectName(QStringLiteral("DynamicBeamDialog"));
    BeamDose = EditOf(controls::kBeamDose);
    LeafBoundaries = EditOf(controls::kLeafBoundaries);
    Segments = EditOf(controls::kSegments);

    auto* values = new QWidget;
    auto* grid = new QGridLayout(values);
    grid->setContentsMargins(0, 0, 0, 0);
    AddPair(grid, 0, 0, tr("TPS Dose [cGy]"), BeamDose);
    AddPair(grid, 0, 2, tr("TPS MU"), EditOf(controls::kTPSMU));
    AddPair(grid, 1, 0, tr("Leaf edges [cm]"), LeafBoundaries);
    AddPair(grid, 2, 0, tr("Segments"), Segments);

    SetSinglePage(tr("Beam (from the plan)"), values);
}

void DynamicBeamDialog::Refresh() {
    BeamDialog::Refresh();
    for (const ControlSpec& control : form().Controls()) {
        ShowReadOnly(EditOf(control.name), true);
    }
}

} // namespace kova::gui
