#include "kova_mu/report.h"

#include "core/text/cp1252.h"
#include "core/text/number_text.h"
#include "core/workbench/workbench_text.h"

#include <cmath>

namespace kova::mu {
namespace {

using Json = nlohmann::ordered_json;

Json Text(const std::string& text) {
    return Cp1252ToUtf8(text);
}

/// Result lines as the program shows them, two spaces of indent per level, each text safe for
/// a terminal; with `explain` each traced line is followed by its trace, one level deeper and
/// marked "| ".
void WriteLines(std::ostream& out, const std::vector<TextNode>& nodes, int level, bool explain) {
    for (const TextNode& node : nodes) {
        const std::string indent(static_cast<std::size_t>(2 * level), ' ');
        out << indent << TerminalText(node.text) << '\n';
        if (explain && node.trace != nullptr) {
            for (const std::string& line : ExplainLines(*node.trace)) {
                out << indent << "  | " << TerminalText(line) << '\n';
            }
        }
        WriteLines(out, node.children, level + 1, explain);
    }
}

const char* RuleKey(TraceRule rule) {
    switch (rule) {
    case TraceRule::Entry:
        return "entry";
    case TraceRule::Exact:
        return "exact";
    case TraceRule::EndClamp:
        return "endClamp";
    case TraceRule::Linear:
        return "linear";
    case TraceRule::FourQuadrant:
        return "fourQuadrant";
    case TraceRule::BuildUp:
        return "buildUp";
    case TraceRule::NotApplied:
        return "notApplied";
    case TraceRule::Formula:
        return "formula";
    }
    return "";
}

Json TraceJson(const Trace& trace);

Json NumberJson(const TraceNumber& number) {
    Json json = {{"name", Text(number.name)}, {"value", ToJson(number.value)}};
    if (!number.unit.empty()) {
        json["unit"] = Text(number.unit);
    }
    if (!number.from.empty()) {
        json["from"] = TraceJson(number.from.front());
    }
    return json;
}

Json NumbersJson(const std::vector<TraceNumber>& numbers) {
    Json array = Json::array();
    for (const TraceNumber& number : numbers) {
        array.push_back(NumberJson(number));
    }
    return array;
}

/// A trace at full precision: the table, the rule, the point read, the entries with their
/// keys, values and weights, the formula with its operands, and the value.
Json TraceJson(const Trace& trace) {
    Json entries = Json::array();
    for (const TraceEntry& entry : trace.entries) {
        entries.push_back({{"label", Text(entry.label)},
                           {"keys", NumbersJson(entry.keys)},
                           {"value", NumberJson(entry.value)},
                           {"weight", ToJson(entry.weight)}});
    }
    Json json = {{"title", Text(trace.title)},
                 {"table", trace.table.empty() ? Json(nullptr) : Text(trace.table)},
                 {"rule", RuleKey(trace.rule)},
                 {"fallback", trace.fallback},
                 {"point", NumbersJson(trace.point)},
                 {"entries", entries}};
    json["formula"] =
        trace.formula == TraceFormula::None ? Json(nullptr) : Json(FormulaText(trace.formula));
    json["operands"] = NumbersJson(trace.operands);
    json["value"] = ToJson(trace.value);
    return json;
}

Json TracesJson(const TraceList& traces) {
    Json object = Json::object();
    for (const auto& trace : traces) {
        object[trace->factor] = TraceJson(*trace);
    }
    return object;
}

Json Named(const std::vector<NamedValue>& values) {
    Json object = Json::object();
    for (const NamedValue& value : values) {
        object[value.name] = ToJson(value.value);
    }
    return object;
}

Json Nodes(const std::vector<TextNode>& nodes) {
    Json array = Json::array();
    for (const TextNode& node : nodes) {
        array.push_back(
            {{"text", Text(node.text)}, {"image", node.image}, {"children", Nodes(node.children)}});
    }
    return array;
}

Json Texts(const std::vector<std::string>& texts) {
    Json array = Json::array();
    for (const std::string& text : texts) {
        array.push_back(Text(text));
    }
    return array;
}

Json SetupRow(const std::vector<SetupCell>& cells) {
    Json array = Json::array();
    for (const SetupCell& cell : cells) {
        array.push_back({{"column", SetupColumnName(cell.column)}, {"lines", Texts(cell.lines)}});
    }
    return array;
}

Json Beam(const BeamOutcome& outcome, const Date& today, const ActionLevels& levels) {
    const ResolvedBeam& resolved = *outcome.resolved;
    const TTreatment& treatment = *resolved.treatment;
    Json beam = {
        {"file", EscapedUtf8(resolved.block->file)},
        {"line", resolved.block->line},
        {"title", Text(resolved.block->title)},
        {"linac", Text(treatment.linac->Name)},
        {"energy", Text(treatment.Energy()->Name)},
        {"beamKind", BeamKindText(treatment.kind)},
        {"patient", resolved.patientName ? Text(*resolved.patientName) : Json(nullptr)},
        {"treatment", resolved.treatmentName ? Text(*resolved.treatmentName) : Json(nullptr)},
        {"computed", outcome.computed},
        {"reason", Text(outcome.reason)}};
    if (outcome.computed) {
        const TBeam& computed = *outcome.beam;
        beam["input"] = Named(computed.Inputs());
        beam["factors"] = Named(computed.Factors());
        beam["traces"] = TracesJson(computed.Traces());
        beam["MU"] = ToJson(computed.MU);
        const std::optional<TPSComparison> tps = CompareWithTPS(computed, levels);
        beam["tpsMU"] = tps ? ToJson(tps->tpsMU) : Json(nullptr);
        beam["difference"] = tps ? ToJson(tps->difference) : Json(nullptr);
        beam["beyondActionLevel"] = tps ? Json(tps->beyondActionLevel) : Json(nullptr);
        beam["resultLines"] = Nodes(ResultLines(computed, levels));
        beam["details"] = Texts(computed.DetailsColumn(today));
        beam["setupRow"] = SetupRow(computed.SetupRow());
        if (const auto& mlc = resolved.multileaf) {
            const MLCGeometry& g = mlc->field.geometry;
            beam["multileafField"] = {{"file", Text(mlc->fileName)},
                                      {"name", Text(mlc->field.name)},
                                      {"area", mlc->factors.area},
                                      {"perimeter", mlc->factors.perimeter},
                                      {"left", g.left},
                                      {"right", g.right},
                                      {"bottom", g.bottom},
                                      {"top", g.top},
                                      {"sqrtFactor", mlc->factors.sqrtFactor},
                                      {"leqFactor", mlc->factors.leqFactor}};
        }
    }
    return beam;
}

} // namespace

Json ToJson(const ReportedValue& value) {
    struct Visitor {
        Json operator()(std::monostate) const { return nullptr; }
        Json operator()(bool flag) const { return flag; }
        Json operator()(int code) const { return code; }
        Json operator()(double number) const {
            return std::isfinite(number) ? Json(number) : Json(nullptr);
        }
        Json operator()(const std::string& text) const { return Text(text); }
    };
    return std::visit(Visitor{}, value);
}

std::string GroupLine(const ResolvedBeam& beam) {
    if (!beam.patientName && !beam.treatmentName) {
        return {};
    }
    return "# Patient " + beam.patientName.value_or("-") + ", treatment " +
           beam.treatmentName.value_or("-");
}

void WriteText(std::ostream& out, const BeamOutcome& outcome, const ActionLevels& levels,
               const std::string& notCompared, bool explain) {
    // Every text from a file reaches the terminal escaped: no title can clear the screen.
    const std::string title = TerminalText(outcome.resolved->block->title);
    if (!outcome.computed) {
        out << "== " << title << ": refused: " << TerminalText(outcome.reason) << '\n';
        return;
    }
    out << "== " << title << ": MU = " << outcome.beam->MUText();
    if (const std::optional<TPSComparison> tps = CompareWithTPS(*outcome.beam, levels)) {
        out << ", TPS " << FormatFloat("#0.##;;0", tps->tpsMU) << ", "
            << DifferenceText(tps->difference)
            << (tps->beyondActionLevel ? ", beyond action level" : "");
    } else if (!notCompared.empty()) {
        out << ", not compared: " << TerminalText(notCompared);
    }
    out << '\n';
    WriteLines(out, ResultLines(*outcome.beam, levels), 1, explain);
}

void WriteJson(std::ostream& out, const std::vector<BeamOutcome>& outcomes, const Date& today,
               const ActionLevels& levels) {
    Json beams = Json::array();
    for (const BeamOutcome& outcome : outcomes) {
        beams.push_back(Beam(outcome, today, levels));
    }
    const Json document = {{"date", FormatShortDate(today)}, {"beams", beams}};
    out << document.dump(2) << '\n';
}

} // namespace kova::mu
