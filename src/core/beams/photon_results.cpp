// What a computed photon beam shows under its node, prints in the details report and
// writes on the patient set-up sheet.

#include "core/beams/photon_beam.h"
#include "core/beams/result_text.h"
#include "core/linac/linac_spec.h"
#include "core/text/number_text.h"

namespace kova {
namespace {

TextNode SizeLine(const TPhotonBeam& b, const TLinacSpec& linac) {
    TextNode size = Line("Size @ SCD = " + G(b.width) + " cm x " + G(b.height) + " cm (" +
                         G(b.equivSize) + " cm)");
    if (b.Y2 != b.Y1 || b.X1 != b.X2) {
        size.children = {Line("Left " + linac.LeftChar + " = " + G(b.X1) + " cm"),
                         Line("Right " + linac.RightChar + " = " + G(b.X2) + " cm"),
                         Line("Bottom " + linac.BottomChar + " = " + G(b.Y1) + " cm"),
                         Line("Top " + linac.TopChar + " = " + G(b.Y2) + " cm")};
    }
    return size;
}

void AddModifierLines(const TPhotonBeam& b, std::vector<TextNode>& lines) {
    const PhotonFactors& f = b.factors;
    if (b.wedge != nullptr) {
        lines.push_back(Line(b.wedge->Name,
                             {Line("Wedge Factor = " + G(f.wedgeFactor)),
                              Line("Wedge PPD Warp Factor = " + G(f.warpFactor)),
                              Line("Effective Depth = " + G(f.effectiveDepth))},
                             kImageWedgeLine));
    }
    if (b.tray != nullptr) {
        lines.push_back(
            Line(b.tray->Name, {Line("Tray Factor = " + G(f.trayFactor))}, kImageTrayLine));
    }
    if (b.shield != nullptr) {
        lines.push_back(
            Line(b.shield->Name, {Line("Shield Factor = " + G(f.shieldFactor))}, kImageShieldLine));
    }
    if (b.offsetOff) {
        if (b.offset > 0) {
            lines.push_back(Line("Ignored " + G(b.offset) + " cm", {}, kImageOffsetLine));
        }
    } else {
        lines.push_back(Line(G(b.offset) + " cm", {Line("Offset Factor = " + F3(f.offsetFactor))},
                             kImageOffsetLine));
    }
    if (b.multileaf != nullptr) {
        lines.push_back(Line(b.multileaf->Name,
                             {Line("Multileaf Factor = " + F3(f.multileafFactor))},
                             kImageMultileafLine));
    }
}

TextNode DetailsLine(const TPhotonBeam& b, const TgEnergy& energy) {
    const PhotonFactors& f = b.factors;
    TextNode details = Line("Dosimetric details");
    details.children = {
        CalibrationLine(f.MUperCGy, b.day, energy),
        Line("Field Factor = " + F3(f.fieldFactor) + Mark(f.fieldFactorFromTable)),
        Line("Scale Factor = " + F3(f.scaleFactor)),
        DepthDoseNode(f.DepthDose()),
    };
    AddModifierLines(b, details.children);
    return details;
}

/// A label and its value on the set-up sheet. Jaw labels end in a digit ("X1"), and
/// "X1" + "3.8" would read as 13.8 at the machine: a jaw position always stands apart from
/// its label, and so does any value whose label ends in a digit.
std::string Labelled(const std::string& label, double value, bool jaw) {
    const bool apart = jaw || (!label.empty() && label.back() >= '0' && label.back() <= '9');
    return label + (apart ? " " : "") + SetupSize(value);
}

/// One axis of the field on the set-up sheet: the size on one line when symmetric; when
/// asymmetric, size and shift ("Offset alla Philips", a negative shift written as 100 plus
/// it) or the two jaw positions ("Offset alla Varian", "X1 3.8").
std::vector<std::string> AxisCell(double lowJaw, double highJaw, double size,
                                  const std::string& axisChar, const std::string& lowChar,
                                  const std::string& highChar, bool philips) {
    if (lowJaw == highJaw) {
        return {Labelled(axisChar, size, false)};
    }
    if (philips) {
        double shift = (highJaw - lowJaw) / 2;
        if (shift < 0) {
            shift += 100;
        }
        return {Labelled(axisChar, size, false), Labelled("OF", shift, false)};
    }
    return {Labelled(lowChar, lowJaw, true), Labelled(highChar, highJaw, true)};
}

} // namespace

TextNode DepthDoseNode(const DepthDoseSet& set) {
    const char* mark = Mark(set.fromTable);
    return Line("Depth Dose",
                {Line("TMR = " + F3(set.tmr) + mark), Line("SSD PDD = " + F3(set.ssdPDD) + mark),
                 Line("SCD PDD = " + F3(set.scdPDD) + mark,
                      {Line("SCD PDD Size = " + F2(set.scdPDDSize) + " cm")})});
}

std::vector<TextNode> TPhotonBeam::ShowResults() const {
    if (!calculated || machine.linac == nullptr || machine.gEnergy == nullptr) {
        return {};
    }
    return {SizeLine(*this, *machine.linac),
            Line("Depth = " + G(depth) + " cm"),
            Line(std::string("SSD") + kPair + "RealSSD = " + G(SSD) + " cm" + kPair + G(realSSD) +
                 " cm"),
            RotationLine(*this),
            Line("Dose = " + G(dose) + " cGy"),
            Line("MU = " + MUFormat(MU)),
            DetailsLine(*this, *machine.gEnergy)};
}

std::vector<std::string> TPhotonBeam::DetailsColumn(const Date& printDay) const {
    const PhotonFactors& f = factors;
    std::vector<std::string> rows = {
        std::string("gamma") + (technique == kIsocentric ? " (SAD)" : " (SSD)"),
        name,
        ID,
        gantry,
        jaws,
        couch,
        G(X1) + kPair + G(X2),
        G(Y2) + kPair + G(Y1),
        G(width),
        G(height),
        G(equivSize),
        F2(f.scdPDDSize),
        F3(f.fieldFactor),
        "",
        G(SSD),
        G(depth),
        G(realSSD),
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
    named(wedge, {F3(f.wedgeFactor), F3(f.warpFactor), F2(f.effectiveDepth)});
    named(shield, {F3(f.shieldFactor)});
    named(tray, {F3(f.trayFactor)});
    named(multileaf, {F3(f.multileafFactor)});
    rows.push_back(offset > 0 ? G(offset) : "");
    rows.push_back(offset > 0 && !offsetOff ? F3(f.offsetFactor) : "");
    rows.push_back(F3(1 / f.MUperCGy));
    rows.push_back(FormatShortDate(printDay));
    rows.push_back(F3(f.scaleFactor));
    rows.push_back(G(dose));
    rows.push_back(F2(MU));
    return rows;
}

std::vector<SetupCell> TPhotonBeam::SetupRow() const {
    const TLinacSpec* linac = machine.linac;
    if (!calculated || linac == nullptr || machine.gEnergy == nullptr) {
        return {};
    }
    const bool philips = machine.gEnergy->PrintOffset;
    // With exactly 1 MU per cGy the room works in whole MU.
    const double mu = factors.MUperCGy == 1 ? WholeMU(MU) : MU;
    const char* blocks = multileaf != nullptr ? "MLC" : tray != nullptr ? "SI" : "NO";
    return {
        {SetupColumn::Fascio, {name}},
        {SetupColumn::IDFascio, {ID}},
        {SetupColumn::DSP, {G(realSSD)}},
        {SetupColumn::DimCampoWidth,
         AxisCell(X1, X2, width, linac->WidthChar, linac->LeftChar, linac->RightChar, philips)},
        {SetupColumn::DimCampoHeight,
         AxisCell(Y1, Y2, height, linac->HeightChar, linac->BottomChar, linac->TopChar, philips)},
        {SetupColumn::RotGantry, {gantry}},
        {SetupColumn::RotColl, {jaws}},
        {SetupColumn::RotLettino, {couch}},
        {SetupColumn::Blocchi, {blocks}},
        {SetupColumn::Schermi, {shield != nullptr ? shield->Name : "NO"}},
        {SetupColumn::Cunei, {wedge != nullptr ? wedge->Name : "NO"}},
        {SetupColumn::UM, {MUFormat(mu)}},
    };
}

} // namespace kova
