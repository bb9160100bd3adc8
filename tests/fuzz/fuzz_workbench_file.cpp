// Feeds arbitrary bytes to the workbench file reader on the demo dual-energy linac, then
// writes what it accepted and reads that back. Any crash, sanitizer report or broken promise
// (a beam accepted once but refused after a save, or coming back with other MU) is a finding.

#include "core/linac/linac_spec.h"
#include "core/linac/mlc_parameters.h"
#include "core/workbench/beam_file_writer.h"
#include "core/workbench/workbench_file.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const kova::Date kDay{2026, 9, 1};

const std::vector<std::unique_ptr<kova::TLinacSpec>>& Linacs() {
    static const std::vector<std::unique_ptr<kova::TLinacSpec>> linacs = [] {
        std::ifstream file(KOVA_DEMO_LINAC_TEXT, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        std::vector<std::unique_ptr<kova::TLinacSpec>> read;
        read.push_back(std::make_unique<kova::TLinacSpec>());
        if (!kova::ReadLinacText(text.str(), *read.back()).accepted()) {
            std::abort();
        }
        // Its MLC sidecar, so that IMRT/VMAT beams are computed.
        std::ifstream sidecar(KOVA_DEMO_MLC, std::ios::binary);
        std::ostringstream values;
        values << sidecar.rdbuf();
        read.back()->Mlc.entries = kova::ParseMlcSidecar(values.str(), *read.back()).value();
        return read;
    }();
    return linacs;
}

std::vector<double> AllMu(const kova::Workbench& workbench) {
    std::vector<double> mu;
    for (const auto& patient : workbench.patients()) {
        for (const auto& treatment : patient->treatments) {
            for (const auto& beam : treatment->beams) {
                mu.push_back(beam->TotalMU());
            }
        }
    }
    return mu;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const kova::WorkbenchFile first = kova::ReadWorkbench("fuzz.ini", text, Linacs(), kDay);
    const std::vector<double> mu = AllMu(first.workbench);
    if (mu.size() > static_cast<std::size_t>(first.beamsInFile)) {
        std::abort();
    }
    const kova::WorkbenchFile second =
        kova::ReadWorkbench("saved.ini", kova::WriteWorkbench(first.workbench), Linacs(), kDay);
    const std::vector<double> again = AllMu(second.workbench);
    if (!second.refused.empty() || again.size() != mu.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < mu.size(); ++i) {
        // Numbers are written with 15 significant digits, as the dialogs show them.
        if (!(std::fabs(again[i] - mu[i]) <= 1e-9 * std::fabs(mu[i]))) {
            std::abort();
        }
    }
    return 0;
}
