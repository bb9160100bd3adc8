// The beam kinds of the program, one row each. A new kind is one core file pair (its beam
// and its form), one row here and one row in the desktop program's dialog table.

#include "core/beams/beam_kind.h"

#include "core/beams/dynamic_beam.h"
#include "core/beams/electron_beam.h"
#include "core/beams/open_wedged_beam.h"
#include "core/beams/photon_beam.h"
#include "core/beams/tbi_beam.h"
#include "core/linac/energy.h"

#include <cassert>
#include <stdexcept>

namespace kova {
namespace {

template <class Beam>
std::unique_ptr<TBeam> Make(const std::string& name) {
    return std::make_unique<Beam>(name);
}

const std::vector<BeamKindInfo>& Rows() {
    // Independent MU checks commonly accept 3 % on photon fields and 5 % where the model is
    // coarser (electron applicators, total body set-ups, IMRT and VMAT point doses).
    static const std::vector<BeamKindInfo> rows = {
        {BeamKind::Photon, "Photon Beam", false, 3,
         [](const TgEnergy* photon, bool) { return photon != nullptr; }, Make<TPhotonBeam>},
        {BeamKind::PhotonOpenWedged, "Photon Open/Wedged Beam", false, 3,
         [](const TgEnergy* photon, bool) {
             return photon != nullptr && photon->OpenWedgeMUSupported;
         },
         Make<TPhotonOWBeam>},
        {BeamKind::Electron, "Electron Beam", true, 5,
         [](const TgEnergy*, bool hasElectronEnergies) { return hasElectronEnergies; },
         Make<TElectronBeam>},
        {BeamKind::TotalBody, "Total Body Irradiation", false, 5,
         [](const TgEnergy* photon, bool) { return photon != nullptr && photon->TBISupported; },
         Make<TTBIBeam>},
        {BeamKind::Dynamic, "IMRT/VMAT Beam", false, 5,
         [](const TgEnergy* photon, bool) { return photon != nullptr; }, Make<TDynamicBeam>, true},
    };
    return rows;
}

} // namespace

const std::vector<BeamKindInfo>& BeamKinds() {
    return Rows();
}

const BeamKindInfo& KindInfo(BeamKind kind) {
    for (const BeamKindInfo& row : Rows()) {
        if (row.kind == kind) {
            return row;
        }
    }
    // Only the program makes kind values; one without a row is a fault in it.
    assert(false && "a beam kind without a row");
    throw std::logic_error("a beam kind without a row");
}

std::string BeamKindText(BeamKind kind) {
    return std::string(KindInfo(kind).text);
}

std::optional<BeamKind> BeamKindFromText(std::string_view text) {
    for (const BeamKindInfo& row : Rows()) {
        if (text == row.text) {
            return row.kind;
        }
    }
    return std::nullopt;
}

std::vector<BeamKind> KindsOffered(const TgEnergy* photon, bool hasElectronEnergies) {
    std::vector<BeamKind> kinds;
    for (const BeamKindInfo& row : Rows()) {
        if (!row.fromPlanOnly && row.offered(photon, hasElectronEnergies)) {
            kinds.push_back(row.kind);
        }
    }
    return kinds;
}

} // namespace kova
