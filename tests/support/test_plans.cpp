#include "support/test_plans.h"

namespace kova::test {

std::vector<std::string> Lines(const BeamBlock& block) {
    std::vector<std::string> lines;
    for (const BeamEntry& entry : block.entries) {
        lines.push_back(entry.key + " = " + entry.value);
    }
    return lines;
}

PlanBeam StaticBeam(int number, const std::string& name) {
    PlanBeam beam;
    beam.number = number;
    beam.name = name;
    beam.machine = "DualDemo";
    beam.radiationType = "PHOTON";
    beam.beamType = "STATIC";
    beam.deliveryType = "TREATMENT";
    beam.SAD = 1000;
    PlanControlPoint first;
    first.nominalEnergy = 6;
    first.gantryAngle = first.collimatorAngle = first.couchAngle = 0;
    first.gantryRotation = "NONE";
    first.SSD = 900;
    first.devices = {{"ASYMX", {-50, 50}}, {"ASYMY", {-50, 50}}};
    beam.controlPoints = {first, PlanControlPoint{}};
    return beam;
}

PlanBeam ElectronBeam(int number) {
    PlanBeam beam = StaticBeam(number, "E9");
    beam.radiationType = "ELECTRON";
    beam.controlPoints[0].nominalEnergy = 9;
    beam.controlPoints[0].SSD = 1000;
    beam.applicators = {{"10x10", "", "SYM_SQUARE", 100, {}, {}}};
    return beam;
}

PlanData PlanOf(std::vector<PlanBeam> beams) {
    PlanData plan;
    plan.label = "P1";
    PlanFractionGroup group;
    for (const PlanBeam& beam : beams) {
        group.beams.push_back({beam.number, 1.0, 150, {}, {}});
    }
    plan.fractionGroups = {group};
    plan.setups = {{1, "ISOCENTRIC", "HFS"}};
    plan.beams = std::move(beams);
    return plan;
}

void AddStepMLC(PlanBeam& beam) {
    beam.devices.push_back(
        {"MLCX", {-100, -60, -40, -30, -20, -10, 0, 10, 20, 30, 40, 60, 100}, {}});
    std::vector<double> leaves(12, -30);
    for (int i = 0; i < 12; ++i) {
        leaves.push_back(i < 7 ? 50 : 0);
    }
    beam.controlPoints[0].devices.push_back({"MLCX", leaves});
}

} // namespace kova::test
