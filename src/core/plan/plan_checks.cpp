#include "core/plan/plan_checks.h"

#include <cmath>

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

const char* const kDamaged = ": the plan is damaged";

/// The positions of a device at control point `index` (from 0): every one a number, as many
/// as the device's NumberOfLeafJawPairs gives. A damaged value must not pass for a moving
/// jaw or leaf.
Status CheckPositions(const PlanBeam& beam, const PlanDevicePositions& device, std::size_t index) {
    const std::string where =
        "the " + device.type + " positions of control point " + std::to_string(index + 1);
    for (const double position : device.positions) {
        if (!std::isfinite(position)) {
            return Status::Fail(where + " are not all numbers" + kDamaged);
        }
    }
    for (const PlanDevice& declared : beam.devices) {
        if (declared.type == device.type && declared.leafJawPairs &&
            device.positions.size() != 2 * static_cast<std::size_t>(*declared.leafJawPairs)) {
            return Status::Fail(where + " are " + std::to_string(device.positions.size()) +
                                ", not 2 x " + std::to_string(*declared.leafJawPairs) +
                                " for its NumberOfLeafJawPairs" + kDamaged);
        }
    }
    return Status::Ok();
}

/// The leaf boundaries of each device: one more than its NumberOfLeafJawPairs.
Status CheckBoundaries(const PlanBeam& beam) {
    for (const PlanDevice& device : beam.devices) {
        const std::size_t count = device.leafBoundaries.size();
        if (device.leafJawPairs && count > 0 &&
            count != static_cast<std::size_t>(*device.leafJawPairs) + 1) {
            return Status::Fail("the " + device.type + " gives " + std::to_string(count) +
                                " leaf boundaries, not " + std::to_string(*device.leafJawPairs) +
                                " + 1 for its NumberOfLeafJawPairs" + kDamaged);
        }
    }
    return Status::Ok();
}

/// Every jaw and leaf position of every control point, against what the beam declares.
Status CheckDeviceData(const PlanBeam& beam) {
    if (const Status boundaries = CheckBoundaries(beam); !boundaries) {
        return boundaries;
    }
    for (std::size_t i = 0; i < beam.controlPoints.size(); ++i) {
        for (const PlanDevicePositions& device : beam.controlPoints[i].devices) {
            if (const Status positions = CheckPositions(beam, device, i); !positions) {
                return positions;
            }
        }
    }
    return Status::Ok();
}

/// Two metersets that say the same: equal, both missing, or both not a number.
bool SameMeterset(const std::optional<double>& a, const std::optional<double>& b) {
    return a == b || (a && b && std::isnan(*a) && std::isnan(*b));
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
    if (const Status data = CheckDeviceData(beam); !data) {
        return data;
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

bool MovesBetweenControlPoints(const PlanBeam& beam) {
    if (beam.beamType == "DYNAMIC" || beam.controlPoints.empty()) {
        return beam.beamType == "DYNAMIC";
    }
    const PlanControlPoint& first = beam.controlPoints.front();
    for (const PlanControlPoint& point : beam.controlPoints) {
        const bool gantryMoves =
            point.gantryAngle && (!first.gantryAngle || *point.gantryAngle != *first.gantryAngle);
        if (gantryMoves || Turns(first) || !WhatMoves(first, point).empty()) {
            return true;
        }
    }
    return false;
}

Status CheckDynamicTreatmentBeam(const PlanBeam& beam) {
    if (const Status kind = CheckKind(beam); !kind) {
        return kind;
    }
    if (beam.radiationType != "PHOTON") {
        return Status::Fail("a dynamic " + beam.radiationType +
                            " beam: only photon IMRT and VMAT beams are checked");
    }
    if (const Status data = CheckDeviceData(beam); !data) {
        return data;
    }
    const PlanControlPoint& first = beam.controlPoints.front();
    for (const PlanControlPoint& point : beam.controlPoints) {
        if (point.nominalEnergy && first.nominalEnergy != point.nominalEnergy) {
            return Status::Fail("the energy changes between control points: no point dose is "
                                "computed for such a beam");
        }
    }
    if (!beam.wedges.empty() || !beam.blocks.empty()) {
        return Status::Fail("a wedge or block in an IMRT or VMAT beam: the point dose of such a "
                            "beam is not modelled");
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
                (found->dose != dose.dose || !SameMeterset(found->meterset, dose.meterset))) {
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
    if (!std::isfinite(*found->dose * 100)) { // in cGy, as the beam takes it
        return Result<PlanBeamDose>::Fail("the plan's BeamDose of the beam is too large");
    }
    return *found;
}

const PlanSetup* PatientSetupOf(const PlanData& plan, const PlanBeam& beam) {
    if (!beam.setupNumber) {
        return plan.setups.size() == 1 ? &plan.setups.front() : nullptr;
    }
    for (const PlanSetup& setup : plan.setups) {
        if (setup.number == beam.setupNumber) {
            return &setup;
        }
    }
    return nullptr;
}

std::string SetupTechniqueOf(const PlanData& plan, const PlanBeam& beam) {
    const PlanSetup* setup = PatientSetupOf(plan, beam);
    return setup != nullptr ? setup->technique : std::string();
}

} // namespace kova
