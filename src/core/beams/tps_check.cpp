#include "core/beams/tps_check.h"

#include "core/beams/result_text.h"
#include "core/common/file_bytes.h"
#include "core/common/key_value_text.h"
#include "core/text/number_text.h"

#include <cmath>

namespace kova {
namespace {

std::size_t RowOf(BeamKind kind) {
    return static_cast<std::size_t>(&KindInfo(kind) - BeamKinds().data());
}

} // namespace

ActionLevels::ActionLevels() {
    for (const BeamKindInfo& kind : BeamKinds()) {
        m_levels.push_back(kind.actionLevel);
    }
}

double ActionLevels::For(BeamKind kind) const {
    return m_levels[RowOf(kind)];
}

void ActionLevels::Set(BeamKind kind, double percent) {
    m_levels[RowOf(kind)] = percent;
}

Result<ActionLevels> ParseActionLevels(std::string_view text) {
    ActionLevels levels;
    for (const KeyValueLine& line : SplitKeyValueText(text)) {
        const std::string where = "line " + std::to_string(line.number) + ": ";
        if (line.type != KeyValueLine::Type::Entry) {
            return Result<ActionLevels>::Fail(where + "expected 'Beam kind = percent'");
        }
        const std::optional<BeamKind> kind = BeamKindFromText(line.key);
        if (!kind) {
            return Result<ActionLevels>::Fail(where + "unknown beam kind '" + line.key + "'");
        }
        const Result<double> percent = StrToFloat(line.value);
        if (!percent) {
            return Result<ActionLevels>::Fail(where + percent.reason());
        }
        if (!(*percent > 0) || !std::isfinite(*percent)) {
            return Result<ActionLevels>::Fail(where + "an action level must be above 0 %");
        }
        levels.Set(*kind, *percent);
    }
    return levels;
}

LoadedActionLevels LoadActionLevels(const std::filesystem::path& file) {
    LoadedActionLevels loaded;
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        loaded.problem = "no " + file.filename().string() + " next to the program";
        return loaded;
    }
    // A settings file of a few lines; anything larger is not one.
    const FileBytes bytes = ReadFileBytes(file.string(), 64 * 1024);
    if (!bytes.ok()) {
        loaded.problem = bytes.reason;
        return loaded;
    }
    const Result<ActionLevels> parsed = ParseActionLevels(bytes.bytes);
    if (!parsed) {
        loaded.problem = file.filename().string() + ", " + parsed.reason();
        return loaded;
    }
    loaded.levels = *parsed;
    loaded.fromFile = true;
    return loaded;
}

std::optional<TPSComparison> CompareWithTPS(const TBeam& beam, const ActionLevels& levels) {
    if (!beam.calculated || !beam.tpsMU || !(beam.TotalMU() > 0)) {
        return std::nullopt;
    }
    TPSComparison c;
    c.tpsMU = *beam.tpsMU;
    c.kovaMU = beam.TotalMU();
    c.difference = (c.tpsMU - c.kovaMU) / c.kovaMU * 100;
    c.actionLevel = levels.For(beam.Kind());
    c.beyondActionLevel = std::abs(c.difference) > c.actionLevel;
    return c;
}

std::string DifferenceText(double percent) {
    return std::isfinite(percent) ? FormatFloat("0.0", percent) + " %" : FigureText(percent);
}

std::string TPSText(const TPSComparison& c) {
    std::string text =
        "TPS MU = " + MUFormat(c.tpsMU) + " (difference " + DifferenceText(c.difference) + ")";
    if (c.beyondActionLevel) {
        text += " beyond action level";
    }
    return text;
}

std::vector<TextNode> ResultLines(const TBeam& beam, const ActionLevels& levels) {
    std::vector<TextNode> lines = beam.ShowResults();
    if (const auto comparison = CompareWithTPS(beam, levels); comparison && !lines.empty()) {
        lines.push_back(
            Line(TPSText(*comparison), {}, comparison->beyondActionLevel ? kImageWarningLine : -1));
    }
    return lines;
}

} // namespace kova
