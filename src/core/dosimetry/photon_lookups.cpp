#include "core/dosimetry/photon_lookups.h"

#include "core/common/nearest_bracket.h"
#include "core/dosimetry/lookup_traces.h"
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

/// Inverse-square-distance weighting at (x, y) of values[i], the value of four.fields[i]; the
/// weights 1 / q go into `shares` when given, each over their sum.
double WeightFour(const Neighbours& four, double x, double y, const std::array<double, 4>& values,
                  std::array<double, 4>* shares = nullptr) {
    double weighted = 0;
    double weights = 0;
    std::array<double, 4> inverse{};
    for (std::size_t i = 0; i < four.fields.size(); ++i) {
        const RefField& field = *four.fields[i];
        const double q =
            (x - field.Width) * (x - field.Width) + (y - field.Height) * (y - field.Height);
        if (q == 0) {
            return values[i];
        }
        weighted += values[i] / q;
        weights += 1 / q;
        inverse[i] = 1 / q;
    }
    for (std::size_t i = 0; shares != nullptr && i < inverse.size(); ++i) {
        (*shares)[i] = inverse[i] / weights;
    }
    return weighted / weights;
}

/// The four fields of `four` with their values (each traced by `from[i]` when given) and
/// their shares in `trace`.
void TraceFour(Trace* trace, const Neighbours& four, const char* valueName,
               const std::array<double, 4>& values, const std::array<double, 4>& shares,
               std::array<std::vector<Trace>, 4> from = {}) {
    if (trace == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < four.fields.size(); ++i) {
        trace->entries.push_back(
            FieldEntry(*four.fields[i], false, valueName, values[i], std::move(from[i])));
        trace->entries.back().weight = shares[i];
    }
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

/// One-dimensional scheme over fields keyed by equivalent square at x; `valueOf(field, from)`
/// gives a field's value or its failure (and, when `from` is given, how it was read). Beyond
/// the ends the nearest field's value is used. `trace`, when given, gets the fields used
/// (`valueName` their value), the point and the rule.
template <class ValueOf>
Result<TableValue> InterpolateOverFields(const std::vector<const RefField*>& fields, double x,
                                         ValueOf valueOf, Trace* trace = nullptr,
                                         const char* valueName = "") {
    const auto keyOf = [&](std::size_t i) {
        return EquivalentSquare(fields[i]->Width, fields[i]->Height);
    };
    const auto found = FindNearestBracket(fields.size(), keyOf, x, kFieldRadius);
    if (!found) {
        return Result<TableValue>::Fail("no reference field is near the equivalent square " +
                                        Cm(x));
    }
    std::array<std::vector<Trace>, 2> from; // of the nearest and the bracket
    const auto fromOf = [&](std::size_t slot) { return trace != nullptr ? &from[slot] : nullptr; };
    const Result<double> nearest = valueOf(*fields[found->nearest], fromOf(0));
    if (!nearest) {
        return nearest.status();
    }
    Result<double> bracket = *nearest;
    if (found->bracket) {
        bracket = valueOf(*fields[*found->bracket], fromOf(1));
        if (!bracket) {
            return bracket.status();
        }
    }
    if (trace != nullptr) {
        TraceOneDimension(
            *trace, *found, NamedNumber("equivalent square", x, "cm"), [&](std::size_t i) {
                const bool isNearest = i == found->nearest;
                return FieldEntry(*fields[i], true, valueName, isNearest ? *nearest : *bracket,
                                  from[isNearest ? 0 : 1]);
            });
    }
    TableValue read{*nearest, true};
    if (found->bracket) {
        read = {Interpolate(keyOf(*found->bracket), *bracket, keyOf(found->nearest), *nearest, x),
                false};
    }
    if (trace != nullptr) {
        trace->value = read.value;
    }
    return read;
}

/// Depth dose of one reference field at depth t: linear between tabulated depths, never
/// extrapolated. A depth the table does not reach is said in `outside` when given; `from`,
/// when given, gets the trace of the reading.
Result<double> FieldDepthDose(const RefField& field, double t,
                              std::optional<DepthOutsideTable>* outside,
                              std::vector<Trace>* from = nullptr) {
    const auto& values = field.PDDValues;
    const auto depthOf = [&](std::size_t i) { return values[i]->Depth; };
    const auto found = FindNearestBracket(values.size(), depthOf, t, kDepthRadius);
    if (found && (found->exact || found->bracket)) {
        const PDDValue& n = *values[found->nearest];
        double dose = n.PercentDose;
        if (!found->exact) {
            const PDDValue& b = *values[*found->bracket];
            dose = Interpolate(b.Depth, b.PercentDose, n.Depth, n.PercentDose, t);
        }
        if (from != nullptr) {
            Trace trace;
            trace.title = "Depth dose of " + RefFieldText(field);
            trace.table = "depth doses of the reference field " + RefFieldText(field);
            TraceOneDimension(trace, *found, NamedNumber("depth", t, "cm"), [&](std::size_t i) {
                return TraceEntry{Cm(values[i]->Depth),
                                  {NamedNumber("depth", values[i]->Depth, "cm")},
                                  NamedNumber("depth dose", values[i]->PercentDose),
                                  1};
            });
            trace.value = dose;
            from->push_back(std::move(trace));
        }
        return dose;
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
                                RefFieldText(field));
}

/// Depth dose P at table depth t from four fields around (xs, ys), each read at t, weighted by
/// inverse square distance; `trace`, when given, gets the fields with their depth readings.
Result<TableValue> FourFieldDepthDose(const Neighbours& near, double t, double xs, double ys,
                                      std::optional<DepthOutsideTable>* outside, Trace* trace) {
    std::array<std::vector<Trace>, 4> from;
    std::array<double, 4> doses{};
    for (std::size_t i = 0; i < doses.size(); ++i) {
        const Result<double> dose =
            FieldDepthDose(*near.fields[i], t, outside, trace != nullptr ? &from[i] : nullptr);
        if (!dose) {
            return dose.status();
        }
        doses[i] = *dose;
    }
    std::array<double, 4> shares{};
    const double p = WeightFour(near, xs, ys, doses, &shares);
    if (trace != nullptr) {
        trace->rule = TraceRule::FourQuadrant;
        TraceFour(trace, near, "depth dose", doses, shares, std::move(from));
    }
    return TableValue{p, false};
}

/// Depth dose P at table depth t for the field (xs, ys) already scaled to the table's SSD;
/// `trace`, when given, gets the fields used, each with its depth reading.
Result<TableValue> TableDepthDose(const TgEnergy& energy, double t, double xs, double ys,
                                  std::optional<DepthOutsideTable>* outside, Trace* trace) {
    const Neighbours near = SearchNeighbours(energy.RefFields, xs, ys);
    const auto hasData = [](const RefField& field) { return !field.PDDValues.empty(); };
    bool allFourHaveData = near.kind == Neighbours::Kind::Four;
    for (std::size_t i = 0; allFourHaveData && i < near.fields.size(); ++i) {
        allFourHaveData = hasData(*near.fields[i]);
    }
    const std::string table = "depth doses of the reference fields of " + energy.Name;
    if (trace != nullptr) {
        *trace = FieldTrace(table, TraceRule::Exact, xs, ys);
    }
    if (allFourHaveData) {
        return FourFieldDepthDose(near, t, xs, ys, outside, trace);
    }
    if (near.kind == Neighbours::Kind::Exact && hasData(*near.fields[0])) {
        std::vector<Trace> from;
        const Result<double> dose =
            FieldDepthDose(*near.fields[0], t, outside, trace != nullptr ? &from : nullptr);
        if (dose && trace != nullptr) {
            trace->entries = {
                FieldEntry(*near.fields[0], false, "depth dose", *dose, std::move(from))};
        }
        return dose ? Result<TableValue>(TableValue{*dose, true}) : dose.status();
    }
    const std::vector<const RefField*> withData = FieldsWhere(energy, hasData);
    if (withData.empty()) {
        return Result<TableValue>::Fail("no reference field of " + energy.Name +
                                        " has a depth-dose table");
    }
    if (trace != nullptr) {
        trace->fallback = true;
    }
    return InterpolateOverFields(
        withData, EquivalentSquare(xs, ys),
        [t, outside](const RefField& f, std::vector<Trace>* fieldFrom) {
            return FieldDepthDose(f, t, outside, fieldFrom);
        },
        trace, "depth dose");
}

} // namespace

double EquivalentSquare(double a, double b) {
    return a + b > 1 ? 2 * a * b / (a + b) : 0;
}

Result<TableValue> LookupFieldFactor(const TgEnergy& energy, double width, double height,
                                     Trace* trace) {
    const Neighbours near = SearchNeighbours(energy.RefFields, width, height);
    const std::string table = "reference fields of " + energy.Name + ": field factor";
    switch (near.kind) {
    case Neighbours::Kind::None:
        return Result<TableValue>::Fail("the energy " + energy.Name + " has no reference fields");
    case Neighbours::Kind::Exact: {
        const double factor = near.fields[0]->FieldFactor;
        if (trace != nullptr) {
            *trace = FieldTrace(table, TraceRule::Exact, width, height);
            trace->entries = {FieldEntry(*near.fields[0], false, "field factor", factor)};
            trace->value = factor;
        }
        return TableValue{factor, true};
    }
    case Neighbours::Kind::Four: {
        std::array<double, 4> factors{};
        for (std::size_t i = 0; i < factors.size(); ++i) {
            factors[i] = near.fields[i]->FieldFactor;
        }
        std::array<double, 4> shares{};
        const double factor = WeightFour(near, width, height, factors, &shares);
        if (trace != nullptr) {
            *trace = FieldTrace(table, TraceRule::FourQuadrant, width, height);
            TraceFour(trace, near, "field factor", factors, shares);
            trace->value = factor;
        }
        return TableValue{factor, false};
    }
    case Neighbours::Kind::Partial:
        break;
    }
    if (trace != nullptr) {
        *trace = Trace{};
        trace->table = table;
        trace->fallback = true;
    }
    const std::vector<const RefField*> all =
        FieldsWhere(energy, [](const RefField&) { return true; });
    return InterpolateOverFields(
        all, EquivalentSquare(width, height),
        [](const RefField& f, std::vector<Trace>*) -> Result<double> { return f.FieldFactor; },
        trace, "field factor");
}

Result<TableValue> LookupPhantomScatter(const TgEnergy& energy, double width, double height,
                                        Trace* trace) {
    const std::vector<const RefField*> withScatter =
        FieldsWhere(energy, [](const RefField& f) { return f.isScatterPhantomFactorAvailable; });
    if (withScatter.empty()) {
        return Result<TableValue>::Fail("no reference field of " + energy.Name +
                                        " has a phantom scatter factor");
    }
    if (trace != nullptr) {
        *trace = Trace{};
        trace->table = "reference fields of " + energy.Name + ": phantom scatter factor";
    }
    return InterpolateOverFields(
        withScatter, EquivalentSquare(width, height),
        [](const RefField& f, std::vector<Trace>*) -> Result<double> {
            return f.ScatterPhantomFactor;
        },
        trace, "phantom scatter");
}

Result<DepthDoseSet> LookupDepthDose(const TgEnergy& energy, double ssd, double depth,
                                     double effectiveDepth, double width, double height,
                                     std::optional<DepthOutsideTable>* outside,
                                     DepthDoseTraces* traces) {
    const double c = energy.SCD;
    const double b = energy.Buildup;
    // The tables are measured at SSD = SCD with the field defined at the surface; this is
    // the table field that has the beam's size at depth.
    const double k = (ssd + depth) / (c + depth);
    const double xs = k * width;
    const double ys = k * height;
    TableValue p{1.0, true};
    Trace pTrace;
    if (depth != b) {
        const Result<TableValue> table = TableDepthDose(energy, effectiveDepth, xs, ys, outside,
                                                        traces != nullptr ? &pTrace : nullptr);
        if (!table) {
            return table.status();
        }
        p = *table;
    } else {
        pTrace.rule = TraceRule::BuildUp;
        pTrace.point = {NamedNumber("width", xs, "cm"), NamedNumber("height", ys, "cm")};
    }
    DepthDoseSet set;
    set.scdPDD = p.value;
    set.fromTable = p.fromTable;
    const double toTmr = (c + depth) / (c + b);
    set.tmr = p.value * toTmr * toTmr;
    const double mayneord = (c + depth) * (ssd + b) / ((c + b) * (ssd + depth));
    set.ssdPDD = p.value * mayneord * mayneord;
    set.scdPDDSize = EquivalentSquare(xs, ys);
    if (traces != nullptr) {
        AttachFieldScaling(pTrace, ssd, depth, c, width, height, xs, ys);
        if (pTrace.rule == TraceRule::BuildUp) {
            pTrace.point.push_back(NamedNumber("depth", depth, "cm"));
            pTrace.point.push_back(NamedNumber("build-up depth", b, "cm"));
        }
        TraceDepthDose(*traces, std::move(pTrace), set,
                       {NamedNumber("SCD", c, "cm"), NamedNumber("SSD", ssd, "cm"),
                        NamedNumber("d", depth, "cm"), NamedNumber("b", b, "cm")});
    }
    return set;
}

Result<double> LookupOffsetFactor(const TgEnergy& energy, double offset, Trace* trace) {
    const auto& values = energy.OffsetFactors;
    const auto offsetOf = [&](std::size_t i) { return values[i]->CenterFieldOffset; };
    const auto found = FindNearestBracket(values.size(), offsetOf, offset, kOffsetRadius);
    if (!found) {
        return Result<double>::Fail(values.empty()
                                        ? "the energy " + energy.Name + " has no offset factors"
                                        : "no offset factor is tabulated near " + Cm(offset));
    }
    const OFValue& n = *values[found->nearest];
    double factor = n.OF;
    if (found->bracket) {
        const OFValue& b = *values[*found->bracket];
        factor = Interpolate(b.CenterFieldOffset, b.OF, n.CenterFieldOffset, n.OF, offset);
    }
    if (trace != nullptr) {
        trace->table = "offset factors of " + energy.Name;
        TraceOneDimension(*trace, *found, NamedNumber("offset", offset, "cm"), [&](std::size_t i) {
            return TraceEntry{Cm(values[i]->CenterFieldOffset),
                              {NamedNumber("offset", values[i]->CenterFieldOffset, "cm")},
                              NamedNumber("offset factor", values[i]->OF),
                              1};
        });
        trace->value = factor;
    }
    return factor;
}

Result<double> CalibrationMUPerCGy(const TgEnergy& energy, const Date& today, Trace* trace) {
    if (!(energy.cGyUMRatio > 0)) {
        return Result<double>::Fail("the calibration factor of " + energy.Name + " is " +
                                    FigureText(energy.cGyUMRatio, "cGy/MU") +
                                    "; it must be above 0");
    }
    const TraceNumber k =
        NamedNumber("k (calibration factor of " + energy.Name + ")", energy.cGyUMRatio, "cGy/MU");
    if (energy.HalfLife == 0) {
        const double muPerCGy = 1 / energy.cGyUMRatio;
        if (trace != nullptr) {
            *trace = FormulaTrace(TraceFormula::Reciprocal, {k}, muPerCGy);
        }
        return muPerCGy;
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
    const double muPerCGy = 1 / (energy.cGyUMRatio * std::exp(-lambda * static_cast<double>(days)));
    if (trace != nullptr) {
        *trace = FormulaTrace(
            TraceFormula::Decay,
            {k, NamedNumber("T (half-life)", energy.HalfLife, "years"),
             NamedNumber("days since " + energy.CalDate + " to " + FormatShortDate(today),
                         static_cast<double>(days))},
            muPerCGy);
    }
    return muPerCGy;
}

} // namespace kova
