#include "core/dosimetry/energy_plots.h"
#include "support/photon_energy.h"

#include <gtest/gtest.h>
#include <vector>

namespace kova {
namespace {

using Points = std::vector<PlotPoint>;

// Factors lie over the equivalent square 2ab / (a + b); texts typed in the second field's
// editor replace its stored values, except a text that is no number.
TEST(PhotonPlots, FactorsOverEquivalentSquareWithTypedTexts) {
    TgEnergy energy;
    RefField& square = test::AddRefField(energy, 10, 10, 1.00);
    square.isScatterPhantomFactorAvailable = true;
    square.ScatterPhantomFactor = 1.00;
    const RefField& oblong = test::AddRefField(energy, 5, 20, 0.95); // 2 x 100 / 25 = 8 cm
    struct Case {
        const char* what;
        FormTexts typed;
        Points factors, scatter;
    };
    const Case cases[] = {
        {"stored", {}, {{10, 1.00}, {8, 0.95}}, {{10, 1.00}}},
        {"typed factor", {{"FieldFactor", "0.59"}}, {{10, 1.00}, {8, 0.59}}, {{10, 1.00}}},
        {"no number", {{"FieldFactor", "0.9x"}}, {{10, 1.00}, {8, 0.95}}, {{10, 1.00}}},
        // 20 x 20 has the equivalent square 20.
        {"typed width", {{"Width", "20"}}, {{10, 1.00}, {20, 0.95}}, {{10, 1.00}}},
        {"scatter typed on",
         {{"isScatterPhantomFactorAvailable", "1"}, {"ScatterPhantomFactor", "0.97"}},
         {{10, 1.00}, {8, 0.95}},
         {{10, 1.00}, {8, 0.97}}},
    };
    for (const Case& c : cases) {
        const std::vector<Plot> plots = PhotonPlots(energy, {}, PlotEdit{&oblong, c.typed});
        const Plot& plot = plots.at(1);
        ASSERT_EQ(plot.kind, PlotKind::FieldFactors);
        // Every figure is exact in binary: 2 x 100 / 25 and 2 x 400 / 40 included.
        EXPECT_EQ(plot.series.at(0).points, c.factors) << c.what;
        EXPECT_EQ(plot.series.at(1).points, c.scatter) << c.what;
    }
}

} // namespace
} // namespace kova
