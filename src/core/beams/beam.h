#pragma once

#include "core/beams/beam_kind.h"
#include "core/common/text_tree.h"
#include "core/dosimetry/energy_plots.h"
#include "core/dosimetry/trace.h"
#include "core/text/date_text.h"

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kova {

class BeamForm;
class EnergyListItem;
class TLinacSpec;
class TgEnergy;
class TeEnergy;

/// Columns of the patient set-up sheet that a beam fills.
enum class SetupColumn {
    Fascio,
    IDFascio,
    DSP,
    DimCampoWidth,
    DimCampoHeight,
    RotGantry,
    RotColl,
    RotLettino,
    Blocchi,
    Schermi,
    Cunei,
    UM,
};

/// A name for each column that tells the two "Dim Campo" columns apart ("Dim Campo width",
/// "Dim Campo height"); the others are their headings ("Fascio", "UM"...).
const char* SetupColumnName(SetupColumn column);

/// One cell of a beam's set-up row: one or two lines of text.
struct SetupCell {
    SetupColumn column;
    std::vector<std::string> lines;
};

/// Image indexes of result lines in the workbench tree (0 to 2 are patient, treatment and
/// beam).
enum ResultImage : int {
    kImageWedgeLine = 3,
    kImageTrayLine = 4,
    kImageShieldLine = 5,
    kImageOffsetLine = 6,
    kImageMultileafLine = 7,
    kImageApplicatorLine = 8,
};

/// Number of rows of a beam's column in the dosimetric details report.
inline constexpr int kDetailsRows = 37;

/// A value a beam reports about its inputs or factors: none (no entry), a flag, a code, a
/// number or a text.
using ReportedValue = std::variant<std::monostate, bool, int, double, std::string>;

/// One named input or factor of a beam, as tools list them.
struct NamedValue {
    std::string name;
    ReportedValue value;
};

/// The linac and energy a beam is computed on, given by the treatment that holds it.
struct BeamMachine {
    const TLinacSpec* linac = nullptr;
    const TgEnergy* gEnergy = nullptr; ///< the photon energy of the photon kinds
    const TeEnergy* eEnergy = nullptr; ///< the electron energy of electron beams
};

/// The largest planning-system MU a beam may be compared with: no beam is given more, and
/// the difference in percent of KOVA X's MU (at least kLeastMU) stays a number.
inline constexpr double kMaxTPSMU = 100000;

/// What every beam kind keeps. Lengths in cm, the dose in cGy; the rotations as typed.
struct BeamFields {
    std::string name;
    std::string ID;
    double dose = 0;
    std::string gantry, jaws, couch;
    double width = 0, height = 0; ///< field at the calibration plane
    double equivSize = 0;         ///< equivalent square of the field
    double SSD = 0;               ///< source-surface distance used by the calculation
    double realSSD = 0;           ///< source-surface distance as entered, shown and printed
    double depth = 0;             ///< depth of the dose point
    /// The MU the planning system gives for the beam, to compare with; none when not typed.
    std::optional<double> tpsMU;
};

/// Base of every beam kind: what all kinds keep and how the workbench, the treatment, the
/// reports and the tools use a beam without knowing its kind. A beam holds its inputs and
/// results once: the tree, the report column, the set-up row and the tools all read them
/// here, so renaming a beam renames it everywhere.
class TBeam : public BeamFields {
public:
    explicit TBeam(std::string beamName = {}) { name = std::move(beamName); }
    TBeam& operator=(const TBeam&) = delete;
    virtual ~TBeam() = default;

    /// The linac and energy behind the beam; empty for a beam outside a treatment.
    BeamMachine machine;
    double MU = 0;           ///< monitor units of the last successful calculation
    Date day;                ///< the day of the last successful calculation
    bool calculated = false; ///< only then are results shown and printed
    /// Why a beam of the workbench has no results: the data of its linac changed and its
    /// stored inputs are refused on them. Shown under the beam while it is not calculated.
    std::string outOfDate;

    virtual BeamKind Kind() const = 0;
    /// The dose the beam delivers, cGy.
    virtual double TotalDose() const { return dose; }
    /// All the MU the beam delivers (both parts of a two-part beam): what a planning system's
    /// MU for the beam compares with.
    virtual double TotalMU() const { return MU; }
    /// The MU as the header of a result shows them ("298.51"; both parts of a two-part beam).
    virtual std::string MUText() const;
    /// The lines shown under the beam's node after its last successful calculation.
    virtual std::vector<TextNode> ShowResults() const = 0;
    /// The beam's column of the dosimetric details report, one text per row
    /// (kDetailsRows texts, empty for a blank row); `printDay` is the day of printing.
    virtual std::vector<std::string> DetailsColumn(const Date& printDay) const = 0;
    /// The beam's cells of the patient set-up sheet.
    virtual std::vector<SetupCell> SetupRow() const = 0;
    /// The table entries the stored beam refers to and its MU was read from (a wedge with
    /// its factors, the offset factors of a field off the axis), computed or not. The
    /// reference fields of a photon energy are every photon beam's: see UsedData.
    virtual std::vector<const EnergyListItem*> UsedEntries() const = 0;
    /// The stored inputs and the factors of the last calculation, by name.
    virtual std::vector<NamedValue> Inputs() const = 0;
    virtual std::vector<NamedValue> Factors() const = 0;
    /// Where the factors of the last calculation come from, each named as in Factors().
    virtual TraceList Traces() const { return {}; }
    /// Where the last calculation read the energy's tables and what it read there, to mark
    /// on the energy's plots; none for a beam not calculated or a kind without such tables.
    virtual PlotMarks LookupMarks() const { return {}; }
    /// The form that edits this beam: its controls' texts and the rules that run on typing.
    virtual std::unique_ptr<BeamForm> CreateForm() = 0;
    /// An independent copy of the beam: its inputs, results and machine, and copies of the
    /// entries it made on the spot, selected as the beam selects its own. An edit works on a
    /// copy, so that the beam itself can be put back whole.
    virtual std::unique_ptr<TBeam> Clone() const = 0;

protected:
    /// For Clone only: each kind copies its own parts.
    TBeam(const TBeam&) = default;
};

/// A new beam of `kind` named `name` on `machine`.
std::unique_ptr<TBeam> CreateBeam(BeamKind kind, const std::string& name,
                                  const BeamMachine& machine);

} // namespace kova
