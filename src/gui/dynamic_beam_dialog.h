#pragma once

#include "core/beams/dynamic_beam.h"
#include "gui/beam_dialog.h"

class QLineEdit;

namespace kova::gui {

/// The window of an IMRT/VMAT beam: what the plan gave (identity, dose, TPS MU, leaf edges
/// and segments), read only; OK computes the point dose again.
class DynamicBeamDialog : public BeamDialog {
    Q_OBJECT

public:
    explicit DynamicBeamDialog(TDynamicBeam& beam, QWidget* parent = nullptr);

    QLineEdit *BeamDose = nullptr, *LeafBoundaries = nullptr, *Segments = nullptr;

protected:
    /// The form's state, every box read only: the inputs are the plan's.
    void Refresh() override;
};

} // namespace kova::gui
