#include "core/beams/dynamic_beam.h"
#include "core/linac/mlc_parameters.h"
#include "support/demo_linacs.h"
#include "support/near.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kova {
namespace {

// OK of an IMRT/VMAT beam: the MU for the plan's dose is dose / (cGy per MU of the beam),
// the dose of the plan's MU is TPS MU x cGy per MU; the segments' texts must make the whole
// beam; an energy without MLC parameters is refused naming the missing one.
TEST(DynamicBeam, MuAndDoseFromTheDosePerMU) {
    // One 10 x 10 cm jaw field at SSD 90 cm, 10 cm deep: 0.80279 cGy/MU, 0.31 % below the
    // static field's 200 / 248.35 = 0.80531 (the equivalent-square rule against Clarkson's
    // sectors, docs/clarkson.md); the VMAT arc of kova_mu_plan_test.cpp adds leaves, whose
    // ends open by half the leaf gap: 0.80326.
    const std::string open = " 90 - 0 0 -5 5 -5 5 0 0 0";
    const char* const both = "[6MV]\nLeafTransmission = 0.016\nDosimetricLeafGap = 0.16\n";
    const struct {
        std::vector<std::string> shares;
        const char* sidecar;
        double MU, kovaDose; ///< for 200 cGy, TPS MU 250
        const char* refusal;
    } rows[] = {
        {{"1"}, both, 200 / 0.80279, 250 * 0.80279, ""},
        // Two halves give the same beam.
        {{"0.5", "0.5"}, both, 200 / 0.80279, 250 * 0.80279, ""},
        {{"0.5"}, both, 0, 0, "The segments' shares of the MU add up to 0.5, not 1"},
        {{"1"},
         "[6MV]\nLeafTransmission = 0.016\n",
         0,
         0,
         "No IMRT/VMAT check: the energy 6MV has no dosimetric leaf gap (.ini)"},
    };
    for (const auto& row : rows) {
        const std::unique_ptr<TLinacSpec> linac = test::DemoLinac("demo_dual_energy.txt");
        linac->Mlc.entries = ParseMlcSidecar(row.sidecar, *linac).value();
        TDynamicBeam beam("IMRT");
        beam.machine = {linac.get(), linac->gEnergies.front().get(), nullptr};
        DynamicBeamInput in;
        in.dose = 200;
        in.tpsMU = 250;
        for (const std::string& share : row.shares) {
            in.segments += (in.segments.empty() ? "" : " ; ") + share + open;
        }
        const Status accepted = beam.Accept(in, Date{2026, 11, 2});
        EXPECT_EQ(accepted.reason(), row.refusal) << row.shares.size();
        if (accepted) {
            EXPECT_TRUE(test::IsNear(beam.MU, row.MU, {1e-5, 0})) << row.shares.size();
            EXPECT_TRUE(test::IsNear(*beam.kovaDose, row.kovaDose, {1e-5, 0})) << row.shares.size();
        }
    }
}

} // namespace
} // namespace kova
