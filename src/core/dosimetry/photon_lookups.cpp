#include "core/dosimetry/photon_lookups.h"

#include "core/common/nearest_bracket.h"
#include "core/text/number_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace kova {
namespace {

/// Search radii: field sizes are compared within 1000 cm, depths and offsets within 100 cm.
constexpr double kFieldRadius = 1000;
constexpr double kDepthRadius = 100;
constexpr double kOffsetRadius = 100;

std::string Cm(double value) {
    return FigureText(value, "cm");
}

std::string FieldText(const RefField& field) {
    return FigureText(field.Width) + " cm x " + FigureText(field.Height, "cm");
}

/// What the four-quadrant search around a point found.
struct Neighbours {
    enum class Kind { None, Exact, Partial, Four };
    Kind kind = Kind::None;
    std::array<const RefField*, 4> fields{};
};

/// Quadrant of a reference field seen from (x, y); a field whose width equals x lies on the
/// "x >= width" side, and likewise for the height.
int QuadrantOf(const RefField& field, double x, double y) {
    return (x < field.Width ? 0 : 2) + (y < field.Height ? 0 : 1);
}

Neighbours SearchNeighbours(const EntryList<RefField>& fields, double x, double y) {
    const auto distance = [x, y](const RefField& f) {
        return std::sqrt((x - f.Width) * (x - f.Width) + (y - f.Height) * (y - f.Height));
    };
    std::vector<int> taken; // quadrants of the neighbours found so far
    const auto nearestInNewQuadrant = [&]() -> const RefField* {
        const RefField* nearest = nullptr;
        double best = kFieldRadius;
        for (const auto& field : fields) {
            const int quadrant = QuadrantOf(*field, x, y);
            bool isNew = true;
            for (int t : taken) {
                isNew = isNew && t != quadrant;
            }
            if (isNew && distance(*field) < best) {
                best = distance(*field);
                nearest = field.get();
            }
        }
        return nearest;
    };
    Neighbours found;
    for (std::size_t i = 0; i < found.fields.size(); ++i) {
        const RefField* next = nearestInNewQuadrant();
        if (next == nullptr) {
            found.kind = i == 0 ? Neighbours::Kind::None : Neighbours::Kind::Partial;
            return found;
        }
        found.fields[i] = next;
        if (i == 0 && distance(*next) == 0) {
            found.kind = Neighbours::Kind::Exact;
            return found;
        }
        taken.push_back(QuadrantOf(*next, x, y));
    }
    found.kind = Neighbours::Kind::Four;
    return found;
}

/// Inverse-square-distance weighting at (x, y) of values[i], the value of four.fields[i].
double WeightFour(const Neighbours& four, double x, double y, const std::array<double, 4>& values) {
    double weighted = 0;
    double weights = 0;
    for (std::size_t i = 0; i < four.fields.size(); ++i) {
        const RefField& field = *four.fields[i];
        const double q =
            (x - field.Width) * (x - field.Width) + (y - field.Height) * (y - field.Height);
        if (q == 0) {
            return values[i];
        }
        weighted += values[i] / q;
        weights += 1 / q;
    }
    return weighted / weights;
}

/// The reference fields that pass `keep`, in list order.
template <class Keep>
std::vector<const RefField*> FieldsWhere(const TgEnergy& energy, Keep keep) {
    std::vector<const RefField*> kept;
    for (const auto& field : energy.RefFields) {
        if (keep(*field)) {
            kept.push_back(field.get());
        }
    }
    return kept;
}

/// One-dimensional scheme over fields keyed by equivalent square at x; `valueOf` gives a
/// field's value or its failure. Beyond the ends the nearest field's value is used.
template <class ValueOf>
Result<TableValue> InterpolateOverFields(const std::vector<const RefField*>& fields, double x,
                                         ValueOf valueOf) {
    const auto keyOf = [&](std::size_t i) {
        return EquivalentSquare(fields[i]->Width, fields[i]->Height);
    };
    const auto found = FindNearestBracket(fields.size(), keyOf, x, kFieldRadius);
    if (!found) {
        return Result<TableValue>::Fail("no reference field is near the equivalent square " +
                                        Cm(x));
    }
    const Result<double> nearest = valueOf(*fields[found->nearest]);
    if (!nearest) {
        return nearest.status();
    }
    if (!found->bracket) {
        return TableValue{*nearest, true};
    }
    const Result<double> bracket = valueOf(*fields[*found->bracket]);
    if (!bracket) {
        return bracket.status();
    }
    return TableValue{
        Interpolate(keyOf(*found->bracket), *bracket, keyOf(found->nearest), *nearest, x), false};
}

/// Depth dose of one reference field at depth t: linear between tabulated depths, never
/// extrapolated. A depth the table does not reach is said in `outside` when given.
Result<double> FieldDepthDose(const RefField& field, double t,
                              std::optional<DepthOutsideTable>* outside) {
    const auto& values = field.PDDValues;
    const auto depthOf = [&](std::size_t i) { return values[i]->Depth; };
    const auto found = FindNearestBracket(values.size(), depthOf, t, kDepthRadius);
    if (found && (found->exact || found->bracket)) {
        const PDDValue& n = *values[found->nearest];
        if (found->exact) {
            return n.PercentDose;
        }
        const PDDValue& b = *values[*found->bracket];
        return Interpolate(b.Depth, b.PercentDose, n.Depth, n.PercentDose, t);
    }
    if (outside != nullptr && !values.empty()) {
        const auto [lowest, deepest] =
            std::minmax_element(values.begin(), values.end(),
                                [](const auto& a, const auto& b) { return a->Depth < b->Depth; });
        *outside =
            DepthOutsideTable{(*lowest)->Depth, (*deepest)->Depth, field.Width, field.Height};
    }
    return Result<double>::Fail("the depth " + Cm(t) +
                                " is outside the depth-dose table of the reference field " +
                                FieldText(field));
}

/// Depth dose P at table depth t for the field (xs, ys) already scaled to the table's SSD.
Result<TableValue> TableDepthDose(const TgEnergy& energy, double t, double xs, double ys,
                                  std::optional<DepthOutsideTable>* outside) {
    const Neighbours near = SearchNeighbours(energy.RefFields, xs, ys);
    const auto hasData = [](const RefField& field) { return !field.PDDValues.empty(); };
    bool allFourHaveData = near.kind == Neighbours::Kind::Four;
    for (std::size_t i = 0; allFourHaveData && i < near.fields.size(); ++i) {
        allFourHaveData = hasData(*near.fields[i]);
    }
    if (allFourHaveData) {
        std::array<double, 4> doses{};
        for (std::size_t i = 0; i < doses.size(); ++i) {
            const Result<double> dose = FieldDepthDose(*near.fields[i], t, outside);
            if (!dose) {
                return dose.status();
            }
            doses[i] = *dose;
        }
        return TableValue{WeightFour(near, xs, ys, doses), false};
    }
    if (near.kind == Neighbours::Kind::Exact && hasData(*near.fields[0])) {
        const Result<double> dose = FieldDepthDose(*near.fields[0], t, outside);
        return dose ? Result<TableValue>(TableValue{*dose, true}) : dose.status();
    }
    const std::vector<const RefField*> withData = FieldsWhere(energy, hasData);
    if (withData.empty()) {
        return Result<TableValue>::Fail("no reference field of " + energy.Name +
                                        " has a depth-dose table");
    }
    return InterpolateOverFields(
        withData, EquivalentSquare(xs, ys),
        [t, outside](const RefField& f) { return FieldDepthDose(f, t, outside); });
}

} // namespace

double EquivalentSquare(double a, double b) {
    return a + b > 1 ? 2 * a * b / (a + b) : 0;
}

Result<TableValue> LookupFieldFactor(const TgEnergy& energy, double width, double height) {
    const Neighbours near = SearchNeighbours(energy.RefFields, width, height);
    switch (near.kind) {
    case Neighbours::Kind::None:
        return Result<TableValue>::Fail("the energy " + energy.Name + " has no reference fields");
    case Neighbours::Kind::Exact:
        return TableValue{near.fields[0]->FieldFactor, true};
    case Neighbours::Kind::Four: {
        std::array<double, 4> factors{};
        for (std::size_t i = 0; i < factors.size(); ++i) {
            factors[i] = near.fields[i]->FieldFactor;
        }
        return TableValue{WeightFour(near, width, height, factors), false};
    }
    case Neighbours::Kind::Partial:
        break;
    }
    const std::vector<const RefField*> all =
        FieldsWhere(energy, [](const RefField&) { return true; });
    return InterpolateOverFields(all, EquivalentSquare(width, height),
                                 [](const RefField& f) -> Result<double> { return f.FieldFactor; });
}

Result<TableValue> LookupPhantomScatter(const TgEnergy& energy, double width, double height) {
    const std::vector<const RefField*> withScatter =
        FieldsWhere(energy, [](const RefField& f) { return f.isScatterPhantomFactorAvailable; });
    if (withScatter.empty()) {
        return Result<TableValue>::Fail("no reference field of " + energy.Name +
                                        " has a phantom scatter factor");
    }
    return InterpolateOverFields(
        withScatter, EquivalentSquare(width, height),
        [](const RefField& f) -> Result<double> { return f.ScatterPhantomFactor; });
}

Result<DepthDoseSet> LookupDepthDose(const TgEnergy& energy, double ssd, double depth,
                                     double effectiveDepth, double width, double height,
                                     std::optional<DepthOutsideTable>* outside) {
    const double c = energy.SCD;
    const double b = energy.Buildup;
    // The tables are measured at SSD = SCD with the field defined at the surface; this is
    // the table field that has the beam's size at depth.
    const double k = (ssd + depth) / (c + depth);
    const double xs = k * width;
    const double ys = k * height;
    TableValue p{1.0, true};
    if (depth != b) {
        const Result<TableValue> table = TableDepthDose(energy, effectiveDepth, xs, ys, outside);
        if (!table) {
            return table.status();
        }
        p = *table;
    }
    DepthDoseSet set;
    set.scdPDD = p.value;
    set.fromTable = p.fromTable;
    const double toTmr = (c + depth) / (c + b);
    set.tmr = p.value * toTmr * toTmr;
    const double mayneord = (c + depth) * (ssd + b) / ((c + b) * (ssd + depth));
    set.ssdPDD = p.value * mayneord * mayneord;
    set.scdPDDSize = EquivalentSquare(xs, ys);
    return set;
}

Result<double> LookupOffsetFactor(const TgEnergy& energy, double offset) {
    const auto& values = energy.OffsetFactors;
    const auto offsetOf = [&](std::size_t i) { return values[i]->CenterFieldOffset; };
    const auto found = FindNearestBracket(values.size(), offsetOf, offset, kOffsetRadius);
    if (!found) {
        return Result<double>::Fail(values.empty()
                                        ? "the energy " + energy.Name + " has no offset factors"
                                        : "no offset factor is tabulated near " + Cm(offset));
    }
    const OFValue& n = *values[found->nearest];
    if (!found->bracket) {
        return n.OF;
    }
    const OFValue& b = *values[*found->bracket];
    return Interpolate(b.CenterFieldOffset, b.OF, n.CenterFieldOffset, n.OF, offset);
}

Result<double> CalibrationMUPerCGy(const TgEnergy& energy, const Date& today) {
    if (!(energy.cGyUMRatio > 0)) {
        return Result<double>::Fail("the calibration factor of " + energy.Name + " is " +
                                    FigureText(energy.cGyUMRatio, "cGy/MU") +
                                    "; it must be above 0");
    }
    if (energy.HalfLife == 0) {
        return 1 / energy.cGyUMRatio;
    }
    if (!(energy.HalfLife > 0)) {
        return Result<double>::Fail("the half-life of " + energy.Name + " is negative");
    }
    const Result<Date> calibrated = ParseShortDate(energy.CalDate);
    if (!calibrated) {
        return Result<double>::Fail("the calibration date of " + energy.Name + ": " +
                                    calibrated.reason());
    }
    const long days = DaysBetween(*calibrated, today);
    if (days < 0) {
        return Result<double>::Fail("the calibration date " + energy.CalDate + " of " +
                                    energy.Name + " is after today " + FormatShortDate(today));
    }
    // Beyond ten half-lives (under 0.1 % of the calibrated output) the source is no longer in
    // use: such a day is a wrong date or calibration, and the MU would be thousands of times
    // the planned ones.
    constexpr double kMaxHalfLives = 10;
    if (static_cast<double>(days) > kMaxHalfLives * energy.HalfLife * 365) {
        return Result<double>::Fail("the source of " + energy.Name + " has decayed for more than " +
                                    "ten half-lives since its calibration on " + energy.CalDate +
                                    ": it must be calibrated again");
    }
    const double lambda = std::log(2.0) / (energy.HalfLife * 365);
    return 1 / (energy.cGyUMRatio * std::exp(-lambda * static_cast<double>(days)));
}

} // namespace kova
