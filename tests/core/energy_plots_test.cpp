#include "core/dosimetry/energy_plots.h"
#include "support/near.h"
#include "support/photon_energy.h"

#include <gtest/gtest.h>
#include <vector>

namespace kova {
namespace {

using Points = std::vector<PlotPoint>;

void ExpectPoints(const Points& actual, const Points& expected, const char* what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(test::IsNear(actual[i].x, expected[i].x)) << what << " point " << i;
        EXPECT_TRUE(test::IsNear(actual[i].y, expected[i].y)) << what << " point " << i;
    }
}

// Field factor and phantom scatter lie over the equivalent square 2ab / (a + b); the texts
// typed in the second field's editor replace its stored values, a text that is no number
// keeps the stored one.
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
        ASSERT_EQ(plot.series.size(), 2U);
        EXPECT_EQ(plot.series[0].role, SeriesRole::FieldFactor);
        ExpectPoints(plot.series[0].points, c.factors, c.what);
        ExpectPoints(plot.series[1].points, c.scatter, c.what);
    }
}

} // namespace
} // namespace kova
