// The wedge, block tray and shielding block of a plan's photon beam, matched to the

#include "core/beams/control_names.h" // energy's entries, chosen by the user, or typed on the spot.
#include "core/plan/plan_controls.h"
#include "core/plan/plan_match.h"
#include "core/text/number_text.h"

#include <algorithm>

namespace kova {
namespace {

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

/// "NAME : FACTOR", an entry made on the spot.
std::string OnTheSpot(const ModifierValue& value) {
    return value.name + " : " + FormatGeneral(value.factor);
}

void Ask(ImportedBeam& imported, PlanPick pick, std::string asked,
         std::vector<std::string> candidates, std::string text) {
    imported.questions.push_back({pick, std::move(asked), std::move(candidates), std::move(text)});
}

Status AddWedge(const PlanBeamContext& context, const TgEnergy& energy, ImportedBeam& imported) {
    const std::vector<PlanWedge>& wedges = context.beam.wedges;
    if (wedges.empty()) {
        return Status::Ok();
    }
    if (wedges.size() > 1) {
        return Status::Fail("the beam has " + std::to_string(wedges.size()) +
                            " wedges; a beam takes one");
    }
    if (!context.answers.wedge.empty()) {
        AddControl(imported, controls::kWedgeComp, context.answers.wedge);
        return Status::Ok();
    }
    const PlanWedge& wedge = wedges.front();
    const std::vector<const Wedge*> matches = WedgesFor(wedge, energy);
    if (matches.size() == 1) {
        AddControl(imported, controls::kWedgeComp, matches.front()->Name);
        return Status::Ok();
    }
    if (energy.Wedges.empty()) {
        return Status::Fail("the plan's wedge " + Quoted(wedge.ID) + " has no wedge of " +
                            energy.Name + " to match");
    }
    std::vector<std::string> names;
    for (const Wedge* match : matches) {
        names.push_back(match->Name);
    }
    const std::string angle = wedge.angle ? " (" + FormatGeneral(*wedge.angle) + " degrees)" : "";
    const std::string what = "the plan's wedge " + Quoted(wedge.ID) + angle;
    const std::string text = names.empty() ? what + " is no wedge of " + energy.Name
                                           : what + " may be several wedges of " + energy.Name;
    if (names.empty()) {
        names = NamesOf(energy.Wedges);
    }
    Ask(imported, PlanPick::Wedge, wedge.ID, names, text + " (wedges: " + JoinNames(names) + ")");
    return Status::Ok();
}

/// The one value of `field` that the beam's blocks give (empty when none); refused when
/// they give several.
Result<std::string> OneOf(const std::vector<PlanBlock>& blocks, std::string PlanBlock::*field,
                          const std::string& type, const std::string& what) {
    std::vector<std::string> values;
    for (const PlanBlock& block : blocks) {
        const std::string& value = block.*field;
        if ((type.empty() || block.type == type) && !value.empty() &&
            std::find(values.begin(), values.end(), value) == values.end()) {
            values.push_back(value);
        }
    }
    if (values.size() > 1) {
        return Result<std::string>::Fail("the beam has " + std::to_string(values.size()) + " " +
                                         what + "s (" + JoinNames(values) + "); a beam takes one");
    }
    return values.empty() ? std::string() : values.front();
}

/// What the user answered for a tray or a shield.
struct NamedAnswer {
    const std::optional<ModifierValue>& onTheSpot;
    const std::string& entryName;
};

/// A tray or a shield: the answer typed on the spot, else the entry the user picked, else
/// the entry the plan names, else a question.
template <class T>
void AddNamed(ImportedBeam& imported, std::string_view control, const NamedAnswer& answer,
              const EntryList<T>& entries, const std::string& name, PlanPick pick,
              const std::string& unmatched) {
    const T* picked = answer.entryName.empty() ? nullptr : FindNamed(entries, answer.entryName);
    if (answer.onTheSpot) {
        AddControl(imported, control, OnTheSpot(*answer.onTheSpot));
    } else if (picked != nullptr) {
        AddControl(imported, control, picked->Name);
    } else if (const T* entry = name.empty() ? nullptr : FindNamed(entries, name)) {
        AddControl(imported, control, entry->Name);
    } else {
        Ask(imported, pick, name, NamesOf(entries),
            unmatched + ": a name and factor must be given");
    }
}

Status AddBlocks(const PlanBeamContext& context, const TgEnergy& energy, ImportedBeam& imported) {
    const std::vector<PlanBlock>& blocks = context.beam.blocks;
    if (blocks.empty()) {
        return Status::Ok();
    }
    const Result<std::string> tray = OneOf(blocks, &PlanBlock::trayID, "", "block tray");
    const Result<std::string> shield =
        OneOf(blocks, &PlanBlock::name, "SHIELDING", "shielding block");
    if (!tray || !shield) {
        return !tray ? tray.status() : shield.status();
    }
    const PlanAnswers& answers = context.answers;
    AddNamed(imported, controls::kTrayComp, {answers.tray, answers.trayName}, energy.Trays, *tray,
             PlanPick::Tray,
             tray->empty()
                 ? "the plan's blocks name no tray"
                 : "the plan's block tray " + Quoted(*tray) + " is no tray of " + energy.Name);
    const bool shielding = std::any_of(blocks.begin(), blocks.end(),
                                       [](const PlanBlock& b) { return b.type == "SHIELDING"; });
    if (shielding) {
        AddNamed(imported, controls::kShieldComp, {answers.shield, answers.shieldName},
                 energy.Shields, *shield, PlanPick::Shield,
                 "the plan's shielding block " + Quoted(*shield) + " is no shield of " +
                     energy.Name);
    }
    return Status::Ok();
}

} // namespace

Status AddPhotonModifiers(const PlanBeamContext& context, const TgEnergy& energy,
                          ImportedBeam& imported) {
    if (const Status wedge = AddWedge(context, energy, imported); !wedge) {
        return wedge;
    }
    return AddBlocks(context, energy, imported);
}

} // namespace kova
