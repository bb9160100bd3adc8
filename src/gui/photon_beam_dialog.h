#pragma once

#include "core/beams/field_geometry.h"
#include "core/beams/modifiers.h"
#include "core/beams/photon_beam_form.h"

#include <QDialog>
#include <array>
#include <optional>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QShowEvent;
class QTabWidget;

namespace kova::gui {

/// The window of a photon beam. Every text lives in a PhotonBeamForm, which runs the typing
/// rules; the dialog shows the form's texts, and OK hands them to the beam record, which
/// checks, calculates and stores. The beam must outlive the dialog; so must its treatment.
class PhotonBeamDialog : public QDialog {
    Q_OBJECT

public:
    explicit PhotonBeamDialog(TPhotonBeam& beam, QWidget* parent = nullptr);

    /// Fills the controls from the stored beam, before an edit: the texts, the technique, the
    /// field sheet last used, the stored modifier entries and the offset box.
    void LoadControls();

    QTabWidget* PageControl1 = nullptr;
    QGroupBox* Technique = nullptr;
    QRadioButton* TechniqueIsocentric = nullptr;
    QRadioButton* TechniqueNotIsocentric = nullptr;

    QGroupBox* Beam = nullptr;
    QLineEdit *BeamName = nullptr, *BeamID = nullptr;
    QLineEdit *GantryRot = nullptr, *JawsRot = nullptr, *CouchRot = nullptr;
    QLineEdit *BeamDose = nullptr, *BeamDepth = nullptr, *BeamSSD = nullptr, *BeamRealSSD = nullptr;
    QLineEdit *BeamEquivSize = nullptr, *BeamOffset = nullptr;
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

    QPushButton *Button1 = nullptr, *Button2 = nullptr;
    /// Why OK was refused, or what a handler could not do.
    QLabel* ReasonLine = nullptr;

public slots:
    void FormShow();
    void TechniqueClick();
    void TrayCompChange();
    void ShieldCompChange();
    void MultileafCompChange();
    void OKClick();

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    // Typing handlers, one per group of edits as the dialog wires them: each stores the
    // typed text in the form, which runs the rule of that edit (and of the active sheet),
    // and shows the texts the rule changed.
    void TextChange(kova::PhotonControl edit) { Type(edit); }
    void BeamDepthChange(kova::PhotonControl edit) { Type(edit); }
    void BeamWidthChange(kova::PhotonControl edit) { Type(edit); }
    void BeamLeftChange(kova::PhotonControl edit) { Type(edit); }
    void BeamWidthAsymmChange(kova::PhotonControl edit) { Type(edit); }
    void FieldDimChange(int index);
    void isOffsetClick(bool checked);
    void SyncModifiers();

private:
    static constexpr std::size_t kControlCount =
        static_cast<std::size_t>(PhotonControl::OffsetComp) + 1;
    using Handler = void (PhotonBeamDialog::*)(PhotonControl);
    static Handler HandlerOf(PhotonControl control);
    void Type(PhotonControl edit);

    QWidget* BuildTechniquePage();
    QWidget* BuildBeamPage();
    QWidget* BuildIdentityGrid();
    QWidget* BuildFieldDim();
    QWidget* BuildModifiersPage();
    void CreateEdits();
    QLayout* BuildButtons();
    void ConnectControls();
    void ApplyMachine();
    void FillModifierLists();

    QLineEdit* Edit(PhotonControl control) const;
    void ShowText(PhotonControl control);
    void ShowAllTexts();
    void ShowTechnique();
    void ShowReason(const std::string& reason);

    std::optional<ModifierValue> AskModifierValue();
    template <class T>
    bool AddOnFly(EntryList<T>& adHoc, double T::*factor, QComboBox* combo,
                  std::vector<ModifierItem>& items,
                  std::vector<ModifierItem> (*itemsOf)(const TgEnergy&, const AdHocModifiers&));

    TPhotonBeam& m_beam;
    const TLinacSpec* m_linac = nullptr;
    const TgEnergy* m_energy = nullptr;
    /// None when the beam has no treatment with a linac and a photon energy: the controls then
    /// run no rule and OK is refused.
    std::optional<PhotonBeamForm> m_form;
    std::array<QLineEdit*, kControlCount> m_edits{};
    QButtonGroup* m_techniqueItems = nullptr;
    std::vector<ModifierItem> m_wedgeItems, m_trayItems, m_shieldItems, m_multileafItems;
};

} // namespace kova::gui
