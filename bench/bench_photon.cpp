// Time of one photon beam calculation and of each lookup it makes, on the demo dual-energy
// linac's 6 MV data: a wedged, asymmetric field with the offset factor applied, the kind of
// beam that exercises every table.

#include "core/beams/photon_beam.h"
#include "core/beams/photon_calculation.h"
#include "core/dosimetry/photon_lookups.h"
#include "demo_linac.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

const kova::Date kToday{2026, 12, 7};

using kova::bench::DemoLinac;

const kova::TgEnergy& SixMV() {
    return *DemoLinac().gEnergies.front();
}

/// A 12 x 14 field with jaws 4 / 8 and 7 / 7 at 8 cm depth, SSD 95, wedge W30, offset 2 cm.
kova::PhotonBeamInput WedgedOffsetBeam() {
    kova::PhotonBeamInput in;
    in.technique = kova::kFixedSsd;
    in.dose = 200;
    in.X1 = 4;
    in.X2 = 8;
    in.Y1 = 7;
    in.Y2 = 7;
    in.width = 12;
    in.height = 14;
    in.equivSize = 13;
    in.offset = 2;
    in.depth = 8;
    in.SSD = 95;
    in.realSSD = 95;
    in.wedge = SixMV().Wedges[1].get();
    in.offsetOff = false;
    return in;
}

void BM_PhotonCalculate(benchmark::State& state) {
    const kova::PhotonBeamInput input = WedgedOffsetBeam();
    for (auto _ : state) {
        const auto result = kova::CalculatePhotonBeam(DemoLinac(), SixMV(), input, kToday);
        if (!result) {
            state.SkipWithError(result.reason().c_str());
            break;
        }
        benchmark::DoNotOptimize(result->MU);
    }
}
BENCHMARK(BM_PhotonCalculate);

void BM_LookupFieldFactor(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(kova::LookupFieldFactor(SixMV(), 12, 14));
    }
}
BENCHMARK(BM_LookupFieldFactor);

void BM_LookupPhantomScatter(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(kova::LookupPhantomScatter(SixMV(), 12, 14));
    }
}
BENCHMARK(BM_LookupPhantomScatter);

void BM_LookupDepthDose(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(kova::LookupDepthDose(SixMV(), 95, 8, 8.2, 12, 14));
    }
}
BENCHMARK(BM_LookupDepthDose);

void BM_LookupOffsetFactor(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(kova::LookupOffsetFactor(SixMV(), 2.5));
    }
}
BENCHMARK(BM_LookupOffsetFactor);

} // namespace

BENCHMARK_MAIN();
