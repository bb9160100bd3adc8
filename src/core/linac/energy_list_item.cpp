#include "core/linac/energy_list_item.h"

#include "core/common/nearest_bracket.h"
#include "core/dosimetry/trace.h"
#include "core/linac/token_reader.h"
#include "core/text/number_text.h"

#include <ostream>

namespace kova {
namespace {

/// Numbers are written in the general form (15 significant digits), so a written table
/// reads back to the values the program uses.
std::string Num(double value) {
    return FormatGeneral(value);
}

/// A named entry with one factor: "Name<TAB>factor".
bool ReadNamedFactor(TokenReader& in, std::string& name, double& factor, const char* field) {
    return in.TextWord(name, "Name") && in.NonNegative(factor, field);
}

void WriteNamedFactor(std::ostream& out, const std::string& name, double factor) {
    out << EncodeTextWord(name) << '\t' << Num(factor) << '\n';
}

} // namespace

void EnergyListItem::WriteTo(std::ostream&) const {
}

bool EnergyListItem::ReadFrom(TokenReader&) {
    return true;
}

std::string PDDValue::Caption() const {
    return Num(Depth) + " cm = " + Num(PercentDose);
}

void PDDValue::WriteTo(std::ostream& out) const {
    out << Num(Depth) << '\t' << Num(PercentDose) << '\n';
}

bool PDDValue::ReadFrom(TokenReader& in) {
    return in.NonNegative(Depth, "Depth") && in.NonNegative(PercentDose, "PercentDose");
}

std::string RefField::Caption() const {
    return Num(Width) + " cm x " + Num(Height) + " cm";
}

void RefField::WriteTo(std::ostream& out) const {
    out << Num(Width) << '\t' << Num(Height) << '\t' << Num(FieldFactor) << '\t'
        << (isScatterPhantomFactorAvailable ? 1 : 0) << '\t' << Num(ScatterPhantomFactor) << '\n';
    out << PDDValues.size() << '\n';
    for (const auto& value : PDDValues) {
        value->WriteTo(out);
    }
}

bool RefField::ReadFrom(TokenReader& in) {
    if (!in.NonNegative(Width, "Width") || !in.NonNegative(Height, "Height") ||
        !in.NonNegative(FieldFactor, "FieldFactor") ||
        !in.Flag(isScatterPhantomFactorAvailable, "isScatterPhantomFactorAvailable") ||
        !in.NonNegative(ScatterPhantomFactor, "ScatterPhantomFactor")) {
        return false;
    }
    return ReadEntries(in, PDDValues, "depth dose count", "depth dose");
}

std::string WFValue::Caption() const {
    return Num(FieldSize) + " cm";
}

void WFValue::WriteTo(std::ostream& out) const {
    out << Num(FieldSize) << '\t' << Num(PDDWarp) << '\t' << Num(WF) << '\n';
}

bool WFValue::ReadFrom(TokenReader& in) {
    return in.NonNegative(FieldSize, "FieldSize") && in.NonNegative(PDDWarp, "PDDWarp") &&
           in.NonNegative(WF, "WF");
}

std::string WedgeTypeText(std::uint8_t wedgeType) {
    switch (wedgeType) {
    case 0:
        return "Static";
    case 1:
        return "Dynamic";
    case 2:
        return "Universal";
    default:
        return "";
    }
}

std::string Wedge::Caption() const {
    return Name + " (" + WedgeTypeText(WedgeType) + ")";
}

void Wedge::WriteTo(std::ostream& out) const {
    out << EncodeTextWord(Name) << '\t' << static_cast<int>(WedgeType) << '\t' << Num(MaxWidth)
        << '\t' << Num(MaxHeight) << '\t' << (isOffsetWedged ? 1 : 0) << '\n';
    out << WFValues.size() << '\n';
    for (const auto& value : WFValues) {
        value->WriteTo(out);
    }
}

bool Wedge::ReadFrom(TokenReader& in) {
    if (!in.TextWord(Name, "Name") || !in.Byte(WedgeType, "WedgeType") ||
        !in.Real(MaxWidth, "MaxWidth") || !in.Real(MaxHeight, "MaxHeight") ||
        !in.Flag(isOffsetWedged, "isOffsetWedged")) {
        return false;
    }
    return ReadEntries(in, WFValues, "wedge factor count", "wedge factor");
}

std::optional<WedgeFactors> Wedge::GetFactors(double s, Trace* wfTrace, Trace* warpTrace) const {
    const auto sizeOf = [this](std::size_t i) { return WFValues[i]->FieldSize; };
    const auto found = FindNearestBracket(WFValues.size(), sizeOf, s, 100);
    if (!found) {
        return std::nullopt;
    }
    const WFValue& n = *WFValues[found->nearest];
    WedgeFactors factors{n.WF, n.PDDWarp};
    if (found->bracket) {
        const WFValue& p = *WFValues[*found->bracket];
        factors = {Interpolate(p.FieldSize, p.WF, n.FieldSize, n.WF, s),
                   Interpolate(p.FieldSize, p.PDDWarp, n.FieldSize, n.PDDWarp, s)};
    }
    const auto fill = [&](Trace* trace, const char* what, double WFValue::*member, double value) {
        if (trace == nullptr) {
            return;
        }
        trace->table = "wedge " + Name + ": " + what;
        const auto entryOf = [&](std::size_t i) {
            const WFValue& entry = *WFValues[i];
            return TraceEntry{Num(entry.FieldSize) + " cm",
                              {{"field size", entry.FieldSize, "cm", {}}},
                              {what, entry.*member, {}, {}},
                              1};
        };
        TraceOneDimension(*trace, *found, {"equivalent size", s, "cm", {}}, entryOf);
        trace->value = value;
    };
    fill(wfTrace, "wedge factor", &WFValue::WF, factors.WF);
    fill(warpTrace, "warp", &WFValue::PDDWarp, factors.PDDWarp);
    return factors;
}

void Tray::WriteTo(std::ostream& out) const {
    WriteNamedFactor(out, Name, TF);
}
bool Tray::ReadFrom(TokenReader& in) {
    return ReadNamedFactor(in, Name, TF, "TF");
}

void Shield::WriteTo(std::ostream& out) const {
    WriteNamedFactor(out, Name, SF);
}
bool Shield::ReadFrom(TokenReader& in) {
    return ReadNamedFactor(in, Name, SF, "SF");
}

void MLCFValue::WriteTo(std::ostream& out) const {
    WriteNamedFactor(out, Name, MLCF);
}
bool MLCFValue::ReadFrom(TokenReader& in) {
    return ReadNamedFactor(in, Name, MLCF, "MLCF");
}

void Applicator::WriteTo(std::ostream& out) const {
    WriteNamedFactor(out, Name, AF);
}
bool Applicator::ReadFrom(TokenReader& in) {
    return ReadNamedFactor(in, Name, AF, "AF");
}

std::string OFValue::Caption() const {
    return Num(CenterFieldOffset) + " cm";
}

void OFValue::WriteTo(std::ostream& out) const {
    out << Num(CenterFieldOffset) << '\t' << Num(OF) << '\n';
}

bool OFValue::ReadFrom(TokenReader& in) {
    return in.Real(CenterFieldOffset, "CenterFieldOffset") && in.NonNegative(OF, "OF");
}

} // namespace kova
