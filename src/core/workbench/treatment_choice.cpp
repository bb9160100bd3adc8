#include "core/workbench/treatment_choice.h"

#include <algorithm>

namespace kova {
namespace {

template <class T>
std::vector<std::string> NamesOrNone(const EntryList<T>& list) {
    std::vector<std::string> names;
    for (const auto& item : list) {
        names.push_back(item->Name);
    }
    if (names.empty()) {
        names.push_back("None");
    }
    return names;
}

/// The energy at `index` of `list`, or null.
template <class T>
const T* At(const EntryList<T>& list, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < list.size()
               ? list[static_cast<std::size_t>(index)].get()
               : nullptr;
}

} // namespace

TreatmentChoice::TreatmentChoice(std::vector<const TLinacSpec*> linacs)
    : m_linacs(std::move(linacs)) {
    LINACChange(0);
}

std::vector<std::string> TreatmentChoice::LinacItems() const {
    std::vector<std::string> names;
    for (const TLinacSpec* linac : m_linacs) {
        names.push_back(linac->Name);
    }
    if (names.empty()) {
        names.push_back("None");
    }
    return names;
}

std::vector<std::string> TreatmentChoice::gEnergyItems() const {
    return m_linac != nullptr ? NamesOrNone(m_linac->gEnergies) : std::vector<std::string>{"None"};
}

std::vector<std::string> TreatmentChoice::eEnergyItems() const {
    return m_linac != nullptr ? NamesOrNone(m_linac->eEnergies) : std::vector<std::string>{"None"};
}

void TreatmentChoice::LINACChange(int index) {
    if (m_linacs.empty() || index < 0 || static_cast<std::size_t>(index) >= m_linacs.size()) {
        return;
    }
    m_linacIndex = index;
    const TLinacSpec* linac = m_linacs[static_cast<std::size_t>(index)];
    if (linac == m_linac) {
        return;
    }
    m_linac = linac;
    m_gIndex = 0;
    m_eIndex = 0;
    EnergyChange();
}

void TreatmentChoice::gEnergyChange(int index) {
    m_gIndex = index;
    EnergyChange();
}

void TreatmentChoice::eEnergyChange(int index) {
    m_eIndex = index;
    EnergyChange();
}

void TreatmentChoice::EnergyChange() {
    if (m_linac == nullptr) {
        return;
    }
    const BeamKind previous =
        m_kinds.empty() ? BeamKind::Photon : m_kinds[static_cast<std::size_t>(m_kindIndex)];
    m_kinds = KindsOffered(At(m_linac->gEnergies, m_gIndex), !m_linac->eEnergies.empty());
    // The previous kind keeps its selection wherever it still stands in the rebuilt list.
    const auto found = std::find(m_kinds.begin(), m_kinds.end(), previous);
    BeamKindClick(found != m_kinds.end() ? static_cast<int>(found - m_kinds.begin()) : 0);
}

void TreatmentChoice::BeamKindClick(int index) {
    m_kindIndex = index;
    m_energy = nullptr;
    if (m_linac == nullptr || index < 0 || static_cast<std::size_t>(index) >= m_kinds.size()) {
        return;
    }
    if (KindInfo(m_kinds[static_cast<std::size_t>(index)]).electron) {
        m_energy = At(m_linac->eEnergies, m_eIndex);
    } else {
        m_energy = At(m_linac->gEnergies, m_gIndex);
    }
}

Status TreatmentChoice::CanAccept() const {
    if (m_linac == nullptr) {
        return Status::Fail("No linac was read: a treatment needs a linac");
    }
    if (m_energy == nullptr) {
        return Status::Fail("The linac " + m_linac->Name + " has no energy for a treatment");
    }
    return Status::Ok();
}

std::unique_ptr<TTreatment> TreatmentChoice::MakeTreatment(const std::string& name) const {
    if (!CanAccept()) {
        return nullptr;
    }
    Result<std::unique_ptr<TTreatment>> made = kova::MakeTreatment(
        name, *m_linac, m_kinds[static_cast<std::size_t>(m_kindIndex)], *m_energy);
    return made ? std::move(made.value()) : nullptr;
}

} // namespace kova
