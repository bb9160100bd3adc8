#pragma once

// The steps of a photon beam's MU, public so that every photon kind composes them: the
// input checks, the factors both parts of a beam share, the depth dose at a depth, the
// wedge factors and the offset factor of a part.

#include "core/beams/photon_beam.h"

#include <string>
#include <utility>
#include <vector>

namespace kova {

class TLinacSpec;

/// Field size and offset limits of a photon beam, with what set each limit.
struct PhotonLimits {
    double minWidth = 0, maxWidth = 0, minHeight = 0, maxHeight = 0;
    std::string minWidthFrom, maxWidthFrom, minHeightFrom, maxHeightFrom;
    double largestOffset = 0;
};

/// The limits for a beam of `energy`, with `wedge` when one is selected.
PhotonLimits PhotonBeamLimits(const TgEnergy& energy, const Wedge* wedge);

/// What the dose of a beam may be: above 0 (one dose), or 0 and above (one part of two).
enum class DoseRule { AboveZero, ZeroOrAbove };

/// The largest dose a beam may deliver, cGy (both parts of a two-part beam together). The
/// largest single doses given in one fraction (radiosurgery, intra-operative electrons) stay
/// below 3500 cGy; a larger figure is a slip of the keyboard or a course's total dose.
inline constexpr double kMaxBeamDose = 5000;

/// The least MU a beam, or one part of a two-part beam, may be given. The set-up sheet at
/// the treatment machine shows whole MU, so fewer would be printed as 0 MU (and a TPS
/// difference in percent of them could be beyond any number).
inline constexpr double kLeastMU = 0.5;

/// How far a photon beam's SSD (and its real SSD) may lie before and beyond the energy's
/// calibration distance SCD, cm: the depth limit of 30 cm sets the nearest, and no
/// treatment reaches farther than 100 cm beyond the SCD on a photon beam's tables (total
/// body irradiation has a kind of its own).
inline constexpr double kSsdBeforeScd = 30;
inline constexpr double kSsdBeyondScd = 100;

/// The dose `dose` (cGy) against `rule` and kMaxBeamDose; the refusal says which.
Status CheckDose(double dose, DoseRule rule);

/// The input at the calibration plane: an isocentric field (jaws, size, equivalent size,
/// offset) is scaled by SCD / SAD and the SSD is SAD - depth. Fails for a SAD of 0 or below.
Result<PhotonBeamInput> AtCalibrationPlane(const TLinacSpec& linac, const TgEnergy& energy,
                                           const PhotonBeamInput& typed);

/// The checks of the OK button in order, the dose checked by `doseRule`; the first that
/// fails is returned with its reason.
Status CheckPhotonInput(const TLinacSpec& linac, const TgEnergy& energy, const PhotonBeamInput& in,
                        DoseRule doseRule);

/// The factors that every part of a photon beam shares, in two steps as the calculation
/// takes them: the field factor with the shield, tray and multileaf factors; then the MU per
/// cGy on `today` with the inverse-square scale factor. `in` is at the calibration plane.
Status FieldAndModifierFactors(const TgEnergy& energy, const PhotonBeamInput& in,
                               PhotonFactors& factors);
Status CalibrationAndScale(const TgEnergy& energy, double ssd, const Date& today,
                           PhotonFactors& factors);

/// Adds the trace of the MU per cGy ("MUperCGy") and of its reciprocal, the actual
/// calibration factor the result lines show ("actualCalibrationFactor").
void AddCalibrationTraces(TraceList& traces, Trace muPerCGy);

/// The inverse-square scale factor from the energy's calibration distance to `ssd` (cm):
/// ((SCD + b) / (SSD + b))^2 with b the build-up depth.
double InverseSquareScale(const TgEnergy& energy, double ssd);

/// Wedge factor and warp of `wedge` at the equivalent size (cm), their traces added to
/// `traces` when given ("wedgeFactor", "warpFactor").
Result<WedgeFactors> WedgeFactorsAt(const Wedge& wedge, double equivSize,
                                    TraceList* traces = nullptr);

/// The effective depth of `depth` (cm) under the warp of `f` (EffectiveDepth), stored in `f`
/// with its trace, the warp's own trace under it.
void SetEffectiveDepth(const TgEnergy& energy, double depth, PhotonFactors& f);

/// The depth at which the depth-dose table is read: b + (d - b) x warp below the build-up
/// depth b, the depth itself above it.
double EffectiveDepth(double depth, double buildup, double warp);

/// The depth-dose set of the beam read at `effectiveDepth`. A depth beyond a depth-dose
/// table is refused with the depth as typed and the deepest (or shallowest) depth the table
/// allows for it, through the wedge's warp when the table is read at a warped depth.
Result<DepthDoseSet> DepthDoseAt(const TgEnergy& energy, const PhotonBeamInput& in,
                                 double effectiveDepth, DepthDoseTraces* traces = nullptr);

/// The offset factor of a part: 1 (and `offsetOff` set) when the offset is not used or lies
/// below the energy's IgnoreOffset, the tabulated factor otherwise; `trace` says which.
Result<double> OffsetFactorOfPart(const TgEnergy& energy, double offset, bool& offsetOff,
                                  Trace* trace = nullptr);

/// A factor an MU is divided by, by its name in the result lines.
using NamedFactor = std::pair<const char*, double>;

/// Refuses the first factor of `divisors` that is 0 or not finite, naming it.
Status CheckDivisors(const std::vector<NamedFactor>& divisors);

/// dose / (product of `product`), then divided in turn by each of `each`, then multiplied
/// by the MU per cGy. Refused when a divisor is 0 or not finite, or when the MU is not finite
/// or below the least a part may have (kLeastMU; exactly 0 is allowed for one part of two
/// under DoseRule::ZeroOrAbove), so no such figure is ever shown.
Result<double> DeliverableMU(double dose, const std::vector<NamedFactor>& product,
                             const std::vector<NamedFactor>& each, double muPerCGy, DoseRule rule);

/// The last steps of a part: its offset factor, the calibration and scale factor, then its
/// MU = dose / (ssdPDD x FF x S) / WF / SF / OF / TF / MF x k from the factors in `calc`
/// (WF is 1 for a part without wedge). `doseRule` says whether the part may have 0 MU.
Status OffsetCalibrationAndMU(const TgEnergy& energy, const Date& today, DoseRule doseRule,
                              PhotonCalculation& calc);

/// The whole OK step of a photon beam: the input at the calibration plane, its checks with
/// D > 0 and every factor of the MU. Fails with the first check or lookup that failed.
Result<PhotonCalculation> CalculatePhotonBeam(const TLinacSpec& linac, const TgEnergy& energy,
                                              const PhotonBeamInput& input, const Date& today);

} // namespace kova
