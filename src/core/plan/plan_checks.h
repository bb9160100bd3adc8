#pragma once

// What a plan's beam must be for KOVA X to check it, and the values it takes from the plan
// around the beam (its dose, its set-up).

#include "core/common/result.h"
#include "core/plan/plan_data.h"

#include <string>

namespace kova {

/// Ok for a photon or electron treatment beam that stands still: a first control point,
/// not a set-up or open port film beam, jaw and leaf positions that are numbers and as many
/// as the devices' NumberOfLeafJawPairs (and one leaf boundary more than the pairs: else
/// the plan is damaged), and between control points no turn of the gantry
/// (an arc, also when the first control point gives a rotation direction), of the
/// collimator or the couch, no move of a jaw or a leaf, no change of energy, and not marked
/// DYNAMIC. Otherwise the reason.
Status CheckStaticTreatmentBeam(const PlanBeam& beam);

/// True when the beam moves between control points (the gantry, collimator or couch turns,
/// a jaw or leaf moves) or the plan marks it DYNAMIC: an IMRT or VMAT beam.
bool MovesBetweenControlPoints(const PlanBeam& beam);

/// Ok for a photon treatment beam that moves (MovesBetweenControlPoints) and can be checked
/// by its point dose: what CheckStaticTreatmentBeam checks of every beam, its energy the same
/// at every control point, no wedge and no block. Otherwise the reason.
Status CheckDynamicTreatmentBeam(const PlanBeam& beam);

/// The dose and meterset per fraction the fraction groups give the beam: refused when the
/// beam has no number, no fraction group refers to it, two refer to it with different
/// values, or the dose is missing, not above 0 or too large to be a number in cGy.
Result<PlanBeamDose> BeamDoseOf(const PlanData& plan, const PlanBeam& beam);

/// The patient set-up the beam refers to (the only set-up when the beam refers to none);
/// null when there is none.
const PlanSetup* PatientSetupOf(const PlanData& plan, const PlanBeam& beam);

/// The set-up technique of the patient set-up the beam refers to (the only set-up when the
/// beam refers to none); empty when the plan gives none.
std::string SetupTechniqueOf(const PlanData& plan, const PlanBeam& beam);

/// The positions of a device of the control point, null when it gives none. With two
/// types ("ASYMX", "X") the first type given wins.
const PlanDevicePositions* DeviceAt(const PlanControlPoint& point, const std::string& type,
                                    const std::string& otherType = {});

} // namespace kova
