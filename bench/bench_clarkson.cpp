// Time of the point dose of a VMAT beam by sector integration, on the demo dual-energy
// linac's 6 MV data: 180 segments (a full arc, control points every 2 degrees), a 60-pair
// MLC (120 leaves of 0.5 and 1 cm) whose openings change at every control point, an SSD
// that changes round the arc and a point 1.5 cm off the axis. The goal is under 50 ms.

#include "core/beams/clarkson.h"
#include "demo_linac.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

namespace {

const kova::Date kToday{2026, 12, 7};

using kova::bench::DemoLinac;

/// Segment i of the arc: jaws 14 x 16, each leaf pair open around a shape that wanders with
/// the gantry, the SSD of an elliptic body (86 to 92 cm).
kova::DoseSegment ArcSegment(int i) {
    kova::DoseSegment s;
    s.MU = 600.0 / 180;
    s.X1 = -7, s.X2 = 7, s.Y1 = -8, s.Y2 = 8;
    s.gantryAngle = 181 + 2 * i;
    s.collimatorAngle = 30;
    const double gantry = s.gantryAngle * 3.141592653589793 / 180;
    s.SSD = 89 + 3 * std::cos(2 * gantry);
    s.pointX = 1.5;
    s.pointY = -0.5;
    std::vector<double>& b = s.leaves.boundaries;
    b.push_back(-20);
    for (int pair = 0; pair < 60; ++pair) {
        b.push_back(b.back() + (pair < 10 || pair >= 50 ? 1.0 : 0.5));
    }
    s.leaves.positions.resize(120);
    for (int pair = 0; pair < 60; ++pair) {
        const double y = (b[pair] + b[pair + 1]) / 2;
        const double half = std::max(0.0, 5 - 0.1 * y * y) + 0.5 * std::sin(gantry + y);
        const double shift = 2 * std::sin(gantry * 3 + 0.2 * y);
        s.leaves.positions[pair] = shift - std::max(0.1, half);
        s.leaves.positions[60 + pair] = shift + std::max(0.1, half);
    }
    return s;
}

void BM_VmatArc(benchmark::State& state) {
    const kova::TgEnergy& sixMV = *DemoLinac().gEnergies.front();
    const kova::DoseMachine machine{
        DemoLinac().SAD, {0.016, 0.16}, static_cast<int>(state.range(0))};
    std::vector<kova::DoseSegment> arc;
    for (int i = 0; i < 180; ++i) {
        arc.push_back(ArcSegment(i));
    }
    kova::Result<kova::PointDose> dose = kova::Status::Fail("not computed");
    for (auto _ : state) {
        dose = kova::ComputePointDose(sixMV, machine, arc, kToday);
        if (!dose) {
            state.SkipWithError(dose.reason().c_str());
            break;
        }
        benchmark::DoNotOptimize(dose->dose);
    }
    if (dose) {
        // What the arc gives, so that a change of the model shows beside its time.
        state.counters["cGy"] = dose->dose;
        state.counters["leaf share"] = dose->transmissionShare;
        state.counters["mean depth"] = dose->meanDepth;
    }
}
BENCHMARK(BM_VmatArc)->Arg(kova::kClarksonSectors)->Arg(72)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
