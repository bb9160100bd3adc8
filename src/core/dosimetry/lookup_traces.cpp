#include "core/dosimetry/lookup_traces.h"

#include "core/text/number_text.h"

namespace kova {

std::string RefFieldText(const RefField& field) {
    return FigureText(field.Width) + " cm x " + FigureText(field.Height, "cm");
}

/// A reference field as a trace entry: its width and height (after its equivalent square
/// when `bySquare`) and its value, itself traced when `from` holds how it was read.
TraceEntry FieldEntry(const RefField& field, bool bySquare, const char* valueName, double value,
                      std::vector<Trace> from) {
    TraceEntry entry{RefFieldText(field), {}, NamedNumber(valueName, value), 1};
    if (bySquare) {
        entry.keys.push_back(
            NamedNumber("equivalent square", EquivalentSquare(field.Width, field.Height), "cm"));
    }
    entry.keys.push_back(NamedNumber("width", field.Width, "cm"));
    entry.keys.push_back(NamedNumber("height", field.Height, "cm"));
    entry.value.from = std::move(from);
    return entry;
}

/// A trace read at the field (x, y) from `table`, exactly or from four fields.
Trace FieldTrace(std::string table, TraceRule rule, double x, double y) {
    Trace trace;
    trace.table = std::move(table);
    trace.rule = rule;
    trace.point = {NamedNumber("width", x, "cm"), NamedNumber("height", y, "cm")};
    return trace;
}

/// The point of a depth-dose trace with the scaling of the field: each side at SSD = SCD,
/// and the equivalent square of the two when the fields were read by it.
void AttachFieldScaling(Trace& trace, double ssd, double depth, double scd, double width,
                        double height, double xs, double ys) {
    const auto scaled = [&](const char* name, double side, double value) {
        return TracedNumber(
            name, "cm",
            FormulaTrace(TraceFormula::FieldAtDepth,
                         {NamedNumber("SSD", ssd, "cm"), NamedNumber("d", depth, "cm"),
                          NamedNumber("SCD", scd, "cm"), NamedNumber("side", side, "cm")},
                         value));
    };
    TraceNumber w = scaled("width", width, xs);
    TraceNumber h = scaled("height", height, ys);
    w.from.front().title = "Width at SSD = SCD";
    h.from.front().title = "Height at SSD = SCD";
    if (trace.point.size() == 2) {
        trace.point = {std::move(w), std::move(h)};
        return;
    }
    w.name = "a";
    h.name = "b";
    Trace square = FormulaTrace(TraceFormula::EquivalentSquare, {std::move(w), std::move(h)},
                                trace.point.at(0).value);
    square.title = "Equivalent square";
    trace.point.at(0) = TracedNumber("equivalent square", "cm", std::move(square));
}

/// The traces of a depth-dose set read at the table depth dose `p` (traced by `pTrace`).
void TraceDepthDose(DepthDoseTraces& traces, Trace pTrace, const DepthDoseSet& set,
                    const std::vector<TraceNumber>& geometry) {
    pTrace.title = "SCD PDD";
    pTrace.value = set.scdPDD;
    const TraceNumber p = TracedNumber("P", "", pTrace);
    const TraceNumber& scd = geometry[0];
    const TraceNumber& ssd = geometry[1];
    const TraceNumber& d = geometry[2];
    const TraceNumber& b = geometry[3];
    traces.scdPDD = std::move(pTrace);
    traces.tmr = FormulaTrace(TraceFormula::Tmr, {p, scd, d, b}, set.tmr);
    traces.ssdPDD = FormulaTrace(TraceFormula::SsdPdd, {p, scd, ssd, d, b}, set.ssdPDD);
    const std::vector<TraceNumber>& point = traces.scdPDD.point;
    if (point.size() >= 2) {
        Trace size =
            FormulaTrace(TraceFormula::EquivalentSquare, {point[0], point[1]}, set.scdPDDSize);
        size.operands[0].name = "a";
        size.operands[1].name = "b";
        traces.scdPDDSize = std::move(size);
    } else if (!point.empty() && !point[0].from.empty()) {
        traces.scdPDDSize = point[0].from.front();
    } else {
        // At the build-up depth no table is read: the field is scaled all the same.
        traces.scdPDDSize = Trace{};
    }
}

} // namespace kova
