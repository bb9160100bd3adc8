#pragma once

#include "core/beams/photon_beam.h"
#include "core/workbench/workbench.h"
#include "support/photon_energy.h"

#include <string>

namespace kova::test {

/// A patient whose treatments are on the PhotonSetup linac ("Bench", energy "X6"), with
/// computed photon beams: fixed SSD 100, 10 cm deep, 10 x 10 cm, so that each beam's MU is
/// dose / 0.67 (1 cGy/MU, depth dose 0.67, field factor 1).
class ReportPatient {
public:
    ReportPatient();

    /// A new photon treatment named `name`.
    TTreatment& AddTreatment(const std::string& name);
    /// A computed beam of `dose` cGy named `name`, calculated on 01/06/2026.
    TPhotonBeam& AddBeam(TTreatment& treatment, const std::string& name, double dose,
                         const std::string& id = "1");

    PhotonSetup setup;
    Patient patient;
};

} // namespace kova::test
