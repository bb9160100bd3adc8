#include "support/report_patient.h"

#include <gtest/gtest.h>

namespace kova::test {

ReportPatient::ReportPatient() {
    patient.name = "Rossi Mario";
}

TTreatment& ReportPatient::AddTreatment(const std::string& name) {
    auto treatment = std::make_unique<TTreatment>();
    treatment->name = name;
    treatment->linac = &setup.linac;
    treatment->gEnergy = setup.energy;
    treatment->kind = BeamKind::Photon;
    patient.treatments.push_back(std::move(treatment));
    return *patient.treatments.back();
}

TPhotonBeam& ReportPatient::AddBeam(TTreatment& treatment, const std::string& name, double dose,
                                    const std::string& id) {
    std::unique_ptr<TBeam> beam = treatment.CreateBeam(name);
    auto* photon = dynamic_cast<TPhotonBeam*>(beam.get());
    PhotonBeamInput in;
    in.technique = kFixedSsd;
    in.name = name;
    in.ID = id;
    in.gantry = "0";
    in.jaws = "0";
    in.couch = "0";
    in.dose = dose;
    in.X1 = in.X2 = in.Y1 = in.Y2 = 5;
    in.width = in.height = in.equivSize = 10;
    in.depth = 10;
    in.SSD = 100;
    in.realSSD = 100;
    const Status status = photon->Accept(in, Date{2026, 6, 1});
    EXPECT_TRUE(status.ok()) << status.reason();
    treatment.AddBeam(std::move(beam));
    return *photon;
}

} // namespace kova::test
