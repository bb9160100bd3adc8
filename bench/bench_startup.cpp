// Start-up of kova-mu beside a bare process: `lnc --version` (the core's smallest program)
// and a one-beam text check, `kova-mu --linacs <build>/Linacs examples/demo_6mv.ini`, each
// started with posix_spawn and waited for, standard output to /dev/null. kova-mu links the
// core alone and loads Qt and DCMTK only for --report and --rtplan; the goal is a text check
// within 2.5 times `lnc --version`. The ratio is printed after the runs.
//   bin/bench_startup --benchmark_min_time=2

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <iostream>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr double kGoalRatio = 2.5;

/// Runs the program with its arguments and waits for it; stops the benchmark when it
/// cannot be started or does not exit with 0.
void Run(benchmark::State& state, std::vector<std::string> command) {
    std::vector<char*> argv;
    for (std::string& word : command) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t child = 0;
        int status = 0;
        if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0 ||
            waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError(("cannot run " + command[0]).c_str());
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}

void LncVersion(benchmark::State& state) {
    Run(state, {KOVA_LNC_PROGRAM, "--version"});
}
BENCHMARK(LncVersion)->Unit(benchmark::kMillisecond)->UseRealTime();

void KovaMuOneBeam(benchmark::State& state) {
    Run(state, {KOVA_MU_PROGRAM, "--linacs", KOVA_LINACS_DIR, KOVA_EXAMPLES_DIR "/demo_6mv.ini"});
}
BENCHMARK(KovaMuOneBeam)->Unit(benchmark::kMillisecond)->UseRealTime();

/// The console's report, keeping each run's real time per iteration for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                m_seconds[run.run_name.function_name] = run.real_accumulated_time / run.iterations;
            }
        }
    }

    void PrintRatio(std::ostream& out) const {
        const auto lnc = m_seconds.find("LncVersion");
        const auto mu = m_seconds.find("KovaMuOneBeam");
        if (lnc == m_seconds.end() || mu == m_seconds.end() || lnc->second <= 0) {
            return;
        }
        const double ratio = mu->second / lnc->second;
        out << "kova-mu one-beam text check / lnc --version: " << ratio << " (goal: at most "
            << kGoalRatio << ")\n";
    }

private:
    std::map<std::string, double> m_seconds;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio(std::cout);
    benchmark::Shutdown();
    return 0;
}
