#pragma once

// The multileaf collimator parameters that the point dose of IMRT and VMAT beams needs,
// per photon energy. The linac file format stays as it is for every other reader, so they
// live in a small "Key = Value" sidecar beside it: "NAME.lnc.ini" next to "NAME.lnc".
//
//     [6MV]
//     LeafTransmission = 0.016
//     DosimetricLeafGap = 0.16

#include "core/common/result.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kova {

class TLinacSpec;

/// Leaf transmission and dosimetric leaf gap of one photon energy.
struct MlcParameters {
    double leafTransmission = 0; ///< fraction of the open beam through a leaf, (0, 0.1]
    double leafGap = 0;          ///< dosimetric leaf gap, cm at the isocentre, [0, 0.5]
};

/// What the sidecar gives for one photon energy; a value it leaves out is absent.
struct MlcSidecarEntry {
    std::string energy;
    std::optional<double> leafTransmission;
    std::optional<double> leafGap;
};

/// The sidecar of one linac as the folder scan read it.
struct MlcSidecar {
    std::string problem; ///< why the sidecar is not used ("NAME.lnc.ini, line 3: ..."); empty
    std::vector<MlcSidecarEntry> entries;
};

/// Largest sidecar accepted, bytes: a few lines per energy; anything larger is not one.
inline constexpr std::size_t kMaxMlcSidecarBytes = 64 * 1024;

/// The sidecar's name for a linac file name: "NAME.lnc" gives "NAME.lnc.ini".
std::string MlcSidecarName(const std::string& linacFileName);

/// Reads a sidecar text for `linac`: "[energy]" titles naming photon energies of the linac,
/// each followed by "LeafTransmission = " and "DosimetricLeafGap = " entries. Fails at the
/// first fault with "line N: " and why (an unknown title or key, a value given twice, a
/// value that is not a number or lies outside its range).
Result<std::vector<MlcSidecarEntry>> ParseMlcSidecar(std::string_view text,
                                                     const TLinacSpec& linac);

/// Reads the sidecar of the linac file at `linacPath` into `linac.Mlc`. A missing sidecar
/// leaves it empty; one that cannot be read or parsed is not used at all, and its problem
/// names the file.
void ReadMlcSidecar(const std::string& linacPath, TLinacSpec& linac);

/// The MLC parameters of the photon energy `energyName`, or why there are none: the
/// sidecar's problem, or "the energy 6MV has no leaf transmission (NAME.lnc.ini)".
Result<MlcParameters> MlcParametersFor(const TLinacSpec& linac, const std::string& energyName);

} // namespace kova
