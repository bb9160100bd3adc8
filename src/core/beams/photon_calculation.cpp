#include "core/beams/photon_calculation.h"

#include "core/linac/linac_spec.h"
#include "core/text/number_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iterator>

namespace kova {
namespace {

/// Deepest dose point accepted, cm.
constexpr double kMaxDepth = 30;

std::string Cm(double value) {
    return FigureText(value, "cm");
}

/// "Width 45 cm is above the maximum 40 cm (wedge W60)" and the like; ok within limits.
Status CheckRange(const std::string& what, double value, double minimum,
                  const std::string& minimumFrom, double maximum, const std::string& maximumFrom) {
    const auto from = [](const std::string& source) {
        return source.empty() ? std::string() : " (" + source + ")";
    };
    if (!std::isfinite(value)) {
        return Status::Fail(what + " is " + Cm(value));
    }
    if (value < minimum) {
        return Status::Fail(what + " " + Cm(value) + " is below the minimum " + Cm(minimum) +
                            from(minimumFrom));
    }
    if (value > maximum) {
        return Status::Fail(what + " " + Cm(value) + " is above the maximum " + Cm(maximum) +
                            from(maximumFrom));
    }
    return Status::Ok();
}

/// A size as the dialog shows an equivalent size: to one decimal.
double AsShown(double size) {
    const Result<double> shown = StrToFloat(FormatFloat("#0.0;;0", size));
    return shown ? *shown : size;
}

/// The equivalent size within the equivalent squares of the smallest and largest fields.
/// The size is typed and kept as the dialog shows it, to one decimal in the plane the field
/// is typed in; the limits are compared at that same precision in that plane, so a field of
/// the limits themselves (a 7 x 9 largest field: 7.875, shown 7.9) is never refused.
Status CheckEquivalentSize(const TLinacSpec& linac, const TgEnergy& energy,
                           const PhotonBeamInput& in, const PhotonLimits& limits) {
    // From the typed plane to the calibration plane (AtCalibrationPlane).
    const double f =
        in.technique == kIsocentric && energy.SCD > 0 && linac.SAD > 0 ? energy.SCD / linac.SAD : 1;
    return CheckRange("Equivalent size", AsShown(in.equivSize / f),
                      AsShown(EquivalentSquare(limits.minWidth, limits.minHeight) / f),
                      "equivalent square of the smallest field",
                      AsShown(EquivalentSquare(limits.maxWidth, limits.maxHeight) / f),
                      "equivalent square of the largest field");
}

/// The field: width and height, each jaw and the equivalent size within the limits.
Status CheckField(const TLinacSpec& linac, const TgEnergy& energy, const PhotonBeamInput& in,
                  const PhotonLimits& limits) {
    const std::string ofEnergy = "energy " + energy.Name;
    for (const Status& status : {
             CheckRange("Width", in.width, limits.minWidth, limits.minWidthFrom, limits.maxWidth,
                        limits.maxWidthFrom),
             CheckRange("Height", in.height, limits.minHeight, limits.minHeightFrom,
                        limits.maxHeight, limits.maxHeightFrom),
             CheckRange("Left " + linac.LeftChar, in.X1, energy.MinLeft, ofEnergy, energy.MaxLeft,
                        ofEnergy),
             CheckRange("Right " + linac.RightChar, in.X2, energy.MinRight, ofEnergy,
                        energy.MaxRight, ofEnergy),
             CheckRange("Bottom " + linac.BottomChar, in.Y1, energy.MinBottom, ofEnergy,
                        energy.MaxBottom, ofEnergy),
             CheckRange("Top " + linac.TopChar, in.Y2, energy.MinTop, ofEnergy, energy.MaxTop,
                        ofEnergy),
             CheckEquivalentSize(linac, energy, in, limits),
         }) {
        if (!status) {
            return status;
        }
    }
    return Status::Ok();
}

/// The offset within the tabulated offsets, the SSD and the real SSD within kSsdBeforeScd
/// and kSsdBeyondScd of the SCD, and the depth within 30 cm.
Status CheckOffsetAndDepth(const TgEnergy& energy, const PhotonBeamInput& in,
                           const PhotonLimits& limits) {
    if (in.offset < 0 || in.offset > limits.largestOffset) {
        return Status::Fail(energy.OffsetFactors.empty()
                                ? "Offset " + Cm(in.offset) + " cannot be used: energy " +
                                      energy.Name + " has no offset factors"
                                : "Offset " + Cm(in.offset) + " is outside 0 to " +
                                      Cm(limits.largestOffset) + " (largest tabulated offset)");
    }
    const double nearest = energy.SCD - kSsdBeforeScd;
    const double farthest = energy.SCD + kSsdBeyondScd;
    for (const auto& [what, ssd] : {std::pair{"SSD", in.SSD}, std::pair{"Real SSD", in.realSSD}}) {
        if (Status range = CheckRange(what, ssd, nearest, "SCD - 30 cm", farthest, "SCD + 100 cm");
            !range) {
            return range;
        }
    }
    if (in.depth < 0 || in.depth > kMaxDepth) {
        return Status::Fail("Depth " + Cm(in.depth) + " is outside 0 to 30 cm");
    }
    return Status::Ok();
}

/// The refusal of a depth-dose table read at `t` for a beam typed at depth d = in.depth:
/// the depth as typed and the deepest (or shallowest) depth the table allows for it. Below
/// the build-up depth b a wedged beam reads the table at t = b + (d - b) x warp, so the table's
/// last depth T allows d up to b + (T - b) / warp; the figure is cut to 0.01 cm towards the
/// inside of the table, so that typing it is accepted.
Status DepthOutside(const PhotonBeamInput& in, double t, double b, const DepthOutsideTable& table) {
    const bool deeper = t > table.last;
    const double tableLimit = deeper ? table.last : table.first;
    const bool warped = t != in.depth && in.depth > b && tableLimit > b;
    double limit = warped ? b + (tableLimit - b) * (in.depth - b) / (t - b) : tableLimit;
    limit = deeper ? std::floor(limit * 100) / 100 : std::ceil(limit * 100) / 100;
    std::string text = "Depth " + Cm(in.depth) + " is outside the depth-dose table of the " +
                       "reference field " + FigureText(table.fieldWidth) + " cm x " +
                       Cm(table.fieldHeight) + ": the " + (deeper ? "deepest" : "shallowest") +
                       " depth it allows is " + Cm(limit);
    if (warped) {
        const std::string wedge = in.wedge != nullptr ? "the wedge " + in.wedge->Name : "a wedge";
        text += " (" + wedge + " warps it to " + Cm(t) + "; the table " +
                (deeper ? "ends" : "begins") + " at " + Cm(tableLimit) + ")";
    }
    return Status::Fail(text);
}

/// The MU a calculation gave, as a message shows it: "12.5 MU", "an MU that is too large".
std::string MUFigure(double mu) {
    return std::isfinite(mu) ? FigureText(mu, "MU") : "an MU that is " + FigureText(mu);
}

} // namespace

Status CheckDose(double dose, DoseRule rule) {
    if (rule == DoseRule::AboveZero && !(dose > 0)) {
        return Status::Fail("The dose must be above 0 cGy");
    }
    if (rule == DoseRule::ZeroOrAbove && !(dose >= 0)) {
        return Status::Fail("The dose must be 0 cGy or above");
    }
    if (!(dose <= kMaxBeamDose)) {
        return Status::Fail("The dose " + FigureText(dose, "cGy") + " is above the maximum " +
                            FigureText(kMaxBeamDose, "cGy") + " of one beam");
    }
    return Status::Ok();
}

void PhotonFactors::SetDepthDose(const DepthDoseSet& set) {
    scdPDDSize = set.scdPDDSize;
    scdPDD = set.scdPDD;
    tmr = set.tmr;
    ssdPDD = set.ssdPDD;
    depthDoseFromTable = set.fromTable;
}

DepthDoseSet PhotonFactors::DepthDose() const {
    return {ssdPDD, tmr, scdPDD, scdPDDSize, depthDoseFromTable};
}

PhotonLimits PhotonBeamLimits(const TgEnergy& energy, const Wedge* wedge) {
    const auto [smallestWidth, smallestHeight, largestWidth, largestHeight] =
        energy.RefFieldsSpan();
    PhotonLimits limits;
    const std::string ofEnergy = "energy " + energy.Name;
    const std::string maxFrom = wedge != nullptr ? "wedge " + wedge->Name : ofEnergy;
    limits.maxWidth = wedge != nullptr ? wedge->MaxWidth : energy.MaxWidth;
    limits.maxHeight = wedge != nullptr ? wedge->MaxHeight : energy.MaxHeight;
    limits.maxWidthFrom = limits.maxHeightFrom = maxFrom;
    if (largestWidth < limits.maxWidth) {
        limits.maxWidth = largestWidth;
        limits.maxWidthFrom = "largest reference field";
    }
    if (largestHeight < limits.maxHeight) {
        limits.maxHeight = largestHeight;
        limits.maxHeightFrom = "largest reference field";
    }
    limits.minWidth = energy.MinWidth;
    limits.minHeight = energy.MinHeight;
    limits.minWidthFrom = limits.minHeightFrom = ofEnergy;
    if (smallestWidth > limits.minWidth) {
        limits.minWidth = smallestWidth;
        limits.minWidthFrom = "smallest reference field";
    }
    if (smallestHeight > limits.minHeight) {
        limits.minHeight = smallestHeight;
        limits.minHeightFrom = "smallest reference field";
    }
    for (const auto& value : energy.OffsetFactors) {
        limits.largestOffset = std::max(limits.largestOffset, value->CenterFieldOffset);
    }
    return limits;
}

Result<PhotonBeamInput> AtCalibrationPlane(const TLinacSpec& linac, const TgEnergy& energy,
                                           const PhotonBeamInput& typed) {
    PhotonBeamInput in = typed;
    if (in.technique != kIsocentric) {
        return in;
    }
    if (!(linac.SAD > 0)) {
        return Result<PhotonBeamInput>::Fail("The SAD of " + linac.Name + " is " + Cm(linac.SAD) +
                                             "; it must be above 0");
    }
    // The field is given at the isocentre; the tables and limits are at the SCD plane.
    const double f = energy.SCD / linac.SAD;
    for (double* value :
         {&in.X1, &in.X2, &in.Y2, &in.Y1, &in.width, &in.height, &in.equivSize, &in.offset}) {
        *value *= f;
    }
    in.SSD = linac.SAD - in.depth;
    return in;
}

Status CheckPhotonInput(const TLinacSpec& linac, const TgEnergy& energy, const PhotonBeamInput& in,
                        DoseRule doseRule) {
    const PhotonLimits limits = PhotonBeamLimits(energy, in.wedge);
    if ((in.X1 < 0 && -in.X1 >= in.X2) || (in.X2 < 0 && -in.X2 >= in.X1)) {
        return Status::Fail("The jaws Left " + linac.LeftChar + " = " + Cm(in.X1) + " and Right " +
                            linac.RightChar + " = " + Cm(in.X2) +
                            " cross or touch: the field has no width");
    }
    if (Status dose = CheckDose(in.dose, doseRule); !dose) {
        return dose;
    }
    if (Status field = CheckField(linac, energy, in, limits); !field) {
        return field;
    }
    return CheckOffsetAndDepth(energy, in, limits);
}

Status FieldAndModifierFactors(const TgEnergy& energy, const PhotonBeamInput& in,
                               PhotonFactors& f) {
    Trace fieldFactorTrace;
    const Result<TableValue> fieldFactor =
        LookupFieldFactor(energy, in.width, in.height, &fieldFactorTrace);
    if (!fieldFactor) {
        return fieldFactor.status();
    }
    f.fieldFactor = fieldFactor->value;
    f.fieldFactorFromTable = fieldFactor->fromTable;
    AddTrace(f.traces, std::move(fieldFactorTrace), "fieldFactor", "Field Factor");
    f.shieldFactor = in.shield != nullptr ? in.shield->SF : 1;
    f.trayFactor = in.tray != nullptr ? in.tray->TF : 1;
    f.multileafFactor = in.multileaf != nullptr ? in.multileaf->MLCF : 1;
    const auto chosen = [&](const EnergyListItem* entry, const char* kind, const char* factor,
                            const char* title, double value) {
        if (entry != nullptr) {
            AddTrace(f.traces,
                     EntryTrace(TraceRule::Entry, std::string(kind) + " of " + energy.Name,
                                entry->Name, title, value),
                     factor, title);
        }
    };
    chosen(in.shield, "shields", "shieldFactor", "Shield Factor", f.shieldFactor);
    chosen(in.tray, "trays", "trayFactor", "Tray Factor", f.trayFactor);
    chosen(in.multileaf, "multileaf factors", "multileafFactor", "Multileaf Factor",
           f.multileafFactor);
    return Status::Ok();
}

Status CalibrationAndScale(const TgEnergy& energy, double ssd, const Date& today,
                           PhotonFactors& f) {
    Trace muTrace;
    const Result<double> muPerCGy = CalibrationMUPerCGy(energy, today, &muTrace);
    if (!muPerCGy) {
        return muPerCGy.status();
    }
    f.MUperCGy = *muPerCGy;
    AddCalibrationTraces(f.traces, std::move(muTrace));
    f.scaleFactor = InverseSquareScale(energy, ssd);
    AddTrace(f.traces,
             FormulaTrace(TraceFormula::InverseSquare,
                          {{"SCD", energy.SCD, "cm", {}},
                           {"SSD", ssd, "cm", {}},
                           {"b", energy.Buildup, "cm", {}}},
                          f.scaleFactor),
             "scaleFactor", "Scale Factor");
    return Status::Ok();
}

void AddCalibrationTraces(TraceList& traces, Trace muPerCGy) {
    muPerCGy.title = "MU per cGy";
    Trace actual =
        FormulaTrace(TraceFormula::Reciprocal, {TracedNumber("x (MU per cGy)", "MU/cGy", muPerCGy)},
                     1 / muPerCGy.value);
    AddTrace(traces, std::move(muPerCGy), "MUperCGy", "MU per cGy");
    AddTrace(traces, std::move(actual), "actualCalibrationFactor", "Actual Calibration Factor");
}

std::string PartFactorName(const std::string& prefix, const std::string& name) {
    if (prefix.empty() || name.empty()) {
        return name;
    }
    return prefix + static_cast<char>(std::toupper(static_cast<unsigned char>(name[0]))) +
           name.substr(1);
}

void AddDepthDoseTraces(TraceList& list, DepthDoseTraces traces, const std::string& prefix) {
    const std::pair<Trace*, const char*> named[] = {{&traces.scdPDD, "scdPDD"},
                                                    {&traces.tmr, "tmr"},
                                                    {&traces.ssdPDD, "ssdPDD"},
                                                    {&traces.scdPDDSize, "scdPDDSize"}};
    const char* titles[] = {"SCD PDD", "TMR", "SSD PDD", "SCD PDD Size"};
    for (std::size_t i = 0; i < std::size(named); ++i) {
        AddTrace(list, std::move(*named[i].first), PartFactorName(prefix, named[i].second),
                 titles[i]);
    }
}

double InverseSquareScale(const TgEnergy& energy, double ssd) {
    const double c = energy.SCD;
    const double b = energy.Buildup;
    return ((c + b) / (ssd + b)) * ((c + b) / (ssd + b));
}

Result<WedgeFactors> WedgeFactorsAt(const Wedge& wedge, double equivSize, TraceList* traces) {
    Trace wfTrace, warpTrace;
    const std::optional<WedgeFactors> factors =
        traces != nullptr ? wedge.GetFactors(equivSize, &wfTrace, &warpTrace)
                          : wedge.GetFactors(equivSize);
    if (!factors) {
        return Result<WedgeFactors>::Fail("the wedge " + wedge.Name + " has no wedge factor for " +
                                          Cm(equivSize));
    }
    if (traces != nullptr) {
        AddTrace(*traces, std::move(wfTrace), "wedgeFactor", "Wedge Factor");
        AddTrace(*traces, std::move(warpTrace), "warpFactor", "Wedge PPD Warp Factor");
    }
    return *factors;
}

void SetEffectiveDepth(const TgEnergy& energy, double depth, PhotonFactors& f) {
    f.effectiveDepth = EffectiveDepth(depth, energy.Buildup, f.warpFactor);
    TraceNumber warp{"warp", f.warpFactor, {}, {}};
    if (const auto traced = FindTrace(f.traces, "warpFactor")) {
        warp.from.push_back(*traced);
    }
    AddTrace(
        f.traces,
        FormulaTrace(TraceFormula::EffectiveDepth,
                     {{"d", depth, "cm", {}}, {"b", energy.Buildup, "cm", {}}, std::move(warp)},
                     f.effectiveDepth),
        "effectiveDepth", "Effective Depth");
}

double EffectiveDepth(double depth, double buildup, double warp) {
    return depth > buildup ? buildup + (depth - buildup) * warp : depth;
}

Result<DepthDoseSet> DepthDoseAt(const TgEnergy& energy, const PhotonBeamInput& in,
                                 double effectiveDepth, DepthDoseTraces* traces) {
    std::optional<DepthOutsideTable> outside;
    Result<DepthDoseSet> set = LookupDepthDose(energy, in.SSD, in.depth, effectiveDepth, in.width,
                                               in.height, &outside, traces);
    if (set || !outside) {
        return set;
    }
    return DepthOutside(in, effectiveDepth, energy.Buildup, *outside);
}

Result<double> OffsetFactorOfPart(const TgEnergy& energy, double offset, bool& offsetOff,
                                  Trace* trace) {
    if (offsetOff || offset < energy.IgnoreOffset) {
        offsetOff = true;
        if (trace != nullptr) {
            *trace = EntryTrace(TraceRule::NotApplied, {}, {}, {}, 1.0);
        }
        return 1.0;
    }
    return LookupOffsetFactor(energy, offset, trace);
}

Status CheckDivisors(const std::vector<NamedFactor>& divisors) {
    for (const auto& [name, value] : divisors) {
        if (value == 0 || !std::isfinite(value)) {
            return Status::Fail(std::string("The ") + name + " is " + FigureText(value) +
                                ": no MU can be computed");
        }
    }
    return Status::Ok();
}

Result<double> DeliverableMU(double dose, const std::vector<NamedFactor>& product,
                             const std::vector<NamedFactor>& each, double muPerCGy, DoseRule rule) {
    for (const auto* list : {&product, &each}) {
        if (Status divisors = CheckDivisors(*list); !divisors) {
            return divisors;
        }
    }
    double divisor = 1;
    for (std::size_t i = 0; i < product.size(); ++i) {
        divisor = i == 0 ? product[i].second : divisor * product[i].second;
    }
    double mu = dose / divisor;
    for (const auto& [name, value] : each) {
        mu = mu / value;
    }
    mu = mu * muPerCGy;
    const bool tooSmall = rule == DoseRule::AboveZero ? !(mu > 0) : !(mu >= 0);
    if (!std::isfinite(mu) || tooSmall) {
        return Result<double>::Fail("The factors give " + MUFigure(mu) +
                                    ", which cannot be delivered");
    }
    if (mu < kLeastMU && !(rule == DoseRule::ZeroOrAbove && mu == 0)) {
        return Result<double>::Fail("The factors give " + MUFigure(mu) + ", below the least " +
                                    FigureText(kLeastMU, "MU") +
                                    " of a beam: the set-up sheet would show 0 MU");
    }
    return mu;
}

Result<PhotonCalculation> CalculatePhotonBeam(const TLinacSpec& linac, const TgEnergy& energy,
                                              const PhotonBeamInput& input, const Date& today) {
    Result<PhotonBeamInput> atPlane = AtCalibrationPlane(linac, energy, input);
    if (!atPlane) {
        return atPlane.status();
    }
    PhotonCalculation calc;
    calc.stored = *atPlane;
    PhotonBeamInput& in = calc.stored;
    PhotonFactors& f = calc.factors;
    if (Status checked = CheckPhotonInput(linac, energy, in, DoseRule::AboveZero); !checked) {
        return checked;
    }
    if (in.wedge != nullptr) {
        const Result<WedgeFactors> wedge = WedgeFactorsAt(*in.wedge, in.equivSize, &f.traces);
        if (!wedge) {
            return wedge.status();
        }
        f.wedgeFactor = wedge->WF;
        f.warpFactor = wedge->PDDWarp;
    }
    if (Status common = FieldAndModifierFactors(energy, in, f); !common) {
        return common;
    }
    SetEffectiveDepth(energy, in.depth, f);
    DepthDoseTraces depthTraces;
    const Result<DepthDoseSet> depthDose = DepthDoseAt(energy, in, f.effectiveDepth, &depthTraces);
    if (!depthDose) {
        return depthDose.status();
    }
    f.SetDepthDose(*depthDose);
    AddDepthDoseTraces(f.traces, std::move(depthTraces));
    if (in.wedge != nullptr && in.wedge->isOffsetWedged) {
        in.offsetOff = true;
    }
    if (Status mu = OffsetCalibrationAndMU(energy, today, DoseRule::AboveZero, calc); !mu) {
        return mu;
    }
    return calc;
}

Status OffsetCalibrationAndMU(const TgEnergy& energy, const Date& today, DoseRule doseRule,
                              PhotonCalculation& calc) {
    PhotonBeamInput& in = calc.stored;
    PhotonFactors& f = calc.factors;
    Trace offsetTrace;
    const Result<double> offsetFactor =
        OffsetFactorOfPart(energy, in.offset, in.offsetOff, &offsetTrace);
    if (!offsetFactor) {
        return offsetFactor.status();
    }
    f.offsetFactor = *offsetFactor;
    AddTrace(f.traces, std::move(offsetTrace), "offsetFactor", "Offset Factor");
    if (Status calibration = CalibrationAndScale(energy, in.SSD, today, f); !calibration) {
        return calibration;
    }
    const Result<double> mu = DeliverableMU(
        in.dose,
        {{"SSD PDD", f.ssdPDD}, {"Field Factor", f.fieldFactor}, {"Scale Factor", f.scaleFactor}},
        {{"Wedge Factor", f.wedgeFactor},
         {"Shield Factor", f.shieldFactor},
         {"Offset Factor", f.offsetFactor},
         {"Tray Factor", f.trayFactor},
         {"Multileaf Factor", f.multileafFactor}},
        f.MUperCGy, doseRule);
    if (!mu) {
        return mu.status();
    }
    calc.MU = *mu;
    return Status::Ok();
}

} // namespace kova
