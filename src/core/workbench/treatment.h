#pragma once

#include "core/beams/beam.h"
#include "core/beams/beam_kind.h"
#include "core/common/result.h"
#include "core/linac/linac_spec.h"

#include <memory>
#include <string>
#include <vector>

namespace kova {

/// Binds beams to one linac, one of its energies and one beam kind; owns the beams.
class TTreatment {
public:
    TTreatment();
    TTreatment(const TTreatment&) = delete;
    TTreatment& operator=(const TTreatment&) = delete;
    ~TTreatment();

    std::string name = "New Treatment";
    const TLinacSpec* linac = nullptr;
    const TgEnergy* gEnergy = nullptr; ///< the photon energy of a photon kind
    const TeEnergy* eEnergy = nullptr; ///< the electron energy of an electron kind
    BeamKind kind = BeamKind::Photon;
    std::vector<std::unique_ptr<TBeam>> beams; ///< in tree order

    /// cGy, the sum of the beams' TotalDose: computed on every call, so it follows every
    /// added, edited, moved or deleted beam without a refresh.
    double DoseTotal() const;

    /// The photon energy when the kind uses one, else null.
    const TgEnergy* PhotonEnergy() const;
    /// The energy of the kind: the electron energy for electron beams, else the photon one.
    const TEnergy* Energy() const;

    /// "Machine = ", the energy's three lines, "SAD = ... cm", "Dose = ... cGy".
    std::vector<std::string> InformationLines() const;
    /// "Dose = " + the dose total + " cGy".
    std::string DoseLine() const;

    /// The linac and energy its beams are computed on.
    BeamMachine Machine() const;

    /// A new beam of the treatment's kind named `beamName`, on the treatment's machine but
    /// not yet added.
    std::unique_ptr<TBeam> CreateBeam(const std::string& beamName) const;
    /// Appends a beam on the treatment's machine.
    TBeam& AddBeam(std::unique_ptr<TBeam> beam);
    /// Removes and destroys a beam; false when it is not one of this treatment's.
    bool DeleteBeam(const TBeam* beam);
};

/// A treatment named `name` of `kind` on `linac` and `energy` (a photon energy for the photon
/// kinds, an electron energy for electron beams). Fails, saying why, when the energy is not
/// of the linac or does not offer the kind, as the treatment dialog would not offer it.
Result<std::unique_ptr<TTreatment>> MakeTreatment(const std::string& name, const TLinacSpec& linac,
                                                  BeamKind kind, const TEnergy& energy);

} // namespace kova
