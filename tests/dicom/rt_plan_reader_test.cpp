#include "core/beams/tps_check.h"
#include "core/common/file_bytes.h"
#include "core/plan/plan_import.h"
#include "core/workbench/beam_input.h"
#include "dicom/rt_plan_reader.h"
#include "support/demo_linacs.h"
#include "support/near.h"
#include "support/test_plans.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kova {
namespace {

using test::IsNear;

std::string TestPlan(const std::string& name) {
    return std::string(KOVA_RTPLAN_DIR) + "/" + name + ".dcm";
}

std::string Bytes(const std::string& path) {
    const FileBytes file = ReadFileBytes(path, kMaxRTPlanBytes);
    EXPECT_TRUE(file.ok()) << file.reason;
    return file.bytes;
}

/// A test file of pydicom ("rtplan.dcm"), installed by Debian's python3-pydicom.
std::string PydicomFile(const std::string& name) {
    const std::string folder = KOVA_PYDICOM_TEST_FILES;
    EXPECT_FALSE(folder.empty()) << "pydicom's test files are missing: run scripts/deps.sh";
    return folder + "/" + name;
}

TEST(ReadRTPlan, PydicomPlanAsTheFileGivesIt) {
    const Result<PlanData> plan = ReadRTPlanFile(PydicomFile("rtplan.dcm"));
    ASSERT_TRUE(plan.ok()) << plan.reason();
    EXPECT_EQ(plan->patientName, "Last^First^mid^pre");
    EXPECT_EQ(plan->patientID, "id00001");
    EXPECT_EQ(plan->label, "Plan1");
    ASSERT_EQ(plan->beams.size(), 1u);
    const PlanBeam& beam = plan->beams[0];
    EXPECT_EQ(beam.number, 1);
    EXPECT_EQ(beam.name, "Field 1");
    EXPECT_EQ(beam.machine, "unit001");
    EXPECT_EQ(beam.radiationType, "PHOTON");
    EXPECT_EQ(beam.beamType, "STATIC");
    EXPECT_EQ(beam.SAD, 1000);
    ASSERT_EQ(beam.controlPoints.size(), 2u);
    const PlanControlPoint& first = beam.controlPoints[0];
    EXPECT_EQ(first.nominalEnergy, 6);
    EXPECT_EQ(first.gantryAngle, 0);
    EXPECT_EQ(first.gantryRotation, "NONE");
    EXPECT_EQ(first.SSD, 898.429664831309);
    ASSERT_EQ(first.devices.size(), 2u);
    EXPECT_EQ(first.devices[0].type, "X");
    EXPECT_EQ(first.devices[0].positions, (std::vector<double>{-100, 100}));
    EXPECT_TRUE(beam.controlPoints[1].devices.empty());
    ASSERT_EQ(plan->fractionGroups.size(), 1u);
    ASSERT_EQ(plan->fractionGroups[0].beams.size(), 1u);
    const PlanBeamDose& dose = plan->fractionGroups[0].beams[0];
    EXPECT_EQ(dose.beamNumber, 1);
    EXPECT_EQ(dose.dose, 1.0275401);
    EXPECT_EQ(dose.meterset, 116.0036697);
    ASSERT_EQ(plan->setups.size(), 1u);
    EXPECT_EQ(plan->setups[0].technique, "");
}

TEST(ReadRTPlan, PydicomPlanComputedOnUnit001) {
    // The demo dual energy linac under the plan's machine name.
    std::vector<std::unique_ptr<TLinacSpec>> linacs;
    linacs.push_back(test::DemoLinac("demo_dual_energy.txt", "unit001"));
    const Result<PlanData> plan = ReadRTPlanFile(PydicomFile("rtplan.dcm"));
    ASSERT_TRUE(plan.ok()) << plan.reason();
    const std::vector<ImportedBeam> beams = ImportPlan(*plan, linacs, "rtplan.dcm");
    ASSERT_EQ(beams.size(), 1u);
    ASSERT_TRUE(beams[0].Ready()) << beams[0].Problem();
    std::vector<InputError> errors;
    std::optional<ResolvedBeam> resolved = ResolveBeam(beams[0].block, linacs, errors);
    ASSERT_TRUE(resolved.has_value());
    const BeamOutcome outcome = ComputeBeam(*resolved, Date{2026, 11, 2});
    ASSERT_TRUE(outcome.computed) << outcome.reason;
    // The plan's lengths and dose are typed to 0.01: SSD 898.429664831309 mm is 89.84 cm,
    // 1.0275401 Gy is 102.75 cGy.
    // Isocentric 20 x 20 at SSD 89.84 cm: depth d = 100 - 89.84 = 10.16 cm, 102.75 cGy.
    // Depth dose: the field scaled to SSD = SCD at depth, 20 x 100 / 110.16 = 18.1554, lies
    // among the 20x20, 15x15, 10x20 and 20x10 reference fields (squared distances 6.8050,
    // 19.9132, 69.9132, 69.9132); their depth doses at 10.16 cm (linear between 10 and
    // 12 cm: 0.697664, 0.685240, 0.679732, 0.679732) weighted by 1 / squared distance give
    // P = 0.692629; Mayneord to SSD 89.84: ssdPDD = P x (110.16 x 91.34 / (101.5 x
    // 100))^2 = 0.680672. Field factor 1.07 (the 20x20 field), inverse square
    // (101.5 / 91.34)^2 = 1.234838, 1 cGy/MU:
    // MU = 102.75 / (0.680672 x 1.07 x 1.234838) = 114.2483.
    EXPECT_TRUE(IsNear(outcome.beam->MU, 114.2483, {1e-6, 0}));
    // TPS 116.0037 MU: (116.0037 - 114.2483) / 114.2483 = +1.54 %, within 3 %.
    const std::optional<TPSComparison> tps = CompareWithTPS(*outcome.beam, ActionLevels{});
    ASSERT_TRUE(tps.has_value());
    EXPECT_TRUE(IsNear(tps->difference, 1.53643, {1e-4, 0}));
    EXPECT_FALSE(tps->beyondActionLevel);
    EXPECT_EQ(TPSText(*tps), "TPS MU = 116 (difference 1.5 %)");
    // Typed as the plan stores them (depth 10.1570335168691, SSD 89.8429664831309, dose
    // 102.75401) the MU is 114.2422: the rounding moves it by 0.0061 MU, less than the 0.01
    // MU of its last printed digit, and the difference to the TPS not at all as printed.
    BeamBlock exact = beams[0].block;
    for (BeamEntry& entry : exact.entries) {
        entry.value = entry.key == "BeamDepth"     ? "10.1570335168691"
                      : entry.key == "BeamRealSSD" ? "89.8429664831309"
                      : entry.key == "BeamDose"    ? "102.75401"
                                                   : entry.value;
    }
    std::optional<ResolvedBeam> exactResolved = ResolveBeam(exact, linacs, errors);
    ASSERT_TRUE(exactResolved.has_value());
    const BeamOutcome exactOutcome = ComputeBeam(*exactResolved, Date{2026, 11, 2});
    ASSERT_TRUE(exactOutcome.computed) << exactOutcome.reason;
    EXPECT_TRUE(IsNear(exactOutcome.beam->MU, 114.2422, {1e-6, 0}));
    EXPECT_LT(std::fabs(exactOutcome.beam->MU - outcome.beam->MU), 0.01);
    EXPECT_EQ(TPSText(*CompareWithTPS(*exactOutcome.beam, ActionLevels{})), TPSText(*tps));
}

TEST(ReadRTPlan, TestPlansImportOnTheDemoLinacs) {
    struct Case {
        const char* plan;
        std::vector<std::string> titles;
        std::vector<std::string> problems; ///< empty for a beam ready to compute
    };
    const Case cases[] = {
        {"wedged",
         {"AP W30", "LAT EDW", "OBL 60"},
         {"", "",
          "the plan's wedge 'W' (60 degrees) may be several wedges of 6MV (wedges: W60, "
          "EDW60)"}},
        {"mlc",
         {"MLC shaped", "MLC open", "MLC 18MV"},
         {"", "",
          "no multileaf factor for the leaf opening: the energy 18MV has no multileaf "
          "collimator"}},
        {"several",
         {"AP", "PA", "Electron 9", "Setup", "SSD field", "Odd tray"},
         {"", "", "", "not a treatment beam (SETUP)", "",
          "the plan's block tray 'Tray-X' is no tray of 6MV: a name and factor must be given"}},
        {"two_machines",
         {"DE 6MV", "Co60", "Other", "DE 10MV"},
         {"", "",
          "the plan's machine 'Linac-9' is no linac of the linac folder (linacs: DualDemo, "
          "CobaltDemo)",
          "the plan's 10 MV photon beam matches no photon energy of DualDemo (energies: 6MV, "
          "18MV)"}},
        {"arc",
         {"Arc", "Sliding window", "No dose", "Electron A99", "Static"},
         {"no IMRT/VMAT check: the energy 6MV has no leaf transmission (.ini)",
          "no IMRT/VMAT check: the energy 6MV has no leaf transmission (.ini)",
          "the plan gives the beam no dose (no BeamDose above 0 in a fraction group)",
          "the applicator 'A99' matches no applicator of 9MeV (applicators: 6x6, 10x10, 15x15, "
          "20x20, 25x25)",
          ""}},
        {"damaged",
         {"Meterset nan", "No meterset", "Jaws nan", "SAD nan", "Leaf pairs"},
         {"", "", "the ASYMX positions of control point 1 are not all numbers: the plan is damaged",
          "the plan's source-axis distance is not a number",
          "the MLCX gives 13 leaf boundaries, not 11 + 1 for its NumberOfLeafJawPairs: the plan "
          "is damaged"}},
    };
    const std::vector<std::unique_ptr<TLinacSpec>> linacs = test::DemoLinacs();
    for (const Case& c : cases) {
        const Result<PlanData> plan = ReadRTPlanFile(TestPlan(c.plan));
        ASSERT_TRUE(plan.ok()) << c.plan << ": " << plan.reason();
        const std::vector<ImportedBeam> beams = ImportPlan(*plan, linacs);
        std::vector<std::string> titles, problems;
        for (const ImportedBeam& beam : beams) {
            titles.push_back(beam.title);
            problems.push_back(beam.Problem());
        }
        EXPECT_EQ(titles, c.titles) << c.plan;
        EXPECT_EQ(problems, c.problems) << c.plan;
    }
}

TEST(ReadRTPlan, AnyTransferSyntaxWithOrWithoutMetaHeader) {
    const Result<PlanData> file = ReadRTPlanFile(TestPlan("wedged"));
    ASSERT_TRUE(file.ok()) << file.reason();
    for (const char* variant : {"wedged_dataset_implicit", "wedged_big_endian"}) {
        const Result<PlanData> plan = ReadRTPlanFile(TestPlan(variant));
        ASSERT_TRUE(plan.ok()) << variant << ": " << plan.reason();
        ASSERT_EQ(plan->beams.size(), file->beams.size()) << variant;
        for (std::size_t i = 0; i < plan->beams.size(); ++i) {
            EXPECT_EQ(plan->beams[i].name, file->beams[i].name) << variant;
            EXPECT_EQ(plan->beams[i].controlPoints[0].devices[0].positions,
                      file->beams[i].controlPoints[0].devices[0].positions)
                << variant;
            EXPECT_EQ(plan->beams[i].wedges[0].angle, file->beams[i].wedges[0].angle) << variant;
        }
        EXPECT_EQ(plan->fractionGroups[0].beams[1].dose, 0.5) << variant;
    }
}

TEST(ReadRTPlan, ValuesOfTheTestPlans) {
    const std::vector<std::unique_ptr<TLinacSpec>> linacs = test::DemoLinacs();
    const Result<PlanData> several = ReadRTPlanFile(TestPlan("several"));
    ASSERT_TRUE(several.ok()) << several.reason();
    EXPECT_EQ(PlanPatientOf(*several).name, "Doe Jane Dr");
    // The FIXED_SSD set-up with its dose point at 50 mm (an FL value).
    const std::vector<std::string> ssd = test::Lines(ImportPlanBeam(*several, 4, linacs).block);
    EXPECT_EQ(std::vector<std::string>(ssd.begin() + 9, ssd.begin() + 13),
              (std::vector<std::string>{"Technique = 1", "BeamDepth = 5", "BeamSSD = 100",
                                        "BeamRealSSD = 100"}));
    // The blocked field: tray and shield by name.
    const ImportedBeam blocked = ImportPlanBeam(*several, 0, linacs);
    ASSERT_NE(blocked.block.Find("ShieldComp"), nullptr);
    EXPECT_EQ(blocked.block.Find("ShieldComp")->value, "Shield-Lung");
    EXPECT_EQ(blocked.block.Find("TrayComp")->value, "Tray-Block");
    // The Co60 beam found ignoring case, at its SAD of 80 cm: depth 80 - 70.
    const Result<PlanData> machines = ReadRTPlanFile(TestPlan("two_machines"));
    ASSERT_TRUE(machines.ok()) << machines.reason();
    const ImportedBeam cobalt = ImportPlanBeam(*machines, 1, linacs);
    ASSERT_TRUE(cobalt.Ready()) << cobalt.Problem();
    EXPECT_EQ(cobalt.block.Find("Linac")->value, "CobaltDemo");
    EXPECT_EQ(cobalt.block.Find("BeamDepth")->value, "10");
    // The asymmetric wedged field: 3 + 7 cm, shifted by 2 cm, EDW60 by angle and type.
    const Result<PlanData> wedged = ReadRTPlanFile(TestPlan("wedged"));
    ASSERT_TRUE(wedged.ok()) << wedged.reason();
    const ImportedBeam lateral = ImportPlanBeam(*wedged, 1, linacs);
    EXPECT_EQ(lateral.block.Find("BeamAsymmWidth")->value, "2");
    EXPECT_EQ(lateral.block.Find("WedgeComp")->value, "EDW60");
    // A damaged value is told from a missing one.
    const Result<PlanData> damaged = ReadRTPlanFile(TestPlan("damaged"));
    ASSERT_TRUE(damaged.ok()) << damaged.reason();
    EXPECT_TRUE(std::isnan(damaged->fractionGroups[0].beams[0].meterset.value_or(0)));
    EXPECT_FALSE(damaged->fractionGroups[0].beams[1].meterset.has_value());
    EXPECT_TRUE(std::isnan(damaged->beams[3].SAD.value_or(0)));
    EXPECT_EQ(damaged->beams[4].devices[2].leafJawPairs, 11);
    EXPECT_EQ(ImportPlanBeam(*damaged, 1, linacs).tpsRefusal,
              "the plan gives the beam no BeamMeterset");
    // The VMAT arc: the weights of its control points, the isocentre, the dose point 10 mm
    // head-ward and the head-first supine set-up.
    const Result<PlanData> vmat = ReadRTPlanFile(TestPlan("vmat"));
    ASSERT_TRUE(vmat.ok()) << vmat.reason();
    const PlanBeam& arc = vmat->beams[0];
    EXPECT_EQ(arc.finalWeight, 1);
    EXPECT_EQ(arc.controlPoints[18].cumulativeWeight, 0.5);
    EXPECT_EQ(arc.controlPoints[0].isocenter, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(vmat->fractionGroups[0].beams[0].dosePoint, (std::vector<double>{0, 0, 10}));
    EXPECT_EQ(vmat->setups[0].position, "HFS");
}

TEST(ReadRTPlan, FilesThatAreNoRTPlan) {
    struct Case {
        std::string bytes;
        std::string reason;
    };
    const std::string wedged = Bytes(TestPlan("wedged"));
    const Case cases[] = {
        {"", "the file is empty, not an RT Plan"},
        {Bytes(TestPlan("not_a_plan")), "not an RT Plan (SOP class 1.2.840.10008.5.1.4.1.1.481.2)"},
        {Bytes(TestPlan("no_beams")), "the RT Plan has no beam"},
        {Bytes(TestPlan("dup_beam_number")),
         "the RT Plan is damaged: beams 1 and 2 have the same BeamNumber 1"},
        // The meta header cut short.
        {wedged.substr(0, 150), "the file is not readable DICOM data"},
        // An element at the end claiming 2.6 GB (explicit VR UN, length 0x9d000000): refused
        // without taking that memory (the fuzz target runs under a memory limit).
        {wedged + std::string("\x09\x00\x00\x10UN\x00\x00\x00\x00\x00\x9d", 12),
         "the file is not readable DICOM data"},
        // The deflated transfer syntax named in the meta header.
        {std::string(128, '\0') + "DICM" + "\x02\x00\x10\x00UI\x16\x00" + "1.2.840.10008.1.2.1.99",
         "a deflated DICOM file: RT Plans are read uncompressed"},
    };
    for (const Case& c : cases) {
        const Result<PlanData> plan = ReadRTPlan(c.bytes);
        EXPECT_FALSE(plan.ok());
        EXPECT_EQ(plan.reason().substr(0, c.reason.size()), c.reason);
    }
    // pydicom's truncated plan.
    const Result<PlanData> cut = ReadRTPlanFile(PydicomFile("rtplan_truncated.dcm"));
    EXPECT_FALSE(cut.ok());
    EXPECT_FALSE(cut.reason().empty());
}

TEST(ReadRTPlan, EveryCutOfAPlanIsReadOrRefusedWithAReason) {
    const std::string whole = Bytes(TestPlan("mlc"));
    const std::vector<std::unique_ptr<TLinacSpec>> linacs = test::DemoLinacs();
    for (std::size_t size = 1; size < whole.size(); size += 37) {
        const Result<PlanData> plan = ReadRTPlan(std::string_view(whole).substr(0, size));
        if (!plan.ok()) {
            EXPECT_FALSE(plan.reason().empty()) << size;
            continue;
        }
        // What a cut plan still gives computes to a valid MU or is refused.
        for (const ImportedBeam& beam : ImportPlan(*plan, linacs)) {
            std::vector<InputError> errors;
            std::optional<ResolvedBeam> resolved =
                beam.Ready() ? ResolveBeam(beam.block, linacs, errors) : std::nullopt;
            if (resolved) {
                const BeamOutcome outcome = ComputeBeam(*resolved, Date{2026, 11, 2});
                EXPECT_TRUE(!outcome.computed ||
                            (std::isfinite(outcome.beam->MU) && outcome.beam->MU > 0))
                    << size;
            }
        }
    }
}

} // namespace
} // namespace kova
