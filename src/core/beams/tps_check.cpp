#include "core/beams/tps_check.h"

#include "core/beams/result_text.h"
#include "core/common/file_bytes.h"
#include "core/text/number_text.h"

#include <cmath>
#include <sstream>

namespace kova {
namespace {

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

double* LevelOf(ActionLevels& levels, BeamKind kind) {
    switch (kind) {
    case BeamKind::Photon:
        return &levels.photon;
    case BeamKind::PhotonOpenWedged:
        return &levels.openWedged;
    case BeamKind::Electron:
        return &levels.electron;
    case BeamKind::TotalBody:
        return &levels.totalBody;
    }
    return &levels.photon;
}

} // namespace

double ActionLevels::For(BeamKind kind) const {
    ActionLevels copy = *this;
    return *LevelOf(copy, kind);
}

Result<ActionLevels> ParseActionLevels(std::string_view text) {
    ActionLevels levels;
    std::istringstream lines{std::string(text)};
    std::string raw;
    for (int number = 1; std::getline(lines, raw); ++number) {
        const std::string line = Trim(raw);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const auto equals = line.find('=');
        const std::string where = "line " + std::to_string(number) + ": ";
        if (equals == std::string::npos) {
            return Result<ActionLevels>::Fail(where + "expected 'Beam kind = percent'");
        }
        const std::optional<BeamKind> kind = BeamKindFromText(Trim(line.substr(0, equals)));
        if (!kind) {
            return Result<ActionLevels>::Fail(where + "unknown beam kind '" +
                                              Trim(line.substr(0, equals)) + "'");
        }
        const Result<double> percent = StrToFloat(Trim(line.substr(equals + 1)));
        if (!percent) {
            return Result<ActionLevels>::Fail(where + percent.reason());
        }
        if (!(*percent > 0) || !std::isfinite(*percent)) {
            return Result<ActionLevels>::Fail(where + "an action level must be above 0 %");
        }
        *LevelOf(levels, *kind) = *percent;
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

std::string TPSText(const TPSComparison& c) {
    std::string text = "TPS MU = " + MUFormat(c.tpsMU) + " (difference " +
                       FormatFloat("0.0", c.difference) + " %)";
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
