#pragma once

// Turns the beams of a planning system's plan into beams of KOVA X: each static photon or
// electron treatment beam becomes a beam block (the keys and values a user would type in the
// beam's dialog), on the linac and energy the plan names, with the planning system's MU as
// the TPS MU to compare with.

#include "core/beams/beam_kind.h"
#include "core/beams/modifiers.h"
#include "core/linac/linac_spec.h"
#include "core/plan/plan_data.h"
#include "core/workbench/beam_file.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kova {

/// What the plan does not settle and the user must choose for a beam.
enum class PlanPick {
    Machine, ///< no linac has the plan's machine name: pick a linac
    Energy,  ///< no energy (or more than one) of the linac has the beam's energy: pick one
    Wedge,   ///< no wedge (or more than one) is the plan's wedge: pick one
    Tray,    ///< the plan's block tray is no tray of the energy: pick one, or make one
    Shield,  ///< the plan's shielding block is no shield of the energy: pick one, or make one
};

struct PlanQuestion {
    PlanPick pick = PlanPick::Machine;
    std::string asked; ///< what the plan says: the name or value not matched
    /// The names to pick from; for a tray or shield the energy's entries, and an entry may
    /// also be made on the spot instead.
    std::vector<std::string> candidates;
    std::string text; ///< the question as a sentence
};

/// The user's choices for one beam; an empty choice leaves the plan's value.
struct PlanAnswers {
    std::string linac;                   ///< a linac Name
    std::string energy;                  ///< an energy Name of the linac
    std::string wedge;                   ///< a wedge Name of the energy
    std::optional<ModifierValue> tray;   ///< a tray made on the spot
    std::optional<ModifierValue> shield; ///< a shield made on the spot
    std::string trayName;                ///< a tray Name of the energy
    std::string shieldName;              ///< a shield Name of the energy
};

/// One beam of the plan, imported, refused, or waiting for the user's choices. Texts are in
/// the linac files' encoding (Windows-1252), like every text of the core.
struct ImportedBeam {
    std::size_t index = 0; ///< the beam's place in the plan
    std::string title;     ///< the beam's name, or "Beam N" without one
    /// Why the beam cannot be checked; empty when it can.
    std::string refusal;
    /// Why the beam's MU cannot be compared with the plan's (no BeamMeterset that is a
    /// number); empty when it can. The beam is still computed, without a TPS MU.
    std::string tpsRefusal;
    /// What the user must choose first (none when refused). The linac comes first, then the
    /// energy, then the wedge, tray and shield together.
    std::vector<PlanQuestion> questions;
    const TLinacSpec* linac = nullptr; ///< set once the linac is known
    const TEnergy* energy = nullptr;   ///< set once the energy is known
    BeamKind kind = BeamKind::Photon;  ///< Photon Beam, Electron Beam or IMRT/VMAT Beam
    /// The beam as a beam file's block, complete when Ready(): "Linac", "Energy",
    /// "BeamKind" and the controls of the kind's dialog.
    BeamBlock block;

    bool Ready() const { return refusal.empty() && questions.empty(); }
    /// The refusal, else every question's text joined by "; "; empty when ready.
    std::string Problem() const;
};

/// Imports beam `index` of `plan` on `linacs`, with the user's `answers`. `source` names the
/// plan (its file) in the block. The rules:
/// - linac: the beam's machine name equal to a linac `Name`, else equal ignoring case;
/// - energy: `NominalBeamEnergy` (MV, MeV) and the radiation type (photon, electron) equal
///   to a photon or electron energy's nominal energy; the beam kind follows (Photon Beam or
///   Electron Beam);
/// - the first control point gives the rotations, the jaws (ASYMX/X, ASYMY/Y, mm at the
///   isocentre to cm: X1 = -first X value, X2 = second) and the SSD. The technique is
///   isocentric with depth = SAD - SSD, unless the beam's patient set-up is FIXED_SSD: then
///   the SSD technique at the SSD, the depth of the beam's dose point (the isocentre's depth
///   when the plan gives none) and the field scaled to the calibration distance SCD;
/// - BeamDose (Gy) of the fraction group, to cGy, and BeamMeterset as the TPS MU (a
///   meterset missing, not a number or below 0 gives no TPS MU and a tpsRefusal);
/// - lengths rounded to 0.01 cm and doses to 0.01 cGy, as a user types them: a plan's
///   "10.1570335168691" depth is typed 10.16 (beyond the build-up depth the MU moves by a
///   few hundredths of a percent);
/// - a wedge by ID or angle; a block tray and a shielding block by name; the multileaf
///   opening inside the jaws as a multileaf entry made on the spot ("PLAN::BEAM : factor",
///   the factor as for multileaf fields read from files), none when the leaves leave the
///   whole jaw field open; the offset factor ticked for an asymmetric field where the energy
///   has offset factors;
/// - an electron beam's applicator by ID or description, its opening as the field size.
/// A beam that moves between control points (MovesBetweenControlPoints) is an IMRT/VMAT
/// Beam on its photon energy: its segments as AddDynamicControls gives them, refused for
/// what CheckDynamicTreatmentBeam refuses.
/// Refused: what CheckStaticTreatmentBeam refuses, beams without a dose, a set-up technique
/// TBI, a fixed SSD beam without a dose point below the skin, an electron applicator not
/// matched, a plan SAD other than the linac's, an
/// asymmetric field on symmetric jaws, two wedges or two MLCs, damaged leaf data and a
/// multileaf factor that cannot be worked out.
ImportedBeam ImportPlanBeam(const PlanData& plan, std::size_t index,
                            const std::vector<std::unique_ptr<TLinacSpec>>& linacs,
                            const PlanAnswers& answers = {}, const std::string& source = {});

/// Every beam of the plan, in plan order, without choices.
std::vector<ImportedBeam> ImportPlan(const PlanData& plan,
                                     const std::vector<std::unique_ptr<TLinacSpec>>& linacs,
                                     const std::string& source = {});

/// The patient a plan is for, in Windows-1252: the name as PlanPatientName gives it and
/// the ID as the plan gives it.
struct PlanPatient {
    std::string name;
    std::string ID;
};
PlanPatient PlanPatientOf(const PlanData& plan);

/// A person's name of a plan ("Last^First^Middle^Prefix^Suffix") as the workbench shows
/// it: the components that are not empty, separated by blanks ("Last First Middle").
std::string PlanPatientName(const std::string& dicomName);

} // namespace kova
