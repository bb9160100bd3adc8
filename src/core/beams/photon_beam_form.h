#pragma once

#include "core/beams/bound_form.h"
#include "core/beams/control_names.h"
#include "core/beams/photon_beam.h"
#include "core/mlc/mlc_factors.h"
#include "core/mlc/mlc_jaws.h"

#include <optional>
#include <string>
#include <vector>

namespace kova {

class TLinacSpec;

/// Labels of the field edits, from the linac's axis and jaw labels.
struct FieldLabels {
    std::string width = "Width X [cm]";
    std::string height = "Height Y [cm]";
    std::string left = "Left X1 [cm]";
    std::string right = "Right X2 [cm]";
    std::string bottom = "Bottom Y1 [cm]";
    std::string top = "Top Y2 [cm]";
};

/// The labels for `linac`; the form's own captions when there is none.
FieldLabels FieldLabelsFor(const TLinacSpec* linac);

/// The photon beam dialog in the core: the technique sets the SSDs, the depth moves the
/// isocentric SSD, each field sheet fills the other sheets, the equivalent square and the
/// offset; the modifier lists come from the energy and the beam's own entries. Without a
/// linac and a photon energy behind the beam no rule runs and OK is refused.
class PhotonBeamForm : public BoundForm<PhotonBeamInput> {
public:
    explicit PhotonBeamForm(TPhotonBeam& beam);

    /// The controls of the photon beam dialog and where each keeps its value.
    static const BoundTable<PhotonBeamInput>& Table();

    std::string Caption() const override { return "New Photon Beam"; }
    /// The isocentric technique's caption, with the linac's own SAD (100 cm without a linac).
    std::string IsocentricCaption() const;

    /// The field sheets as pages of controls: 1 symmetric, 2 asymmetric A, 3 asymmetric B.
    static int SheetOf(FieldSheet sheet) { return static_cast<int>(sheet) + 1; }
    FieldSheet fieldSheet() const { return m_sheet; }
    bool SetSheet(int sheet) override;
    int Sheet() const override { return SheetOf(m_sheet); }

    /// The asymmetric sheets are offered when the linac has independent jaws on an axis.
    bool AsymmetricSheetsEnabled() const;

    Status CanSet(std::string_view name) const override;
    Status CheckBatchInput(const std::vector<std::string_view>& set) const override;
    void FollowUpCancelled(std::string_view name) override;

    /// The controls converted in the order OK reads them; the first text that is not a
    /// number fails with the conversion message.
    Result<PhotonBeamInput> ReadInput() const;
    /// ReadInput, then the sizes typed on the symmetric or "Asymmetric B" sheet must be above
    /// 0 ("Width must be above 0"): OK's reading.
    Result<PhotonBeamInput> ReadCheckedInput() const;

    Status Accept(const Date& today) override;
    void LoadControls() override;

    // "Compute from file...": a multileaf entry from a field of an MLC file.

    /// The jaws the beam shows now, for the "Use current" choice.
    Result<JawSettings> CurrentJaws() const;
    /// Whether the jaws shown now may be kept with a multileaf field ("Use current").
    Status CanUseCurrentJaws() const;
    /// "Recommended": the field's gantry and jaws typed into the beam in order, each running
    /// its rule as typing does.
    void SetRecommendedJaws(const MLCField& field);
    /// The multileaf factors of `field` under the jaws shown now (the equivalent size as
    /// shown, one decimal), worked out on the part of the leaf opening inside those jaws;
    /// both 1 when the leaves leave the whole jaw field open.
    Result<MLCFactors> MultileafFactorsOf(const MLCField& field) const;
    /// A multileaf entry "FILE::FIELD" with the mean of the two factors, owned by the beam and
    /// selected.
    void AddMultileafFromFile(const std::string& fileName, const MLCField& field,
                              const MLCFactors& factors);

protected:
    PhotonBeamForm(TPhotonBeam& beam, BoundTable<PhotonBeamInput> table);

    Status RunRule(const ControlSpec& control) override;
    bool ReadsNow(const ControlSpec& control) const override;
    std::vector<ModifierItem> MakeOnFly(std::string_view name, const ModifierValue& value,
                                        const EnergyListItem*& made) override;

    /// The machine behind the beam; both null when there is none.
    const TLinacSpec* linac() const { return m_linac; }
    const TgEnergy* energy() const { return m_energy; }

private:
    /// On the "Asymmetric B" sheet: its four boxes must hold numbers before OK reads the
    /// field they gave.
    Status CheckSheetB() const;
    /// A width or height typed as 0 or below is refused as such.
    Status CheckTypedSizes(const PhotonBeamInput& in) const;
    void FillLists();
    Status TechniqueClick();
    void Apply(const ControlTexts& texts);
    void ApplyField(const std::optional<ControlTexts>& texts);

    TPhotonBeam& m_beam;
    const TLinacSpec* m_linac = nullptr;
    const TgEnergy* m_energy = nullptr;
    FieldSheet m_sheet = FieldSheet::Symmetric;
    int m_technique = kIsocentric;
};

} // namespace kova
