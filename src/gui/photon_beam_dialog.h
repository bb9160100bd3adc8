#pragma once

#include "core/beams/photon_beam.h"
#include "core/beams/photon_beam_form.h"
#include "core/mlc/mlc_field.h"
#include "gui/beam_dialog.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;

namespace kova::gui {

/// The window of a photon beam: the "Technique", "Beam" and "Modifiers" pages. The beam's
/// PhotonBeamForm holds the texts and runs the typing rules; the beam record checks,
/// calculates and stores on OK. The beam must outlive the dialog.
class PhotonBeamDialog : public BeamDialog {
    Q_OBJECT

public:
    explicit PhotonBeamDialog(TPhotonBeam& beam, QWidget* parent = nullptr);

    QTabWidget* PageControl1 = nullptr;
    QGroupBox* Technique = nullptr;
    QRadioButton* TechniqueIsocentric = nullptr;
    QRadioButton* TechniqueNotIsocentric = nullptr;

    QGroupBox* Beam = nullptr;
    QLineEdit *BeamName = nullptr, *BeamID = nullptr;
    QLineEdit *GantryRot = nullptr, *JawsRot = nullptr, *CouchRot = nullptr;
    QLineEdit *BeamDose = nullptr, *BeamDepth = nullptr, *BeamSSD = nullptr, *BeamRealSSD = nullptr;
    QLineEdit *BeamEquivSize = nullptr, *BeamOffset = nullptr;
    QLineEdit* TPSMU = nullptr; ///< the planning system's MU, optional
    QTabWidget* FieldDim = nullptr;
    QWidget *SymSheet = nullptr, *AsymSheetA = nullptr, *AsymSheetB = nullptr;
    QLineEdit *BeamWidth = nullptr, *BeamHeight = nullptr;
    QLineEdit *BeamLeft = nullptr, *BeamRight = nullptr, *BeamBottom = nullptr, *BeamTop = nullptr;
    QLineEdit *BeamWidthAsymm = nullptr, *BeamHeightAsymm = nullptr;
    QLineEdit *BeamAsymmWidth = nullptr, *BeamAsymmHeight = nullptr;
    QLabel *WidthLabel = nullptr, *HeightLabel = nullptr, *LeftLabel = nullptr,
           *RightLabel = nullptr, *BottomLabel = nullptr, *TopLabel = nullptr,
           *WidthAsymmLabel = nullptr, *HeightAsymmLabel = nullptr;

    QGroupBox* Modifiers = nullptr;
    QComboBox *WedgeComp = nullptr, *TrayComp = nullptr, *ShieldComp = nullptr,
              *MultileafComp = nullptr;
    QCheckBox* isOffset = nullptr;
    QLineEdit* OffsetComp = nullptr;

public slots:
    void FormShow() override;

protected:
    void ComputeFromFile(std::string_view name) override;
    void Refresh() override;

    PhotonBeamForm& photonForm();
    /// The dose and its caption; the open/wedged dialog adds the wedge dose beside it.
    QGridLayout* m_doseGrid = nullptr;

private slots:
    void FieldDimChange(int index);

private:
    void ImportMultileafField(std::string_view name, const std::string& fileName,
                              const MLCField& field);
    void TakeControls();
    QWidget* BuildTechniquePage();
    QWidget* BuildBeamPage();
    QWidget* BuildDoseAndDepth();
    QWidget* BuildFieldDim();
    QWidget* BuildModifiersPage();
    void ApplyMachine();
};

/// The index of a field sheet's tab.
int TabOf(FieldSheet sheet);

} // namespace kova::gui
