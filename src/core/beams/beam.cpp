#include "core/beams/beam.h"

#include "core/beams/electron_beam.h"
#include "core/beams/open_wedged_beam.h"
#include "core/beams/photon_beam.h"
#include "core/beams/result_text.h"
#include "core/beams/tbi_beam.h"

#include <array>

namespace kova {

const char* SetupColumnName(SetupColumn column) {
    static constexpr std::array<const char*, 12> names = {
        "Fascio",           "ID Fascio",  "DSP",      "Dim Campo width",
        "Dim Campo height", "Rot Gantry", "Rot Coll", "Rot Lettino",
        "Blocchi",          "Schermi",    "Cunei",    "UM"};
    return names[static_cast<std::size_t>(column)];
}

std::string TBeam::MUText() const {
    return MUFormat(MU);
}

std::unique_ptr<TBeam> CreateBeam(BeamKind kind, const std::string& name,
                                  const BeamMachine& machine) {
    std::unique_ptr<TBeam> beam;
    switch (kind) {
    case BeamKind::Photon:
        beam = std::make_unique<TPhotonBeam>(name);
        break;
    case BeamKind::PhotonOpenWedged:
        beam = std::make_unique<TPhotonOWBeam>(name);
        break;
    case BeamKind::Electron:
        beam = std::make_unique<TElectronBeam>(name);
        break;
    case BeamKind::TotalBody:
        beam = std::make_unique<TTBIBeam>(name);
        break;
    }
    if (beam) {
        beam->machine = machine;
    }
    return beam;
}

} // namespace kova
