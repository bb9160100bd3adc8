#include "core/beams/clarkson.h"

#include "core/beams/photon_calculation.h"
#include "core/beams/segment_aperture.h"
#include "core/dosimetry/photon_lookups.h"
#include "core/linac/energy.h"
#include "core/text/number_text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>

namespace kova {
namespace {

std::string Cm(double value) {
    return FormatGeneral(value) + " cm";
}

/// The two smallest equivalent squares of the reference fields; the second is infinite when
/// there are fewer than two sizes.
std::pair<double, double> SmallestSquares(const TgEnergy& energy) {
    double smallest = std::numeric_limits<double>::infinity();
    double next = smallest;
    for (const auto& field : energy.RefFields) {
        const double size = EquivalentSquare(field->Width, field->Height);
        if (size < smallest) {
            next = smallest;
            smallest = size;
        } else if (size > smallest && size < next) {
            next = size;
        }
    }
    return {smallest, next};
}

/// F(w) = Sp x TMR of a square of side w (cm at the calibration plane) at one SSD and depth:
/// what a circle of that equivalent square gives the point per unit of collimator output.
/// Below the smallest reference field the tables hold their values, so F goes on linearly
/// from the two smallest fields down to the zero-area field, the primary.
class CircleDose {
public:
    static Result<CircleDose> Make(const TgEnergy& energy, double ssd, double depth);
    Result<double> At(double w) const;
    /// F of the zero-area field.
    double Primary() const { return m_f0 - m_slope * m_w0; }

private:
    CircleDose(const TgEnergy& energy, double ssd, double depth)
        : m_energy(&energy), m_ssd(ssd), m_depth(depth) {}
    Result<double> FromTables(double w) const;

    const TgEnergy* m_energy;
    double m_ssd;
    double m_depth;
    double m_w0 = 0;    ///< below this F is continued linearly
    double m_f0 = 0;    ///< F(m_w0)
    double m_slope = 0; ///< dF/dw below m_w0, never below 0
};

Result<double> CircleDose::FromTables(double w) const {
    const Result<TableValue> scatter = LookupPhantomScatter(*m_energy, w, w);
    if (!scatter) {
        return scatter.status();
    }
    const Result<DepthDoseSet> depthDose =
        LookupDepthDose(*m_energy, m_ssd, m_depth, m_depth, w, w);
    if (!depthDose) {
        return depthDose.status();
    }
    return scatter->value * depthDose->tmr;
}

Result<CircleDose> CircleDose::Make(const TgEnergy& energy, double ssd, double depth) {
    CircleDose circle(energy, ssd, depth);
    const auto [s0, s1] = SmallestSquares(energy);
    if (!std::isfinite(s1)) {
        const Result<double> only = circle.FromTables(0);
        if (!only) {
            return only.status();
        }
        circle.m_f0 = *only;
        return circle;
    }
    // The depth-dose lookup reads the field scaled by kappa; both lookups are within their
    // tables from w0 on.
    const double kappa = (ssd + depth) / (energy.SCD + depth);
    const double w0 = s0 / std::min(1.0, kappa);
    const double w1 = s1 / std::min(1.0, kappa);
    const Result<double> f0 = circle.FromTables(w0);
    const Result<double> f1 = f0 ? circle.FromTables(w1) : f0;
    if (!f1) {
        return f1.status();
    }
    circle.m_w0 = w0;
    circle.m_f0 = *f0;
    circle.m_slope = std::max(0.0, (*f1 - *f0) / (w1 - w0));
    if (!(circle.Primary() > 0)) {
        return Status::Fail("the phantom scatter and depth dose of " + energy.Name + " at " +
                            Cm(depth) + " fall to 0 below the smallest reference field");
    }
    return circle;
}

Result<double> CircleDose::At(double w) const {
    if (w < m_w0) {
        return m_f0 - m_slope * (m_w0 - w);
    }
    return FromTables(w);
}

/// What every segment of a beam shares.
struct BeamContext {
    const TgEnergy& energy;
    const DoseMachine& machine;
    double toPlane = 0;       ///< isocentre plane to calibration plane, SCD / SAD
    double largestOffset = 0; ///< cm, the largest tabulated offset
    double MUperCGy = 0;
    mutable std::vector<RayPiece> pieces{}; ///< scratch space of the sector walk
    mutable std::vector<double> crossings{};
};

/// Sc of the segment's jaws: field factor over phantom scatter, both of the jaw field.
Result<double> CollimatorScatter(const BeamContext& beam, const DoseSegment& s) {
    const double width = beam.toPlane * (s.X2 - s.X1);
    const double height = beam.toPlane * (s.Y2 - s.Y1);
    const Result<TableValue> fieldFactor = LookupFieldFactor(beam.energy, width, height);
    if (!fieldFactor) {
        return fieldFactor.status();
    }
    const Result<TableValue> scatter = LookupPhantomScatter(beam.energy, width, height);
    if (!scatter) {
        return scatter.status();
    }
    if (Status divisor = CheckDivisors({{"Phantom Scatter of the jaw field", scatter->value}});
        !divisor) {
        return divisor;
    }
    return fieldFactor->value / scatter->value;
}

/// The mean over the sectors of Sp x TMR, and the part of it that came through leaves.
struct SectorMean {
    double all = 0;
    double throughLeaves = 0;
};

/// Each sector's middle ray from the point (x, y), collimator frame, crosses the aperture's
/// edges; every stretch adds, at its weight, the difference of F between the circles at its
/// ends (adding and subtracting circles).
Result<SectorMean> IntegrateSectors(const BeamContext& beam, const SegmentAperture& aperture,
                                    const CircleDose& circle, double x, double y,
                                    double collimator) {
    const int sectors = beam.machine.sectors;
    const double step = 2 * std::numbers::pi / sectors;
    // A circle of radius r at the isocentre plane: equivalent square f r sqrt(pi) at the
    // calibration plane.
    const double toSquare = beam.toPlane * std::sqrt(std::numbers::pi);
    SectorMean sum;
    for (int i = 0; i < sectors; ++i) {
        const double angle = (i + 0.5) * step - collimator;
        aperture.Walk(x, y, std::cos(angle), std::sin(angle), beam.pieces, beam.crossings);
        // From F = 0, the first stretch adds its whole circle: the primary with the scatter.
        double before = 0;
        for (const RayPiece& piece : beam.pieces) {
            const Result<double> f = circle.At(toSquare * piece.end);
            if (!f) {
                return f.status();
            }
            const double weight = piece.cover == Cover::Open   ? 1.0
                                  : piece.cover == Cover::Leaf ? beam.machine.mlc.leafTransmission
                                                               : 0.0;
            const double part = weight * (*f - before);
            sum.all += part;
            sum.throughLeaves += piece.cover == Cover::Leaf ? part : 0;
            before = *f;
        }
    }
    sum.all /= sectors;
    sum.throughLeaves /= sectors;
    return sum;
}

Status CheckSegment(const DoseSegment& s, double depth) {
    if (!std::isfinite(s.MU) || s.MU < 0) {
        return Status::Fail("the MU " + FormatGeneral(s.MU) + " is not a number of 0 or above");
    }
    if (!std::isfinite(s.SSD) || !(s.SSD > 0)) {
        return Status::Fail("the SSD " + Cm(s.SSD) + " is not above 0");
    }
    if (!std::isfinite(depth) || depth < 0) {
        return Status::Fail("the depth of the point " + Cm(depth) +
                            " is below 0: the point lies above the surface");
    }
    for (const double value : {s.pointX, s.pointY, s.collimatorAngle}) {
        if (!std::isfinite(value)) {
            return Status::Fail("the point or the collimator angle is not a number");
        }
    }
    return Status::Ok();
}

/// The offset factor at the point's distance from the axis, at the calibration plane.
Result<double> PointOffsetFactor(const BeamContext& beam, const DoseSegment& s) {
    const double offset = beam.toPlane * std::hypot(s.pointX, s.pointY);
    if (offset > beam.largestOffset) {
        return Status::Fail("the point is " + Cm(offset) + " from the axis, beyond the largest " +
                            "tabulated offset " + Cm(beam.largestOffset) + " of " +
                            beam.energy.Name);
    }
    bool offsetOff = false;
    return OffsetFactorOfPart(beam.energy, offset, offsetOff);
}

/// The factors of one segment that do not depend on the aperture's detail.
Status AxisFactors(const BeamContext& beam, const DoseSegment& s, SegmentDose& out) {
    const Result<double> sc = CollimatorScatter(beam, s);
    if (!sc) {
        return sc.status();
    }
    out.collimatorScatter = *sc;
    const Result<double> offsetFactor = PointOffsetFactor(beam, s);
    if (!offsetFactor) {
        return offsetFactor.status();
    }
    out.offsetFactor = *offsetFactor;
    // The static scale factor at SSD + d - b is the inverse square to the point itself.
    out.inverseSquare = InverseSquareScale(beam.energy, s.SSD + out.depth - beam.energy.Buildup);
    return Status::Ok();
}

/// The sector mean of the segment at its SSD and depth, with the point turned into the
/// collimator frame.
Result<SectorMean> PhantomPart(const BeamContext& beam, const DoseSegment& s,
                               const SegmentAperture& aperture, double depth) {
    const Result<CircleDose> circle = CircleDose::Make(beam.energy, s.SSD, depth);
    if (!circle) {
        return circle.status();
    }
    const double turn = s.collimatorAngle * std::numbers::pi / 180;
    const double x = s.pointX * std::cos(turn) + s.pointY * std::sin(turn);
    const double y = -s.pointX * std::sin(turn) + s.pointY * std::cos(turn);
    return IntegrateSectors(beam, aperture, *circle, x, y, turn);
}

Result<SegmentDose> DoseOfSegment(const BeamContext& beam, const DoseSegment& s) {
    SegmentDose out;
    out.depth = s.depth ? *s.depth : beam.machine.SAD - s.SSD;
    if (Status checked = CheckSegment(s, out.depth); !checked) {
        return checked;
    }
    const Result<SegmentAperture> aperture = SegmentAperture::Make(s, beam.machine.mlc.leafGap);
    if (!aperture) {
        return aperture.status();
    }
    if (s.MU == 0) {
        return out; // a leaf move without beam: nothing to look up
    }
    if (Status factors = AxisFactors(beam, s, out); !factors) {
        return factors;
    }
    const Result<SectorMean> mean = PhantomPart(beam, s, *aperture, out.depth);
    if (!mean) {
        return mean.status();
    }
    out.phantom = mean->all;
    const double perPhantom =
        s.MU * out.collimatorScatter * out.inverseSquare * out.offsetFactor / beam.MUperCGy;
    out.dose = perPhantom * mean->all;
    out.transmitted = perPhantom * mean->throughLeaves;
    if (!std::isfinite(out.dose) || out.dose < 0) {
        return Status::Fail("the factors give " + FormatGeneral(out.dose) + " cGy");
    }
    return out;
}

Status CheckMachine(const DoseMachine& machine) {
    if (!std::isfinite(machine.SAD) || !(machine.SAD > 0)) {
        return Status::Fail("The SAD " + Cm(machine.SAD) + " is not above 0");
    }
    if (machine.sectors < kClarksonSectors || machine.sectors > kMaxClarksonSectors) {
        return Status::Fail("The number of sectors " + std::to_string(machine.sectors) +
                            " is outside " + std::to_string(kClarksonSectors) + " to " +
                            std::to_string(kMaxClarksonSectors));
    }
    return Status::Ok();
}

} // namespace

Result<PointDose> ComputePointDose(const TgEnergy& energy, const DoseMachine& machine,
                                   const std::vector<DoseSegment>& segments, const Date& today) {
    if (Status checked = CheckMachine(machine); !checked) {
        return checked;
    }
    const Result<double> muPerCGy = CalibrationMUPerCGy(energy, today);
    if (!muPerCGy) {
        return muPerCGy.status();
    }
    const BeamContext beam{.energy = energy,
                           .machine = machine,
                           .toPlane = energy.SCD / machine.SAD,
                           .largestOffset = PhotonBeamLimits(energy, nullptr).largestOffset,
                           .MUperCGy = *muPerCGy};
    PointDose result;
    result.MUperCGy = *muPerCGy;
    double depthTimesDose = 0;
    double transmitted = 0;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const Result<SegmentDose> part = DoseOfSegment(beam, segments[i]);
        if (!part) {
            return Status::Fail("segment " + std::to_string(i + 1) + ": " + part.reason());
        }
        result.segments.push_back(*part);
        result.MU += segments[i].MU;
        result.dose += part->dose;
        depthTimesDose += part->depth * part->dose;
        transmitted += part->transmitted;
    }
    if (!(result.MU > 0)) {
        return Status::Fail("The beam has no MU: no dose can be computed");
    }
    if (result.dose > 0) {
        result.meanDepth = depthTimesDose / result.dose;
        result.transmissionShare = transmitted / result.dose;
    }
    return result;
}

Result<double> MUForPlannedDose(const PointDose& pointDose, double plannedDose) {
    const double perMU = pointDose.MU > 0 ? pointDose.dose / pointDose.MU : 0;
    return DeliverableMU(plannedDose, {{"Dose per MU", perMU}}, {}, 1, DoseRule::AboveZero);
}

} // namespace kova
