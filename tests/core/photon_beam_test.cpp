#include "core/beams/modifiers.h"
#include "core/beams/photon_beam.h"
#include "core/beams/photon_beam_form.h"
#include "core/beams/photon_calculation.h"
#include "core/beams/result_text.h"
#include "core/mlc/mlc_field.h"
#include "support/near.h"
#include "support/photon_energy.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace kova {
namespace {

using test::IsNear;

const Date kToday{2026, 6, 1};

/// Fixed SSD 100, 10 cm deep, symmetric field, dose 200 cGy, no modifier.
PhotonBeamInput Fixed(double width, double height) {
    PhotonBeamInput in;
    in.technique = kFixedSsd;
    in.name = "AP";
    in.dose = 200;
    in.X1 = in.X2 = width / 2;
    in.Y1 = in.Y2 = height / 2;
    in.width = width;
    in.height = height;
    in.equivSize = 2 * width * height / (width + height);
    in.depth = 10;
    in.SSD = in.realSSD = 100;
    return in;
}

/// The same beam with its X jaws at x1 and x2 and the offset (x2 - x1) / 2 they give.
PhotonBeamInput Shifted(double x1, double x2) {
    PhotonBeamInput in = Fixed(x1 + x2, 10);
    in.X1 = x1;
    in.X2 = x2;
    in.offset = (x2 - x1) / 2;
    return in;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class PhotonBeamTest : public ::testing::Test {
protected:
    PhotonBeamTest() { beam.machine = setup.treatment.Machine(); }

    Result<PhotonCalculation> Calculate(const PhotonBeamInput& in) {
        return CalculatePhotonBeam(setup.linac, *setup.energy, in, kToday);
    }

    test::PhotonSetup setup;
    TPhotonBeam beam{"AP"};
};

TEST_F(PhotonBeamTest, FixedSsdTenByTen) {
    // k = 1, S = 1, ssdPDD = 0.67, FF = 1: MU = 200 / 0.67 = 298.507.
    const Result<PhotonCalculation> calc = Calculate(Fixed(10, 10));
    ASSERT_TRUE(calc.ok()) << calc.reason();
    EXPECT_TRUE(IsNear(calc->MU, 200 / 0.67));
    const PhotonFactors& f = calc->factors;
    EXPECT_TRUE(IsNear(f.MUperCGy, 1));
    EXPECT_TRUE(IsNear(f.scaleFactor, 1));
    EXPECT_TRUE(IsNear(f.ssdPDD, 0.67));
    EXPECT_TRUE(IsNear(f.fieldFactor, 1));
    EXPECT_TRUE(f.fieldFactorFromTable && f.depthDoseFromTable);
    EXPECT_TRUE(IsNear(f.effectiveDepth, 10));
    EXPECT_TRUE(calc->stored.offsetOff);
}

TEST_F(PhotonBeamTest, IsocentricTenByTen) {
    PhotonBeamInput in = Fixed(10, 10);
    in.technique = kIsocentric;
    in.SSD = 0; // not read: s = SAD - d = 90
    const Result<PhotonCalculation> calc = Calculate(in);
    ASSERT_TRUE(calc.ok()) << calc.reason();
    EXPECT_TRUE(IsNear(calc->stored.SSD, 90));
    // S = (101.5 / 91.5)^2 = 1.23052; ssdPDD = 0.67 x ((110 x 91.5) / (101.5 x 100))^2;
    // their product is 0.67 x (110 / 100)^2, so MU = 200 / (0.67 x 1.21) = 246.700.
    EXPECT_TRUE(IsNear(calc->factors.scaleFactor, (101.5 / 91.5) * (101.5 / 91.5)));
    EXPECT_TRUE(IsNear(calc->factors.ssdPDD, 0.67 * 0.9833213618, {1e-9, 1e-12}));
    EXPECT_TRUE(IsNear(calc->MU, 200 / (0.67 * 1.21)));
}

TEST_F(PhotonBeamTest, IsocentricFieldScaledBySCDOverSAD) {
    struct Case {
        double scd, sad, f;
    };
    const Case cases[] = {{80, 100, 0.8}, {100, 80, 1.25}};
    for (const Case& c : cases) {
        setup.energy->SCD = c.scd;
        setup.linac.SAD = c.sad;
        PhotonBeamInput in = Shifted(3, 7); // width 10, offset 2
        in.technique = kIsocentric;
        in.equivSize = 10;
        ASSERT_TRUE(beam.Accept(in, kToday).ok()) << c.scd << " / " << c.sad;
        const TPhotonBeam& s = beam;
        EXPECT_TRUE(IsNear(s.width, 10 * c.f));
        EXPECT_TRUE(IsNear(s.X1, 3 * c.f));
        EXPECT_TRUE(IsNear(s.X2, 7 * c.f));
        EXPECT_TRUE(IsNear(s.Y2, 5 * c.f));
        EXPECT_TRUE(IsNear(s.equivSize, 10 * c.f));
        EXPECT_TRUE(IsNear(s.offset, 2 * c.f));
        EXPECT_TRUE(IsNear(s.SSD, c.sad - 10));
        // The dialog shows the field as typed, at the isocentre.
        PhotonBeamForm shown(beam);
        shown.LoadControls();
        EXPECT_EQ(shown.Text("BeamWidth"), "10");
        EXPECT_EQ(shown.Text("BeamLeft"), "3");
        EXPECT_EQ(shown.Text("BeamAsymmWidth"), "2");
        EXPECT_EQ(shown.Text("BeamOffset"), "2");
        EXPECT_EQ(shown.Text("BeamSSD"), c.sad == 100 ? "90" : "70");
    }
}

TEST_F(PhotonBeamTest, WedgeFactorWarpAndEffectiveDepth) {
    struct Case {
        double size, depth;
        double wf, warp, t, mu;
    };
    const Case cases[] = {
        // E 10 halfway between 5 and 15: WF 0.525, warp 1.15; t = 1.5 + 8.5 x 1.15 = 11.275;
        // P = 0.67 + (0.40 - 0.67) x 1.275 / 10 = 0.635575; MU = 200 / 0.635575 / 0.525.
        {10, 10, 0.525, 1.15, 11.275, 200 / 0.635575 / 0.525},
        // E 20 beyond 15: held at 0.55 / 1.20; t = 1.5 + 8.5 x 1.2 = 11.7, P = 0.6241;
        // FF(20x20) between 10x10 and 30x30 = 1.05; MU = 200 / (0.6241 x 1.05) / 0.55.
        {20, 10, 0.55, 1.20, 11.7, 200 / (0.6241 * 1.05) / 0.55},
        // Above the build-up the depth is not warped: P(1.0) = 0.98, MU = 200 / 0.98 / 0.525.
        {10, 1.0, 0.525, 1.15, 1.0, 200 / 0.98 / 0.525},
    };
    for (const Case& c : cases) {
        PhotonBeamInput in = Fixed(c.size, c.size);
        in.depth = c.depth;
        in.wedge = setup.w30;
        const Result<PhotonCalculation> calc = Calculate(in);
        ASSERT_TRUE(calc.ok()) << c.size << ": " << calc.reason();
        EXPECT_TRUE(IsNear(calc->factors.wedgeFactor, c.wf)) << c.size;
        EXPECT_TRUE(IsNear(calc->factors.warpFactor, c.warp)) << c.size;
        EXPECT_TRUE(IsNear(calc->factors.effectiveDepth, c.t)) << c.size;
        EXPECT_TRUE(IsNear(calc->MU, c.mu)) << c.size;
    }
}

TEST_F(PhotonBeamTest, TrayShieldMultileafDivideTheMU) {
    // A tray made on the spot ("Set on fly..."): offered just above "Set on fly...".
    Tray& onFly = test::Append(beam.adHoc.trays);
    onFly.Name = "T1";
    onFly.TF = 0.97;
    const std::vector<ModifierItem> trays = TrayItems(*setup.energy, beam.adHoc);
    ASSERT_EQ(trays.size(), 4u); // None, Tray, T1, Set on fly...
    EXPECT_EQ(trays[2].text, "T1");
    EXPECT_EQ(trays[2].entry, &onFly);
    EXPECT_EQ(trays[3].text, kSetOnFlyItem);

    struct Case {
        const char* what;
        std::function<void(PhotonBeamInput&)> choose;
        double mu;
    };
    const Case cases[] = {
        {"T1", [&](PhotonBeamInput& in) { in.tray = &onFly; }, 200 / 0.67 / 0.97},
        {"all",
         [&](PhotonBeamInput& in) {
             in.tray = setup.tray;
             in.shield = setup.shield;
             in.multileaf = setup.multileaf;
         },
         200 / 0.67 / 0.96 / 0.95 / 0.99}, // 330.617
    };
    for (const Case& c : cases) {
        PhotonBeamInput in = Fixed(10, 10);
        c.choose(in);
        const Result<PhotonCalculation> calc = Calculate(in);
        ASSERT_TRUE(calc.ok()) << c.what << ": " << calc.reason();
        EXPECT_TRUE(IsNear(calc->MU, c.mu)) << c.what;
    }
}

TEST_F(PhotonBeamTest, OffsetFactorOnlyWhenUsed) {
    struct Case {
        const char* what;
        PhotonBeamInput in;
        bool isOffset;
        const Wedge* wedge;
        double of;
        bool offsetOff;
        double mu;
    };
    const Case cases[] = {
        // Offset 3: 1.000 + (0.980 - 1.000) x 3 / 5 = 0.988; MU = 200 / 0.67 / 0.988.
        {"offset 3", Shifted(2, 8), true, nullptr, 0.988, false, 200 / 0.67 / 0.988},
        // Offset 0.5 = IgnoreOffset is used: 1.000 - 0.020 x 0.5 / 5 = 0.998.
        {"at IgnoreOffset", Shifted(4.5, 5.5), true, nullptr, 0.998, false, 200 / 0.67 / 0.998},
        {"below IgnoreOffset", Shifted(4.6, 5.4), true, nullptr, 1, true, 200 / 0.67},
        {"box not ticked", Shifted(2, 8), false, nullptr, 1, true, 200 / 0.67},
        // EDW: WF 0.80 at 10, warp 1; never an offset factor.
        {"offset-wedged", Shifted(2, 8), true, setup.edw, 1, true, 200 / 0.67 / 0.8},
    };
    for (const Case& c : cases) {
        PhotonBeamInput in = c.in;
        in.offsetOff = !c.isOffset;
        in.wedge = c.wedge;
        const Result<PhotonCalculation> calc = Calculate(in);
        ASSERT_TRUE(calc.ok()) << c.what << ": " << calc.reason();
        EXPECT_TRUE(IsNear(calc->factors.offsetFactor, c.of)) << c.what;
        EXPECT_EQ(calc->stored.offsetOff, c.offsetOff) << c.what;
        EXPECT_TRUE(IsNear(calc->MU, c.mu)) << c.what;
    }
}

/// A fixed SSD beam with some inputs changed from the valid 10x10 of Fixed().
struct Changed {
    const char* what;
    double X1 = 5, X2 = 5, Y1 = 5, Y2 = 5, width = 10, height = 10, equivSize = 10;
    double offset = 0, SSD = 100, depth = 10, dose = 200, realSSD = 100;
    bool wedge = false;
    const char* reason = ""; // a part of the reason naming the failed check
    double mu = 0;           // when accepted

    PhotonBeamInput Input(const Wedge* w30) const {
        PhotonBeamInput in = Fixed(10, 10);
        in.X1 = X1;
        in.X2 = X2;
        in.Y1 = Y1;
        in.Y2 = Y2;
        in.width = width;
        in.height = height;
        in.equivSize = equivSize;
        in.offset = offset;
        in.SSD = SSD;
        in.realSSD = realSSD;
        in.depth = depth;
        in.dose = dose;
        in.wedge = wedge ? w30 : nullptr;
        return in;
    }
};

TEST_F(PhotonBeamTest, ChecksInOrderWithTheirReasons) {
    // Where two inputs are wrong, the reason names the check that comes first.
    const Changed cases[] = {
        {.what = "X jaws touch", .X1 = -2, .X2 = 2, .dose = 0, .reason = "cross or touch"},
        {.what = "X jaws cross", .X1 = 2, .X2 = -2, .reason = "cross or touch"},
        // -1 / 3 leaves 2 cm of field: past the jaw check, stopped by the smallest width 4.
        {.what = "X1 -1 X2 3",
         .X1 = -1,
         .X2 = 3,
         .width = 2,
         .reason = "Width 2 cm is below the minimum 4 cm (smallest reference field)"},
        {.what = "dose 0", .width = 50, .dose = 0, .reason = "The dose must be above 0 cGy"},
        {.what = "wedge width",
         .width = 25,
         .wedge = true,
         .reason = "Width 25 cm is above the maximum 20 cm (wedge W30)"},
        {.what = "height",
         .X1 = -3,
         .height = 31,
         .reason = "Height 31 cm is above the maximum 30 cm"},
        {.what = "left jaw",
         .X1 = -3,
         .X2 = 13,
         .reason = "Left X1 -3 cm is below the minimum -2 cm"},
        // Within the jaw check the bottom jaw comes before the top jaw.
        {.what = "bottom jaw", .Y1 = -11, .Y2 = 21, .reason = "Bottom Y1 -11 cm is below"},
        {.what = "top jaw", .Y2 = 21, .reason = "Top Y2 21 cm is above the maximum 20 cm"},
        {.what = "equivalent size",
         .equivSize = 31,
         .offset = 6,
         .reason = "Equivalent size 31 cm"},
        {.what = "offset",
         .offset = 5.5,
         .depth = 31,
         .reason = "Offset 5.5 cm is outside 0 to 5 cm"},
        {.what = "negative offset", .offset = -0.1, .reason = "Offset -0.1 cm"},
        {.what = "SSD",
         .SSD = 69.9,
         .depth = 31,
         .reason = "SSD 69.9 cm is below the minimum 70 cm"},
        {.what = "depth", .depth = 30.5, .reason = "Depth 30.5 cm is outside 0 to 30 cm"},
        {.what = "negative depth", .depth = -1, .reason = "Depth -1 cm"},
        // Beyond any treatment: SCD + 100 cm, a real SSD below SCD - 30 cm, 5000 cGy a beam.
        {.what = "far SSD", .SSD = 200.5, .reason = "SSD 200.5 cm is above the maximum 200 cm"},
        {.what = "real SSD", .realSSD = -5, .reason = "Real SSD -5 cm is below the minimum 70 cm"},
        {.what = "dose", .dose = 5001, .reason = "The dose 5001 cGy is above the maximum 5000 cGy"},
        // 0.3 / 0.67 = 0.448 MU: the set-up sheet's whole MU would read 0.
        {.what = "MU", .dose = 0.3, .reason = "0.447761194029851 MU, below the least 0.5"},
        // W30 at 10 cm, warp 1.15: 28 cm is read at 1.5 + 26.5 x 1.15 = 31.975, beyond 30 cm;
        // the deepest depth typed is 1.5 + 28.5 / 1.15 = 26.2826, cut to 26.28.
        {.what = "warped",
         .depth = 28,
         .wedge = true,
         .reason = "Depth 28 cm is outside the "
                   "depth-dose table of the reference field 10 cm x 10 cm: the deepest depth it "
                   "allows is "
                   "26.28 cm (the wedge W30 warps it to 31.975 cm; the table ends at 30 cm)"},
        {.what = "shallow", .depth = 0.5, .reason = "the shallowest depth it allows is 1 cm"},
    };
    for (const Changed& c : cases) {
        const Status status = beam.Accept(c.Input(setup.w30), kToday);
        ASSERT_FALSE(status.ok()) << c.what;
        EXPECT_TRUE(Contains(status.reason(), c.reason)) << c.what << ": " << status.reason();
        EXPECT_FALSE(beam.calculated) << c.what;
    }
}

TEST_F(PhotonBeamTest, LimitsThatAreAccepted) {
    const Changed cases[] = {
        // P(30) = 0.20: MU = 200 / 0.2 = 1000.
        {.what = "depth 30", .depth = 30, .mu = 1000},
        // s = c - 30 = 70: S x Mayneord = (110 / 80)^2 = 1.890625; MU = 200 / (0.67 x 1.890625).
        {.what = "SSD 70", .SSD = 70, .mu = 200 / (0.67 * 1.890625)},
        {.what = "offset 5", .offset = 5, .mu = 200 / 0.67},
        {.what = "X1 -1 X2 5", .X1 = -1, .X2 = 5, .offset = 3, .mu = 200 / 0.67},
        // s = c + 100 = 200: S x Mayneord = (110 / 210)^2; MU = 200 / (0.67 x 0.274376).
        {.what = "SSD 200", .SSD = 200, .mu = 200 / (0.67 * (110.0 / 210) * (110.0 / 210))},
        {.what = "dose 5000", .dose = 5000, .mu = 5000 / 0.67},
    };
    for (const Changed& c : cases) {
        const Result<PhotonCalculation> calc = Calculate(c.Input(setup.w30));
        ASSERT_TRUE(calc.ok()) << c.what << ": " << calc.reason();
        EXPECT_TRUE(IsNear(calc->MU, c.mu)) << c.what;
    }
}

TEST_F(PhotonBeamTest, ReferenceFieldsAtTheLimitsAreAccepted) {
    // The smallest field made 4 x 5 (E 4.444, shown 4.4; FF 0.90), or the largest 30 x 34
    // (E 31.875, shown 31.9; FF 1.10): MU = 200 / (0.67 x FF).
    const struct {
        std::size_t field;
        double width, height, shown, ff;
    } cases[] = {{0, 4, 5, 4.4, 0.90}, {2, 30, 34, 31.9, 1.10}};
    for (const auto& c : cases) {
        test::PhotonSetup reshaped;
        reshaped.energy->RefFields[c.field]->Width = c.width;
        reshaped.energy->RefFields[c.field]->Height = c.height;
        PhotonBeamInput in = Fixed(c.width, c.height);
        in.equivSize = c.shown;
        const auto calc = CalculatePhotonBeam(reshaped.linac, *reshaped.energy, in, kToday);
        ASSERT_TRUE(calc.ok()) << c.width << ": " << calc.reason();
        EXPECT_TRUE(IsNear(calc->MU, 200 / (0.67 * c.ff))) << c.width;
    }
}

TEST_F(PhotonBeamTest, MultileafFactorsOfTheOpeningInsideTheJaws) {
    // A 10 x 10 leaf opening behind 6 x 12 jaws (e = 8) irradiates 6 x 10 of it: a = 60,
    // p = 32. Sp 0.95 and 1.00 on the 4 and 10 cm fields, linear between: the factors are
    // Sp(sqrt 60) / Sp(8) and Sp(4 x 60 / 32) / Sp(8), where the whole opening gave
    // Sp(10) / Sp(8) = 1.017.
    for (std::size_t i = 0; i < 2; ++i) {
        setup.energy->RefFields[i]->isScatterPhantomFactorAvailable = true;
        setup.energy->RefFields[i]->ScatterPhantomFactor = 0.95 + 0.05 * static_cast<double>(i);
    }
    const auto sp = [](double e) { return 0.95 + 0.05 * (e - 4) / 6; };
    MLCLeaves leaves;
    for (std::size_t pair = 8; pair <= 17; ++pair) {
        leaves.L[pair] = leaves.R[pair] = 5;
    }
    PhotonBeamForm form(beam);
    form.SetText("BeamWidth", "6");
    form.SetText("BeamHeight", "12");
    const Result<MLCFactors> factors = form.MultileafFactorsOf(MakeMLCField("F", 0, leaves));
    ASSERT_TRUE(factors.ok()) << factors.reason();
    EXPECT_TRUE(IsNear(factors->sqrtFactor, sp(std::sqrt(60.0)) / sp(8)));
    EXPECT_TRUE(IsNear(factors->leqFactor, sp(7.5) / sp(8)));
}

TEST_F(PhotonBeamTest, WithoutOffsetFactorsOnlyOffsetZero) {
    setup.energy->OffsetFactors.clear();
    PhotonBeamInput in = Fixed(10, 10);
    EXPECT_TRUE(Calculate(in).ok());
    in.offset = 0.1;
    const Result<PhotonCalculation> calc = Calculate(in);
    ASSERT_FALSE(calc.ok());
    EXPECT_TRUE(Contains(calc.reason(), "no offset factors")) << calc.reason();
}

TEST_F(PhotonBeamTest, NoFigureFromAZeroOrNegativeFactor) {
    Tray& zero = test::Append(beam.adHoc.trays);
    zero.TF = 0;
    Tray& negative = test::Append(beam.adHoc.trays);
    negative.TF = -0.97;
    for (const Tray* tray : {&zero, &negative}) {
        PhotonBeamInput in = Fixed(10, 10);
        in.tray = tray;
        const Status status = beam.Accept(in, kToday);
        ASSERT_FALSE(status.ok()) << tray->TF;
        EXPECT_FALSE(status.reason().empty());
        EXPECT_EQ(beam.MU, 0);
        EXPECT_FALSE(beam.calculated);
    }
}

TEST_F(PhotonBeamTest, RefusedOkKeepsThePreviousBeam) {
    ASSERT_TRUE(beam.Accept(Fixed(10, 10), kToday).ok());
    ASSERT_TRUE(IsNear(beam.MU, 200 / 0.67));
    setup.energy->HalfLife = 5.27;
    setup.energy->CalDate = "02/06/2026"; // tomorrow
    PhotonBeamInput other = Fixed(20, 20);
    other.dose = 100;
    const Status status = beam.Accept(other, kToday);
    EXPECT_FALSE(status.ok());
    EXPECT_TRUE(IsNear(beam.MU, 200 / 0.67));
    EXPECT_EQ(beam.dose, 200);
    EXPECT_EQ(beam.width, 10);
    EXPECT_EQ(beam.typed.width, 10);
    EXPECT_TRUE(beam.calculated);

    TPhotonBeam orphan;
    EXPECT_FALSE(orphan.Accept(Fixed(10, 10), kToday).ok());
}

TEST_F(PhotonBeamTest, FormReadsTheFirstBadTextInReadingOrder) {
    PhotonBeamForm form(beam);
    form.SetText("BeamDose", "200");
    form.SetText("BeamSSD", "abc"); // isocentric: the SSD is not read
    EXPECT_TRUE(form.ReadInput().ok());
    ASSERT_TRUE(form.Select("Technique", kFixedSsd).status.ok());
    form.SetText("BeamSSD", "abc");
    Result<PhotonBeamInput> read = form.ReadInput();
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.reason(), "SSD: 'abc' is not a valid floating point value");
    form.SetText("BeamDepth", "1,5");
    form.SetText("BeamLeft", "x");
    read = form.ReadInput();
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.reason(), "Left: 'x' is not a valid floating point value");
}

TEST_F(PhotonBeamTest, FormTypingAndTechnique) {
    PhotonBeamForm form(beam);
    ASSERT_TRUE(form.SetSheet(PhotonBeamForm::SheetOf(FieldSheet::AsymmetricA)));
    EXPECT_EQ(form.MissingRequired({"BeamDose", "BeamDepth", "BeamLeft", "BeamRight", "BeamTop"})
                  .reason(),
              "the beam gives no BeamBottom")
        << "a beam file gives every jaw of its sheet";
    ASSERT_TRUE(form.SetSheet(PhotonBeamForm::SheetOf(FieldSheet::Symmetric)));
    form.SetText("BeamDepth", "5");
    EXPECT_EQ(form.Text("BeamSSD"), "95");
    EXPECT_EQ(form.Text("BeamRealSSD"), "95");
    EXPECT_TRUE(form.Select("Technique", kFixedSsd).status.ok());
    EXPECT_EQ(form.Text("BeamSSD"), "100");
    EXPECT_FALSE(form.ReadOnly("BeamSSD"));
    form.SetText("BeamDepth", "7"); // fixed SSD: the SSD stays
    EXPECT_EQ(form.Text("BeamSSD"), "100");

    form.SetText("BeamWidth", "10");
    form.SetText("BeamHeight", "20");
    EXPECT_EQ(form.Text("BeamTop"), "10.0");
    EXPECT_EQ(form.Text("BeamEquivSize"), "13.3");
    // Jaws typed while the symmetric sheet is shown run no handler.
    form.SetText("BeamLeft", "3");
    EXPECT_EQ(form.Text("BeamWidthAsymm"), "10");
    EXPECT_EQ(form.Text("BeamOffset"), "0");
    // A text that is not a number leaves the other sizes and shows no derived figure.
    form.SetText("BeamWidth", "1O");
    EXPECT_EQ(form.Text("BeamWidthAsymm"), "10");
    EXPECT_EQ(form.Text("BeamEquivSize"), "");
    EXPECT_EQ(form.Text("OffsetComp"), "");

    ASSERT_TRUE(form.SetSheet(PhotonBeamForm::SheetOf(FieldSheet::AsymmetricA)));
    form.SetText("BeamRight", "7");
    form.SetText("BeamTop", "5");
    form.SetText("BeamBottom", "5");
    EXPECT_EQ(form.Text("BeamWidth"), "10.0");
    EXPECT_EQ(form.Text("BeamEquivSize"), "10.0") << "shown again once every input is a number";
    EXPECT_EQ(form.Text("BeamOffset"), "2.0");
    EXPECT_EQ(form.Text("OffsetComp"), "2.0");

    // Back to isocentric with a depth that is not a number: the conversion error is reported;
    // the SSD edit was made read-only before the depth was read.
    form.SetText("BeamDepth", "7,5");
    const Status isocentric = form.Select("Technique", kIsocentric).status;
    EXPECT_EQ(isocentric.reason(),
              "Depth: '7,5' is not a valid floating point value (use a decimal point: 7.5)");
    EXPECT_EQ(form.Selected("Technique"), kIsocentric);
    EXPECT_TRUE(form.ReadOnly("BeamSSD"));
    EXPECT_EQ(form.Text("BeamSSD"), "100") << "the SSD texts stay";

    setup.linac.isAsymmetricFieldsOnWidth = setup.linac.isAsymmetricFieldsOnHeight = 0;
    TPhotonBeam other;
    other.machine = setup.treatment.Machine();
    PhotonBeamForm symmetricOnly(other);
    EXPECT_FALSE(symmetricOnly.SetSheet(PhotonBeamForm::SheetOf(FieldSheet::AsymmetricB)));
    EXPECT_EQ(symmetricOnly.fieldSheet(), FieldSheet::Symmetric);
}

TEST_F(PhotonBeamTest, FormReloadGivesTheSameBeam) {
    struct Case {
        const char* shift; // typed in "Asymmetric B", above 50 meaning minus 100
        const char *left, *right;
        bool isOffsetShown;
        double mu;
    };
    // Isocentric, SCD = SAD: s = 90, 200 / (0.67 x 1.21) / 0.96 (tray) = 256.979.
    const double open = 200 / (0.67 * 1.21) / 0.96;
    const Case cases[] = {
        // -2: X1 7, X2 3 (shown "#0.0" by the sheet handler); offset 2 used: OF 1.000 - 0.020 x
        // 2 / 5 = 0.992.
        {"98", "7.0", "3.0", true, open / 0.992},
        // -0.4: below IgnoreOffset, so the beam stores offset-off and the box comes back empty.
        {"99.6", "5.4", "4.6", false, open},
    };
    for (const Case& c : cases) {
        PhotonBeamForm form(beam);
        form.SetText("BeamDose", "200");
        form.SetText("BeamDepth", "10");
        ASSERT_TRUE(form.SetSheet(PhotonBeamForm::SheetOf(FieldSheet::AsymmetricB)));
        form.SetText("BeamWidthAsymm", "10");
        form.SetText("BeamHeightAsymm", "10");
        form.SetText("BeamAsymmWidth", c.shift);
        form.Select("TrayComp", IndexOfEntry(form.Items("TrayComp"), setup.tray));
        form.SetChecked("isOffset", true);
        ASSERT_TRUE(form.Accept(kToday).ok()) << c.shift;
        EXPECT_TRUE(IsNear(beam.MU, c.mu)) << c.shift;

        PhotonBeamForm again(beam);
        again.LoadControls();
        EXPECT_EQ(again.fieldSheet(), FieldSheet::AsymmetricB);
        EXPECT_EQ(again.SelectedEntry("TrayComp"), setup.tray);
        EXPECT_EQ(again.Checked("isOffset"), c.isOffsetShown) << c.shift;
        EXPECT_EQ(again.Text("BeamLeft"), c.left);
        EXPECT_EQ(again.Text("BeamRight"), c.right);
        EXPECT_EQ(again.Text("BeamSSD"), "90");
        const Result<PhotonBeamInput> reread = again.ReadInput();
        ASSERT_TRUE(reread.ok()) << reread.reason();
        TPhotonBeam copy;
        copy.machine = setup.treatment.Machine();
        ASSERT_TRUE(copy.Accept(*reread, kToday).ok()) << c.shift;
        EXPECT_TRUE(IsNear(copy.MU, c.mu)) << c.shift;
    }
}

TEST_F(PhotonBeamTest, RecommendedJawsKeepTheirSheetThroughAnEdit) {
    // Pairs 14..19 open from 2 cm left to 6 cm right: an off-axis opening, so the
    // recommended jaws are asymmetric and the beam is stored with "Asymmetric A".
    MLCLeaves leaves;
    for (std::size_t pair = 14; pair <= 19; ++pair) {
        leaves.R[pair] = 6;
        leaves.L[pair] = 2;
    }
    const MLCField field = MakeMLCField("OFF", 0, leaves);
    PhotonBeamForm form(beam);
    form.SetText("BeamDose", "200");
    form.SetText("BeamDepth", "10");
    form.SetRecommendedJaws(field);
    EXPECT_EQ(form.fieldSheet(), FieldSheet::AsymmetricA);
    ASSERT_TRUE(form.Accept(kToday).ok());
    const double mu = beam.MU;
    PhotonBeamForm again(beam);
    again.LoadControls();
    EXPECT_EQ(again.fieldSheet(), FieldSheet::AsymmetricA);
    EXPECT_EQ(again.Text("BeamLeft"), G(field.geometry.left));
    ASSERT_TRUE(again.Accept(kToday).ok());
    EXPECT_EQ(beam.MU, mu);
}

} // namespace
} // namespace kova
