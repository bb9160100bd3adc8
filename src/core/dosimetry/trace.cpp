#include "core/dosimetry/trace.h"

#include "core/common/nearest_bracket.h"
#include "core/text/number_text.h"

#include <cmath>
#include <limits>

namespace kova {
namespace {

double NumberOf(const TraceNumber& number) {
    return number.from.empty() ? number.value : Reevaluate(number.from.front());
}

double FourQuadrant(const Trace& trace) {
    const double x = NumberOf(trace.point.at(0));
    const double y = NumberOf(trace.point.at(1));
    double weighted = 0;
    double weights = 0;
    for (const TraceEntry& entry : trace.entries) {
        const double w = NumberOf(entry.keys.at(0));
        const double h = NumberOf(entry.keys.at(1));
        const double q = (x - w) * (x - w) + (y - h) * (y - h);
        if (q == 0) {
            return NumberOf(entry.value);
        }
        weighted += NumberOf(entry.value) / q;
        weights += 1 / q;
    }
    return weighted / weights;
}

std::string Indent(int level) {
    return std::string(static_cast<std::size_t>(2 * level), ' ');
}

std::string NumberText(const TraceNumber& number) {
    return number.name + " = " + FigureText(number.value, number.unit);
}

void AddLines(const Trace& trace, int level, std::vector<std::string>& lines);

/// A number, and under it how it was worked out.
void AddNumber(const TraceNumber& number, int level, std::vector<std::string>& lines) {
    lines.push_back(Indent(level) + NumberText(number));
    for (const Trace& from : number.from) {
        AddLines(from, level + 1, lines);
    }
}

void AddEntries(const Trace& trace, int level, std::vector<std::string>& lines) {
    const bool shares = trace.rule == TraceRule::Linear || trace.rule == TraceRule::FourQuadrant;
    for (const TraceEntry& entry : trace.entries) {
        std::string keys;
        for (const TraceNumber& key : entry.keys) {
            keys += (keys.empty() ? "" : ", ") + NumberText(key);
        }
        std::string line = Indent(level) + entry.label;
        line += keys.empty() ? "" : " (" + keys + ")";
        line += ": " + NumberText(entry.value);
        line += shares ? ", weight " + FormatFloat("0.000000", entry.weight) : "";
        lines.push_back(line);
        for (const Trace& from : entry.value.from) {
            AddLines(from, level + 1, lines);
        }
    }
}

void AddLines(const Trace& trace, int level, std::vector<std::string>& lines) {
    lines.push_back(Indent(level) + trace.title + " = " + FormatGeneral(trace.value) + " (" +
                    RuleText(trace.rule) + ")");
    if (!trace.table.empty()) {
        lines.push_back(Indent(level + 1) + "Table: " + trace.table);
    }
    if (trace.fallback) {
        lines.push_back(Indent(level + 1) +
                        "No field with data in every quadrant around the field: read on the "
                        "equivalent squares of the fields");
    }
    if (!trace.point.empty()) {
        lines.push_back(Indent(level + 1) + "Read at:");
        for (const TraceNumber& number : trace.point) {
            AddNumber(number, level + 2, lines);
        }
    }
    if (!trace.entries.empty()) {
        lines.push_back(Indent(level + 1) + "Entries:");
        AddEntries(trace, level + 2, lines);
    }
    if (trace.formula != TraceFormula::None) {
        lines.push_back(Indent(level + 1) + "Formula: " + FormulaText(trace.formula));
        for (const TraceNumber& number : trace.operands) {
            AddNumber(number, level + 2, lines);
        }
    }
}

} // namespace

void AddTrace(TraceList& traces, Trace trace, std::string factor, std::string title) {
    trace.factor = std::move(factor);
    trace.title = std::move(title);
    traces.push_back(std::make_shared<const Trace>(std::move(trace)));
}

std::shared_ptr<const Trace> FindTrace(const TraceList& traces, const std::string& factor) {
    for (const auto& trace : traces) {
        if (trace->factor == factor) {
            return trace;
        }
    }
    return nullptr;
}

double Reevaluate(const Trace& trace) {
    switch (trace.rule) {
    case TraceRule::Entry:
    case TraceRule::Exact:
    case TraceRule::EndClamp:
        return trace.entries.empty() ? std::numeric_limits<double>::quiet_NaN()
                                     : NumberOf(trace.entries.front().value);
    case TraceRule::BuildUp:
    case TraceRule::NotApplied:
        return 1.0;
    case TraceRule::Linear: {
        const TraceEntry& b = trace.entries.at(0);
        const TraceEntry& n = trace.entries.at(1);
        return Interpolate(NumberOf(b.keys.at(0)), NumberOf(b.value), NumberOf(n.keys.at(0)),
                           NumberOf(n.value), NumberOf(trace.point.at(0)));
    }
    case TraceRule::FourQuadrant:
        return FourQuadrant(trace);
    case TraceRule::Formula: {
        std::vector<double> operands;
        for (const TraceNumber& number : trace.operands) {
            operands.push_back(NumberOf(number));
        }
        return EvaluateFormula(trace.formula, operands);
    }
    }
    return std::numeric_limits<double>::quiet_NaN();
}

double EvaluateFormula(TraceFormula formula, const std::vector<double>& v) {
    const auto at = [&v](std::size_t i) { return v.at(i); };
    switch (formula) {
    case TraceFormula::None:
        break;
    case TraceFormula::FieldAtDepth:
        return ((at(0) + at(1)) / (at(2) + at(1))) * at(3);
    case TraceFormula::EquivalentSquare:
        return at(0) + at(1) > 1 ? 2 * at(0) * at(1) / (at(0) + at(1)) : 0;
    case TraceFormula::Tmr: {
        const double toTmr = (at(1) + at(2)) / (at(1) + at(3));
        return at(0) * toTmr * toTmr;
    }
    case TraceFormula::SsdPdd: {
        const double m = (at(1) + at(3)) * (at(2) + at(4)) / ((at(1) + at(4)) * (at(2) + at(3)));
        return at(0) * m * m;
    }
    case TraceFormula::InverseSquare:
        return ((at(0) + at(2)) / (at(1) + at(2))) * ((at(0) + at(2)) / (at(1) + at(2)));
    case TraceFormula::Decay: {
        const double lambda = std::log(2.0) / (at(1) * 365);
        return 1 / (at(0) * std::exp(-lambda * at(2)));
    }
    case TraceFormula::Reciprocal:
        return 1 / at(0);
    case TraceFormula::EffectiveDepth:
        return at(0) > at(1) ? at(1) + (at(0) - at(1)) * at(2) : at(0);
    case TraceFormula::LungShield:
        return at(0) / (at(1) * at(2));
    case TraceFormula::LungThickness:
        return std::log(at(0)) / at(1);
    case TraceFormula::HalfSum:
        return at(0) * 0.5 + at(1);
    case TraceFormula::DensityHalfSum:
        return at(0) * (at(1) * 0.001 + 1) * 0.5 + at(2);
    case TraceFormula::CollimatorScatter:
        return at(0) / at(1);
    }
    return std::numeric_limits<double>::quiet_NaN();
}

const char* FormulaText(TraceFormula formula) {
    switch (formula) {
    case TraceFormula::None:
        return "";
    case TraceFormula::FieldAtDepth:
        return "side at SSD = SCD = ((SSD + d) / (SCD + d)) x side";
    case TraceFormula::EquivalentSquare:
        return "equivalent square = 2ab / (a + b)";
    case TraceFormula::Tmr:
        return "TMR = P x ((SCD + d) / (SCD + b))^2";
    case TraceFormula::SsdPdd:
        return "SSD PDD = P x ((SCD + d) x (SSD + b) / ((SCD + b) x (SSD + d)))^2";
    case TraceFormula::InverseSquare:
        return "Scale Factor = ((SCD + b) / (SSD + b))^2";
    case TraceFormula::Decay:
        return "MU per cGy = 1 / (k x e^(-ln2 x days / (T x 365)))";
    case TraceFormula::Reciprocal:
        return "1 / x";
    case TraceFormula::EffectiveDepth:
        return "effective depth = b + (d - b) x warp below the build-up depth b, d above it";
    case TraceFormula::LungShield:
        return "Shield Factor = TMR lung / (TMR water x target)";
    case TraceFormula::LungThickness:
        return "thickness = ln(Shield Factor) / mu";
    case TraceFormula::HalfSum:
        return "depth = a x 0.5 + b";
    case TraceFormula::DensityHalfSum:
        return "depth = a x (CT x 0.001 + 1) x 0.5 + b";
    case TraceFormula::CollimatorScatter:
        return "Collimators Scatter Factor = Field Factor / Phantom Scatter Factor";
    }
    return "";
}

const char* RuleText(TraceRule rule) {
    switch (rule) {
    case TraceRule::Entry:
        return "the chosen entry";
    case TraceRule::Exact:
        return "exact table entry";
    case TraceRule::EndClamp:
        return "beyond the table's end: the nearest entry held";
    case TraceRule::Linear:
        return "linear between two entries";
    case TraceRule::FourQuadrant:
        return "four-quadrant inverse-square-distance weighting";
    case TraceRule::BuildUp:
        return "at the build-up depth: 1 without any table";
    case TraceRule::NotApplied:
        return "not applied: 1";
    case TraceRule::Formula:
        return "formula";
    }
    return "";
}

Trace FormulaTrace(TraceFormula formula, std::vector<TraceNumber> operands, double value) {
    Trace trace;
    trace.rule = TraceRule::Formula;
    trace.formula = formula;
    trace.operands = std::move(operands);
    trace.value = value;
    return trace;
}

Trace EntryTrace(TraceRule rule, const std::string& table, const std::string& label,
                 const std::string& key, double value) {
    Trace trace;
    trace.rule = rule;
    trace.table = table;
    trace.value = value;
    if (rule != TraceRule::NotApplied) {
        trace.entries.push_back({label, {}, {key, value, {}, {}}, 1});
    }
    return trace;
}

TraceNumber NamedNumber(std::string name, double value, std::string unit) {
    return {std::move(name), value, std::move(unit), {}};
}

TraceNumber TracedNumber(std::string name, std::string unit, Trace from) {
    TraceNumber number{std::move(name), from.value, std::move(unit), {}};
    number.from.push_back(std::move(from));
    return number;
}

std::vector<std::string> ExplainLines(const Trace& trace) {
    std::vector<std::string> lines;
    AddLines(trace, 0, lines);
    return lines;
}

std::string ExplainText(const Trace& trace) {
    std::string text;
    for (const std::string& line : ExplainLines(trace)) {
        text += line + "\n";
    }
    return text;
}

} // namespace kova
