#include "support/photon_energy.h"

namespace kova::test {

RefField& AddRefField(TgEnergy& energy, double width, double height, double fieldFactor,
                      const DepthDoses& pdd) {
    RefField& field = Append(energy.RefFields);
    field.Width = width;
    field.Height = height;
    field.FieldFactor = fieldFactor;
    for (const auto& [depth, dose] : pdd) {
        PDDValue& value = Append(field.PDDValues);
        value.Depth = depth;
        value.PercentDose = dose;
    }
    return field;
}

void AddWedgeFactor(Wedge& wedge, double fieldSize, double wf, double warp) {
    WFValue& value = Append(wedge.WFValues);
    value.FieldSize = fieldSize;
    value.WF = wf;
    value.PDDWarp = warp;
}

void AddOffsetFactor(TgEnergy& energy, double offset, double factor) {
    OFValue& value = Append(energy.OffsetFactors);
    value.CenterFieldOffset = offset;
    value.OF = factor;
}

namespace {

void FillEnergy(TgEnergy& e) {
    e.Name = "X6";
    e.NominalEnergy = 6;
    e.MaxWidth = e.MaxHeight = 40;
    e.MinWidth = e.MinHeight = 1;
    e.MaxLeft = e.MaxRight = e.MaxBottom = e.MaxTop = 20;
    e.MinLeft = e.MinRight = -2;
    e.MinBottom = e.MinTop = -10;
    e.SCD = 100;
    e.Buildup = 1.5;
    e.cGyUMRatio = 1;
    e.HalfLife = 0;
    e.CalDate = "01/01/2026";
    e.MLCSupported = true;
    e.IgnoreOffset = 0.5;
    const DepthDoses pdd = {{1, 0.98}, {1.5, 1}, {10, 0.67}, {20, 0.40}, {30, 0.20}};
    AddRefField(e, 4, 4, 0.90, pdd);
    AddRefField(e, 10, 10, 1.00, pdd);
    AddRefField(e, 30, 30, 1.10, pdd);
    AddOffsetFactor(e, 0, 1.000);
    AddOffsetFactor(e, 5, 0.980);
}

} // namespace

PhotonSetup::PhotonSetup() {
    linac.Name = "Bench";
    linac.SAD = 100;
    linac.WidthChar = "X";
    linac.HeightChar = "Y";
    linac.LeftChar = "X1";
    linac.RightChar = "X2";
    linac.BottomChar = "Y1";
    linac.TopChar = "Y2";
    energy = &Append(linac.gEnergies);
    FillEnergy(*energy);

    Wedge& wedge30 = Append(energy->Wedges);
    wedge30.Name = "W30";
    wedge30.MaxWidth = wedge30.MaxHeight = 20;
    AddWedgeFactor(wedge30, 5, 0.50, 1.10);
    AddWedgeFactor(wedge30, 15, 0.55, 1.20);
    Wedge& dynamic = Append(energy->Wedges);
    dynamic.Name = "EDW";
    dynamic.MaxWidth = dynamic.MaxHeight = 40;
    dynamic.isOffsetWedged = true;
    AddWedgeFactor(dynamic, 10, 0.80, 1);
    w30 = &wedge30;
    edw = &dynamic;

    Tray& t = Append(energy->Trays);
    t.Name = "Tray";
    t.TF = 0.96;
    Shield& s = Append(energy->Shields);
    s.Name = "Block";
    s.SF = 0.95;
    MLCFValue& m = Append(energy->MultileafFactors);
    m.Name = "MLC";
    m.MLCF = 0.99;
    tray = &t;
    shield = &s;
    multileaf = &m;

    treatment.linac = &linac;
    treatment.gEnergy = energy;
    treatment.kind = BeamKind::Photon;
}

} // namespace kova::test
