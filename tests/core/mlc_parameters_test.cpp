#include "core/linac/linac_folder.h"
#include "core/linac/mlc_parameters.h"
#include "support/demo_linacs.h"
#include "support/lnc_file.h"
#include "support/near.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <optional>

namespace kova {
namespace {

using test::IsNear;

TEST(MlcParameters, SidecarBesideTheLinacFileReadOrRefusedWithItsLine) {
    const struct {
        const char* row;
        std::optional<std::string> sidecar; // none: no sidecar beside unit.lnc
        const char* reason;                 // empty: read, with the values below
        double transmission = 0, gap = 0;
        const char* energy = "6MV";
    } cases[] = {
        {"the demo sidecar", test::DemoLinacText("demo_dual_energy.lnc.ini"), "", 0.016, 0.16},
        {"the ends of the ranges, CRLF", "[6MV]\r\nLeafTransmission=0.1\r\nDosimetricLeafGap = 0",
         "", 0.1, 0},
        {"no sidecar", std::nullopt, "the energy 6MV has no leaf transmission (unit.lnc.ini)"},
        {"a value left out", "[6MV]\nLeafTransmission = 0.02",
         "the energy 6MV has no dosimetric leaf gap (unit.lnc.ini)"},
        {"an energy left out", "[6MV]\nLeafTransmission = 0.02",
         "the energy 18MV has no leaf transmission (unit.lnc.ini)", 0, 0, "18MV"},
        {"no such energy", "[10MV]", "unit.lnc.ini, line 1: [10MV] is no photon energy of"},
        {"no title", "LeafTransmission = 0.01",
         "unit.lnc.ini, line 1: 'LeafTransmission = 0.01' comes before any [energy] title"},
        {"transmission 0", "[6MV]\nLeafTransmission = 0",
         "unit.lnc.ini, line 2: the leaf transmission of 6MV is 0; it must be above 0 and at "
         "most 0.1"},
        {"gap too wide, the good energy not used either",
         "[18MV]\nLeafTransmission = 0.02\nDosimetricLeafGap = 0.1\n[6MV]\nDosimetricLeafGap = 0.6",
         "unit.lnc.ini, line 5: the dosimetric leaf gap of 6MV is 0.6 cm; it must be 0 to 0.5 cm",
         0, 0, "18MV"},
        {"not a number", "[6MV]\nLeafTransmission = 1,5", "unit.lnc.ini, line 2: '1,5' is not"},
        {"a key twice", "[6MV]\nLeafTransmission = 0.01\nLeafTransmission = 0.02",
         "unit.lnc.ini, line 3: LeafTransmission of 6MV is given twice"},
        {"an energy twice", "[6MV]\n[6MV]", "unit.lnc.ini, line 2: [6MV] is given twice"},
        {"unknown key", "[6MV]\nLeafGap = 0.1", "unit.lnc.ini, line 2: unknown key 'LeafGap'"},
        {"no entry", "[6MV]\njunk", "unit.lnc.ini, line 2: expected '[energy]' or 'Key = Value'"},
    };
    for (const auto& c : cases) {
        const test::TempDir folder;
        test::WriteLncFile(folder.Path(), "unit.lnc", test::DemoLinacText("demo_dual_energy.txt"));
        if (c.sidecar) {
            test::WriteBytesFile(folder.Path(), "unit.lnc.ini", *c.sidecar);
        }
        const LinacFolderScan scan = ScanLinacFolder(folder.Path().string());
        ASSERT_EQ(scan.linacs.size(), 1u) << c.row;
        const Result<MlcParameters> found = MlcParametersFor(*scan.linacs[0], c.energy);
        EXPECT_EQ(found.reason().rfind(c.reason, 0), 0u) << c.row << ": " << found.reason();
        EXPECT_TRUE(!found || (IsNear(found->leafTransmission, c.transmission) &&
                               IsNear(found->leafGap, c.gap)))
            << c.row;
    }
}

} // namespace
} // namespace kova
