// Copies of beams for an edit that may be undone: the dialog works on a copy, and the beam
// it replaces is kept whole. Entries a beam made on the spot are its own, so a copy owns
// copies of them and selects those; the energy's entries are shared.

#include "core/beams/dynamic_beam.h"
#include "core/beams/electron_beam.h"
#include "core/beams/modifiers.h"
#include "core/beams/open_wedged_beam.h"
#include "core/beams/photon_beam.h"
#include "core/beams/tbi_beam.h"

namespace kova {
namespace {

template <class T>
EntryList<T> CopiedEntries(const EntryList<T>& list, double T::*factor) {
    EntryList<T> copies;
    for (const auto& entry : list) {
        MakeAdHocEntry(copies, ModifierValue{entry->Name, (*entry).*factor}, factor);
    }
    return copies;
}

template <class T>
const T* SameEntry(const EntryList<T>& original, const EntryList<T>& copies, const T* entry) {
    for (std::size_t i = 0; i < original.size() && i < copies.size(); ++i) {
        if (original[i].get() == entry) {
            return copies[i].get();
        }
    }
    return entry;
}

} // namespace

AdHocModifiers::AdHocModifiers(const AdHocModifiers& other)
    : trays(CopiedEntries(other.trays, &Tray::TF)),
      shields(CopiedEntries(other.shields, &Shield::SF)),
      multileafs(CopiedEntries(other.multileafs, &MLCFValue::MLCF)) {
}

AdHocModifiers& AdHocModifiers::operator=(const AdHocModifiers& other) {
    if (this != &other) {
        *this = AdHocModifiers(other);
    }
    return *this;
}

const Tray* AdHocModifiers::CopyOf(const AdHocModifiers& original, const Tray* entry) const {
    return SameEntry(original.trays, trays, entry);
}

const Shield* AdHocModifiers::CopyOf(const AdHocModifiers& original, const Shield* entry) const {
    return SameEntry(original.shields, shields, entry);
}

const MLCFValue* AdHocModifiers::CopyOf(const AdHocModifiers& original,
                                        const MLCFValue* entry) const {
    return SameEntry(original.multileafs, multileafs, entry);
}

void TPhotonBeam::SelectOwnEntries(const TPhotonBeam& original) {
    tray = adHoc.CopyOf(original.adHoc, tray);
    shield = adHoc.CopyOf(original.adHoc, shield);
    multileaf = adHoc.CopyOf(original.adHoc, multileaf);
}

std::unique_ptr<TBeam> TPhotonBeam::Clone() const {
    std::unique_ptr<TPhotonBeam> copy(new TPhotonBeam(*this));
    copy->SelectOwnEntries(*this);
    return copy;
}

std::unique_ptr<TBeam> TPhotonOWBeam::Clone() const {
    std::unique_ptr<TPhotonOWBeam> copy(new TPhotonOWBeam(*this));
    copy->SelectOwnEntries(*this);
    return copy;
}

std::unique_ptr<TBeam> TElectronBeam::Clone() const {
    return std::unique_ptr<TElectronBeam>(new TElectronBeam(*this));
}

std::unique_ptr<TBeam> TTBIBeam::Clone() const {
    std::unique_ptr<TTBIBeam> copy(new TTBIBeam(*this));
    copy->shield = copy->adHoc.CopyOf(adHoc, shield);
    return copy;
}

std::unique_ptr<TBeam> TDynamicBeam::Clone() const {
    return std::unique_ptr<TDynamicBeam>(new TDynamicBeam(*this));
}

std::vector<const EnergyListItem*> TDynamicBeam::UsedEntries() const {
    // A dose point off the axis reads the offset factors; which segments put it there is
    // the plan's, so the whole table counts as used.
    std::vector<const EnergyListItem*> used;
    if (machine.gEnergy != nullptr) {
        for (const auto& entry : machine.gEnergy->OffsetFactors) {
            used.push_back(entry.get());
        }
    }
    return used;
}

} // namespace kova
