#pragma once

#include "core/linac/record_form.h"

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kova {

struct Trace;

class TokenReader;

/// An owned, ordered table. Entries keep their address for life, so beams may point at them.
template <class T>
using EntryList = std::vector<std::unique_ptr<T>>;

/// One row of an energy's factor table, edited in a window of its own (its editor).
class EnergyListItem : public EditableRecord {
public:
    /// Name of a named entry (wedge, tray, shield, multileaf factor, applicator).
    std::string Name;

    /// The entry's text in trees and lists.
    virtual std::string Caption() const { return Name; }
    /// Writes the entry in the linac file layout: values separated by a TAB, one line.
    virtual void WriteTo(std::ostream& out) const;
    /// Reads the entry's tokens; false (with the reason in the reader) on a bad token.
    virtual bool ReadFrom(TokenReader& in);

    /// The base has no controls and stores nothing.
    const FormLayout& EditorLayout() const override;
    FormTexts EditorTexts() const override;
    FormCheck SaveEditorTexts(const FormTexts& texts) override;
};

/// Depth dose at one depth of a reference field.
class PDDValue : public EnergyListItem {
public:
    double Depth = 0;       ///< cm
    double PercentDose = 0; ///< fraction of the dose at the build-up depth (1.0 there)

    std::string Caption() const override;
    void WriteTo(std::ostream& out) const override;
    bool ReadFrom(TokenReader& in) override;
    const FormLayout& EditorLayout() const override;
    FormTexts EditorTexts() const override;
    FormCheck SaveEditorTexts(const FormTexts& texts) override;
};

/// A measured square or rectangular field at SSD = SCD with its factors and depth doses.
class RefField : public EnergyListItem {
public:
    double Width = 10;  ///< cm
    double Height = 10; ///< cm
    double FieldFactor = 1;
    bool isScatterPhantomFactorAvailable = false;
    double ScatterPhantomFactor = 1;
    EntryList<PDDValue> PDDValues;

    std::string Caption() const override;
    void WriteTo(std::ostream& out) const override;
    bool ReadFrom(TokenReader& in) override;
    const FormLayout& EditorLayout() const override;
    FormTexts EditorTexts() const override;
    FormCheck SaveEditorTexts(const FormTexts& texts) override;
};

/// Wedge factor and depth-dose warp at one field size.
class WFValue : public EnergyListItem {
public:
    double PDDWarp = 1;
    double FieldSize = 0; ///< equivalent square, cm
    double WF = 1;

    std::string Caption() const override;
    void WriteTo(std::ostream& out) const override;
    bool ReadFrom(TokenReader& in) override;
    const FormLayout& EditorLayout() const override;
    FormTexts EditorTexts() const override;
    FormCheck SaveEditorTexts(const FormTexts& texts) override;
};

/// Wedge factor and warp interpolated for one field size.
struct WedgeFactors {
    double WF = 1;
    double PDDWarp = 1;
};

/// Text of a wedge type: "Static", "Dynamic", "Universal", empty for other values.
std::string WedgeTypeText(std::uint8_t wedgeType);

class Wedge : public EnergyListItem {
public:
    double MaxWidth = 0;         ///< cm
    double MaxHeight = 0;        ///< cm
    std::uint8_t WedgeType = 0;  ///< 0 Static, 1 Dynamic, 2 Universal
    bool isOffsetWedged = false; ///< do not use the offset factor when wedged
    EntryList<WFValue> WFValues;

    std::string Caption() const override;
    void WriteTo(std::ostream& out) const override;
    bool ReadFrom(TokenReader& in) override;
    const FormLayout& EditorLayout() const override;
    FormTexts EditorTexts() const override;
    FormCheck SaveEditorTexts(const FormTexts& texts) override;

    /// Wedge factor and warp for a field size s (cm): the nearest value (ties to the earlier,
    /// never 100 cm or more away), interpolated with the nearest value on the other side
    /// of s, held at the table's ends. None when no value is within 100 cm. `wfTrace` and
    /// `warpTrace`, when given, get where each comes from.
    std::optional<WedgeFactors> GetFactors(double s, Trace* wfTrace = nullptr,
                                           Trace* warpTrace = nullptr) const;
};

class Tray : public EnergyListItem {
public:
    double TF = 0; ///< tray factor; a new tray has 0, unlike every other factor

    void WriteTo(std::ostream& out) const override;
    bool ReadFrom(TokenReader& in) override;
    const FormLayout& EditorLayout() const override;
    FormTexts EditorTexts() const override;
    FormCheck SaveEditorTexts(const FormTexts& texts) override;
};

class Shield : public EnergyListItem {
public:
    double SF = 1;

    void WriteTo(std::ostream& out) const override;
    bool ReadFrom(TokenReader& in) override;
    const FormLayout& EditorLayout() const override;
    FormTexts EditorTexts() const override;
    FormCheck SaveEditorTexts(const FormTexts& texts) override;
};

class MLCFValue : public EnergyListItem {
public:
    double MLCF = 1;

    void WriteTo(std::ostream& out) const override;
    bool ReadFrom(TokenReader& in) override;
    const FormLayout& EditorLayout() const override;
    FormTexts EditorTexts() const override;
    FormCheck SaveEditorTexts(const FormTexts& texts) override;
};

/// Offset factor for one distance of the field centre from the beam axis.
class OFValue : public EnergyListItem {
public:
    double CenterFieldOffset = 0; ///< cm
    double OF = 1;

    std::string Caption() const override;
    void WriteTo(std::ostream& out) const override;
    bool ReadFrom(TokenReader& in) override;
    const FormLayout& EditorLayout() const override;
    FormTexts EditorTexts() const override;
    FormCheck SaveEditorTexts(const FormTexts& texts) override;
};

/// Electron applicator with its output factor.
class Applicator : public EnergyListItem {
public:
    double AF = 1; ///< applicator factor, cGy / MU

    void WriteTo(std::ostream& out) const override;
    bool ReadFrom(TokenReader& in) override;
    const FormLayout& EditorLayout() const override;
    FormTexts EditorTexts() const override;
    FormCheck SaveEditorTexts(const FormTexts& texts) override;
};

} // namespace kova
