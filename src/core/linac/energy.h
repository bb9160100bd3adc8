#pragma once

#include "core/linac/energy_list_item.h"
#include "core/linac/record_form.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace kova {

class TokenReader;

/// Base of photon and electron energies; each is edited in a window of its own.
class TEnergy : public EditableRecord {
public:
    std::string Name = "n/a";

    /// The three information lines a treatment shows under its node.
    virtual std::vector<std::string> DescribeInTree() const = 0;
    /// The energy's five rows of the dosimetric details report ("Energy" to "Original Cal
    /// Date"), an empty text for a row the kind leaves blank.
    virtual std::vector<std::string> PrintSummary() const = 0;
    /// Writes the energy block in the linac file layout.
    virtual void WriteTo(std::ostream& out) const = 0;
    /// Reads the energy block; false (with the reason in the reader) on a bad token.
    virtual bool ReadFrom(TokenReader& in) = 0;
};

/// No calibration of a linac or a source is older than this year: an earlier date is a
/// damaged or mistyped one (01/01/0001), which would decay a source's output to nothing.
inline constexpr int kEarliestCalibrationYear = 1900;

/// Why `calDate` cannot be a calibration date, or "" when it can: a day before
/// kEarliestCalibrationYear. An empty text, or one that is no date, is left to the
/// calculation, which needs a date only for a decaying source and says so there.
std::string CalDateProblem(std::string_view calDate);

/// The span of an energy's reference fields, cm. Without reference fields it is 100 cm
/// down to 0, so that it limits nothing.
struct RefFieldSpan {
    double smallestWidth = 100, smallestHeight = 100;
    double largestWidth = 0, largestHeight = 0;
};

/// A photon energy: calibration, field limits, capability flags and six factor tables.
class TgEnergy : public TEnergy {
public:
    double NominalEnergy = 0;                                    ///< MV
    double MaxWidth = 0, MaxHeight = 0;                          ///< cm
    double MaxLeft = 0, MaxRight = 0, MaxBottom = 0, MaxTop = 0; ///< largest jaw positions, cm
    double MinWidth = 0, MinHeight = 0;                          ///< cm
    double MinLeft = 0, MinRight = 0, MinBottom = 0, MinTop = 0; ///< smallest jaw positions, cm
    double SCD = 0;        ///< source-chamber distance of the calibration, cm
    double Buildup = 0;    ///< depth of the calibration point, cm
    double cGyUMRatio = 0; ///< calibration factor, cGy per MU
    double HalfLife = 0;   ///< years; 0 when the source does not decay
    std::string CalDate;   ///< calibration date "dd/mm/yyyy", kept as stored ("-" reads as empty)
    bool TBISupported = true;
    double TBIRef = 0;       ///< TBI reference distance, cm
    double TBIFieldSize = 0; ///< TBI field size, cm
    bool OpenWedgeMUSupported = false;
    bool PrintOffset = false; ///< false "Offset alla Varian", true "Offset alla Philips"
    bool MLCSupported = false;
    EntryList<RefField> RefFields;
    EntryList<Wedge> Wedges;
    EntryList<Tray> Trays;
    double IgnoreOffset = 0; ///< offsets below this (cm) count as none
    EntryList<OFValue> OffsetFactors;
    EntryList<MLCFValue> MultileafFactors;
    EntryList<Shield> Shields;

    /// The smallest and largest width and height of the reference fields.
    RefFieldSpan RefFieldsSpan() const;

    /// "Energy = NAME", "Buildup = B cm", "SCD = C cm".
    std::vector<std::string> DescribeInTree() const override;
    /// Name, Buildup, SCD, cGyUMRatio "0.000", CalDate as stored.
    std::vector<std::string> PrintSummary() const override;
    void WriteTo(std::ostream& out) const override;
    bool ReadFrom(TokenReader& in) override;
    /// The energy window ("gEnergy" or "eEnergy").
    const FormLayout& EditorLayout() const override;
    FormTexts EditorTexts() const override;
    FormCheck SaveEditorTexts(const FormTexts& texts) override;
};

/// An electron energy: calibration geometry and applicators.
class TeEnergy : public TEnergy {
public:
    double NominalEnergy = 0; ///< MeV
    double SSD = 0;           ///< cm
    double Buildup90 = 0;     ///< depth of the 90% dose, cm
    EntryList<Applicator> Applicators;

    /// "Energy = NAME", "Buildup90 = B cm", "SSD = S cm".
    std::vector<std::string> DescribeInTree() const override;
    /// Name, Buildup90, SSD; no calibration factor or date (two blank rows).
    std::vector<std::string> PrintSummary() const override;
    void WriteTo(std::ostream& out) const override;
    bool ReadFrom(TokenReader& in) override;
    /// The energy window ("gEnergy" or "eEnergy").
    const FormLayout& EditorLayout() const override;
    FormTexts EditorTexts() const override;
    FormCheck SaveEditorTexts(const FormTexts& texts) override;
};

} // namespace kova
