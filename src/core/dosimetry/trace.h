#pragma once

// Where a factor comes from: the table entries a lookup used, with their keys, values and
// shares, the rule that applied and the formula of any conversion with its numbers. A
// lookup fills a trace on the very code path that computes its value; Reevaluate works the
// value out again from the trace alone, so that a trace can never tell a different story.

#include "core/common/nearest_bracket.h"

#include <memory>
#include <string>
#include <vector>

namespace kova {

struct Trace;

/// A named number of a trace: a key of a table entry, a point a table was read at, an
/// operand of a formula. `from` holds at most one trace: how the number was worked out.
struct TraceNumber {
    std::string name;
    double value = 0;
    std::string unit;
    std::vector<Trace> from;
};

/// One table entry a lookup used.
struct TraceEntry {
    std::string label;             ///< what the table calls it: "10 cm x 10 cm", "W30"
    std::vector<TraceNumber> keys; ///< keys[0] is the axis of a linear reading
    TraceNumber value;             ///< with `from` when the entry's value was itself read
    double weight = 1;             ///< its share in the result (the shares add up to 1)
};

/// How a traced value was obtained.
enum class TraceRule {
    Entry,        ///< the factor of the chosen entry (tray, shield, applicator...)
    Exact,        ///< a table entry exactly at the point read
    EndClamp,     ///< beyond the table's end: the nearest entry's value held
    Linear,       ///< linear between the two entries around the point
    FourQuadrant, ///< inverse-square-distance weighting of the nearest field in each quadrant
    BuildUp,      ///< at the build-up depth: 1 without any table
    NotApplied,   ///< a factor left out: 1
    Formula,      ///< a conversion of other numbers
};

/// The conversions a trace can show; each takes its operands in the order given.
enum class TraceFormula {
    None,
    FieldAtDepth,      ///< ((SSD + d) / (SCD + d)) x side
    EquivalentSquare,  ///< 2ab / (a + b), 0 when a + b <= 1
    Tmr,               ///< P x ((SCD + d) / (SCD + b))^2: P, SCD, d, b
    SsdPdd,            ///< P x ((SCD + d)(SSD + b) / ((SCD + b)(SSD + d)))^2: P, SCD, SSD, d, b
    InverseSquare,     ///< ((SCD + b) / (SSD + b))^2: SCD, SSD, b
    Decay,             ///< 1 / (k x e^(-ln2 x days / (T x 365))): k, T, days
    Reciprocal,        ///< 1 / x
    EffectiveDepth,    ///< b + (d - b) x warp: d, b, warp
    LungShield,        ///< TMR lung / (TMR water x target): lung, water, target
    LungThickness,     ///< ln(factor) / mu: factor, mu
    HalfSum,           ///< a x 0.5 + b
    DensityHalfSum,    ///< a x (CT x 0.001 + 1) x 0.5 + b: a, CT, b
    CollimatorScatter, ///< field factor / phantom scatter factor
};

/// The trace of one value.
struct Trace {
    std::string factor; ///< the value's name among the beam's factors ("fieldFactor")
    std::string title;  ///< as the result lines name it ("Field Factor")
    std::string table;  ///< the table read; empty for a formula or a chosen entry
    TraceRule rule = TraceRule::Exact;
    bool fallback = false; ///< one-dimensional over equivalent squares: the four-quadrant
                           ///< search did not find a field in every quadrant with data
    std::vector<TraceNumber> point;
    std::vector<TraceEntry> entries;
    TraceFormula formula = TraceFormula::None;
    std::vector<TraceNumber> operands;
    double value = 0; ///< the value as computed
};

/// The traces of a beam, each once, shared by the result lines that show them.
using TraceList = std::vector<std::shared_ptr<const Trace>>;

/// Adds `trace` under the name `factor` and the title `title`.
void AddTrace(TraceList& traces, Trace trace, std::string factor, std::string title);

/// The trace named `factor`, or none.
std::shared_ptr<const Trace> FindTrace(const TraceList& traces, const std::string& factor);

/// The value worked out again from the trace alone: entries, shares and formulas, every
/// number with a `from` replaced by its own re-evaluation.
double Reevaluate(const Trace& trace);

/// The number a formula gives for its operands.
double EvaluateFormula(TraceFormula formula, const std::vector<double>& operands);

/// How the formula is written ("TMR = P x ((SCD + d) / (SCD + b))^2").
const char* FormulaText(TraceFormula formula);

/// A formula trace with its operands; `value` is the value the calculation got.
Trace FormulaTrace(TraceFormula formula, std::vector<TraceNumber> operands, double value);

/// A trace of a value taken as it is: a chosen entry's factor, a factor left out (1).
Trace EntryTrace(TraceRule rule, const std::string& table, const std::string& label,
                 const std::string& key, double value);

/// A number as it stands, without a trace of its own.
TraceNumber NamedNumber(std::string name, double value, std::string unit = {});

/// A number with the trace that worked it out.
TraceNumber TracedNumber(std::string name, std::string unit, Trace from);

/// Fills `trace` for a one-dimensional reading at `at` (its value the point x) of what
/// FindNearestBracket `found`: the exact entry, the nearest entry held beyond the table's end,
/// or the two entries of a linear reading (bracket first, as Interpolate takes them) with
/// their shares. `entryOf(i)` gives entry i with its axis key first.
template <class EntryOf>
void TraceOneDimension(Trace& trace, const NearestBracket& found, TraceNumber at, EntryOf entryOf) {
    const double x = at.value;
    trace.point = {std::move(at)};
    trace.entries.clear();
    if (!found.bracket) {
        trace.rule = found.exact ? TraceRule::Exact : TraceRule::EndClamp;
        trace.entries.push_back(entryOf(found.nearest));
        return;
    }
    trace.rule = TraceRule::Linear;
    TraceEntry b = entryOf(*found.bracket);
    TraceEntry n = entryOf(found.nearest);
    const double share = (x - b.keys.at(0).value) / (n.keys.at(0).value - b.keys.at(0).value);
    b.weight = 1 - share;
    n.weight = share;
    trace.entries = {std::move(b), std::move(n)};
}

/// The trace as plain text, two spaces of indent per level, numbers in their general form.
std::vector<std::string> ExplainLines(const Trace& trace);

/// ExplainLines joined with line breaks.
std::string ExplainText(const Trace& trace);

/// The rule in words ("linear between two entries").
const char* RuleText(TraceRule rule);

} // namespace kova
