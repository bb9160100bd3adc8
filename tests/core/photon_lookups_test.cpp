#include "core/dosimetry/photon_lookups.h"
#include "support/near.h"
#include "support/photon_energy.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace kova {
namespace {

using test::AddOffsetFactor;
using test::AddRefField;
using test::IsNear;

TEST(EquivalentSquare, TwoAbOverAPlusBAboveOneCentimetre) {
    struct Case {
        double a, b, expected;
    };
    const Case cases[] = {
        {0.5, 0.5, 0},        // a + b = 1 is not above 1
        {0.6, 0.6, 0.6},      // 2 x 0.36 / 1.2
        {10, 20, 400.0 / 30}, // 2 x 200 / 30 = 13.333...
        {10, 15, 12},         // 2 x 150 / 25
        {30, 30, 30},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(IsNear(EquivalentSquare(c.a, c.b), c.expected)) << c.a << " x " << c.b;
    }
}

struct FieldFactorCase {
    const char* what;
    std::vector<std::vector<double>> fields; // width, height, field factor, in list order
    double width, height;
    double expected;
    bool fromTable;
};

TEST(LookupFieldFactor, ExactFourQuadrantAndFallback) {
    const std::vector<std::vector<double>> square = {
        {10, 10, 1.00}, {20, 10, 1.02}, {10, 20, 1.03}, {20, 20, 1.05}};
    const FieldFactorCase cases[] = {
        {"tabulated field, surrounded",
         {{5, 5, 0.9}, {15, 15, 1.04}, {10, 10, 1.0}, {5, 15, 0.95}, {15, 5, 0.96}},
         10,
         10,
         1.0,
         true},
        // Both 5 away, 10x10 first; widths equal the query so the two lie in different classes
        // and no third exists: fallback at EqSq(10, 15) = 12 between keys 10 and 13.333:
        // 1.00 + (1.06 - 1.00) x (12 - 10) / (13.333 - 10) = 1.036.
        {"partial 10x15", {{10, 10, 1.00}, {10, 20, 1.06}}, 10, 15, 1.036, false},
        // All fields on the same side: the largest field's factor unchanged.
        {"beyond the largest", {{10, 10, 1.0}, {20, 20, 1.05}, {30, 30, 1.08}}, 40, 40, 1.08, true},
        // At (12, 14): q = 4+16 = 20, 64+16 = 80, 4+36 = 40, 64+36 = 100;
        // (1.00/20 + 1.02/80 + 1.03/40 + 1.05/100) / (1/20 + 1/80 + 1/40 + 1/100)
        // = 0.099 / 0.0975 = 1.0153846...
        {"four quadrants", square, 12, 14, 0.099 / 0.0975, false},
        // At (10, 12) the 10-wide fields count on the X >= Width side, so the four lie in four
        // classes: q = 0+4, 0+64, 100+4, 100+64 = 4, 64, 104, 164;
        // (1.00/4 + 1.03/64 + 1.02/104 + 1.05/164) / (1/4 + 1/64 + 1/104 + 1/164) = 1.003433.
        {"on a tabulated width", square, 10, 12,
         (1.00 / 4 + 1.03 / 64 + 1.02 / 104 + 1.05 / 164) /
             (1.0 / 4 + 1.0 / 64 + 1.0 / 104 + 1.0 / 164),
         false},
        // Two fields with the same equivalent square 13.333 beyond a 30x30 query: the
        // earlier one is the nearest.
        {"tie to the earlier", {{10, 20, 1.03}, {20, 10, 1.02}}, 30, 30, 1.03, true},
    };
    for (const FieldFactorCase& c : cases) {
        TgEnergy energy;
        for (const auto& f : c.fields) {
            AddRefField(energy, f[0], f[1], f[2]);
        }
        const Result<TableValue> ff = LookupFieldFactor(energy, c.width, c.height);
        ASSERT_TRUE(ff.ok()) << c.what << ": " << ff.reason();
        EXPECT_TRUE(IsNear(ff->value, c.expected)) << c.what;
        EXPECT_EQ(ff->fromTable, c.fromTable) << c.what;
    }
}

TEST(LookupFieldFactor, FailsWithoutReferenceFields) {
    const TgEnergy energy;
    const Result<TableValue> ff = LookupFieldFactor(energy, 10, 10);
    EXPECT_FALSE(ff.ok());
    EXPECT_FALSE(ff.reason().empty());
}

TEST(LookupPhantomScatter, UsesOnlyFieldsWithTheFactor) {
    TgEnergy energy;
    AddRefField(energy, 10, 10, 1).ScatterPhantomFactor = 5; // no flag: never read
    RefField& small = AddRefField(energy, 5, 5, 1);
    small.isScatterPhantomFactorAvailable = true;
    small.ScatterPhantomFactor = 0.97;
    RefField& large = AddRefField(energy, 20, 20, 1);
    large.isScatterPhantomFactorAvailable = true;
    large.ScatterPhantomFactor = 1.03;
    // EqSq 10 between keys 5 and 20: 0.97 + (1.03 - 0.97) x 5 / 15 = 0.99.
    const Result<TableValue> sp = LookupPhantomScatter(energy, 10, 10);
    ASSERT_TRUE(sp.ok()) << sp.reason();
    EXPECT_TRUE(IsNear(sp->value, 0.99));
    EXPECT_FALSE(sp->fromTable);

    small.isScatterPhantomFactorAvailable = false;
    large.isScatterPhantomFactorAvailable = false;
    EXPECT_FALSE(LookupPhantomScatter(energy, 10, 10).ok());
}

struct DepthDoseCase {
    const char* what;
    double ssd, depth, t, width, height;
    double scdPDD, tmr, ssdPDD, size;
    bool fromTable;
};

TEST(LookupDepthDose, ScalesTheFieldAndConvertsTheDose) {
    // Fixed SSD 100 = SCD, build-up 1.5. Fields 8x8 (0.60 at 10 cm) and 12x12 (0.70 at 10 cm).
    TgEnergy energy;
    energy.SCD = 100;
    energy.Buildup = 1.5;
    AddRefField(energy, 8, 8, 1, {{1.5, 1}, {10, 0.60}, {20, 0.35}});
    AddRefField(energy, 12, 12, 1, {{1.5, 1}, {10, 0.70}, {20, 0.45}});
    // d = 10: tmr = P x ((100 + 10) / (100 + 1.5))^2 = P x 1.1745007;
    // s = 90: ssdPDD = P x ((110 x 91.5) / (101.5 x 100))^2 = P x 0.98332136.
    const double toTmr = (110 / 101.5) * (110 / 101.5);
    const double mayneord90 = (110 * 91.5 / (101.5 * 100)) * (110 * 91.5 / (101.5 * 100));
    const DepthDoseCase cases[] = {
        // k = 1, 12x12 tabulated: P read as it stands; at s = SCD ssdPDD = P.
        {"fixed SSD, tabulated", 100, 10, 10, 12, 12, 0.70, 0.70 * toTmr, 0.70, 12, true},
        // s = 90, d = 10: k = 100/110, 11x11 becomes 10x10, halfway between keys 8 and 12:
        // P = 0.60 + (0.70 - 0.60) x 2 / 4 = 0.65 (0.675 if the field were not scaled).
        {"isocentric, scaled", 90, 10, 10, 11, 11, 0.65, 0.65 * toTmr, 0.65 * mayneord90, 10,
         false},
        // Table read at t = 15 (between 10 and 20 cm), conversions at d = 10:
        // 8x8 0.60 + (0.35 - 0.60) / 2 = 0.475, 12x12 0.575, at 10x10: 0.525.
        {"effective depth", 100, 10, 15, 10, 10, 0.525, 0.525 * toTmr, 0.525, 10, false},
    };
    for (const DepthDoseCase& c : cases) {
        const Result<DepthDoseSet> set =
            LookupDepthDose(energy, c.ssd, c.depth, c.t, c.width, c.height);
        ASSERT_TRUE(set.ok()) << c.what << ": " << set.reason();
        EXPECT_TRUE(IsNear(set->scdPDD, c.scdPDD, {1e-9, 1e-12})) << c.what;
        EXPECT_TRUE(IsNear(set->tmr, c.tmr, {1e-9, 1e-12})) << c.what;
        EXPECT_TRUE(IsNear(set->ssdPDD, c.ssdPDD, {1e-9, 1e-12})) << c.what;
        EXPECT_TRUE(IsNear(set->scdPDDSize, c.size, {1e-9, 1e-12})) << c.what;
        EXPECT_EQ(set->fromTable, c.fromTable) << c.what;
    }
}

TEST(LookupDepthDose, BuildupDepthNeedsNoTable) {
    TgEnergy energy; // no reference field at all
    energy.SCD = 100;
    energy.Buildup = 1.5;
    // s = SCD: every ratio is (101.5 x 101.5) / (101.5 x 101.5) = 1.
    Result<DepthDoseSet> set = LookupDepthDose(energy, 100, 1.5, 1.5, 10, 10);
    ASSERT_TRUE(set.ok()) << set.reason();
    EXPECT_EQ(set->scdPDD, 1);
    EXPECT_TRUE(IsNear(set->tmr, 1));
    EXPECT_TRUE(IsNear(set->ssdPDD, 1));
    EXPECT_TRUE(set->fromTable);
    // s = 90, even with a warped table depth: ssdPDD = ((101.5 x 91.5) / (101.5 x 91.5))^2 = 1;
    // the field 10 x (91.5 / 101.5) = 9.014778 is still reported.
    set = LookupDepthDose(energy, 90, 1.5, 3, 10, 10);
    ASSERT_TRUE(set.ok()) << set.reason();
    EXPECT_TRUE(IsNear(set->ssdPDD, 1));
    EXPECT_TRUE(IsNear(set->tmr, 1));
    EXPECT_TRUE(IsNear(set->scdPDDSize, 10 * 91.5 / 101.5));
}

TEST(LookupDepthDose, FourQuadrantsWeightTheDepthDoses) {
    TgEnergy energy;
    energy.SCD = 100;
    energy.Buildup = 1.5;
    AddRefField(energy, 10, 10, 1, {{1.5, 1}, {10, 0.67}});
    AddRefField(energy, 20, 10, 1, {{1.5, 1}, {10, 0.69}});
    AddRefField(energy, 10, 20, 1, {{1.5, 1}, {10, 0.70}});
    RefField& last = AddRefField(energy, 20, 20, 1, {{1.5, 1}, {10, 0.72}});
    // Weights as for the field factor at (12, 14): 1/20, 1/80, 1/40, 1/100;
    // (0.67/20 + 0.69/80 + 0.70/40 + 0.72/100) / 0.0975 = 0.066825 / 0.0975 = 0.6853846.
    Result<DepthDoseSet> set = LookupDepthDose(energy, 100, 10, 10, 12, 14);
    ASSERT_TRUE(set.ok()) << set.reason();
    EXPECT_TRUE(IsNear(set->scdPDD, 0.066825 / 0.0975));
    EXPECT_FALSE(set->fromTable);
    // One of the four without depth doses: fallback over the other three at
    // EqSq(12, 14) = 12.923; 20x10 and 10x20 share the key 13.333, the earlier (0.69) is
    // taken: 0.67 + (0.69 - 0.67) x (12.923 - 10) / (13.333 - 10) = 0.6875385.
    last.PDDValues.clear();
    set = LookupDepthDose(energy, 100, 10, 10, 12, 14);
    ASSERT_TRUE(set.ok()) << set.reason();
    EXPECT_TRUE(IsNear(set->scdPDD, 0.67 + 0.02 * (336.0 / 26 - 10) / (40.0 / 3 - 10)));
    // Exactly on 20x20, which has none: the nearest field with data by equivalent square
    // (20x10, key 13.333, the earlier of two) below 20, nothing above: 0.69 as tabulated.
    set = LookupDepthDose(energy, 100, 10, 10, 20, 20);
    ASSERT_TRUE(set.ok()) << set.reason();
    EXPECT_TRUE(IsNear(set->scdPDD, 0.69));
    EXPECT_TRUE(set->fromTable);
}

TEST(LookupDepthDose, NeverExtrapolatesBeyondTheTable) {
    TgEnergy energy;
    energy.SCD = 100;
    energy.Buildup = 1.5;
    AddRefField(energy, 10, 10, 1, {{1.5, 1}, {10, 0.67}});
    for (double t : {12.0, 1.0}) { // deeper than 10, shallower than 1.5
        const Result<DepthDoseSet> set = LookupDepthDose(energy, 100, t, t, 10, 10);
        EXPECT_FALSE(set.ok()) << t;
        EXPECT_FALSE(set.reason().empty()) << t;
    }
    AddRefField(energy, 20, 20, 1); // no depth doses: not a candidate
    energy.RefFields.erase(energy.RefFields.begin());
    EXPECT_FALSE(LookupDepthDose(energy, 100, 10, 10, 10, 10).ok());
}

TEST(LookupOffsetFactor, LinearHeldAndTies) {
    TgEnergy energy;
    EXPECT_FALSE(LookupOffsetFactor(energy, 0).ok());
    AddOffsetFactor(energy, 0, 1.000);
    AddOffsetFactor(energy, 5, 0.980);
    AddOffsetFactor(energy, 5, 0.970); // same offset later in the list: never chosen
    struct Case {
        double offset, expected;
    };
    const Case cases[] = {
        {3, 0.988},                             // 1.000 + (0.980 - 1.000) x 3 / 5
        {0, 1.000},     {5, 0.980}, {7, 0.980}, // beyond the table: the largest offset's factor
        {104.9, 0.980}, // 99.9 from the entry at 5: still within the 100 cm radius
    };
    for (const Case& c : cases) {
        const Result<double> of = LookupOffsetFactor(energy, c.offset);
        ASSERT_TRUE(of.ok()) << c.offset;
        EXPECT_TRUE(IsNear(*of, c.expected)) << c.offset;
    }
    // 100 cm from the nearest entry is outside the radius: no entry at all.
    EXPECT_FALSE(LookupOffsetFactor(energy, 105).ok());
}

std::unique_ptr<TgEnergy> Calibrated(double ratio, double halfLife, const std::string& date) {
    auto energy = std::make_unique<TgEnergy>();
    energy->cGyUMRatio = ratio;
    energy->HalfLife = halfLife;
    energy->CalDate = date;
    return energy;
}

TEST(CalibrationMUPerCGy, DecayFromTheCalibrationDate) {
    const Date today{2026, 6, 1};
    struct Case {
        double ratio, halfLife;
        const char* date;
        double expected;
    };
    const Case cases[] = {
        {0.98, 0, "not a date", 1 / 0.98}, // no half-life: the date is not read
        {1.35, 5.27, "01/06/2026", 1 / 1.35},
        // 365 days: 1 / (1.35 x 2^(-1/5.27)) = 1 / (1.35 x 0.8767556) = 0.8448657
        {1.35, 5.27, "01/06/2025", 1 / (1.35 * std::pow(2.0, -1 / 5.27))},
        // 52 years with 13 leap days, 18993 days: under ten half-lives (19235.5 days).
        {1.35, 5.27, "01/06/1974", 1 / (1.35 * std::pow(2.0, -18993 / (5.27 * 365)))},
    };
    for (const Case& c : cases) {
        const Result<double> k =
            CalibrationMUPerCGy(*Calibrated(c.ratio, c.halfLife, c.date), today);
        ASSERT_TRUE(k.ok()) << c.date << ": " << k.reason();
        EXPECT_TRUE(IsNear(*k, c.expected, {1e-9, 1e-12})) << c.date;
    }
}

TEST(CalibrationMUPerCGy, RefusesImpossibleCalibrations) {
    const Date today{2026, 6, 1};
    struct Case {
        double ratio, halfLife;
        const char* date;
    };
    const Case cases[] = {
        {1.35, 5.27, "02/06/2026"}, // tomorrow
        {1.35, 5.27, "31/02/2026"}, // no such day
        {1.35, 5.27, ""},           {0, 0, "01/01/2026"},
        {-1, 0, "01/01/2026"},      {1.35, -5.27, "01/01/2026"},
        {1.35, 5.27, "01/06/1973"}, // 19358 days: decayed over more than ten half-lives
    };
    for (const Case& c : cases) {
        const Result<double> k =
            CalibrationMUPerCGy(*Calibrated(c.ratio, c.halfLife, c.date), today);
        EXPECT_FALSE(k.ok()) << c.ratio << " " << c.halfLife << " " << c.date;
        EXPECT_FALSE(k.reason().empty());
    }
}

} // namespace
} // namespace kova
