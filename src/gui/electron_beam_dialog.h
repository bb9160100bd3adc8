#pragma once

#include "core/beams/electron_beam.h"
#include "gui/beam_dialog.h"

class QComboBox;
class QLineEdit;

namespace kova::gui {

/// The window of an electron beam: identity, dose, field and applicator; the SSD is the
/// energy's and shown only.
class ElectronBeamDialog : public BeamDialog {
    Q_OBJECT

public:
    explicit ElectronBeamDialog(TElectronBeam& beam, QWidget* parent = nullptr);

    QLineEdit *BeamDose = nullptr, *BeamSSD = nullptr, *BeamWidth = nullptr, *BeamHeight = nullptr;
    QComboBox* ApplicatorComp = nullptr;
};

} // namespace kova::gui
