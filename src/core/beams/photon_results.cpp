// What a computed photon beam shows under its node, prints in the details report and
// writes on the patient set-up sheet.

#include "core/beams/photon_beam.h"
#include "core/linac/linac_spec.h"
#include "core/text/number_text.h"
#include "core/workbench/treatment.h"

#include <cmath>

namespace kova {
namespace {

std::string G(double value) {
    return FormatGeneral(value);
}
std::string F3(double value) {
    return FormatFloat("0.000", value);
}
std::string F2(double value) {
    return FormatFloat("0.00", value);
}
std::string Size(double value) {
    return FormatFloat("##.#;;0", value);
}

/// "*" after a value interpolated between table entries.
const char* Mark(bool fromTable) {
    return fromTable ? "" : "*";
}

/// The two backslashes that separate paired values in result lines and reports.
constexpr const char* kPair = "\\\\";

std::string OrStar(const std::string& text) {
    return text.empty() ? "*" : text;
}

TextNode Line(std::string text, std::vector<TextNode> children = {}, int image = -1) {
    return TextNode{std::move(text), image, std::move(children)};
}

TextNode SizeLine(const PhotonBeamInput& s, const TLinacSpec& linac) {
    TextNode size = Line("Size @ SCD = " + G(s.width) + " cm x " + G(s.height) + " cm (" +
                         G(s.equivSize) + " cm)");
    if (s.Y2 != s.Y1 || s.X1 != s.X2) {
        size.children = {Line("Left " + linac.LeftChar + " = " + G(s.X1) + " cm"),
                         Line("Right " + linac.RightChar + " = " + G(s.X2) + " cm"),
                         Line("Bottom " + linac.BottomChar + " = " + G(s.Y1) + " cm"),
                         Line("Top " + linac.TopChar + " = " + G(s.Y2) + " cm")};
    }
    return size;
}

TextNode DetailsLine(const PhotonCalculation& calc, const TgEnergy& energy) {
    const PhotonBeamInput& s = calc.stored;
    const PhotonFactors& f = calc.factors;
    TextNode details = Line("Dosimetric details");
    details.children.push_back(
        Line("Actual Calibration Factor = " + F3(1 / f.MUperCGy) + " cGy/UM",
             {Line("Actual Date = " + FormatShortDate(calc.date)),
              Line("Original Calibration Factor = " + F3(energy.cGyUMRatio) + " cGy/UM"),
              Line("Calibration Date = " + energy.CalDate)}));
    details.children.push_back(
        Line("Field Factor = " + F3(f.fieldFactor) + Mark(f.fieldFactorFromTable)));
    details.children.push_back(Line("Scale Factor = " + F3(f.scaleFactor)));
    const char* mark = Mark(f.depthDoseFromTable);
    details.children.push_back(Line(
        "Depth Dose", {Line("TMR = " + F3(f.tmr) + mark), Line("SSD PDD = " + F3(f.ssdPDD) + mark),
                       Line("SCD PDD = " + F3(f.scdPDD) + mark,
                            {Line("SCD PDD Size = " + F2(f.scdPDDSize) + " cm")})}));
    if (s.wedge != nullptr) {
        details.children.push_back(Line(s.wedge->Name,
                                        {Line("Wedge Factor = " + G(f.wedgeFactor)),
                                         Line("Wedge PPD Warp Factor = " + G(f.warpFactor)),
                                         Line("Effective Depth = " + G(f.effectiveDepth))},
                                        kImageWedgeLine));
    }
    if (s.tray != nullptr) {
        details.children.push_back(
            Line(s.tray->Name, {Line("Tray Factor = " + G(f.trayFactor))}, kImageTrayLine));
    }
    if (s.shield != nullptr) {
        details.children.push_back(
            Line(s.shield->Name, {Line("Shield Factor = " + G(f.shieldFactor))}, kImageShieldLine));
    }
    if (s.offsetOff) {
        if (s.offset > 0) {
            details.children.push_back(
                Line("Ignored " + G(s.offset) + " cm", {}, kImageOffsetLine));
        }
    } else {
        details.children.push_back(Line(G(s.offset) + " cm",
                                        {Line("Offset Factor = " + F3(f.offsetFactor))},
                                        kImageOffsetLine));
    }
    if (s.multileaf != nullptr) {
        details.children.push_back(Line(s.multileaf->Name,
                                        {Line("Multileaf Factor = " + F3(f.multileafFactor))},
                                        kImageMultileafLine));
    }
    return details;
}

/// One axis of the field on the set-up sheet: the size on one line when symmetric; when
/// asymmetric, size and shift ("Offset alla Philips", a negative shift written as 100 plus
/// it) or the two jaw positions ("Offset alla Varian").
std::vector<std::string> AxisCell(double lowJaw, double highJaw, double size,
                                  const std::string& axisChar, const std::string& lowChar,
                                  const std::string& highChar, bool philips) {
    if (lowJaw == highJaw) {
        return {axisChar + Size(size)};
    }
    if (philips) {
        double shift = (highJaw - lowJaw) / 2;
        if (shift < 0) {
            shift += 100;
        }
        return {axisChar + Size(size), "OF" + Size(shift)};
    }
    return {lowChar + Size(lowJaw), highChar + Size(highJaw)};
}

} // namespace

std::vector<TextNode> TPhotonBeam::ShowResults() const {
    const TLinacSpec* linac = nullptr;
    const TgEnergy* energy = nullptr;
    if (!calculated || !Machine(linac, energy)) {
        return {};
    }
    const PhotonBeamInput& s = stored();
    return {SizeLine(s, *linac),
            Line("Depth = " + G(s.depth) + " cm"),
            Line(std::string("SSD") + kPair + "RealSSD = " + G(s.SSD) + " cm" + kPair +
                 G(s.realSSD) + " cm"),
            Line(std::string("Gantry") + kPair + "Jaws" + kPair + "Couch = " + OrStar(s.gantry) +
                 kPair + OrStar(s.jaws) + kPair + OrStar(s.couch)),
            Line("Dose = " + G(s.dose) + " cGy"),
            Line("MU = " + FormatFloat("#0.##;;0", calculation.MU)),
            DetailsLine(calculation, *energy)};
}

std::vector<std::string> TPhotonBeam::DetailsColumn(const Date& printDay) const {
    const PhotonBeamInput& s = stored();
    const PhotonFactors& f = factors();
    std::vector<std::string> rows = {
        std::string("gamma") + (s.technique == kIsocentric ? " (SAD)" : " (SSD)"),
        s.name,
        s.ID,
        s.gantry,
        s.jaws,
        s.couch,
        G(s.X1) + kPair + G(s.X2),
        G(s.Y2) + kPair + G(s.Y1),
        G(s.width),
        G(s.height),
        G(s.equivSize),
        F2(f.scdPDDSize),
        F3(f.fieldFactor),
        "",
        G(s.SSD),
        G(s.depth),
        G(s.realSSD),
        F3(f.ssdPDD),
        F3(f.scdPDD),
        F3(f.tmr),
    };
    const auto named = [&rows](const EnergyListItem* entry, std::vector<std::string> values) {
        rows.push_back(entry != nullptr ? entry->Name : "");
        for (const std::string& value : values) {
            rows.push_back(entry != nullptr ? value : "");
        }
    };
    named(s.wedge, {F3(f.wedgeFactor), F3(f.warpFactor), F2(f.effectiveDepth)});
    named(s.shield, {F3(f.shieldFactor)});
    named(s.tray, {F3(f.trayFactor)});
    named(s.multileaf, {F3(f.multileafFactor)});
    rows.push_back(s.offset > 0 ? G(s.offset) : "");
    rows.push_back(s.offset > 0 && !s.offsetOff ? F3(f.offsetFactor) : "");
    rows.push_back(F3(1 / f.MUperCGy));
    rows.push_back(FormatShortDate(printDay));
    rows.push_back(F3(f.scaleFactor));
    rows.push_back(G(s.dose));
    rows.push_back(F2(calculation.MU));
    return rows;
}

std::vector<SetupCell> TPhotonBeam::SetupRow() const {
    const TLinacSpec* linac = nullptr;
    const TgEnergy* energy = nullptr;
    if (!calculated || !Machine(linac, energy)) {
        return {};
    }
    const PhotonBeamInput& s = stored();
    const bool philips = energy->PrintOffset;
    double mu = calculation.MU;
    // With exactly 1 MU per cGy the room works in whole MU.
    if (factors().MUperCGy == 1) {
        mu = std::trunc(mu + 0.5);
    }
    const char* blocks = s.multileaf != nullptr ? "MLC" : s.tray != nullptr ? "SI" : "NO";
    return {
        {SetupColumn::Fascio, {s.name}},
        {SetupColumn::IDFascio, {s.ID}},
        {SetupColumn::DSP, {G(s.realSSD)}},
        {SetupColumn::DimCampoWidth, AxisCell(s.X1, s.X2, s.width, linac->WidthChar,
                                              linac->LeftChar, linac->RightChar, philips)},
        {SetupColumn::DimCampoHeight, AxisCell(s.Y1, s.Y2, s.height, linac->HeightChar,
                                               linac->BottomChar, linac->TopChar, philips)},
        {SetupColumn::RotGantry, {s.gantry}},
        {SetupColumn::RotColl, {s.jaws}},
        {SetupColumn::RotLettino, {s.couch}},
        {SetupColumn::Blocchi, {blocks}},
        {SetupColumn::Schermi, {s.shield != nullptr ? s.shield->Name : "NO"}},
        {SetupColumn::Cunei, {s.wedge != nullptr ? s.wedge->Name : "NO"}},
        {SetupColumn::UM, {FormatFloat("#0.##;;0", mu)}},
    };
}

} // namespace kova
