// Time to read one linac file. The program reads every file of its Linacs folder at start-up,
// so this is what each commissioned linac adds to the wait before the main window opens.
// Measured on the packed demo linacs: the whole read from disk (LoadFromFile), the
// decompression alone (UnpackLinacFile) and the token reader alone (ReadLinacText). The last
// benchmark reads the worst text the reader accepts, to show its time and memory.

#include "core/common/file_bytes.h"
#include "core/linac/linac_spec.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

/// The packed demo linacs, in name order.
std::vector<fs::path> DemoLinacFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.is_regular_file() && entry.path().extension() == ".lnc") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

/// `bytes` is the size of the packed file, so the rate shown is in bytes read from disk.
void BM_LoadFromFile(benchmark::State& state, const std::string& path, std::int64_t bytes) {
    for (auto _ : state) {
        kova::TLinacSpec linac;
        const kova::LoadResult result = linac.LoadFromFile(path);
        if (!result.accepted()) {
            state.SkipWithError(result.reason.c_str());
            break;
        }
        benchmark::DoNotOptimize(linac.gEnergies.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_UnpackLinacFile(benchmark::State& state, const std::string& fileBytes) {
    for (auto _ : state) {
        const kova::Result<std::string> text = kova::UnpackLinacFile(fileBytes);
        if (!text) {
            state.SkipWithError(text.reason().c_str());
            break;
        }
        benchmark::DoNotOptimize(text->data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fileBytes.size()));
}

void BM_ReadLinacText(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        kova::TLinacSpec linac;
        const kova::LoadResult result = kova::ReadLinacText(text, linac);
        if (!result.accepted()) {
            state.SkipWithError(result.reason.c_str());
            break;
        }
        benchmark::DoNotOptimize(linac.gEnergies.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

/// Registers the three benchmarks of one linac file; false when the file cannot be read.
bool RegisterLinac(const fs::path& path) {
    const kova::FileBytes file = kova::ReadFileBytes(path.string(), 2 * kova::kMaxLinacTextBytes);
    if (!file.ok()) {
        std::cerr << "bench_linac_reader: " << file.reason << '\n';
        return false;
    }
    const kova::Result<std::string> text = kova::UnpackLinacFile(file.bytes);
    if (!text) {
        std::cerr << "bench_linac_reader: " << path.string() << ": " << text.reason() << '\n';
        return false;
    }
    const std::string name = path.stem().string();
    const auto fileSize = static_cast<std::int64_t>(file.bytes.size());
    benchmark::RegisterBenchmark(("LoadFromFile/" + name).c_str(), BM_LoadFromFile, path.string(),
                                 fileSize);
    benchmark::RegisterBenchmark(("UnpackLinacFile/" + name).c_str(), BM_UnpackLinacFile,
                                 file.bytes);
    benchmark::RegisterBenchmark(("ReadLinacText/" + name).c_str(), BM_ReadLinacText, *text);
    return true;
}

/// The worst text the reader accepts: 4 MiB of the smallest entries (a one-letter shield and
/// its factor, 4 bytes each), each of which becomes an object of its own. `entries` gets how
/// many there are.
std::string WorstCaseText(std::int64_t& entries) {
    const std::string head = "DAZUZODADIDUSPECFILE 0\nWorst Case Linac 1\n100\nX Y X1 X2 Y1 Y2\n"
                             "1 1\n1\nX6 6\n40 40 1 1\n20 20 20 20\n-2 -2 -10 -10\n100 1.5\n"
                             "0 400 40\n0 0 1\n0.5\n1 0 01/01/2026\n"
                             "0\n0\n0\n0\n0\n"; // reference fields ... multileaf: none
    const std::string tail = "0\n";             // no electron energy
    const std::string entry = "s 1\n";
    const std::size_t room = kova::kMaxLinacTextBytes - head.size() - tail.size() - 16;
    entries = static_cast<std::int64_t>(room / entry.size());
    std::string text = head + std::to_string(entries) + "\n";
    text.reserve(kova::kMaxLinacTextBytes);
    for (std::int64_t i = 0; i < entries; ++i) {
        text += entry;
    }
    return text + tail;
}

/// Peak resident memory of the process so far, MB.
double PeakResidentMB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // KiB on Linux
}

/// Reading the worst text: its time, and the peak memory of the whole run (the counter
/// "peak_MB"), which stays near 100 MB at the 4 MiB limit.
void BM_ReadLinacTextWorstCase(benchmark::State& state) {
    std::int64_t entries = 0;
    const std::string text = WorstCaseText(entries);
    for (auto _ : state) {
        kova::TLinacSpec linac;
        const kova::LoadResult result = kova::ReadLinacText(text, linac);
        if (!result.accepted()) {
            state.SkipWithError(result.reason.c_str());
            break;
        }
        benchmark::DoNotOptimize(linac.gEnergies.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["text_MiB"] = static_cast<double>(text.size()) / (1024.0 * 1024.0);
    state.counters["peak_MB"] = PeakResidentMB();
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    const fs::path folder = KOVA_DEMO_LINACS_DIR;
    const std::vector<fs::path> files = DemoLinacFiles(folder);
    if (files.empty()) {
        std::cerr << "bench_linac_reader: no .lnc file in " << folder.string()
                  << " (build the demo_linacs target first)\n";
        return 1;
    }
    for (const fs::path& path : files) {
        if (!RegisterLinac(path)) {
            return 1;
        }
    }
    benchmark::RegisterBenchmark("ReadLinacText/worst_case_4MiB", BM_ReadLinacTextWorstCase)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
