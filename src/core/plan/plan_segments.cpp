#include "core/plan/plan_segments.h"

#include "core/plan/plan_checks.h"
#include "core/text/number_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace kova {
namespace {

constexpr double kMmPerCm = 10;

/// Everything a control point sets, once the values it leaves out are taken from the
/// previous one. Lengths in mm as the plan gives them.
struct PointState {
    double weight = 0;
    double gantry = 0, collimator = 0, couch = 0;
    double SSD = 0;
    std::string rotation; ///< the gantry's way to the next control point: "CW", "CC" or none
    std::vector<double> x, y, leaves; ///< jaw pairs and leaf tips
    std::vector<double> isocenter;
};

std::string At(std::size_t index) {
    return "control point " + std::to_string(index + 1);
}

/// Takes what `point` gives into `state`; the first control point must give the angles,
/// the SSD and the weight.
Status Update(const PlanControlPoint& point, std::size_t index, const std::string& leafType,
              PointState& state) {
    const auto take = [&](const std::optional<double>& value, double& into, const char* what) {
        if (value) {
            into = *value;
        } else if (index == 0) {
            return Status::Fail("the first control point gives no " + std::string(what));
        }
        return Status::Ok();
    };
    for (const Status& taken :
         {take(point.gantryAngle, state.gantry, "GantryAngle"),
          take(point.collimatorAngle, state.collimator, "BeamLimitingDeviceAngle"),
          take(point.couchAngle, state.couch, "PatientSupportAngle"),
          take(point.SSD, state.SSD, "SourceToSurfaceDistance")}) {
        if (!taken) {
            return taken;
        }
    }
    if (!point.cumulativeWeight || !std::isfinite(*point.cumulativeWeight)) {
        return Status::Fail(At(index) + " gives no CumulativeMetersetWeight that is a number");
    }
    if (index > 0 && *point.cumulativeWeight < state.weight) {
        return Status::Fail("the CumulativeMetersetWeight of " + At(index) +
                            " is below that of the control point before it");
    }
    state.weight = *point.cumulativeWeight;
    if (!point.gantryRotation.empty()) {
        state.rotation = point.gantryRotation;
    }
    if (const PlanDevicePositions* x = DeviceAt(point, "ASYMX", "X")) {
        state.x = x->positions;
    }
    if (const PlanDevicePositions* y = DeviceAt(point, "ASYMY", "Y")) {
        state.y = y->positions;
    }
    if (const PlanDevicePositions* leaves = DeviceAt(point, leafType)) {
        state.leaves = leaves->positions;
    }
    if (point.isocenter.size() == 3) {
        state.isocenter = point.isocenter;
    }
    return Status::Ok();
}

/// The leaves of the beam: none, or one multileaf collimator with its boundaries in cm.
Result<LeafBank> LeavesOf(const PlanBeam& beam) {
    const PlanDevice* found = nullptr;
    for (const PlanDevice& device : beam.devices) {
        if (device.type == "MLCX" || device.type == "MLCY") {
            if (found != nullptr) {
                return Result<LeafBank>::Fail(
                    "the beam has two multileaf collimators (MLCX and MLCY)");
            }
            found = &device;
        }
    }
    LeafBank bank;
    if (found == nullptr) {
        return bank;
    }
    if (found->leafBoundaries.size() < 2) {
        return Result<LeafBank>::Fail("the plan gives no leaf boundaries of the " + found->type);
    }
    bank.travel = found->type == "MLCX" ? LeafTravel::AlongX : LeafTravel::AlongY;
    for (const double mm : found->leafBoundaries) {
        bank.boundaries.push_back(mm / kMmPerCm);
    }
    return bank;
}

Result<std::vector<PointState>> StatesOf(const PlanBeam& beam, const LeafBank& bank) {
    const std::string leafType = bank.travel == LeafTravel::AlongX ? "MLCX" : "MLCY";
    std::vector<PointState> states;
    PointState state;
    for (std::size_t i = 0; i < beam.controlPoints.size(); ++i) {
        if (Status updated = Update(beam.controlPoints[i], i, leafType, state); !updated) {
            return updated;
        }
        if (state.x.size() != 2 || state.y.size() != 2) {
            return Status::Fail(At(i) + " gives no X and Y jaws (ASYMX or X, ASYMY or Y)");
        }
        const std::size_t tips = 2 * (bank.boundaries.empty() ? 0 : bank.boundaries.size() - 1);
        if (state.leaves.size() != tips) {
            return Status::Fail(At(i) + " gives " + std::to_string(state.leaves.size()) +
                                " leaf positions, not the " + std::to_string(tips) +
                                " of its leaf boundaries");
        }
        states.push_back(state);
    }
    return states;
}

/// The weight the beam's meterset ends at: FinalCumulativeMetersetWeight, which the last
/// control point must reach.
Result<double> FinalWeight(const PlanBeam& beam, const std::vector<PointState>& states) {
    const double last = states.back().weight;
    const double final = beam.finalWeight ? *beam.finalWeight : last;
    if (!std::isfinite(final) || !(final > 0)) {
        return Status::Fail("the beam's FinalCumulativeMetersetWeight is not above 0");
    }
    if (std::fabs(last - final) > 1e-6 * final) {
        return Status::Fail("the last control point's CumulativeMetersetWeight " +
                            FormatGeneral(last) + " is not the beam's final weight " +
                            FormatGeneral(final));
    }
    return final;
}

/// The angle halfway from `a` to `b`, degrees in [0, 360): clockwise (increasing) or
/// counter-clockwise as `rotation` says, else the short way round.
double MeanAngle(double a, double b, const std::string& rotation = {}) {
    double turn = std::remainder(b - a, 360.0);
    if (rotation == "CW" || rotation == "CC") {
        const double clockwise = std::fmod(std::fmod(b - a, 360.0) + 360.0, 360.0);
        turn = rotation == "CW" ? clockwise : (clockwise == 0 ? 0 : clockwise - 360);
    }
    const double mean = std::fmod(a + turn / 2, 360.0);
    return mean < 0 ? mean + 360 : mean;
}

std::vector<double> Mean(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> mean(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        mean[i] = (a[i] + b[i]) / 2;
    }
    return mean;
}

/// The dose point relative to the isocentre in the gantry frame (mm): patient (x left,
/// y posterior, z head) to the room for a head-first supine patient, turned by the couch
/// about the vertical and by the gantry about the room's y axis.
std::array<double, 3> InGantryFrame(const std::vector<double>& offset, double gantry,
                                    double couch) {
    const double x = offset[0], y = offset[2], z = -offset[1]; // IEC fixed, couch at 0
    const double c = couch * std::numbers::pi / 180, g = gantry * std::numbers::pi / 180;
    const double fx = x * std::cos(c) - y * std::sin(c);
    const double fy = x * std::sin(c) + y * std::cos(c);
    return {fx * std::cos(g) - z * std::sin(g), fy, fx * std::sin(g) + z * std::cos(g)};
}

Status PlacePoint(const SegmentPlacement& placement, const PointState& state,
                  DoseSegment& segment) {
    segment.depth = placement.depth;
    if (placement.dosePoint.empty()) {
        return Status::Ok();
    }
    if (placement.dosePoint.size() != 3 || state.isocenter.size() != 3) {
        return Status::Fail("the plan gives no IsocenterPosition to place the dose point from");
    }
    std::vector<double> offset(3);
    for (std::size_t i = 0; i < 3; ++i) {
        offset[i] = placement.dosePoint[i] - state.isocenter[i];
        if (!std::isfinite(offset[i])) {
            return Status::Fail("the dose point or the isocentre is not all numbers: the plan "
                                "is damaged");
        }
    }
    if (std::all_of(offset.begin(), offset.end(), [](double v) { return std::fabs(v) < 1e-6; })) {
        return Status::Ok();
    }
    if (placement.patientPosition != "HFS") {
        return Status::Fail("an off-axis dose point is placed for head-first supine set-ups "
                            "only (the plan's patient position is '" +
                            placement.patientPosition + "')");
    }
    const auto [px, py, pz] = InGantryFrame(offset, segment.gantryAngle, segment.couchAngle);
    const double sad = placement.SAD * kMmPerCm;
    if (!(sad - pz > 0)) {
        return Status::Fail("the dose point lies beyond the source");
    }
    segment.pointX = px * sad / (sad - pz) / kMmPerCm;
    segment.pointY = py * sad / (sad - pz) / kMmPerCm;
    if (!segment.depth) {
        segment.depth = placement.SAD - pz / kMmPerCm - segment.SSD;
    }
    return Status::Ok();
}

/// The segment from control point `a` to `b` with MU share `share`.
DoseSegment SegmentOf(const PointState& a, const PointState& b, double share,
                      const LeafBank& bank) {
    const bool still = a.x == b.x && a.y == b.y && a.leaves == b.leaves;
    const std::vector<double> x = still ? a.x : Mean(a.x, b.x);
    const std::vector<double> y = still ? a.y : Mean(a.y, b.y);
    DoseSegment s;
    s.MU = share;
    s.X1 = x[0] / kMmPerCm;
    s.X2 = x[1] / kMmPerCm;
    s.Y1 = y[0] / kMmPerCm;
    s.Y2 = y[1] / kMmPerCm;
    s.leaves = bank;
    for (const double mm : still ? a.leaves : Mean(a.leaves, b.leaves)) {
        s.leaves.positions.push_back(mm / kMmPerCm);
    }
    s.gantryAngle = MeanAngle(a.gantry, b.gantry, a.rotation);
    s.collimatorAngle = MeanAngle(a.collimator, b.collimator);
    s.couchAngle = MeanAngle(a.couch, b.couch);
    s.SSD = (a.SSD + b.SSD) / 2 / kMmPerCm;
    return s;
}

} // namespace

Result<std::vector<DoseSegment>> PlanSegments(const PlanBeam& beam,
                                              const SegmentPlacement& placement) {
    const Result<LeafBank> bank = LeavesOf(beam);
    if (!bank) {
        return bank.status();
    }
    const Result<std::vector<PointState>> states = StatesOf(beam, *bank);
    if (!states) {
        return states.status();
    }
    if (states->size() < 2) {
        return Status::Fail("a dynamic beam needs two control points or more");
    }
    const Result<double> final = FinalWeight(beam, *states);
    if (!final) {
        return final.status();
    }
    std::vector<DoseSegment> segments;
    for (std::size_t i = 0; i + 1 < states->size(); ++i) {
        const PointState& a = (*states)[i];
        const PointState& b = (*states)[i + 1];
        if (!(b.weight > a.weight)) {
            continue;
        }
        segments.push_back(SegmentOf(a, b, (b.weight - a.weight) / *final, *bank));
        if (Status placed = PlacePoint(placement, a, segments.back()); !placed) {
            return Status::Fail("segment " + std::to_string(segments.size()) + ": " +
                                placed.reason());
        }
    }
    if (segments.empty()) {
        return Status::Fail("no segment of the beam has a meterset");
    }
    return segments;
}

} // namespace kova
