// The check of a beam's MU against the planning system's MU.

#include "core/beams/electron_beam.h"
#include "core/beams/open_wedged_beam.h"
#include "core/beams/tps_check.h"

#include <gtest/gtest.h>

namespace kova {
namespace {

TEST(TPSCheck, DifferenceAndActionLevelByKind) {
    struct Case {
        BeamKind kind;
        double mu, wedgeMU, tps;
        const char* text; // the line the beam's results end with
        bool beyond;
    };
    const Case cases[] = {
        // (116 - 117.51) / 117.51 x 100 = -1.285 %
        {BeamKind::Photon, 117.51, 0, 116, "TPS MU = 116 (difference -1.3 %)", false},
        // (104 - 100) / 100 = 4 %: beyond 3 % for photons, within 5 % for electrons.
        {BeamKind::Photon, 100, 0, 104, "TPS MU = 104 (difference 4.0 %) beyond action level",
         true},
        {BeamKind::Electron, 100, 0, 104, "TPS MU = 104 (difference 4.0 %)", false},
        // Exactly at the level is not beyond it.
        {BeamKind::Photon, 100, 0, 97, "TPS MU = 97 (difference -3.0 %)", false},
        // Both parts of an open/wedged beam: (200 - 120.5 - 80.25) / 200.75 = -0.37 %.
        {BeamKind::PhotonOpenWedged, 120.5, 80.25, 200, "TPS MU = 200 (difference -0.4 %)", false},
        {BeamKind::Electron, 1e-320, 0, 200,
         "TPS MU = 200 (difference too large) beyond action level", true},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TBeam> beam = CreateBeam(c.kind, "B", {});
        beam->MU = c.mu;
        if (auto* ow = dynamic_cast<TPhotonOWBeam*>(beam.get())) {
            ow->WedgeMU = c.wedgeMU;
        }
        beam->calculated = true;
        EXPECT_FALSE(CompareWithTPS(*beam, {}).has_value()) << "no TPS MU, no comparison";
        beam->tpsMU = c.tps;
        const auto comparison = CompareWithTPS(*beam, {});
        ASSERT_TRUE(comparison.has_value());
        EXPECT_EQ(TPSText(*comparison), c.text);
        EXPECT_EQ(comparison->beyondActionLevel, c.beyond) << c.text;
    }
}

TEST(TPSCheck, ActionLevelsFile) {
    const Result<ActionLevels> read = ParseActionLevels(
        "# levels of this department\nPhoton Beam = 2.5\r\nTotal Body Irradiation=7\n");
    ASSERT_TRUE(read.ok()) << read.reason();
    EXPECT_EQ(read->For(BeamKind::Photon), 2.5);
    EXPECT_EQ(read->For(BeamKind::TotalBody), 7);
    EXPECT_EQ(read->For(BeamKind::Electron), 5) << "not named: the default";
    EXPECT_EQ(ParseActionLevels("\xEF\xBB\xBFPhoton Beam = 2\n")->For(BeamKind::Photon), 2)
        << "a byte-order mark, as Windows editors write";
    const struct {
        const char* text;
        const char* reason;
    } broken[] = {
        {"Photon Beam 3", "line 1: expected 'Beam kind = percent'"},
        {"\nProton Beam = 3", "line 2: unknown beam kind 'Proton Beam'"},
        {"Electron Beam = 5%", "line 1: '5%' is not a valid floating point value"},
        {"Electron Beam = 0", "line 1: an action level must be above 0 %"},
    };
    for (const auto& b : broken) {
        EXPECT_EQ(ParseActionLevels(b.text).reason(), b.reason);
    }
}

TEST(TPSCheck, TypedTPSMUMustBeAPositiveNumber) {
    TElectronBeam beam("E");
    ElectronBeamForm form(beam);
    for (const auto& [text, reason] : std::initializer_list<std::pair<const char*, const char*>>{
             {"0", "The TPS MU must be above 0"},
             {"-5", "The TPS MU must be above 0"},
             {"100001", "The TPS MU must be at most 100000 (it is 100001)"},
             {"1l6", "TPS MU: '1l6' is not a valid floating point value"}}) {
        form.SetText("TPSMU", text);
        EXPECT_EQ(form.ReadInput().reason(), reason);
    }
    form.SetText("TPSMU", " ");
    const Result<ElectronBeamInput> read = form.ReadInput();
    EXPECT_TRUE(read.ok());
    EXPECT_FALSE(read->tpsMU.has_value()) << "an empty box means no TPS MU";
}

} // namespace
} // namespace kova
