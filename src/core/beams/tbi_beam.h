#pragma once

#include "core/beams/beam.h"
#include "core/beams/bound_form.h"
#include "core/beams/control_names.h"
#include "core/beams/modifiers.h"
#include "core/dosimetry/photon_lookups.h"

#include <array>
#include <string_view>

namespace kova {

/// The patient model of a total body irradiation beam: head, thorax and abdomen as boxes
/// (cm), and the lungs (cm, CT number in HU), each under the name of its edit.
struct TBIBody {
    double HeadWidth = 0, HeadHeight = 0, HeadDepth = 0;
    double ThoraxWidth = 0, ThoraxDepth = 0;
    double AbdomenWidth = 0, AbdomenDepth = 0;
    double TorsoHeight = 0;
    double MeanLungDepth = 0, MeanSkinLungDepth = 0, MeanCTLungs = 0;
};

/// One value of the patient model: its control, its member, the least value it must exceed
/// and the most it may be (a person's sizes, with a wide margin), whether it describes the
/// lungs, its "Normal Build" value and its words in a refusal.
struct TBIBodyValue {
    std::string_view name;
    double TBIBody::*member;
    double above;
    double atMost;
    bool lung;
    double normalBuild;
    std::string_view what;
    std::string_view unit;
};

/// The eleven values in the order the dialog reads them.
const std::array<TBIBodyValue, 11>& TBIBodyValues();

/// What a TBI beam keeps besides the fields of every beam: the patient model and the rest.
struct TBIFields : TBIBody {
    bool isLungShields = true;
    double doseDistance = 0; ///< source to torso point (the dose point), cm
    const Shield* shield = nullptr;
};

/// What the OK button of a TBI beam reads.
struct TBIBeamInput : BeamFields, TBIFields {};

/// The figures of one dose point (torso, head or thorax).
struct TBIPoint {
    double SSD = 0, depth = 0; ///< cm
    DepthDoseSet depthDose;
    TableValue phantomScatter;
    double scaleFactor = 0; ///< ((SCD + b) / (SSD + b))^2
};

/// Every factor of a TBI beam's MU and of its head and thorax doses.
struct TBIFactors {
    double MUperCGy = 0;
    TableValue refFieldFactor, refPhantomScatter; ///< of the TBIFieldSize square field
    TBIPoint torso, head, thorax;
    double shieldFactor = 1;
    double lungShieldFactor = 0;         ///< transmission the lung shields must give
    double lungShieldThickness = 0;      ///< mm
    double headDose = 0, thoraxDose = 0; ///< cGy
};

/// The farthest a TBI dose point may lie from the source, cm: no treatment room is wider.
inline constexpr double kMaxTBIDistance = 1000;

/// Lung attenuation coefficient (per mm) and the share of the water dose the lungs get.
inline constexpr double kLungMu = 0.0482;
inline constexpr double kLungTarget = 0.9;

/// A total body irradiation beam: a large fixed field at an extended distance with the dose
/// at the abdomen's midline; it also reports the head and thorax doses of the same MU and,
/// with lung shields, the transmission and thickness that bring the mid-lung dose to 90 % of
/// the water dose.
class TTBIBeam : public TBeam, public TBIFields {
public:
    using TBeam::TBeam;

    TBIFactors factors;
    AdHocModifiers adHoc; ///< shields made on the spot

    BeamKind Kind() const override { return BeamKind::TotalBody; }

    /// Checks and calculates; stores everything only on success, otherwise says why.
    Status Accept(const TBIBeamInput& input, const Date& today);

    std::vector<TextNode> ShowResults() const override;
    std::vector<std::string> DetailsColumn(const Date& printDay) const override;
    std::vector<SetupCell> SetupRow() const override;
    std::vector<const EnergyListItem*> UsedEntries() const override;
    std::vector<NamedValue> Inputs() const override;
    std::vector<NamedValue> Factors() const override;
    std::unique_ptr<BeamForm> CreateForm() override;
    std::unique_ptr<TBeam> Clone() const override;

    /// The input as stored.
    TBIBeamInput StoredInput() const;

protected:
    TTBIBeam(const TTBIBeam&) = default; ///< for Clone only
};

/// The TBI calculation of `in` on `energy`: every factor, the MU and the two doses.
Result<TBIFactors> CalculateTBIBeam(const TgEnergy& energy, const TBIBeamInput& in,
                                    const Date& today, double& mu);

/// The TBI beam dialog: identity, dose and distance, the shield, the patient build with its
/// "Normal Build" and the lung shields box (which only enables the lung edits; OK stores it).
class TBIBeamForm : public BoundForm<TBIBeamInput> {
public:
    explicit TBIBeamForm(TTBIBeam& beam);

    /// The controls of the TBI dialog and where each keeps its value.
    static const BoundTable<TBIBeamInput>& Table();

    std::string Caption() const override { return "New TBI Beam"; }
    Status CanSet(std::string_view name) const override;
    Status Accept(const Date& today) override;
    void LoadControls() override;

    /// The controls converted in the order OK reads them.
    Result<TBIBeamInput> ReadInput() const;

protected:
    /// "Normal Build" gives every body value; the lung values are needed only with lung
    /// shields.
    bool NeededNow(const ControlSpec& control,
                   const std::vector<std::string_view>& set) const override;
    Status RunRule(const ControlSpec& control) override;
    std::vector<ModifierItem> MakeOnFly(std::string_view name, const ModifierValue& value,
                                        const EnergyListItem*& made) override;

private:
    void EnableLungEdits();

    TTBIBeam& m_beam;
};

} // namespace kova
