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

/// Binds beams to one linac, one of its energies and one beam kind; owns the beams and keeps
/// their dose total.
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
    double doseTotal = 0;                      ///< cGy, the sum of the beams' TotalDose
    std::vector<std::unique_ptr<TBeam>> beams; ///< in tree order

    /// The photon energy when the kind uses one, else null.
    const TgEnergy* PhotonEnergy() const;
    /// The energy of the kind: the electron energy for electron beams, else the photon one.
    const TEnergy* Energy() const;

    /// "Machine = ", the energy's three lines, "SAD = ... cm", "Dose = ... cGy".
    std::vector<std::string> InformationLines() const;
    /// "Dose = " + the dose total + " cGy".
    std::string DoseLine() const;

    /// A new beam of the treatment's kind named `beamName`, bound to this treatment but not
    /// yet added; null for a kind this version cannot compute.
    std::unique_ptr<TBeam> CreateBeam(const std::string& beamName) const;
    /// Appends a beam and recomputes the dose total.
    TBeam& AddBeam(std::unique_ptr<TBeam> beam);
    /// Removes and destroys a beam; false when it is not one of this treatment's.
    bool DeleteBeam(const TBeam* beam);
    /// Dose total := the sum of TotalDose over the beams.
    void RecomputeDoseTotal();
};

} // namespace kova
