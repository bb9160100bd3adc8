#pragma once

// Plans built in C++ for the plan import tests.

#include "core/plan/plan_data.h"
#include "core/workbench/beam_file.h"

#include <string>
#include <vector>

namespace kova::test {

/// "Key = Value" lines of a block, in order.
std::vector<std::string> Lines(const BeamBlock& block);

/// A static 6 MV photon beam on DualDemo: 10 x 10 cm at the isocentre (SAD 1000 mm),
/// SSD 900 mm, every angle 0, a first and a last control point.
PlanBeam StaticBeam(int number, const std::string& name);

/// An electron beam of 9 MeV at SSD 1000 mm with the 10x10 applicator (opening 100 mm).
PlanBeam ElectronBeam(int number);

/// A plan "P1" of `beams`, each with 1 Gy and 150 MU a fraction, set up isocentrically.
PlanData PlanOf(std::vector<PlanBeam> beams);

/// The 12-pair MLCX of tests/data/rtplan/mlc.dump (pairs of 4, 2 and 1 cm) shaped as a
/// step: 60 cm^2 and 36 cm inside 10 x 10 jaws (leaf_opening_test.cpp).
void AddStepMLC(PlanBeam& beam);

} // namespace kova::test
