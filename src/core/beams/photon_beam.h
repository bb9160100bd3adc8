#pragma once

#include "core/beams/beam.h"
#include "core/beams/field_geometry.h"
#include "core/beams/modifiers.h"
#include "core/common/result.h"
#include "core/linac/energy.h"

#include <string>

namespace kova {

class TLinacSpec;

/// Technique codes of a photon beam.
inline constexpr int kIsocentric = 0;
inline constexpr int kFixedSsd = 1;

/// The texts of the photon beam dialog's controls, as typed or shown, with the selected
/// modifier entries.
struct PhotonBeamTexts {
    int technique = kIsocentric;
    std::string BeamName, BeamID, GantryRot, JawsRot, CouchRot;
    std::string BeamDose = "0", BeamDepth = "0", BeamSSD = "0", BeamRealSSD = "0";
    std::string BeamWidth = "0", BeamHeight = "0";
    std::string BeamLeft = "0", BeamRight = "0", BeamBottom = "0", BeamTop = "0";
    std::string BeamWidthAsymm = "0", BeamHeightAsymm = "0";
    std::string BeamAsymmWidth = "0", BeamAsymmHeight = "0";
    std::string BeamEquivSize = "0", BeamOffset = "0", OffsetComp = "0";
    const Wedge* wedge = nullptr;
    const Tray* tray = nullptr;
    const Shield* shield = nullptr;
    const MLCFValue* multileaf = nullptr;
    bool isOffset = false;
};

/// What the OK button reads, as numbers. Lengths in cm, dose in cGy.
struct PhotonBeamInput {
    int technique = kIsocentric;
    std::string name, ID, gantry, jaws, couch;
    double dose = 0;
    double X1 = 0, X2 = 0, Y1 = 0, Y2 = 0; ///< left, right, bottom, top jaw positions
    double width = 0, height = 0;
    double equivSize = 0; ///< as shown, one decimal
    double offset = 0;    ///< distance of the field centre from the axis, as shown
    double depth = 0;
    double SSD = 0; ///< read only for the fixed-SSD technique
    double realSSD = 0;
    const Wedge* wedge = nullptr;
    const Tray* tray = nullptr;
    const Shield* shield = nullptr;
    const MLCFValue* multileaf = nullptr;
    bool offsetOff = true; ///< the offset factor is not applied
};

/// Converts the dialog's texts in the order OK reads them; the first text that is not a
/// number fails with "'TEXT' is not a valid floating point value". The SSD text is read only
/// for the fixed-SSD technique.
Result<PhotonBeamInput> ReadPhotonBeamTexts(const PhotonBeamTexts& texts);

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
};

/// A photon beam as stored after a successful OK.
struct PhotonCalculation {
    PhotonBeamInput stored; ///< the input at the calibration plane, with the SSD used
    PhotonFactors factors;
    double MU = 0;
    Date date; ///< the day of the calculation
};

/// Field size and offset limits of a photon beam, with what set each limit.
struct PhotonLimits {
    double minWidth = 0, maxWidth = 0, minHeight = 0, maxHeight = 0;
    std::string minWidthFrom, maxWidthFrom, minHeightFrom, maxHeightFrom;
    double largestOffset = 0;
};

/// The limits for a beam of `energy`, with `wedge` when one is selected.
PhotonLimits PhotonBeamLimits(const TgEnergy& energy, const Wedge* wedge);

/// The OK step of a photon beam: converts an isocentric field to the calibration plane
/// (factor SCD / SAD), checks the input against the linac and energy limits in order, and
/// computes the MU. Fails with the first check or lookup that failed.
Result<PhotonCalculation> CalculatePhotonBeam(const TLinacSpec& linac, const TgEnergy& energy,
                                              const PhotonBeamInput& input, const Date& today);

/// A photon beam: isocentric or fixed SSD, symmetric or asymmetric jaws, with optional wedge,
/// tray, shield, multileaf and offset modifiers.
class TPhotonBeam : public TBeam {
public:
    using TBeam::TBeam;

    PhotonBeamInput entered;                  ///< the input of the last successful OK, as typed
    PhotonCalculation calculation;            ///< the beam as stored by the last successful OK
    FieldSheet sheet = FieldSheet::Symmetric; ///< the field sheet last used
    AdHocModifiers adHoc; ///< trays, shields and multileaf entries made on the spot

    /// Checks and calculates `input`; on success stores it with its results, on failure
    /// stores nothing and says why.
    Status Accept(const PhotonBeamInput& input, const Date& today);

    /// The dialog's texts for editing the stored beam.
    PhotonBeamTexts LoadControls() const;

    /// Shortcuts to the stored beam.
    const PhotonBeamInput& stored() const { return calculation.stored; }
    const PhotonFactors& factors() const { return calculation.factors; }

    std::vector<TextNode> ShowResults() const override;
    std::vector<std::string> DetailsColumn(const Date& printDay) const override;
    std::vector<SetupCell> SetupRow() const override;
    std::vector<const EnergyListItem*> UsedEntries() const override;

    /// The linac and photon energy behind the beam; false without a treatment that has both.
    bool Machine(const TLinacSpec*& linac, const TgEnergy*& energy) const;
};

} // namespace kova
