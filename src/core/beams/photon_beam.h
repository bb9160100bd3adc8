#pragma once

#include "core/beams/beam.h"
#include "core/beams/field_geometry.h"
#include "core/beams/modifiers.h"
#include "core/common/result.h"
#include "core/dosimetry/photon_lookups.h"
#include "core/linac/energy.h"

#include <string>

namespace kova {

/// Technique codes of a photon beam.
inline constexpr int kIsocentric = 0;
inline constexpr int kFixedSsd = 1;

/// What a photon beam keeps besides the fields of every beam: the technique, the jaws and
/// offset at the calibration plane (cm), the selected modifier entries and whether the
/// offset factor is left out.
struct PhotonFields {
    int technique = kIsocentric;
    double X1 = 0, X2 = 0, Y1 = 0, Y2 = 0; ///< left, right, bottom, top jaw positions
    double offset = 0;                     ///< distance of the field centre from the axis
    const Wedge* wedge = nullptr;
    const Tray* tray = nullptr;
    const Shield* shield = nullptr;
    const MLCFValue* multileaf = nullptr;
    bool offsetOff = true; ///< the offset factor is not applied
};

/// What the OK button of a photon beam reads, as numbers: the field as typed (at the
/// isocentre for the isocentric technique), the equivalent size and offset as shown (one
/// decimal), the SSD only for the fixed-SSD technique; an open/wedged beam also reads the
/// dose of its wedged part.
struct PhotonBeamInput : BeamFields, PhotonFields {
    double wedgeDose = 0; ///< cGy; 0 for a photon beam
};

/// A photon field as typed, kept so that editing a beam shows it as the user typed it.
struct PhotonGeometry {
    double X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
    double width = 0, height = 0, equivSize = 0, offset = 0;
};

/// Every factor of a photon beam's MU.
struct PhotonFactors {
    double MUperCGy = 0;    ///< reciprocal of the actual calibration factor
    double scaleFactor = 0; ///< ((SCD + b) / (SSD + b))^2
    double scdPDDSize = 0, scdPDD = 0, tmr = 0, ssdPDD = 0;
    bool depthDoseFromTable = true;
    double fieldFactor = 0;
    bool fieldFactorFromTable = true;
    double wedgeFactor = 1;
    double warpFactor = 1;
    double effectiveDepth = 0;
    double shieldFactor = 1;
    double trayFactor = 1;
    double multileafFactor = 1;
    double offsetFactor = 1;
    /// Where each factor comes from, by its name among the beam's Factors().
    TraceList traces;

    /// The depth-dose set of the lookup.
    void SetDepthDose(const DepthDoseSet& set);
    DepthDoseSet DepthDose() const;
};

/// "Depth Dose" with TMR, SSD PDD and SCD PDD (with its field size) of one depth-dose set,
/// each line with its trace among `traces` (named with `prefix`, as AddDepthDoseTraces).
TextNode DepthDoseNode(const DepthDoseSet& set, const TraceList& traces,
                       const std::string& prefix = {});

/// The name of a factor of a part: "tmr", or with the prefix "wedged" "wedgedTmr".
std::string PartFactorName(const std::string& prefix, const std::string& name);

/// Adds the traces of a depth-dose set under the names of PartFactorName.
void AddDepthDoseTraces(TraceList& list, DepthDoseTraces traces, const std::string& prefix = {});

/// A photon beam as a successful OK stores it.
struct PhotonCalculation {
    PhotonBeamInput stored; ///< the input at the calibration plane, with the SSD used
    PhotonFactors factors;
    double MU = 0;
};

/// A photon beam: isocentric or fixed SSD, symmetric or asymmetric jaws, with optional wedge,
/// tray, shield, multileaf and offset modifiers.
class TPhotonBeam : public TBeam, public PhotonFields {
public:
    using TBeam::TBeam;

    PhotonGeometry typed;                     ///< the field of the last successful OK, as typed
    PhotonFactors factors;                    ///< the factors of the last successful OK
    FieldSheet sheet = FieldSheet::Symmetric; ///< the field sheet last used
    AdHocModifiers adHoc; ///< trays, shields and multileaf entries made on the spot

    BeamKind Kind() const override { return BeamKind::Photon; }

    /// Checks and calculates `input` on `today`; on success stores it with its results, on
    /// failure stores nothing and says why.
    Status Accept(const PhotonBeamInput& input, const Date& today);

    /// The input as stored (at the calibration plane, with the SSD used).
    virtual PhotonBeamInput StoredInput() const;
    /// The input as the dialog shows it again for an edit: the field as typed.
    PhotonBeamInput ShownInput() const;

    std::vector<TextNode> ShowResults() const override;
    std::vector<std::string> DetailsColumn(const Date& printDay) const override;
    std::vector<SetupCell> SetupRow() const override;
    std::vector<const EnergyListItem*> UsedEntries() const override;
    std::vector<NamedValue> Inputs() const override;
    std::vector<NamedValue> Factors() const override;
    TraceList Traces() const override { return factors.traces; }
    /// The depth dose at the effective depth, the field factor over the field's equivalent
    /// square and its width and height, the wedge's factor and warp over the equivalent
    /// size, and the offset factor when it was applied.
    PlotMarks LookupMarks() const override;
    std::unique_ptr<BeamForm> CreateForm() override;
    std::unique_ptr<TBeam> Clone() const override;

protected:
    /// For Clone only: a plain copy would still select the original's own entries.
    TPhotonBeam(const TPhotonBeam&) = default;
    /// After a plain copy of `original`: the copy selects its own copies of the entries made
    /// on the spot.
    void SelectOwnEntries(const TPhotonBeam& original);
    /// Stores a calculation and the input as typed.
    void Store(const PhotonBeamInput& typedInput, const PhotonCalculation& calculation,
               const Date& today);
};

} // namespace kova
