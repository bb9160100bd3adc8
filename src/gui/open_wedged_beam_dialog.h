#pragma once

#include "core/beams/open_wedged_beam.h"
#include "gui/photon_beam_dialog.h"

namespace kova::gui {

/// The photon beam dialog with the wedge dose of an open/wedged beam beside the open dose.
class PhotonOWBeamDialog : public PhotonBeamDialog {
    Q_OBJECT

public:
    explicit PhotonOWBeamDialog(TPhotonOWBeam& beam, QWidget* parent = nullptr);

    QLineEdit* BeamWedgeDose = nullptr;
};

} // namespace kova::gui
