#pragma once

// The comparison of a beam's MU with the MU of the treatment planning system (TPS) whose
// plan KOVA X checks.

#include "core/beams/beam.h"
#include "core/common/result.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kova {

/// The largest difference, in percent of KOVA X's MU, that a beam of each kind may show
/// before it is flagged; each kind's default comes with the kind (BeamKinds()).
class ActionLevels {
public:
    /// Every kind at its default.
    ActionLevels();

    double For(BeamKind kind) const;
    /// Sets the level of `kind`, percent above 0.
    void Set(BeamKind kind, double percent);

private:
    std::vector<double> m_levels; ///< by the kinds' order in BeamKinds()
};

/// The settings file of the action levels, next to the program.
inline constexpr const char* kActionLevelsFile = "ActionLevels.ini";

/// Reads action levels: "Key = Value" lines where the key is a beam kind's text ("Photon
/// Beam", "Electron Beam"...) and the value a percentage above 0; "#" starts a comment. Kinds
/// not named keep their default. Fails, saying where, on any other line, key or value.
Result<ActionLevels> ParseActionLevels(std::string_view text);

/// Action levels read from a settings file, or the defaults with the reason why.
struct LoadedActionLevels {
    ActionLevels levels;
    bool fromFile = false;
    std::string problem; ///< why the defaults are used; empty when read from the file
};

/// Reads `file`; a missing, unreadable or broken file gives the defaults and says why.
LoadedActionLevels LoadActionLevels(const std::filesystem::path& file);

/// The TPS MU of a computed beam against its MU.
struct TPSComparison {
    double tpsMU = 0;
    double kovaMU = 0;     ///< every MU of the beam (both parts of an open/wedged beam)
    double difference = 0; ///< (TPS MU - KOVA MU) / KOVA MU x 100, percent
    double actionLevel = 0;
    bool beyondActionLevel = false; ///< |difference| above the action level
};

/// None when the beam has no TPS MU or is not computed.
std::optional<TPSComparison> CompareWithTPS(const TBeam& beam, const ActionLevels& levels);

/// A difference in percent as results show it: "-1.3 %". The bounds of the MU and the TPS MU
/// keep it a number; should one slip through it is said in words, never as "INF %".
std::string DifferenceText(double percent);

/// "TPS MU = 116 (difference -1.3 %)", followed by " beyond action level" when it is.
std::string TPSText(const TPSComparison& comparison);

/// Image index of a result line that needs attention.
inline constexpr int kImageWarningLine = 9;

/// The beam's result lines, ending with the TPS line when the beam has a TPS MU (with the
/// warning image when beyond the action level).
std::vector<TextNode> ResultLines(const TBeam& beam, const ActionLevels& levels);

} // namespace kova
