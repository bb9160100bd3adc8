// What a computed total body irradiation beam shows under its node, prints in the details
// report and writes on the patient set-up sheet.

#include "core/beams/photon_beam.h"
#include "core/beams/result_text.h"
#include "core/beams/tbi_beam.h"
#include "core/linac/energy.h"
#include "core/linac/linac_spec.h"
#include "core/text/number_text.h"

namespace kova {
namespace {

std::string Tenths(double value) {
    return FormatFloat("#.#;;0", value);
}

std::string SizeText(double width, double height) {
    return "Size = " + G(width) + " cm x " + G(height) + " cm";
}

/// "Torso Field", "Head Field" or "Thorax Field" with its five lines, the factors traced by
/// the traces of `part` ("torso").
TextNode FieldLine(const char* caption, const TBIPoint& p, double width, double height,
                   const TraceList& traces, const std::string& part) {
    const char* mark = Mark(p.depthDose.fromTable);
    const auto traced = [&](TextNode node, const char* name) {
        return Traced(std::move(node), traces, PartFactorName(part, name));
    };
    return Line(caption,
                {Line(SizeText(width, height)), Line("Depth = " + G(p.depth) + " cm"),
                 traced(Line("Phantom Scatter Factor = " + F3(p.phantomScatter.value) +
                             Mark(p.phantomScatter.fromTable)),
                        "phantomScatter"),
                 traced(Line("Scale Factor = " + F3(p.scaleFactor)), "scaleFactor"),
                 Line("Depth Dose",
                      {traced(Line("TMR = " + F3(p.depthDose.tmr) + mark), "tmr"),
                       traced(Line("SSD PDD = " + F3(p.depthDose.ssdPDD) + mark), "ssdPDD")})});
}

TextNode ReferenceLine(const TBIFactors& f, double size) {
    const TableValue& of = f.refFieldFactor;
    const TableValue& sp = f.refPhantomScatter;
    return Line("Reference Field",
                {Line(SizeText(size, size)),
                 Traced(Line("Field Factor = " + F3(of.value) + Mark(of.fromTable)), f.traces,
                        "referenceFieldFactor"),
                 Traced(Line("Collimators Scatter Factor = " + F3(of.value / sp.value) +
                             Mark(of.fromTable && sp.fromTable)),
                        f.traces, "referenceCollimatorScatter"),
                 Traced(Line("Phantom Scatter Factor = " + F3(sp.value) + Mark(sp.fromTable)),
                        f.traces, "referencePhantomScatter")});
}

TextNode DetailsLine(const TTBIBeam& b, const TgEnergy& energy) {
    const TBIFactors& f = b.factors;
    const TBIBody& body = b;
    TextNode details = Line("Dosimetric details");
    details.children = {
        Traced(CalibrationLine(f.MUperCGy, b.day, energy), f.traces, "actualCalibrationFactor"),
        ReferenceLine(f, energy.TBIFieldSize),
        FieldLine("Torso Field", f.torso, body.AbdomenWidth, body.TorsoHeight, f.traces, "torso"),
        FieldLine("Head Field", f.head, body.HeadWidth, body.HeadHeight, f.traces, "head"),
        FieldLine("Thorax Field", f.thorax, body.ThoraxWidth, body.TorsoHeight, f.traces, "thorax"),
    };
    if (b.shield != nullptr) {
        details.children.push_back(
            Line(b.shield->Name,
                 {Traced(Line("Shield Factor = " + G(f.shieldFactor)), f.traces, "shieldFactor")},
                 kImageShieldLine));
    }
    if (b.isLungShields) {
        details.children.push_back(Line("Lung Shields",
                                        {Line("1/mu = " + FormatFloat("0.0", 1 / kLungMu) + " mm"),
                                         Traced(Line("Shield Factor = " + F3(f.lungShieldFactor)),
                                                f.traces, "lungShieldFactor")},
                                        kImageShieldLine));
    }
    return details;
}

/// A value of the torso, head and thorax points, joined in that order.
template <class Format>
std::string Triple(const TBIFactors& f, double TBIPoint::*member, Format format) {
    return Joined({format(f.torso.*member), format(f.head.*member), format(f.thorax.*member)});
}

} // namespace

std::vector<TextNode> TTBIBeam::ShowResults() const {
    if (!calculated || machine.gEnergy == nullptr) {
        return {};
    }
    std::vector<TextNode> lines = {
        Line("Torso Size = " + G(width) + " cm x " + G(height) + " cm (" +
             FormatFloat("#0.0;;0", equivSize) + " cm)"),
        Line("Depth = " + G(depth) + " cm"),
        Line("Dose Point Distance = " + G(doseDistance) + " cm"),
        RotationLine(*this),
        Line("Dose = " + G(dose) + " cGy"),
        Line("MU = " + MUFormat(MU)),
    };
    if (isLungShields) {
        lines.push_back(
            Traced(Line("Lung Shield Thickness = " + Tenths(factors.lungShieldThickness) + " mm"),
                   factors.traces, "lungShieldThickness"));
    }
    lines.push_back(Line("Thorax Dose = " + Tenths(factors.thoraxDose) + " cGy"));
    lines.push_back(Line("Head Dose = " + Tenths(factors.headDose) + " cGy"));
    lines.push_back(DetailsLine(*this, *machine.gEnergy));
    return lines;
}

std::vector<std::string> TTBIBeam::DetailsColumn(const Date& printDay) const {
    const TBIFactors& f = factors;
    const TBIBody& body = *this;
    const TableValue& of = f.refFieldFactor;
    const TableValue& sp = f.refPhantomScatter;
    const auto equiv = [](double value) { return FormatFloat("0.0;;0", value); };
    std::vector<std::string> rows(kDetailsRows);
    const auto row = [&rows](int number, std::string text) {
        rows[static_cast<std::size_t>(number - 1)] = std::move(text);
    };
    row(1, "tbi");
    row(2, name);
    row(3, ID);
    row(4, gantry);
    row(5, jaws);
    row(6, couch);
    row(9, Joined({G(body.AbdomenWidth), G(body.HeadWidth), G(body.ThoraxWidth)}));
    row(10, Joined({G(body.TorsoHeight), G(body.HeadHeight), G(body.TorsoHeight)}));
    row(11, Joined({equiv(equivSize), equiv(EquivalentSquare(body.HeadWidth, body.HeadHeight)),
                    equiv(EquivalentSquare(body.ThoraxWidth, body.TorsoHeight))}));
    row(13, F3(of.value) + "=" + F3(of.value / sp.value) + "x" + F3(sp.value));
    row(14, Joined({F3(f.torso.phantomScatter.value), F3(f.head.phantomScatter.value),
                    F3(f.thorax.phantomScatter.value)}));
    row(15, Triple(f, &TBIPoint::SSD, G));
    row(16, Triple(f, &TBIPoint::depth, G));
    row(17, G(doseDistance));
    row(18, Joined({F3(f.torso.depthDose.ssdPDD), F3(f.head.depthDose.ssdPDD),
                    F3(f.thorax.depthDose.ssdPDD)}));
    row(20,
        Joined({F3(f.torso.depthDose.tmr), F3(f.head.depthDose.tmr), F3(f.thorax.depthDose.tmr)}));
    const std::string lung = "Lung " + Tenths(f.lungShieldThickness) + "mm";
    if (shield != nullptr) {
        row(25, shield->Name + (isLungShields ? kPair + lung : ""));
        row(26, F3(f.shieldFactor) + (isLungShields ? kPair + F3(f.lungShieldFactor) : ""));
    } else if (isLungShields) {
        row(25, lung);
        row(26, F3(f.lungShieldFactor));
    }
    row(33, F3(1 / f.MUperCGy));
    row(34, FormatShortDate(printDay));
    row(35, Triple(f, &TBIPoint::scaleFactor, F3));
    row(36, Joined({F2(dose), F2(f.headDose), F2(f.thoraxDose)}));
    row(37, F2(MU));
    return rows;
}

std::vector<SetupCell> TTBIBeam::SetupRow() const {
    const TLinacSpec* linac = machine.linac;
    if (!calculated || linac == nullptr || machine.gEnergy == nullptr) {
        return {};
    }
    const double size = machine.gEnergy->TBIFieldSize;
    return {
        {SetupColumn::Fascio, {name}},
        {SetupColumn::IDFascio, {ID}},
        {SetupColumn::DSP, {G(realSSD)}},
        {SetupColumn::DimCampoWidth, {linac->WidthChar + SetupSize(size)}},
        {SetupColumn::DimCampoHeight, {linac->HeightChar + SetupSize(size)}},
        {SetupColumn::RotGantry, {gantry}},
        {SetupColumn::RotColl, {jaws}},
        {SetupColumn::RotLettino, {couch}},
        {SetupColumn::Blocchi, {"NO"}},
        {SetupColumn::Schermi, {shield != nullptr ? shield->Name : "NO"}},
        {SetupColumn::Cunei, {"NO"}},
        {SetupColumn::UM, {MUFormat(WholeMU(MU))}},
    };
}

std::vector<NamedValue> TTBIBeam::Inputs() const {
    std::vector<NamedValue> values = BoundValues(TBIBeamForm::Table(), StoredInput());
    // Worked out from the patient model and the dose point, not typed.
    values.insert(values.end(), {{"width", width},
                                 {"height", height},
                                 {"equivSize", equivSize},
                                 {"depth", depth},
                                 {"SSD", SSD},
                                 {"realSSD", realSSD}});
    return values;
}

std::vector<NamedValue> TTBIBeam::Factors() const {
    const TBIFactors& f = factors;
    std::vector<NamedValue> values = {
        {"MUperCGy", f.MUperCGy},
        {"actualCalibrationFactor", 1 / f.MUperCGy},
        {"referenceFieldFactor", f.refFieldFactor.value},
        {"referenceFieldFactorFromTable", f.refFieldFactor.fromTable},
        {"referencePhantomScatter", f.refPhantomScatter.value},
        {"referencePhantomScatterFromTable", f.refPhantomScatter.fromTable},
        {"referenceCollimatorScatter", f.refFieldFactor.value / f.refPhantomScatter.value}};
    const std::pair<const char*, const TBIPoint*> points[] = {
        {"torso", &f.torso}, {"head", &f.head}, {"thorax", &f.thorax}};
    for (const auto& [point, p] : points) {
        const std::string prefix = point;
        values.insert(values.end(),
                      {{prefix + "SSD", p->SSD},
                       {prefix + "Depth", p->depth},
                       {prefix + "SsdPDD", p->depthDose.ssdPDD},
                       {prefix + "Tmr", p->depthDose.tmr},
                       {prefix + "DepthDoseFromTable", p->depthDose.fromTable},
                       {prefix + "PhantomScatter", p->phantomScatter.value},
                       {prefix + "PhantomScatterFromTable", p->phantomScatter.fromTable},
                       {prefix + "ScaleFactor", p->scaleFactor}});
    }
    values.push_back({"shieldFactor", f.shieldFactor});
    values.push_back({"headDose", f.headDose});
    values.push_back({"thoraxDose", f.thoraxDose});
    ReportedValue lungFactor = std::monostate{}, lungThickness = std::monostate{};
    if (isLungShields) {
        lungFactor = f.lungShieldFactor;
        lungThickness = f.lungShieldThickness;
    }
    values.push_back({"lungShieldFactor", lungFactor});
    values.push_back({"lungShieldThickness", lungThickness});
    return values;
}

} // namespace kova
