#include "core/linac/energy.h"

#include "core/linac/token_reader.h"
#include "core/text/date_text.h"
#include "core/text/number_text.h"

#include <algorithm>
#include <ostream>

namespace kova {
namespace {

std::string Num(double value) {
    return FormatGeneral(value);
}

/// The word written for an empty calibration date, which no token can hold; it reads back
/// empty.
constexpr const char* kNoCalDate = "-";

template <class T>
void WriteEntries(std::ostream& out, const EntryList<T>& list) {
    out << list.size() << '\n';
    for (const auto& entry : list) {
        entry->WriteTo(out);
    }
}

} // namespace

std::string CalDateProblem(std::string_view calDate) {
    const Result<Date> date = ParseShortDate(calDate);
    if (date && date->year < kEarliestCalibrationYear) {
        return "the calibration date " + std::string(calDate) + " is before " +
               std::to_string(kEarliestCalibrationYear);
    }
    return "";
}

RefFieldSpan TgEnergy::RefFieldsSpan() const {
    RefFieldSpan span;
    for (const auto& field : RefFields) {
        span.smallestWidth = std::min(span.smallestWidth, field->Width);
        span.smallestHeight = std::min(span.smallestHeight, field->Height);
        span.largestWidth = std::max(span.largestWidth, field->Width);
        span.largestHeight = std::max(span.largestHeight, field->Height);
    }
    return span;
}

std::vector<std::string> TgEnergy::DescribeInTree() const {
    return {"Energy = " + Name, "Buildup = " + Num(Buildup) + " cm", "SCD = " + Num(SCD) + " cm"};
}

std::vector<std::string> TgEnergy::PrintSummary() const {
    return {Name, Num(Buildup), Num(SCD), FormatFloat("0.000", cGyUMRatio), CalDate};
}

void TgEnergy::WriteTo(std::ostream& out) const {
    out << EncodeTextWord(Name) << '\t' << Num(NominalEnergy) << '\n'
        << Num(MaxWidth) << '\t' << Num(MaxHeight) << '\t' << Num(MinWidth) << '\t'
        << Num(MinHeight) << '\n'
        << Num(MaxLeft) << '\t' << Num(MaxRight) << '\t' << Num(MaxBottom) << '\t' << Num(MaxTop)
        << '\n'
        << Num(MinLeft) << '\t' << Num(MinRight) << '\t' << Num(MinBottom) << '\t' << Num(MinTop)
        << '\n'
        << Num(SCD) << '\t' << Num(Buildup) << '\n'
        << (TBISupported ? 1 : 0) << '\t' << Num(TBIRef) << '\t' << Num(TBIFieldSize) << '\n'
        << (OpenWedgeMUSupported ? 1 : 0) << '\t' << (PrintOffset ? 1 : 0) << '\t'
        << (MLCSupported ? 1 : 0) << '\n'
        << Num(IgnoreOffset) << '\n'
        << Num(cGyUMRatio) << '\t' << Num(HalfLife) << '\t'
        << (CalDate.empty() ? std::string(kNoCalDate) : CalDate) << '\n';
    WriteEntries(out, RefFields);
    WriteEntries(out, Wedges);
    WriteEntries(out, Trays);
    WriteEntries(out, OffsetFactors);
    WriteEntries(out, MultileafFactors);
    WriteEntries(out, Shields);
}

bool TgEnergy::ReadFrom(TokenReader& in) {
    const bool scalars =
        in.TextWord(Name, "Name") && in.Real(NominalEnergy, "NominalEnergy") &&
        in.Real(MaxWidth, "MaxWidth") && in.Real(MaxHeight, "MaxHeight") &&
        in.Real(MinWidth, "MinWidth") && in.Real(MinHeight, "MinHeight") &&
        in.Real(MaxLeft, "MaxLeft") && in.Real(MaxRight, "MaxRight") &&
        in.Real(MaxBottom, "MaxBottom") && in.Real(MaxTop, "MaxTop") &&
        in.Real(MinLeft, "MinLeft") && in.Real(MinRight, "MinRight") &&
        in.Real(MinBottom, "MinBottom") && in.Real(MinTop, "MinTop") && in.Real(SCD, "SCD") &&
        in.Real(Buildup, "Buildup") && in.Flag(TBISupported, "TBISupported") &&
        in.Real(TBIRef, "TBIRef") && in.Real(TBIFieldSize, "TBIFieldSize") &&
        in.Flag(OpenWedgeMUSupported, "OpenWedgeMUSupported") &&
        in.Flag(PrintOffset, "PrintOffset") && in.Flag(MLCSupported, "MLCSupported") &&
        in.Real(IgnoreOffset, "IgnoreOffset") && in.NonNegative(cGyUMRatio, "cGyUMRatio") &&
        in.NonNegative(HalfLife, "HalfLife") && in.Word(CalDate, "CalDate");
    if (CalDate == kNoCalDate) {
        CalDate.clear();
    }
    if (const std::string problem = CalDateProblem(CalDate); scalars && !problem.empty()) {
        return in.Fail(problem, "CalDate");
    }
    return scalars && ReadEntries(in, RefFields, "reference field count", "reference field") &&
           ReadEntries(in, Wedges, "wedge count", "wedge") &&
           ReadEntries(in, Trays, "tray count", "tray") &&
           ReadEntries(in, OffsetFactors, "offset factor count", "offset factor") &&
           ReadEntries(in, MultileafFactors, "multileaf factor count", "multileaf factor") &&
           ReadEntries(in, Shields, "shield count", "shield");
}

std::vector<std::string> TeEnergy::DescribeInTree() const {
    return {"Energy = " + Name, "Buildup90 = " + Num(Buildup90) + " cm",
            "SSD = " + Num(SSD) + " cm"};
}

std::vector<std::string> TeEnergy::PrintSummary() const {
    return {Name, Num(Buildup90), Num(SSD), "", ""};
}

void TeEnergy::WriteTo(std::ostream& out) const {
    out << EncodeTextWord(Name) << '\t' << Num(NominalEnergy) << '\t' << Num(SSD) << '\t'
        << Num(Buildup90) << '\n';
    WriteEntries(out, Applicators);
}

bool TeEnergy::ReadFrom(TokenReader& in) {
    return in.TextWord(Name, "Name") && in.Real(NominalEnergy, "NominalEnergy") &&
           in.Real(SSD, "SSD") && in.Real(Buildup90, "Buildup90") &&
           ReadEntries(in, Applicators, "applicator count", "applicator");
}

} // namespace kova
