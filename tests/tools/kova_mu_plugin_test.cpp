// kova-mu loads its plug-ins from <its folder>/../lib/kovax only for --report and --rtplan:
// a plug-in that is missing, no shared object or of another interface version stops the run
// with exit status 2 and the reason, before any beam is computed.

#include "kova_mu/plugin_interface.h"
#include "support/program_run.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace kova {
namespace {

namespace fs = std::filesystem;

TEST(KovaMuPlugins, AnUnusablePlugInStopsTheRunWithTheReason) {
    // kova-mu finds its plug-ins from its own place, so a copy gets a folder of its own.
    const test::TempDir work;
    const fs::path root = fs::canonical(work.Path());
    fs::create_directories(root / "bin");
    fs::create_directories(root / "lib/kovax");
    fs::copy_file(KOVA_MU_PROGRAM, root / "bin/kova-mu");
    const std::string dicom = "--rtplan: cannot load the DICOM plug-in: " +
                              (root / "lib/kovax/kova_mu_dicom.so").string();
    const std::string report = "--report: cannot load the report plug-in: " +
                               (root / "lib/kovax/kova_mu_report.so").string();
    const std::string record = "--record: cannot load the record plug-in: " +
                               (root / "lib/kovax/kova_mu_record.so").string();
    const std::string otherVersion =
        " is a plug-in of interface version " + std::to_string(mu::kPluginInterfaceVersion + 1) +
        "; this kova-mu needs version " + std::to_string(mu::kPluginInterfaceVersion);
    const std::string beams = test::Quoted(KOVA_EXAMPLES_DIR "/demo_6mv.ini");
    const struct {
        std::string arguments;
        const char* file;   ///< the plug-in the arguments need
        const char* placed; ///< put in its place: nothing, a text, or a plug-in
        std::string message;
    } cases[] = {
        {"--rtplan plan.dcm", "kova_mu_dicom.so", "", dicom + ": cannot open shared object file"},
        {"--rtplan plan.dcm", "kova_mu_dicom.so", "text", dicom + ": invalid ELF header"},
        {"--rtplan plan.dcm", "kova_mu_dicom.so", KOVA_OTHER_PLUGIN, dicom + otherVersion},
        {"--record r.sqlite " + beams, "kova_mu_record.so", "",
         record + ": cannot open shared object file"},
        {"--record r.sqlite " + beams, "kova_mu_record.so", KOVA_OTHER_PLUGIN,
         record + otherVersion},
#if KOVA_MU_REPORT_PLUGIN
        {"--report r.pdf " + beams, "kova_mu_report.so", "",
         report + ": cannot open shared object file"},
        {"--report r.pdf " + beams, "kova_mu_report.so", "text", report + ": invalid ELF header"},
        {"--report r.pdf " + beams, "kova_mu_report.so", KOVA_OTHER_PLUGIN, report + otherVersion},
#endif
    };
    for (const auto& c : cases) {
        const fs::path plugin = root / "lib/kovax" / c.file;
        fs::remove(plugin);
        if (std::string(c.placed) == "text") {
            std::ofstream(plugin) << std::string(100, 'x') << '\n';
        } else if (*c.placed != '\0') {
            fs::copy_file(c.placed, plugin);
        }
        const test::ProgramRun run =
            test::RunShell(work, "cd " + test::Quoted(root.string()) + " && bin/kova-mu --linacs " +
                                     test::Quoted(KOVA_LINACS_DIR) + " " + c.arguments);
        EXPECT_EQ(run.code, 2) << c.arguments << ' ' << c.placed << '\n' << run.err;
        EXPECT_NE(run.err.find("kova-mu: " + c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "") << c.arguments; // nothing was computed
        EXPECT_FALSE(fs::exists(root / "r.pdf"));
    }
}

} // namespace
} // namespace kova
