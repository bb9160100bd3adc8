#include "kova_mu/batch.h"

#include "core/beams/photon_beam_form.h"
#include "core/text/number_text.h"

#include <array>
#include <map>

namespace kova::mu {
namespace {

/// Edits typed before the depth, in this order.
const std::map<std::string, PhotonControl>& IdentityKeys() {
    static const std::map<std::string, PhotonControl> keys = {
        {"BeamName", PhotonControl::BeamName},   {"BeamID", PhotonControl::BeamID},
        {"GantryRot", PhotonControl::GantryRot}, {"JawsRot", PhotonControl::JawsRot},
        {"CouchRot", PhotonControl::CouchRot},   {"BeamDose", PhotonControl::BeamDose},
    };
    return keys;
}

struct SheetKey {
    const char* key;
    PhotonControl control;
    FieldSheet sheet;
};

constexpr std::array<SheetKey, 10> kSheetKeys = {{
    {"BeamWidth", PhotonControl::BeamWidth, FieldSheet::Symmetric},
    {"BeamHeight", PhotonControl::BeamHeight, FieldSheet::Symmetric},
    {"BeamLeft", PhotonControl::BeamLeft, FieldSheet::AsymmetricA},
    {"BeamRight", PhotonControl::BeamRight, FieldSheet::AsymmetricA},
    {"BeamBottom", PhotonControl::BeamBottom, FieldSheet::AsymmetricA},
    {"BeamTop", PhotonControl::BeamTop, FieldSheet::AsymmetricA},
    {"BeamWidthAsymm", PhotonControl::BeamWidthAsymm, FieldSheet::AsymmetricB},
    {"BeamHeightAsymm", PhotonControl::BeamHeightAsymm, FieldSheet::AsymmetricB},
    {"BeamAsymmWidth", PhotonControl::BeamAsymmWidth, FieldSheet::AsymmetricB},
    {"BeamAsymmHeight", PhotonControl::BeamAsymmHeight, FieldSheet::AsymmetricB},
}};

const SheetKey* FindSheetKey(const std::string& key) {
    for (const SheetKey& sheetKey : kSheetKeys) {
        if (key == sheetKey.key) {
            return &sheetKey;
        }
    }
    return nullptr;
}

bool IsOtherKey(const std::string& key) {
    static const std::array<const char*, 12> keys = {
        "Linac",       "Energy",    "BeamKind", "Technique",  "BeamDepth",     "BeamSSD",
        "BeamRealSSD", "WedgeComp", "TrayComp", "ShieldComp", "MultileafComp", "isOffset"};
    for (const char* known : keys) {
        if (key == known) {
            return true;
        }
    }
    return false;
}

/// Collects problems of one beam.
class Checker {
public:
    Checker(const BeamBlock& block, std::vector<InputError>& errors)
        : m_block(block), m_errors(errors) {}

    void Error(const BeamEntry* entry, const std::string& message, const std::string& text) {
        m_errors.push_back(
            {m_block.file, entry != nullptr ? entry->line : m_block.line, message, text});
        m_failed = true;
    }
    bool failed() const { return m_failed; }

private:
    const BeamBlock& m_block;
    std::vector<InputError>& m_errors;
    bool m_failed = false;
};

template <class T>
const T* FindByName(const EntryList<T>& list, const std::string& name) {
    for (const auto& entry : list) {
        if (entry->Name == name) {
            return entry.get();
        }
    }
    return nullptr;
}

/// Resolves a modifier value: "None", an entry name, or "NAME : FACTOR" when `adHocAllowed`.
template <class T>
ModifierChoice ResolveModifier(const BeamEntry* entry, const EntryList<T>& list, bool adHocAllowed,
                               Checker& check) {
    ModifierChoice choice;
    if (entry == nullptr || entry->value == "None") {
        return choice;
    }
    if (const T* found = FindByName(list, entry->value)) {
        choice.entry = found;
        return choice;
    }
    const auto colon = entry->value.rfind(':');
    if (!adHocAllowed || colon == std::string::npos) {
        check.Error(entry, "no " + entry->key + " entry has this name", entry->value);
        return choice;
    }
    std::string name = entry->value.substr(0, colon);
    name.erase(name.find_last_not_of(" \t") + 1);
    const Result<double> factor = StrToFloat(entry->value.substr(colon + 1));
    if (name.empty() || !factor || *factor == 0) {
        check.Error(entry,
                    "an entry made on the spot needs a name and a factor other than 0 "
                    "(NAME : FACTOR)",
                    entry->value);
        return choice;
    }
    choice.adHoc = true;
    choice.adHocName = name;
    choice.adHocFactor = *factor;
    return choice;
}

const TLinacSpec* ResolveLinac(const BeamBlock& block,
                               const std::vector<std::unique_ptr<TLinacSpec>>& linacs,
                               Checker& check) {
    const BeamEntry* entry = block.Find("Linac");
    if (entry == nullptr) {
        check.Error(nullptr, "the beam names no Linac", block.title);
        return nullptr;
    }
    for (const auto& linac : linacs) {
        if (linac->Name == entry->value) {
            return linac.get();
        }
    }
    check.Error(entry, "no linac of the linac folder has this Name", entry->value);
    return nullptr;
}

std::optional<BeamKind> ResolveKind(const BeamBlock& block, Checker& check) {
    const BeamEntry* entry = block.Find("BeamKind");
    if (entry == nullptr) {
        return BeamKind::Photon;
    }
    for (BeamKind kind :
         {BeamKind::Photon, BeamKind::PhotonOpenWedged, BeamKind::Electron, BeamKind::TotalBody}) {
        if (entry->value == BeamKindText(kind)) {
            return kind;
        }
    }
    check.Error(entry, "unknown BeamKind", entry->value);
    return std::nullopt;
}

/// The energy named by the beam, of the list its kind uses, offering that kind.
const TEnergy* ResolveEnergy(const BeamBlock& block, const TLinacSpec& linac, BeamKind kind,
                             Checker& check) {
    const BeamEntry* entry = block.Find("Energy");
    if (entry == nullptr) {
        check.Error(nullptr, "the beam names no Energy", block.title);
        return nullptr;
    }
    if (kind == BeamKind::Electron) {
        if (const TeEnergy* energy = FindByName(linac.eEnergies, entry->value)) {
            return energy;
        }
        check.Error(entry, "the linac " + linac.Name + " has no electron energy of this name",
                    entry->value);
        return nullptr;
    }
    const TgEnergy* energy = FindByName(linac.gEnergies, entry->value);
    if (energy == nullptr) {
        check.Error(entry, "the linac " + linac.Name + " has no photon energy of this name",
                    entry->value);
        return nullptr;
    }
    if ((kind == BeamKind::PhotonOpenWedged && !energy->OpenWedgeMUSupported) ||
        (kind == BeamKind::TotalBody && !energy->TBISupported)) {
        check.Error(block.Find("BeamKind"), "the energy " + energy->Name + " does not offer",
                    BeamKindText(kind));
        return nullptr;
    }
    return energy;
}

void ResolveTechnique(const BeamBlock& block, ResolvedBeam& beam, Checker& check) {
    const BeamEntry* entry = block.Find("Technique");
    if (entry == nullptr || entry->value == "0" || entry->value == "Isocentric") {
        beam.technique = kIsocentric;
    } else if (entry->value == "1" || entry->value == "Not Isocentric") {
        beam.technique = kFixedSsd;
    } else {
        check.Error(entry, "Technique must be 0 (Isocentric) or 1 (Not Isocentric)", entry->value);
    }
}

/// The field edits: all from one sheet, typed in file order, on a sheet the linac enables.
void ResolveField(const BeamBlock& block, const TLinacSpec& linac, ResolvedBeam& beam,
                  Checker& check) {
    std::optional<FieldSheet> sheet;
    for (const BeamEntry& entry : block.entries) {
        const SheetKey* key = FindSheetKey(entry.key);
        if (key == nullptr) {
            continue;
        }
        if (sheet && *sheet != key->sheet) {
            check.Error(&entry, "the field must be given through one sheet only", entry.key);
            continue;
        }
        sheet = key->sheet;
        const bool independentWidth = linac.isAsymmetricFieldsOnWidth != 0;
        const bool independentHeight = linac.isAsymmetricFieldsOnHeight != 0;
        if (key->sheet != FieldSheet::Symmetric && !independentWidth && !independentHeight) {
            check.Error(&entry, "the linac " + linac.Name + " has no independent jaws", entry.key);
        } else if ((key->control == PhotonControl::BeamAsymmWidth && !independentWidth) ||
                   (key->control == PhotonControl::BeamAsymmHeight && !independentHeight)) {
            check.Error(&entry, "this asymmetry cannot be set on the linac " + linac.Name,
                        entry.key);
        }
        beam.typing.emplace_back(key->control, entry.value);
    }
    if (!sheet) {
        check.Error(nullptr,
                    "the beam gives no field (BeamWidth and BeamHeight, the four jaws, or the "
                    "asymmetric sizes and shifts)",
                    block.title);
        return;
    }
    beam.sheet = *sheet;
}

void ResolveModifiers(const BeamBlock& block, const TgEnergy& energy, ResolvedBeam& beam,
                      Checker& check) {
    beam.wedge = ResolveModifier(block.Find("WedgeComp"), energy.Wedges, false, check);
    beam.tray = ResolveModifier(block.Find("TrayComp"), energy.Trays, true, check);
    beam.shield = ResolveModifier(block.Find("ShieldComp"), energy.Shields, true, check);
    const BeamEntry* multileaf = block.Find("MultileafComp");
    if (!energy.MLCSupported) {
        if (multileaf != nullptr && multileaf->value != "None" &&
            multileaf->value != "Not available") {
            check.Error(multileaf, "multileaf factors are not available for " + energy.Name,
                        multileaf->value);
        }
    } else {
        beam.multileaf = ResolveModifier(multileaf, energy.MultileafFactors, true, check);
    }
    const BeamEntry* isOffset = block.Find("isOffset");
    if (isOffset != nullptr) {
        if (isOffset->value != "0" && isOffset->value != "1") {
            check.Error(isOffset, "isOffset must be 0 or 1", isOffset->value);
        } else if (isOffset->value == "1" && !OffsetAvailable(energy)) {
            check.Error(isOffset, "the energy " + energy.Name + " has no offset factors",
                        isOffset->value);
        }
        beam.isOffset = isOffset->value == "1";
    }
}

/// The texts a user types, in the order the dialog takes them.
void ResolveTyping(const BeamBlock& block, const TLinacSpec& linac, ResolvedBeam& beam,
                   Checker& check) {
    beam.typing.emplace_back(PhotonControl::BeamName, block.title);
    for (const auto& [key, control] : IdentityKeys()) {
        if (const BeamEntry* entry = block.Find(key)) {
            beam.typing.emplace_back(control, entry->value);
        }
    }
    if (const BeamEntry* depth = block.Find("BeamDepth")) {
        beam.typing.emplace_back(PhotonControl::BeamDepth, depth->value);
    }
    ResolveField(block, linac, beam, check);
    if (const BeamEntry* ssd = block.Find("BeamSSD")) {
        if (beam.technique == kIsocentric) {
            check.Error(ssd,
                        "BeamSSD cannot be typed in the isocentric technique (it follows "
                        "the depth)",
                        ssd->value);
        }
        beam.typing.emplace_back(PhotonControl::BeamSSD, ssd->value);
    }
    if (const BeamEntry* realSsd = block.Find("BeamRealSSD")) {
        beam.typing.emplace_back(PhotonControl::BeamRealSSD, realSsd->value);
    }
}

/// The entry a modifier choice stands for, making the on-the-spot entry in the beam.
template <class T>
const T* Select(const ModifierChoice& choice, EntryList<T>& adHoc, double T::*factor) {
    if (!choice.adHoc) {
        return static_cast<const T*>(choice.entry);
    }
    auto entry = std::make_unique<T>();
    entry->Name = choice.adHocName;
    (*entry).*factor = choice.adHocFactor;
    adHoc.push_back(std::move(entry));
    return adHoc.back().get();
}

} // namespace

std::optional<ResolvedBeam> ResolveBeam(const BeamBlock& block,
                                        const std::vector<std::unique_ptr<TLinacSpec>>& linacs,
                                        std::vector<InputError>& errors) {
    Checker check(block, errors);
    for (const BeamEntry& entry : block.entries) {
        if (!IsOtherKey(entry.key) && IdentityKeys().count(entry.key) == 0 &&
            FindSheetKey(entry.key) == nullptr) {
            check.Error(&entry, "unknown key", entry.key);
        }
    }
    ResolvedBeam beam;
    beam.block = &block;
    beam.linac = ResolveLinac(block, linacs, check);
    const std::optional<BeamKind> kind = ResolveKind(block, check);
    if (beam.linac == nullptr || !kind) {
        return std::nullopt;
    }
    beam.kind = *kind;
    beam.energy = ResolveEnergy(block, *beam.linac, beam.kind, check);
    if (beam.energy == nullptr) {
        return std::nullopt;
    }
    ResolveTechnique(block, beam, check);
    ResolveTyping(block, *beam.linac, beam, check);
    if (const auto* photon = dynamic_cast<const TgEnergy*>(beam.energy)) {
        ResolveModifiers(block, *photon, beam, check);
    }
    if (check.failed()) {
        return std::nullopt;
    }
    return beam;
}

BeamOutcome ComputeBeam(const ResolvedBeam& resolved, const Date& today) {
    BeamOutcome outcome;
    outcome.resolved = &resolved;
    outcome.treatment = std::make_unique<TTreatment>();
    TTreatment& treatment = *outcome.treatment;
    treatment.linac = resolved.linac;
    treatment.kind = resolved.kind;
    const auto* energy = dynamic_cast<const TgEnergy*>(resolved.energy);
    if (resolved.kind != BeamKind::Photon || energy == nullptr) {
        outcome.reason = "the beam kind '" + BeamKindText(resolved.kind) +
                         "' cannot be computed by this version";
        return outcome;
    }
    treatment.gEnergy = energy;
    outcome.beam = std::make_unique<TPhotonBeam>(resolved.block->title);
    TPhotonBeam& beam = *outcome.beam;
    beam.treatment = &treatment;

    PhotonBeamForm form(*resolved.linac, *energy);
    if (const Status technique = form.SetTechnique(resolved.technique); !technique) {
        outcome.reason = technique.reason();
        return outcome;
    }
    form.SetSheet(resolved.sheet);
    for (const auto& [control, text] : resolved.typing) {
        form.SetText(control, text);
    }
    form.SetWedge(static_cast<const Wedge*>(resolved.wedge.entry));
    form.SetTray(Select(resolved.tray, beam.adHoc.trays, &Tray::TF));
    form.SetShield(Select(resolved.shield, beam.adHoc.shields, &Shield::SF));
    form.SetMultileaf(Select(resolved.multileaf, beam.adHoc.multileafs, &MLCFValue::MLCF));
    form.SetIsOffset(resolved.isOffset);

    const Result<PhotonBeamInput> input = ReadPhotonBeamTexts(form.texts());
    if (!input) {
        outcome.reason = input.reason();
        return outcome;
    }
    const Status accepted = beam.Accept(*input, today);
    if (!accepted) {
        outcome.reason = accepted.reason();
        return outcome;
    }
    beam.sheet = resolved.sheet;
    outcome.computed = true;
    return outcome;
}

} // namespace kova::mu
