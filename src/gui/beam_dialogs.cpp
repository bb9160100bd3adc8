#include "gui/beam_dialogs.h"

#include "core/beams/photon_beam.h"
#include "gui/photon_beam_dialog.h"

namespace kova::gui {

std::unique_ptr<QDialog> CreateBeamDialog(TBeam& beam, bool edit, QWidget* parent) {
    if (auto* photon = dynamic_cast<TPhotonBeam*>(&beam)) {
        auto dialog = std::make_unique<PhotonBeamDialog>(*photon, parent);
        if (edit) {
            dialog->LoadControls();
        }
        return dialog;
    }
    return nullptr;
}

} // namespace kova::gui
