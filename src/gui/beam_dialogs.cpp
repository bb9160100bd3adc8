#include "gui/beam_dialogs.h"

#include "core/beams/photon_beam.h"
#if __has_include("gui/photon_beam_dialog.h")
#include "gui/photon_beam_dialog.h"
#define KOVA_HAS_PHOTON_DIALOG 1
#endif

namespace kova::gui {

std::unique_ptr<QDialog> CreateBeamDialog(TBeam& beam, bool edit, QWidget* parent) {
#ifdef KOVA_HAS_PHOTON_DIALOG
    if (auto* photon = dynamic_cast<TPhotonBeam*>(&beam)) {
        auto dialog = std::make_unique<PhotonBeamDialog>(*photon, parent);
        if (edit) {
            dialog->LoadControls();
        }
        return dialog;
    }
#endif
    (void)beam, (void)edit, (void)parent;
    return nullptr;
}

} // namespace kova::gui
