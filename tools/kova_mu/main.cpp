// kova-mu: batch monitor unit check of beam files over a folder of linac files.

#include "core/common/file_bytes.h"
#include "core/linac/linac_folder.h"
#include "core/text/date_text.h"
#include "core/workbench/beam_input.h"
#include "kova_mu/report.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kExitComputed = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;
/// Beam files are short texts; anything larger is not one.
constexpr std::size_t kMaxBeamFileBytes = 16u * 1024u * 1024u;

const char* const kUsage =
    "usage: kova-mu [--linacs DIR] [--date dd/mm/yyyy] [--json] FILE...\n"
    "  Computes the MU of every beam of the beam files on the linacs of DIR (default ./Linacs).\n"
    "  --date  the day of the calculation, for the source decay (default today)\n"
    "  --json  every input and result at full precision, as JSON\n"
    "  Exit status: 0 every beam computed, 1 a beam refused, 2 usage or file errors.\n";

struct Options {
    std::string linacs = "Linacs";
    kova::Date today = kova::SystemToday();
    bool json = false;
    std::vector<std::string> files;
};

bool ParseOptions(const std::vector<std::string>& args, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--linacs" && hasValue) {
            options.linacs = args[++i];
        } else if (arg == "--date" && hasValue) {
            const kova::Result<kova::Date> date = kova::ParseShortDate(args[++i]);
            if (!date) {
                std::cerr << "kova-mu: --date: " << date.reason() << '\n';
                return false;
            }
            options.today = *date;
        } else if (!arg.empty() && arg[0] == '-') {
            std::cerr << "kova-mu: unknown option " << arg << '\n';
            return false;
        } else {
            options.files.push_back(arg);
        }
    }
    return !options.files.empty();
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kUsage;
        return kExitComputed;
    }
    Options options;
    if (!ParseOptions(args, options)) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    const kova::LinacFolderScan scan = kova::ScanLinacFolder(options.linacs);
    if (!scan.folderFound) {
        std::cerr << "kova-mu: " << scan.folderError << '\n';
        return kExitUsage;
    }
    for (const kova::SkippedLinacFile& skipped : scan.skipped) {
        std::cerr << "kova-mu: left out " << skipped.fileName << ": " << skipped.reason << '\n';
    }

    std::vector<kova::InputError> errors;
    std::vector<std::vector<kova::BeamBlock>> files;
    for (const std::string& path : options.files) {
        const kova::FileBytes file = kova::ReadFileBytes(path, kMaxBeamFileBytes);
        if (!file.ok()) {
            errors.push_back({path, 0, file.reason, ""});
            continue;
        }
        files.push_back(kova::ParseBeamText(path, file.bytes, errors));
    }
    std::vector<kova::ResolvedBeam> beams;
    for (const auto& blocks : files) {
        for (const kova::BeamBlock& block : blocks) {
            if (auto resolved = kova::ResolveBeam(block, scan.linacs, errors)) {
                beams.push_back(std::move(*resolved));
            }
        }
    }
    if (!errors.empty()) {
        for (const kova::InputError& error : errors) {
            std::cerr << "kova-mu: " << error.ToString() << '\n';
        }
        return kExitUsage;
    }

    std::vector<kova::BeamOutcome> outcomes;
    bool allComputed = true;
    for (kova::ResolvedBeam& beam : beams) {
        outcomes.push_back(kova::ComputeBeam(beam, options.today));
        allComputed = allComputed && outcomes.back().computed;
    }
    if (options.json) {
        kova::mu::WriteJson(std::cout, outcomes, options.today);
    } else {
        for (const kova::BeamOutcome& outcome : outcomes) {
            kova::mu::WriteText(std::cout, outcome);
        }
    }
    return allComputed ? kExitComputed : kExitRefused;
}
