#pragma once

#include "core/common/result.h"
#include "core/workbench/treatment.h"

#include <memory>
#include <string>
#include <vector>

namespace kova {

/// The choices of the treatment dialog: a linac of the list, a photon and an electron energy
/// of it, and a beam kind among those the energies offer.
class TreatmentChoice {
public:
    explicit TreatmentChoice(std::vector<const TLinacSpec*> linacs);

    /// Item texts of the three lists ("None" alone when a list has nothing to offer).
    std::vector<std::string> LinacItems() const;
    std::vector<std::string> gEnergyItems() const;
    std::vector<std::string> eEnergyItems() const;
    /// The kinds offered, in code order; their texts are BeamKindText.
    const std::vector<BeamKind>& KindItems() const { return m_kinds; }

    int linacIndex() const { return m_linacIndex; }
    int gEnergyIndex() const { return m_gIndex; }
    int eEnergyIndex() const { return m_eIndex; }
    int kindIndex() const { return m_kindIndex; }

    const TLinacSpec* linac() const { return m_linac; }
    /// The energy of the selected kind (photon for photon kinds, electron otherwise).
    const TEnergy* energy() const { return m_energy; }

    /// The user picks a linac; picking the current one changes nothing.
    void LINACChange(int index);
    /// The user picks a photon or an electron energy.
    void gEnergyChange(int index);
    void eEnergyChange(int index);
    /// The user picks a beam kind.
    void BeamKindClick(int index);

    /// OK needs a linac and an energy for the selected kind.
    Status CanAccept() const;
    /// The treatment the choices describe, named `name`.
    std::unique_ptr<TTreatment> MakeTreatment(const std::string& name) const;

private:
    void EnergyChange();

    std::vector<const TLinacSpec*> m_linacs;
    const TLinacSpec* m_linac = nullptr;
    const TEnergy* m_energy = nullptr;
    int m_linacIndex = 0;
    int m_gIndex = 0;
    int m_eIndex = 0;
    int m_kindIndex = 0;
    std::vector<BeamKind> m_kinds;
};

} // namespace kova
