#include "gui/beam_dialogs.h"

#include "gui/electron_beam_dialog.h"
#include "gui/open_wedged_beam_dialog.h"
#include "gui/photon_beam_dialog.h"
#include "gui/tbi_beam_dialog.h"

namespace kova::gui {
namespace {

/// The dialog of a beam, by the beam's kind.
std::unique_ptr<BeamDialog> DialogOf(TBeam& beam, QWidget* parent) {
    switch (beam.Kind()) {
    case BeamKind::Photon:
        return std::make_unique<PhotonBeamDialog>(static_cast<TPhotonBeam&>(beam), parent);
    case BeamKind::PhotonOpenWedged:
        return std::make_unique<PhotonOWBeamDialog>(static_cast<TPhotonOWBeam&>(beam), parent);
    case BeamKind::Electron:
        return std::make_unique<ElectronBeamDialog>(static_cast<TElectronBeam&>(beam), parent);
    case BeamKind::TotalBody:
        return std::make_unique<TBIBeamDialog>(static_cast<TTBIBeam&>(beam), parent);
    }
    return nullptr;
}

} // namespace

std::unique_ptr<QDialog> CreateBeamDialog(TBeam& beam, bool edit, QWidget* parent) {
    std::unique_ptr<BeamDialog> dialog = DialogOf(beam, parent);
    if (dialog && edit) {
        dialog->LoadControls();
    }
    return dialog;
}

} // namespace kova::gui
