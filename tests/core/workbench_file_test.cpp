// The workbench file: written as a beam file, read back into patients, treatments and
// beams that give the same MU, on the demo linacs.

#include "core/linac/linac_file.h"
#include "core/linac/mlc_parameters.h"
#include "core/workbench/beam_file_writer.h"
#include "core/workbench/beam_input.h"
#include "core/workbench/workbench_file.h"
#include "core/workbench/workbench_text.h"
#include "support/near.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace kova {
namespace {

/// A day after the cobalt source's calibration (01/06/2026), so its decay enters the MU.
const Date kDay{2026, 9, 1};

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::unique_ptr<TLinacSpec>> DemoLinacs() {
    std::vector<std::unique_ptr<TLinacSpec>> linacs;
    for (const char* name : {"demo_dual_energy.txt", "demo_cobalt.txt"}) {
        auto linac = std::make_unique<TLinacSpec>();
        const std::string text = ReadText(std::filesystem::path(KOVA_DEMO_LINAC_TEXTS) / name);
        if (!ReadLinacText(text, *linac).accepted()) {
            ADD_FAILURE() << name << " refused";
        }
        linacs.push_back(std::move(linac));
    }
    // The demo dual-energy linac's MLC sidecar, for its IMRT/VMAT beams.
    const std::string sidecar =
        ReadText(std::filesystem::path(KOVA_DEMO_LINAC_TEXTS) / "demo_dual_energy.lnc.ini");
    linacs.front()->Mlc.entries = ParseMlcSidecar(sidecar, *linacs.front()).value();
    return linacs;
}

/// Every example beam file, then beams with entries made on the spot in every list that
/// offers "Set on fly...", in two patients, and an IMRT beam as a plan's import types it.
std::string ExamplesAndAdHocBeams() {
    std::string text;
    for (const auto& entry : std::filesystem::directory_iterator(KOVA_EXAMPLES_DIR)) {
        if (entry.path().extension() == ".ini") {
            text += ReadText(entry.path()) + "\n";
        }
    }
    text += R"(
[Tray and multileaf made on the spot]
Patient = Bianchi
Treatment = Pelvis
Linac = DualDemo
Energy = 6MV
Technique = Not Isocentric
BeamDose = 180
BeamDepth = 9
BeamSSD = 95
BeamWidth = 12
BeamHeight = 14
TrayComp = Tray plan 7 : 0.963
MultileafComp = MLC plan 7 : 0.981234567891234
TPSMU = 250

[Second beam of the same treatment]
Patient = Bianchi
Treatment = Pelvis
Linac = DualDemo
Energy = 6MV
BeamDose = 90
BeamDepth = 9
BeamLeft = 5
BeamRight = 3
BeamBottom = 4
BeamTop = 6
isOffset = 1
ShieldComp = Shield-Cord

[IMRT beam of a plan]
Patient = Bianchi
Linac = DualDemo
Energy = 6MV
BeamKind = IMRT/VMAT Beam
BeamDose = 200
LeafBoundaries = MLCX -5 0 5
Segments = 0.25 90 - 0 0 -5 5 -5 5 0 350 0 -4 -1 4 3 ; 0.75 91.5 12.25 0.5 -0.25 -5 5 -5 5 10 10 0 -2 -2 2 2
TPSMU = 260
)";
    return text;
}

/// What the workbench shows and computes: every node's lines as Copy gives them, and every
/// beam's MU to the last bit.
struct Snapshot {
    std::vector<std::string> patients;
    std::vector<std::string> treatments;
    std::vector<double> mu;
};

Snapshot Take(const Workbench& workbench) {
    Snapshot shot;
    for (const auto& patient : workbench.patients()) {
        shot.patients.push_back(patient->name);
        for (const auto& treatment : patient->treatments) {
            shot.treatments.push_back(IndentedText({TreatmentNode(*treatment, {})}));
            for (const auto& beam : treatment->beams) {
                shot.mu.push_back(beam->TotalMU());
            }
        }
    }
    return shot;
}

TEST(WorkbenchFile, EveryBeamComesBackWithTheSameMu) {
    const auto linacs = DemoLinacs();
    // Read as if from the examples folder, where the MLC file one of them names is.
    const std::string in = std::string(KOVA_EXAMPLES_DIR) + "/in.ini";
    const WorkbenchFile first = ReadWorkbench(in, ExamplesAndAdHocBeams(), linacs, kDay);
    ASSERT_TRUE(first.refused.empty()) << first.refused.front();
    const std::string written = WriteWorkbench(first.workbench);
    const WorkbenchFile second = ReadWorkbench("saved.ini", written, linacs, kDay);
    ASSERT_TRUE(second.refused.empty()) << second.refused.front() << "\n" << written;

    const Snapshot before = Take(first.workbench);
    const Snapshot after = Take(second.workbench);
    EXPECT_EQ(second.beamsInFile, first.beamsInFile);
    ASSERT_EQ(after.mu.size(), static_cast<std::size_t>(first.beamsInFile));
    for (std::size_t i = 0; i < after.mu.size(); ++i) {
        // A factor made from an MLC file is written, as its editor shows it, with 15
        // significant digits; everything else comes back to the last bit.
        EXPECT_TRUE(test::IsNear(after.mu[i], before.mu[i])) << i;
    }
    EXPECT_EQ(after.patients, before.patients);
    EXPECT_EQ(after.treatments, before.treatments);
    // Written again, the file is the same: nothing drifts from one save to the next.
    EXPECT_EQ(WriteWorkbench(second.workbench), written);
    // Energy entries go by name, entries made on the spot by name and factor.
    for (const char* line :
         {"ShieldComp = Shield-Lung\n", "ShieldComp = Custom-Block : 0.93\n",
          "TrayComp = Tray plan 7 : 0.963\n", "MultileafComp = MLC plan 7 : 0.981234567891234\n",
          "ShieldComp = Lead 3 : 0.97\n", "TPSMU = 250\n", "LeafBoundaries = MLCX -5 0 5\n"}) {
        EXPECT_NE(written.find(line), std::string::npos) << line;
    }
    // Worked out again by the dialog, never stored: the derived sizes and the build menu.
    for (const char* key : {"\nBeamEquivSize =", "\nBeamOffset =", "\nOffsetComp =", "\nBuild ="}) {
        EXPECT_EQ(written.find(key), std::string::npos) << key;
    }
}

TEST(WorkbenchFile, ConsecutiveBeamsGatherInTheirPatientAndTreatment) {
    const auto linacs = DemoLinacs();
    // 200 cGy at 10 cm, SSD 100, 10 x 10 on 6MV: depth dose 0.6706, field factor 1, 1 cGy/MU
    // at SSD = SCD: 200 / 0.6706 = 298.24 MU. Same treatment name but another energy or kind
    // makes another treatment; the same names later again make new nodes.
    const std::string beam = "Linac = DualDemo\nTechnique = 1\nBeamDose = 200\nBeamDepth = "
                             "10\nBeamSSD = 100\nBeamWidth = 10\nBeamHeight = 10\n";
    const std::string text = "[a]\nPatient = Rossi\nTreatment = T\nEnergy = 6MV\n" + beam +
                             "[b]\nPatient = Rossi\nTreatment = T\nEnergy = 6MV\n" + beam +
                             "[c]\nPatient = Rossi\nTreatment = T\nEnergy = 18MV\n" + beam +
                             "[d]\nPatient = Verdi\nTreatment = T\nEnergy = 6MV\n" + beam +
                             "[e]\nPatient = Rossi\nEnergy = 6MV\n" + beam;
    const WorkbenchFile file = ReadWorkbench("in.ini", text, linacs, kDay);
    ASSERT_TRUE(file.refused.empty()) << file.refused.front();
    const auto& patients = file.workbench.patients();
    ASSERT_EQ(patients.size(), 3u);
    EXPECT_EQ(patients[0]->name, "Rossi");
    EXPECT_EQ(patients[1]->name, "Verdi");
    EXPECT_EQ(patients[2]->name, "Rossi");
    ASSERT_EQ(patients[0]->treatments.size(), 2u);
    EXPECT_EQ(patients[0]->treatments[0]->beams.size(), 2u);
    EXPECT_EQ(patients[0]->treatments[0]->DoseLine(), "Dose = 400 cGy");
    EXPECT_EQ(patients[0]->treatments[1]->Energy()->Name, "18MV");
    // Without a Treatment key the beam's treatment has the name a new one gets.
    EXPECT_EQ(patients[2]->treatments[0]->name, "New Treatment");

    const std::string written = WriteWorkbench(file.workbench);
    EXPECT_NE(written.find("[a]\nLinac = DualDemo\nEnergy = 6MV\nBeamKind = Photon Beam\n"
                           "Patient = Rossi\nTreatment = T\nTechnique = 1\n"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("# MU = 298.24, computed on 01/09/2026\n"), std::string::npos);
}

TEST(WorkbenchFile, PatientAndTreatmentAreKeysOfTheBeamFile) {
    const auto linacs = DemoLinacs();
    std::vector<InputError> errors;
    const std::vector<BeamBlock> blocks = ParseBeamText(
        "in.ini",
        "[x]\nPatient = Rossi\nTreatment = Breast\nLinac = DualDemo\nEnergy = 6MV\n"
        "BeamDose = 100\nBeamDepth = 10\nBeamWidth = 10\nBeamHeight = 10\n[y]\n"
        "Linac = DualDemo\nEnergy = 6MV\nBeamDose = 100\nBeamDepth = 10\nBeamWidth = 10\n"
        "BeamHeight = 10\n",
        errors);
    ASSERT_EQ(blocks.size(), 2u);
    const auto given = ResolveBeam(blocks[0], linacs, errors);
    const auto missing = ResolveBeam(blocks[1], linacs, errors);
    ASSERT_TRUE(errors.empty()) << errors.front().ToString();
    ASSERT_TRUE(given && missing);
    EXPECT_EQ(given->patientName, std::optional<std::string>("Rossi"));
    EXPECT_EQ(given->treatmentName, std::optional<std::string>("Breast"));
    EXPECT_EQ(given->treatment->name, "Breast");
    EXPECT_FALSE(missing->patientName);
    EXPECT_FALSE(missing->treatmentName);
}

TEST(WorkbenchFile, BeamsRefusedNowAreListedAndTheRestIsKept) {
    const auto linacs = DemoLinacs();
    struct Case {
        const char* keys;   // the beam's keys after "[title]"
        const char* reason; // part of the line that names it
    };
    const Case cases[] = {
        // Refused before the field is read, the first two leave BeamHeight for others' depth.
        {"Linac = Gone\nEnergy = 6MV\nBeamWidth = 10\n",
         "no linac of the linac folder has this Name: 'Gone'"},
        {"Linac = DualDemo\nEnergy = 4MV\nBeamWidth = 10\n",
         "has no photon energy of this name: '4MV'"},
        {"Linac = DualDemo\nEnergy = 6MV\nBeamDepth = 10\nBeamWidth = 10\nBeamHeight = 10\n"
         "TrayComp = Tray-Gone\n",
         "no TrayComp entry has this name: 'Tray-Gone'"},
        {"Linac = DualDemo\nEnergy = 6MV\nBeamDepth = 10\nBeamWidth = 1o\nBeamHeight = 10\n",
         "'1o' is not a valid floating point value"},
        {"Linac = DualDemo\nEnergy = 6MV\n", "the beam gives no field"},
        // Refused on OK: isocentric at 35 cm depth on a 100 cm SAD puts the skin at 65 cm,
        // below SCD - 30 cm = 70 cm.
        {"Linac = DualDemo\nEnergy = 6MV\nBeamWidth = 10\nBeamHeight = 10\n"
         "BeamDepth = 35\n",
         "in.ini:31: SSD 65 cm is below the minimum 70 cm"},
    };
    const std::string dose = "BeamDose = 100\n";
    std::string text = "not a key line\n";
    for (const Case& c : cases) {
        text += "[refused]\n" + dose + c.keys;
    }
    text += "[kept]\nLinac = DualDemo\nEnergy = 6MV\nBeamWidth = 10\nBeamHeight = 10\n" + dose +
            "BeamDepth = 10\n";
    const WorkbenchFile file = ReadWorkbench("in.ini", text, linacs, kDay);
    ASSERT_EQ(file.refused.size(), std::size(cases) + 1) << ::testing::PrintToString(file.refused);
    EXPECT_EQ(file.refused[0], "in.ini:1: expected 'Key = Value': 'not a key line'");
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_NE(file.refused[i + 1].find(cases[i].reason), std::string::npos)
            << file.refused[i + 1];
        EXPECT_EQ(file.refused[i + 1].rfind("[refused] ", 0), 0u) << file.refused[i + 1];
    }
    EXPECT_EQ(file.beamsInFile, static_cast<int>(std::size(cases)) + 1);
    ASSERT_EQ(file.workbench.patients().size(), 1u);
    EXPECT_EQ(file.workbench.patients()[0]->treatments[0]->beams[0]->name, "kept");
}

TEST(WorkbenchFile, TextsAreWrittenAsUtf8OnOneLine) {
    const auto linacs = DemoLinacs();
    // "Müller" in Windows-1252, as the program keeps texts; a beam name with a line break.
    const std::string text = "[AP]\nPatient = M\xFCller\nLinac = DualDemo\nEnergy = 6MV\n"
                             "BeamDose = 100\nBeamDepth = 10\nBeamWidth = 10\nBeamHeight = 10\n";
    WorkbenchFile file = ReadWorkbench("in.ini", text, linacs, kDay);
    ASSERT_TRUE(file.refused.empty()) << file.refused.front();
    EXPECT_EQ(file.workbench.patients()[0]->name, "M\xFCller");
    file.workbench.patients()[0]->treatments[0]->beams[0]->name = "AP\nLAT";
    const std::string written = WriteWorkbench(file.workbench);
    EXPECT_NE(written.find("Patient = M\xC3\xBCller\n"), std::string::npos);
    EXPECT_NE(written.find("[AP LAT]\n"), std::string::npos);
    EXPECT_NE(written.find("BeamName = AP LAT\n"), std::string::npos);
    const WorkbenchFile back = ReadWorkbench("saved.ini", written, linacs, kDay);
    ASSERT_TRUE(back.refused.empty()) << back.refused.front();
    EXPECT_EQ(back.workbench.patients()[0]->name, "M\xFCller");
}

TEST(WorkbenchFile, PatientsAndTreatmentsWithoutBeamsAreNamed) {
    const auto linacs = DemoLinacs();
    Workbench workbench;
    workbench.AddPatient().name = "Empty";
    Patient& patient = workbench.AddPatient();
    patient.name = "Rossi";
    auto treatment =
        MakeTreatment("Breast", *linacs[0], BeamKind::Photon, *linacs[0]->gEnergies[0]);
    ASSERT_TRUE(treatment);
    workbench.AddTreatment(patient, std::move(treatment.value()));
    EXPECT_EQ(
        NotKeptInBeamFile(workbench),
        (std::vector<std::string>{"patient 'Empty'", "treatment 'Breast' of patient 'Rossi'"}));
    EXPECT_EQ(WriteWorkbench(workbench).find('['), std::string::npos);
}

TEST(WorkbenchText, CopyIndentsTwoSpacesPerLevel) {
    const std::vector<TextNode> nodes{
        {"Beam", 2, {{"MU = 10", -1, {}}, {"Details", -1, {{"F = 1", -1, {}}}}}}, {"Next", 2, {}}};
    EXPECT_EQ(IndentedText(nodes), "Beam\n  MU = 10\n  Details\n    F = 1\nNext\n");
}

} // namespace
} // namespace kova
