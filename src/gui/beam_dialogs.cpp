#include "gui/beam_dialogs.h"

#include "gui/dynamic_beam_dialog.h"
#include "gui/electron_beam_dialog.h"
#include "gui/open_wedged_beam_dialog.h"
#include "gui/photon_beam_dialog.h"
#include "gui/tbi_beam_dialog.h"

namespace kova::gui {
namespace {

/// The dialog of one beam kind.
struct BeamDialogRow {
    BeamKind kind;
    std::unique_ptr<BeamDialog> (*create)(TBeam& beam, QWidget* parent);
};

template <class Dialog, class Beam>
std::unique_ptr<BeamDialog> Open(TBeam& beam, QWidget* parent) {
    // The row is chosen by the beam's own kind, so the beam is of the dialog's type.
    return std::make_unique<Dialog>(static_cast<Beam&>(beam), parent);
}

/// One row per beam kind of the core's BeamKinds().
constexpr BeamDialogRow kDialogs[] = {
    {BeamKind::Photon, Open<PhotonBeamDialog, TPhotonBeam>},
    {BeamKind::PhotonOpenWedged, Open<PhotonOWBeamDialog, TPhotonOWBeam>},
    {BeamKind::Electron, Open<ElectronBeamDialog, TElectronBeam>},
    {BeamKind::TotalBody, Open<TBIBeamDialog, TTBIBeam>},
    {BeamKind::Dynamic, Open<DynamicBeamDialog, TDynamicBeam>},
};

} // namespace

std::unique_ptr<QDialog> CreateBeamDialog(TBeam& beam, bool edit, QWidget* parent) {
    for (const BeamDialogRow& row : kDialogs) {
        if (row.kind == beam.Kind()) {
            std::unique_ptr<BeamDialog> dialog = row.create(beam, parent);
            if (edit) {
                dialog->LoadControls();
            }
            return dialog;
        }
    }
    return nullptr;
}

} // namespace kova::gui
