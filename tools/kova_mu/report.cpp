#include "kova_mu/report.h"

#include "core/text/number_text.h"
#include "kova_mu/json_writer.h"

#include <array>

namespace kova::mu {
namespace {

void WriteLines(std::ostream& out, const std::vector<TextNode>& nodes, int level) {
    for (const TextNode& node : nodes) {
        out << std::string(static_cast<std::size_t>(2 * level), ' ') << node.text << '\n';
        WriteLines(out, node.children, level + 1);
    }
}

const char* ColumnName(SetupColumn column) {
    static constexpr std::array<const char*, 12> names = {
        "Fascio",           "ID Fascio",  "DSP",      "Dim Campo width",
        "Dim Campo height", "Rot Gantry", "Rot Coll", "Rot Lettino",
        "Blocchi",          "Schermi",    "Cunei",    "UM"};
    return names[static_cast<std::size_t>(column)];
}

void EntryName(JsonWriter& json, const char* key, const EnergyListItem* entry) {
    json.Key(key);
    if (entry != nullptr) {
        json.String(entry->Name);
    } else {
        json.Null();
    }
}

void WriteInput(JsonWriter& json, const PhotonBeamInput& in) {
    json.BeginObject();
    json.Key("technique");
    json.Integer(in.technique);
    const std::pair<const char*, const std::string*> texts[] = {{"name", &in.name},
                                                                {"ID", &in.ID},
                                                                {"gantry", &in.gantry},
                                                                {"jaws", &in.jaws},
                                                                {"couch", &in.couch}};
    for (const auto& [key, text] : texts) {
        json.Key(key);
        json.String(*text);
    }
    const std::pair<const char*, double> numbers[] = {
        {"dose", in.dose},     {"X1", in.X1},
        {"X2", in.X2},         {"Y1", in.Y1},
        {"Y2", in.Y2},         {"width", in.width},
        {"height", in.height}, {"equivSize", in.equivSize},
        {"offset", in.offset}, {"depth", in.depth},
        {"SSD", in.SSD},       {"realSSD", in.realSSD}};
    for (const auto& [key, value] : numbers) {
        json.Key(key);
        json.Number(value);
    }
    EntryName(json, "wedge", in.wedge);
    EntryName(json, "tray", in.tray);
    EntryName(json, "shield", in.shield);
    EntryName(json, "multileaf", in.multileaf);
    json.Key("offsetOff");
    json.Bool(in.offsetOff);
    json.EndObject();
}

void WriteFactors(JsonWriter& json, const PhotonFactors& f) {
    json.BeginObject();
    const std::pair<const char*, double> numbers[] = {{"MUperCGy", f.MUperCGy},
                                                      {"actualCalibrationFactor", 1 / f.MUperCGy},
                                                      {"scaleFactor", f.scaleFactor},
                                                      {"scdPDDSize", f.scdPDDSize},
                                                      {"scdPDD", f.scdPDD},
                                                      {"tmr", f.tmr},
                                                      {"ssdPDD", f.ssdPDD},
                                                      {"fieldFactor", f.fieldFactor},
                                                      {"wedgeFactor", f.wedgeFactor},
                                                      {"warpFactor", f.warpFactor},
                                                      {"effectiveDepth", f.effectiveDepth},
                                                      {"shieldFactor", f.shieldFactor},
                                                      {"trayFactor", f.trayFactor},
                                                      {"multileafFactor", f.multileafFactor},
                                                      {"offsetFactor", f.offsetFactor}};
    for (const auto& [key, value] : numbers) {
        json.Key(key);
        json.Number(value);
    }
    json.Key("depthDoseFromTable");
    json.Bool(f.depthDoseFromTable);
    json.Key("fieldFactorFromTable");
    json.Bool(f.fieldFactorFromTable);
    json.EndObject();
}

void WriteNodes(JsonWriter& json, const std::vector<TextNode>& nodes) {
    json.BeginArray();
    for (const TextNode& node : nodes) {
        json.BeginObject();
        json.Key("text");
        json.String(node.text);
        json.Key("image");
        json.Integer(node.image);
        json.Key("children");
        WriteNodes(json, node.children);
        json.EndObject();
    }
    json.EndArray();
}

void WriteComputed(JsonWriter& json, const TPhotonBeam& beam, const Date& today) {
    json.Key("input");
    WriteInput(json, beam.stored());
    json.Key("factors");
    WriteFactors(json, beam.factors());
    json.Key("MU");
    json.Number(beam.MU);
    json.Key("resultLines");
    WriteNodes(json, beam.ShowResults());
    json.Key("details");
    json.BeginArray();
    for (const std::string& text : beam.DetailsColumn(today)) {
        json.String(text);
    }
    json.EndArray();
    json.Key("setupRow");
    json.BeginArray();
    for (const SetupCell& cell : beam.SetupRow()) {
        json.BeginObject();
        json.Key("column");
        json.String(ColumnName(cell.column));
        json.Key("lines");
        json.BeginArray();
        for (const std::string& line : cell.lines) {
            json.String(line);
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
}

} // namespace

void WriteText(std::ostream& out, const BeamOutcome& outcome) {
    const std::string& title = outcome.resolved->block->title;
    if (!outcome.computed) {
        out << "== " << title << ": refused: " << outcome.reason << '\n';
        return;
    }
    out << "== " << title << ": MU = " << FormatFloat("#0.##;;0", outcome.beam->MU) << '\n';
    WriteLines(out, outcome.beam->ShowResults(), 1);
}

void WriteJson(std::ostream& out, const std::vector<BeamOutcome>& outcomes, const Date& today) {
    JsonWriter json(out);
    json.BeginObject();
    json.Key("date");
    json.String(FormatShortDate(today));
    json.Key("beams");
    json.BeginArray();
    for (const BeamOutcome& outcome : outcomes) {
        const ResolvedBeam& resolved = *outcome.resolved;
        json.BeginObject();
        json.Key("file");
        json.String(resolved.block->file);
        json.Key("line");
        json.Integer(resolved.block->line);
        json.Key("title");
        json.String(resolved.block->title);
        json.Key("linac");
        json.String(resolved.linac->Name);
        json.Key("energy");
        json.String(resolved.energy->Name);
        json.Key("beamKind");
        json.String(BeamKindText(resolved.kind));
        json.Key("computed");
        json.Bool(outcome.computed);
        json.Key("reason");
        json.String(outcome.reason);
        if (outcome.computed) {
            WriteComputed(json, *outcome.beam, today);
        }
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

} // namespace kova::mu
