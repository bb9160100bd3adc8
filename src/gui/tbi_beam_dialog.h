#pragma once

#include "core/beams/tbi_beam.h"
#include "gui/beam_dialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QTabWidget;

namespace kova::gui {

/// The window of a total body irradiation beam: the "Beam" page (identity, dose, dose point
/// distance, the reference field and the shield) and the "Build" page (the patient drawn
/// from the front and the side with the eleven body values on it, the "Normal Build" pop-up
/// menu and the lung shields box).
class TBIBeamDialog : public BeamDialog {
    Q_OBJECT

public:
    explicit TBIBeamDialog(TTBIBeam& beam, QWidget* parent = nullptr);

    QTabWidget* PageControl1 = nullptr;
    QLineEdit *BeamDose = nullptr, *BeamRefDistance = nullptr, *BeamWidth = nullptr,
              *BeamHeight = nullptr;
    QComboBox* ShieldComp = nullptr;
    QCheckBox* isLungShields = nullptr;
    QMenu* BuildPopupMenu = nullptr;
    QAction* BuildNormal = nullptr;

public slots:
    void FormShow() override;
    void BuildNormalClick();

private:
    QWidget* BuildBeamPage();
    QWidget* BuildBuildPage();
};

} // namespace kova::gui
