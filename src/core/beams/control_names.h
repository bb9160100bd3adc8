#pragma once

// The controls of the beam dialogs, each named once. A name is also the key of the control's
// value in a beam file, and the object name of its widget in the desktop program.

#include <string_view>

namespace kova::controls {

// Every kind: the beam's identity, its dose and the planning system's MU.
inline constexpr std::string_view kBeamName = "BeamName";
inline constexpr std::string_view kBeamID = "BeamID";
inline constexpr std::string_view kGantryRot = "GantryRot";
inline constexpr std::string_view kJawsRot = "JawsRot";
inline constexpr std::string_view kCouchRot = "CouchRot";
inline constexpr std::string_view kBeamDose = "BeamDose";
inline constexpr std::string_view kTPSMU = "TPSMU";

// Photon, open/wedged, electron and (shown only) total body beams: the field and the SSD.
inline constexpr std::string_view kBeamWidth = "BeamWidth";
inline constexpr std::string_view kBeamHeight = "BeamHeight";
inline constexpr std::string_view kBeamSSD = "BeamSSD";
// Photon and total body beams.
inline constexpr std::string_view kShieldComp = "ShieldComp";

// Photon and open/wedged beams.
inline constexpr std::string_view kTechnique = "Technique";
inline constexpr std::string_view kBeamDepth = "BeamDepth";
inline constexpr std::string_view kBeamRealSSD = "BeamRealSSD";
inline constexpr std::string_view kBeamLeft = "BeamLeft";
inline constexpr std::string_view kBeamRight = "BeamRight";
inline constexpr std::string_view kBeamBottom = "BeamBottom";
inline constexpr std::string_view kBeamTop = "BeamTop";
inline constexpr std::string_view kBeamWidthAsymm = "BeamWidthAsymm";
inline constexpr std::string_view kBeamHeightAsymm = "BeamHeightAsymm";
inline constexpr std::string_view kBeamAsymmWidth = "BeamAsymmWidth";
inline constexpr std::string_view kBeamAsymmHeight = "BeamAsymmHeight";
inline constexpr std::string_view kBeamEquivSize = "BeamEquivSize";
inline constexpr std::string_view kBeamOffset = "BeamOffset";
inline constexpr std::string_view kWedgeComp = "WedgeComp";
inline constexpr std::string_view kTrayComp = "TrayComp";
inline constexpr std::string_view kMultileafComp = "MultileafComp";
inline constexpr std::string_view kIsOffset = "isOffset";
inline constexpr std::string_view kOffsetComp = "OffsetComp";
// Open/wedged beams: the wedged part's dose.
inline constexpr std::string_view kBeamWedgeDose = "BeamWedgeDose";

// Electron beams.
inline constexpr std::string_view kApplicatorComp = "ApplicatorComp";

// Total body beams: the dose point, the lung shields box and the "Normal Build" menu; the
// eleven body values are named in their table (TBIBodyValues).
inline constexpr std::string_view kBeamRefDistance = "BeamRefDistance";
inline constexpr std::string_view kIsLungShields = "isLungShields";
inline constexpr std::string_view kBuild = "Build";

} // namespace kova::controls
