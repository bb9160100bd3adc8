#pragma once

#include "core/common/text_tree.h"
#include "core/text/date_text.h"

#include <string>
#include <vector>

namespace kova {

class TTreatment;
class EnergyListItem;

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

/// Base of every beam kind: the fields all kinds share and how the workbench, the treatment
/// and the reports use a beam without knowing its kind.
class TBeam {
public:
    explicit TBeam(std::string beamName = {}) : name(std::move(beamName)) {}
    TBeam(const TBeam&) = delete;
    TBeam& operator=(const TBeam&) = delete;
    virtual ~TBeam() = default;

    /// The treatment that gives the linac and energy; null when there is none.
    const TTreatment* treatment = nullptr;

    std::string name;
    std::string ID;
    double dose = 0;                 ///< prescribed dose, cGy
    std::string gantry, jaws, couch; ///< rotations as typed
    double width = 0, height = 0;    ///< field at the calibration plane, cm
    double equivSize = 0;            ///< equivalent square, cm
    double SSD = 0;                  ///< source-surface distance used, cm
    double realSSD = 0;              ///< source-surface distance as entered, cm
    double depth = 0;                ///< depth of the dose point, cm
    double MU = 0;                   ///< monitor units of the last successful calculation

    /// True once a calculation succeeded; only then are results shown and printed.
    bool calculated = false;

    /// The dose the beam delivers, cGy.
    virtual double TotalDose() const { return dose; }
    /// The lines shown under the beam's node after its last successful calculation.
    virtual std::vector<TextNode> ShowResults() const = 0;
    /// The beam's column of the dosimetric details report, one text per row
    /// (kDetailsRows texts, empty for a blank row); `printDay` is the day of printing.
    virtual std::vector<std::string> DetailsColumn(const Date& printDay) const = 0;
    /// The beam's cells of the patient set-up sheet.
    virtual std::vector<SetupCell> SetupRow() const = 0;
    /// The table entries of the energy that the stored beam refers to (not those it owns).
    virtual std::vector<const EnergyListItem*> UsedEntries() const = 0;
};

} // namespace kova
