#include "core/plan/plan_checks.h"

namespace kova {
namespace {

const char* const kOnlyStatic = ": only static beams are checked";

/// What moves between the first control point and `point`; empty when nothing does.
std::string WhatMoves(const PlanControlPoint& first, const PlanControlPoint& point) {
    const auto changed = [](const std::optional<double>& a, const std::optional<double>& b) {
        return b && (!a || *a != *b);
    };
    if (changed(first.collimatorAngle, point.collimatorAngle)) {
        return "the collimator turns";
    }
    if (changed(first.couchAngle, point.couchAngle)) {
        return "the couch turns";
    }
    if (changed(first.nominalEnergy, point.nominalEnergy)) {
        return "the energy changes";
    }
    for (const PlanDevicePositions& device : point.devices) {
        const PlanDevicePositions* before = DeviceAt(first, device.type);
        if (before == nullptr || before->positions != device.positions) {
            return "the " + device.type + " positions change";
        }
    }
    return {};
}

bool Turns(const PlanControlPoint& first) {
    return first.gantryRotation == "CW" || first.gantryRotation == "CC";
}

Status CheckKind(const PlanBeam& beam) {
    if (beam.deliveryType == "SETUP" || beam.deliveryType == "OPEN_PORTFILM") {
        return Status::Fail("not a treatment beam (" + beam.deliveryType + ")");
    }
    if (beam.radiationType.empty()) {
        return Status::Fail("the beam gives no radiation type");
    }
    if (beam.radiationType != "PHOTON" && beam.radiationType != "ELECTRON") {
        return Status::Fail("the radiation type '" + beam.radiationType +
                            "' is not checked: only photon and electron beams are");
    }
    if (beam.controlPoints.empty()) {
        return Status::Fail("the beam has no control point");
    }
    return Status::Ok();
}

} // namespace

const PlanDevicePositions* DeviceAt(const PlanControlPoint& point, const std::string& type,
                                    const std::string& otherType) {
    for (const PlanDevicePositions& device : point.devices) {
        if (device.type == type || (!otherType.empty() && device.type == otherType)) {
            return &device;
        }
    }
    return nullptr;
}

Status CheckStaticTreatmentBeam(const PlanBeam& beam) {
    if (const Status kind = CheckKind(beam); !kind) {
        return kind;
    }
    const PlanControlPoint& first = beam.controlPoints.front();
    for (const PlanControlPoint& point : beam.controlPoints) {
        const bool gantryMoves =
            point.gantryAngle && (!first.gantryAngle || *point.gantryAngle != *first.gantryAngle);
        if (gantryMoves || Turns(first)) {
            return Status::Fail(std::string("an arc (the gantry turns between control points)") +
                                kOnlyStatic);
        }
        if (const std::string moves = WhatMoves(first, point); !moves.empty()) {
            return Status::Fail("a dynamic beam (" + moves + " between control points)" +
                                kOnlyStatic);
        }
    }
    if (beam.beamType == "DYNAMIC") {
        return Status::Fail(std::string("a dynamic beam (the plan marks it DYNAMIC)") +
                            kOnlyStatic);
    }
    return Status::Ok();
}

Result<PlanBeamDose> BeamDoseOf(const PlanData& plan, const PlanBeam& beam) {
    if (!beam.number) {
        return Result<PlanBeamDose>::Fail("the beam has no number, so no dose refers to it");
    }
    const PlanBeamDose* found = nullptr;
    for (const PlanFractionGroup& group : plan.fractionGroups) {
        for (const PlanBeamDose& dose : group.beams) {
            if (dose.beamNumber != beam.number) {
                continue;
            }
            if (found != nullptr &&
                (found->dose != dose.dose || found->meterset != dose.meterset)) {
                return Result<PlanBeamDose>::Fail(
                    "two fraction groups give the beam different doses or metersets");
            }
            found = &dose;
        }
    }
    if (found == nullptr || !found->dose || !(*found->dose > 0)) {
        return Result<PlanBeamDose>::Fail(
            "the plan gives the beam no dose (no BeamDose above 0 in a fraction group)");
    }
    return *found;
}

std::string SetupTechniqueOf(const PlanData& plan, const PlanBeam& beam) {
    if (!beam.setupNumber) {
        return plan.setups.size() == 1 ? plan.setups.front().technique : std::string();
    }
    for (const PlanSetup& setup : plan.setups) {
        if (setup.number == beam.setupNumber) {
            return setup.technique;
        }
    }
    return {};
}

} // namespace kova
