#pragma once

#include "core/linac/linac_spec.h"

#include <memory>
#include <string>
#include <vector>

namespace kova {

class TBeam;

/// The beam kinds a treatment can hold, by their kind code.
enum class BeamKind { Photon = 0, PhotonOpenWedged = 1, Electron = 2, TotalBody = 3 };

/// "Photon Beam", "Photon Open/Wedged Beam", "Electron Beam", "Total Body Irradiation".
std::string BeamKindText(BeamKind kind);

/// Binds beams to one linac, one of its energies and one beam kind, and owns the beams.
class TTreatment {
public:
    TTreatment() = default;
    TTreatment(const TTreatment&) = delete;
    TTreatment& operator=(const TTreatment&) = delete;
    ~TTreatment();

    const TLinacSpec* linac = nullptr;
    const TgEnergy* gEnergy = nullptr; ///< the photon energy of a photon kind
    const TeEnergy* eEnergy = nullptr; ///< the electron energy of an electron kind
    BeamKind kind = BeamKind::Photon;

    /// The photon energy when the kind uses one, else null.
    const TgEnergy* PhotonEnergy() const;
};

} // namespace kova
