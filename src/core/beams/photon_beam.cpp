#include "core/beams/photon_beam.h"

#include "core/dosimetry/photon_lookups.h"
#include "core/linac/linac_spec.h"
#include "core/text/number_text.h"
#include "core/workbench/treatment.h"

#include <algorithm>
#include <cmath>

namespace kova {
namespace {

/// Deepest dose point accepted, cm; also how far below the SCD the SSD may go.
constexpr double kMaxDepth = 30;

std::string Cm(double value) {
    return FormatGeneral(value) + " cm";
}

/// Converts the texts in order into the fields; the first failure stops.
Status ReadNumbers(std::initializer_list<std::pair<const std::string*, double*>> fields) {
    for (const auto& [text, value] : fields) {
        const Result<double> number = StrToFloat(*text);
        if (!number) {
            return number.status();
        }
        *value = *number;
    }
    return Status::Ok();
}

/// "Width 45 cm is above the maximum 40 cm (wedge W60)" and the like; ok within limits.
Status CheckRange(const std::string& what, double value, double minimum,
                  const std::string& minimumFrom, double maximum, const std::string& maximumFrom) {
    const auto from = [](const std::string& source) {
        return source.empty() ? std::string() : " (" + source + ")";
    };
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

/// The checks of the OK button, in order; the first that fails is returned.
Status CheckPhotonInput(const TLinacSpec& linac, const TgEnergy& energy,
                        const PhotonBeamInput& in) {
    const PhotonLimits limits = PhotonBeamLimits(energy, in.wedge);
    const std::string ofEnergy = "energy " + energy.Name;
    const std::string left = "Left " + linac.LeftChar;
    const std::string right = "Right " + linac.RightChar;
    if ((in.X1 < 0 && -in.X1 >= in.X2) || (in.X2 < 0 && -in.X2 >= in.X1)) {
        return Status::Fail("The jaws " + left + " = " + Cm(in.X1) + " and " + right + " = " +
                            Cm(in.X2) + " cross or touch: the field has no width");
    }
    if (!(in.dose > 0)) {
        return Status::Fail("The dose must be above 0 cGy");
    }
    for (const Status& status : {
             CheckRange("Width", in.width, limits.minWidth, limits.minWidthFrom, limits.maxWidth,
                        limits.maxWidthFrom),
             CheckRange("Height", in.height, limits.minHeight, limits.minHeightFrom,
                        limits.maxHeight, limits.maxHeightFrom),
             CheckRange(left, in.X1, energy.MinLeft, ofEnergy, energy.MaxLeft, ofEnergy),
             CheckRange(right, in.X2, energy.MinRight, ofEnergy, energy.MaxRight, ofEnergy),
             CheckRange("Bottom " + linac.BottomChar, in.Y1, energy.MinBottom, ofEnergy,
                        energy.MaxBottom, ofEnergy),
             CheckRange("Top " + linac.TopChar, in.Y2, energy.MinTop, ofEnergy, energy.MaxTop,
                        ofEnergy),
             CheckRange("Equivalent size", in.equivSize,
                        EquivalentSquare(limits.minWidth, limits.minHeight),
                        "equivalent square of the smallest field",
                        EquivalentSquare(limits.maxWidth, limits.maxHeight),
                        "equivalent square of the largest field"),
         }) {
        if (!status) {
            return status;
        }
    }
    if (in.offset < 0 || in.offset > limits.largestOffset) {
        return Status::Fail(energy.OffsetFactors.empty()
                                ? "Offset " + Cm(in.offset) + " cannot be used: " + ofEnergy +
                                      " has no offset factors"
                                : "Offset " + Cm(in.offset) + " is outside 0 to " +
                                      Cm(limits.largestOffset) + " (largest tabulated offset)");
    }
    if (in.SSD < energy.SCD - kMaxDepth) {
        return Status::Fail("SSD " + Cm(in.SSD) + " is below the minimum " +
                            Cm(energy.SCD - kMaxDepth) + " (SCD - 30 cm)");
    }
    if (in.depth < 0 || in.depth > kMaxDepth) {
        return Status::Fail("Depth " + Cm(in.depth) + " is outside 0 to 30 cm");
    }
    return Status::Ok();
}

/// Gathers every factor of the stored beam and its MU.
Result<PhotonCalculation> Calculate(const TgEnergy& energy, PhotonCalculation calc,
                                    const Date& today) {
    PhotonBeamInput& in = calc.stored;
    PhotonFactors& f = calc.factors;
    const double c = energy.SCD;
    const double b = energy.Buildup;
    if (in.wedge != nullptr) {
        const std::optional<WedgeFactors> wedge = in.wedge->GetFactors(in.equivSize);
        if (!wedge) {
            return Result<PhotonCalculation>::Fail("the wedge " + in.wedge->Name +
                                                   " has no wedge factor for " + Cm(in.equivSize));
        }
        f.wedgeFactor = wedge->WF;
        f.warpFactor = wedge->PDDWarp;
    }
    const Result<TableValue> fieldFactor = LookupFieldFactor(energy, in.width, in.height);
    if (!fieldFactor) {
        return fieldFactor.status();
    }
    f.fieldFactor = fieldFactor->value;
    f.fieldFactorFromTable = fieldFactor->fromTable;
    f.effectiveDepth = in.depth > b ? b + (in.depth - b) * f.warpFactor : in.depth;
    const Result<DepthDoseSet> depthDose =
        LookupDepthDose(energy, in.SSD, in.depth, f.effectiveDepth, in.width, in.height);
    if (!depthDose) {
        return depthDose.status();
    }
    f.scdPDDSize = depthDose->scdPDDSize;
    f.scdPDD = depthDose->scdPDD;
    f.tmr = depthDose->tmr;
    f.ssdPDD = depthDose->ssdPDD;
    f.depthDoseFromTable = depthDose->fromTable;
    f.shieldFactor = in.shield != nullptr ? in.shield->SF : 1;
    f.trayFactor = in.tray != nullptr ? in.tray->TF : 1;
    f.multileafFactor = in.multileaf != nullptr ? in.multileaf->MLCF : 1;
    if (in.wedge != nullptr && in.wedge->isOffsetWedged) {
        in.offsetOff = true;
    }
    if (in.offsetOff || in.offset < energy.IgnoreOffset) {
        in.offsetOff = true;
        f.offsetFactor = 1;
    } else {
        const Result<double> offsetFactor = LookupOffsetFactor(energy, in.offset);
        if (!offsetFactor) {
            return offsetFactor.status();
        }
        f.offsetFactor = *offsetFactor;
    }
    const Result<double> muPerCGy = CalibrationMUPerCGy(energy, today);
    if (!muPerCGy) {
        return muPerCGy.status();
    }
    f.MUperCGy = *muPerCGy;
    f.scaleFactor = ((c + b) / (in.SSD + b)) * ((c + b) / (in.SSD + b));
    return calc;
}

/// MU = D / (ssdPDD x FF x S) / WF / SF / OF / TF / MF x k; refused when a factor is 0 or
/// the result is not a positive finite number, so no such figure is ever shown.
Status ComputeMU(PhotonCalculation& calc) {
    const PhotonFactors& f = calc.factors;
    const std::pair<const char*, double> factors[] = {
        {"SSD PDD", f.ssdPDD},
        {"Field Factor", f.fieldFactor},
        {"Scale Factor", f.scaleFactor},
        {"Wedge Factor", f.wedgeFactor},
        {"Shield Factor", f.shieldFactor},
        {"Offset Factor", f.offsetFactor},
        {"Tray Factor", f.trayFactor},
        {"Multileaf Factor", f.multileafFactor},
    };
    for (const auto& [name, value] : factors) {
        if (value == 0 || !std::isfinite(value)) {
            return Status::Fail(std::string("The ") + name + " is " + FormatGeneral(value) +
                                ": no MU can be computed");
        }
    }
    double mu = calc.stored.dose / (f.ssdPDD * f.fieldFactor * f.scaleFactor);
    mu = mu / f.wedgeFactor / f.shieldFactor / f.offsetFactor / f.trayFactor / f.multileafFactor *
         f.MUperCGy;
    if (!std::isfinite(mu) || mu <= 0) {
        return Status::Fail("The factors give " + FormatGeneral(mu) +
                            " MU, which cannot be delivered");
    }
    calc.MU = mu;
    return Status::Ok();
}

} // namespace

Result<PhotonBeamInput> ReadPhotonBeamTexts(const PhotonBeamTexts& t) {
    PhotonBeamInput in;
    in.technique = t.technique;
    in.name = t.BeamName;
    in.ID = t.BeamID;
    in.gantry = t.GantryRot;
    in.jaws = t.JawsRot;
    in.couch = t.CouchRot;
    Status read = ReadNumbers({{&t.BeamDose, &in.dose},
                               {&t.BeamLeft, &in.X1},
                               {&t.BeamRight, &in.X2},
                               {&t.BeamBottom, &in.Y1},
                               {&t.BeamTop, &in.Y2},
                               {&t.BeamWidth, &in.width},
                               {&t.BeamHeight, &in.height},
                               {&t.BeamEquivSize, &in.equivSize},
                               {&t.BeamOffset, &in.offset},
                               {&t.BeamDepth, &in.depth}});
    if (read && t.technique == kFixedSsd) {
        read = ReadNumbers({{&t.BeamSSD, &in.SSD}});
    }
    if (read) {
        read = ReadNumbers({{&t.BeamRealSSD, &in.realSSD}});
    }
    if (!read) {
        return read;
    }
    in.wedge = t.wedge;
    in.tray = t.tray;
    in.shield = t.shield;
    in.multileaf = t.multileaf;
    in.offsetOff = !t.isOffset;
    return in;
}

PhotonLimits PhotonBeamLimits(const TgEnergy& energy, const Wedge* wedge) {
    double smallestWidth = 100, smallestHeight = 100, largestWidth = 0, largestHeight = 0;
    for (const auto& field : energy.RefFields) {
        smallestWidth = std::min(smallestWidth, field->Width);
        smallestHeight = std::min(smallestHeight, field->Height);
        largestWidth = std::max(largestWidth, field->Width);
        largestHeight = std::max(largestHeight, field->Height);
    }
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

Result<PhotonCalculation> CalculatePhotonBeam(const TLinacSpec& linac, const TgEnergy& energy,
                                              const PhotonBeamInput& input, const Date& today) {
    PhotonCalculation calc;
    calc.stored = input;
    calc.date = today;
    PhotonBeamInput& in = calc.stored;
    if (in.technique == kIsocentric) {
        if (!(linac.SAD > 0)) {
            return Result<PhotonCalculation>::Fail("The SAD of " + linac.Name + " is " +
                                                   Cm(linac.SAD) + "; it must be above 0");
        }
        // The field is given at the isocentre; the tables and limits are at the SCD plane.
        const double f = energy.SCD / linac.SAD;
        for (double* value :
             {&in.X1, &in.X2, &in.Y2, &in.Y1, &in.width, &in.height, &in.equivSize, &in.offset}) {
            *value *= f;
        }
        in.SSD = linac.SAD - in.depth;
    }
    const Status checked = CheckPhotonInput(linac, energy, in);
    if (!checked) {
        return checked;
    }
    Result<PhotonCalculation> calculated = Calculate(energy, calc, today);
    if (!calculated) {
        return calculated;
    }
    const Status mu = ComputeMU(calculated.value());
    if (!mu) {
        return mu;
    }
    return calculated;
}

bool TPhotonBeam::Machine(const TLinacSpec*& linac, const TgEnergy*& energy) const {
    if (treatment == nullptr || treatment->linac == nullptr ||
        treatment->PhotonEnergy() == nullptr) {
        return false;
    }
    linac = treatment->linac;
    energy = treatment->PhotonEnergy();
    return true;
}

Status TPhotonBeam::Accept(const PhotonBeamInput& input, const Date& today) {
    const TLinacSpec* linac = nullptr;
    const TgEnergy* energy = nullptr;
    if (!Machine(linac, energy)) {
        return Status::Fail("The beam has no treatment with a linac and a photon energy");
    }
    Result<PhotonCalculation> result = CalculatePhotonBeam(*linac, *energy, input, today);
    if (!result) {
        return result.status();
    }
    entered = input;
    calculation = std::move(result.value());
    const PhotonBeamInput& s = calculation.stored;
    name = s.name;
    ID = s.ID;
    dose = s.dose;
    gantry = s.gantry;
    jaws = s.jaws;
    couch = s.couch;
    width = s.width;
    height = s.height;
    equivSize = s.equivSize;
    SSD = s.SSD;
    realSSD = s.realSSD;
    depth = s.depth;
    MU = calculation.MU;
    calculated = true;
    return Status::Ok();
}

std::vector<const EnergyListItem*> TPhotonBeam::UsedEntries() const {
    std::vector<const EnergyListItem*> used;
    if (!calculated) {
        return used;
    }
    const PhotonBeamInput& s = stored();
    for (const EnergyListItem* entry :
         std::initializer_list<const EnergyListItem*>{s.wedge, s.tray, s.shield, s.multileaf}) {
        if (entry != nullptr) {
            used.push_back(entry);
        }
    }
    return used;
}

PhotonBeamTexts TPhotonBeam::LoadControls() const {
    const auto g = [](double value) { return FormatGeneral(value); };
    const PhotonBeamInput& e = entered;
    PhotonBeamTexts t;
    t.technique = stored().technique;
    t.BeamName = name;
    t.BeamID = ID;
    t.GantryRot = gantry;
    t.JawsRot = jaws;
    t.CouchRot = couch;
    // The field is shown as it was typed (at the isocentre for the isocentric technique).
    t.BeamWidth = g(e.width);
    t.BeamHeight = g(e.height);
    t.BeamLeft = g(e.X1);
    t.BeamRight = g(e.X2);
    t.BeamBottom = g(e.Y1);
    t.BeamTop = g(e.Y2);
    t.BeamWidthAsymm = g(e.width);
    t.BeamHeightAsymm = g(e.height);
    t.BeamAsymmWidth = g((e.X2 - e.X1) / 2);
    t.BeamAsymmHeight = g((e.Y2 - e.Y1) / 2);
    t.BeamDose = g(dose);
    t.BeamDepth = g(depth);
    t.BeamSSD = g(SSD);
    t.BeamRealSSD = g(realSSD);
    t.BeamEquivSize = g(e.equivSize);
    t.BeamOffset = g(e.offset);
    t.OffsetComp = g(e.offset);
    t.wedge = stored().wedge;
    t.tray = stored().tray;
    t.shield = stored().shield;
    t.multileaf = stored().multileaf;
    t.isOffset = !stored().offsetOff;
    return t;
}

} // namespace kova
