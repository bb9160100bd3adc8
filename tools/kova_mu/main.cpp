// kova-mu: batch monitor unit check of beam files over a folder of linac files.

#include "core/beams/tps_check.h"
#include "core/common/file_bytes.h"
#include "core/common/file_write.h"
#include "core/common/install_layout.h"
#include "core/linac/linac_folder.h"
#include "core/text/cp1252.h"
#include "core/text/date_text.h"
#include "core/workbench/beam_input.h"
#include "core/workbench/multileaf_input.h"
#include "core/workbench/program_title.h"
#include "kova_mu/pdf_report.h"
#include "kova_mu/plan_check.h"
#include "kova_mu/plugin_loader.h"
#include "kova_mu/report.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kExitComputed = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;
constexpr int kExitBeyondActionLevel = 3;
/// Beam files are short texts; anything larger is not one.
constexpr std::size_t kMaxBeamFileBytes = 16u * 1024u * 1024u;

const char* const kUsage =
    "Usage: kova-mu [OPTION]... FILE...\n"
    "  or:  kova-mu [OPTION]... --rtplan PLAN.dcm\n"
    "Computes the MU of every beam of the beam files (or of a DICOM RT Plan, against its MU)\n"
    "on the linacs of a folder, as the KOVA X desktop program computes them.\n"
    "\n"
    "  --linacs DIR         the folder of the linac files (default ./Linacs)\n"
    "  --rtplan PLAN.dcm    computes every beam of a DICOM RT Plan instead, against its MU\n"
    "  --date dd/mm/yyyy    the day of the calculation, for the source decay (default today)\n"
    "  --action-levels FILE\n"
    "                       the action levels of the TPS MU check (default: ActionLevels.ini\n"
    "                       in the program files folder, below; else 3 % photon and\n"
    "                       open/wedged, 5 % electron, TBI and IMRT/VMAT)\n"
    "  --json               every input and result at full precision, as JSON\n"
    "  --report OUT.pdf     the details report and the set-up sheet of the computed beams, as\n"
    "                       one patient, to a PDF file (--date is the date on the pages)\n"
    "  --patient NAME       the patient's name on the pages of --report\n"
    "  --form               adds the positioning form to the set-up sheet of --report\n"
    "  --comment TEXT       the set-up sheet's comment; \\n or a line break in TEXT starts a\n"
    "                       new line\n"
    "  --help               show this help and exit\n"
    "  --version            show the version and exit\n"
    "\n"
    "Exit status: 0 every beam computed, 1 a beam refused, 2 usage or file errors (also: the\n"
    "report could not be written, the plug-in of --report or --rtplan could not be loaded),\n"
    "3 every beam computed but one beyond its action level against its TPS MU.\n"
    "\n"
    "Program files: ActionLevels.ini and the banners of --report (MyBanner1.txt,\n"
    "MyBanner2.txt) are read from /etc/kovax when KOVA X is installed under /usr\n"
    "(PREFIX/etc/kovax under another prefix), and from kova-mu's own folder in a build. The\n"
    "demo linacs installed with KOVA X are in PREFIX/share/kovax/Linacs (typical published\n"
    "values, not for clinical use). The plug-ins of --report (Qt) and --rtplan (DCMTK),\n"
    "loaded only for those options, are in PREFIX/lib/kovax.\n";

struct Options {
    std::string linacs = "Linacs";
    kova::Date today = kova::SystemToday();
    bool json = false;
    std::string actionLevels;
    std::vector<std::string> files;
    kova::mu::ReportRequest report;
    std::string rtplan;
};

/// Sets a report option's text once: given twice, the one the user meant is unknown (the
/// second --report of `--report a.pdf --report b.pdf` would silently win).
bool SetOnce(std::optional<std::string>& option, const std::string& name,
             const std::string& value) {
    if (option) {
        std::cerr << "kova-mu: " << name << " is given twice\n";
        return false;
    }
    option = value;
    return true;
}

bool ParseOptions(const std::vector<std::string>& args, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--json") {
            options.json = true;
        } else if ((arg == "--report" || arg == "--patient" || arg == "--comment") && hasValue) {
            auto& option = arg == "--report"    ? options.report.file
                           : arg == "--patient" ? options.report.patient
                                                : options.report.comment;
            if (!SetOnce(option, arg, args[++i])) {
                return false;
            }
        } else if (arg == "--form") {
            options.report.form = true;
        } else if (arg == "--action-levels" && hasValue) {
            options.actionLevels = args[++i];
        } else if (arg == "--rtplan" && hasValue) {
            options.rtplan = args[++i];
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
    if (const kova::Status report = kova::mu::CheckReportOptions(options.report); !report) {
        std::cerr << "kova-mu: " << report.reason() << '\n';
        return false;
    }
    if (options.report.Wanted() && !options.rtplan.empty()) {
        std::cerr << "kova-mu: --report prints the beams of beam files, not of --rtplan\n";
        return false;
    }
    // Beam files or one plan, not both.
    return options.files.empty() != options.rtplan.empty();
}

/// A message naming files and their words, safe for a terminal: no byte of a file can act on
/// it (control characters and bytes that are no UTF-8 are written "\xHH").
std::string Shown(const std::string& message) {
    return kova::EscapeControls(message);
}

std::filesystem::path ProgramFolder(const char* argv0) {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        program = argv0;
    }
    return program.parent_path();
}

/// Where the folder of the linacs may be looked for when ./Linacs is missing.
void SayWhereTheDemoLinacsAre(const Options& options, const char* argv0) {
    const std::filesystem::path demo = kova::InstallLayoutOf(ProgramFolder(argv0)).demoLinacs;
    std::error_code error;
    if (options.linacs == "Linacs" && std::filesystem::is_directory(demo, error)) {
        std::cerr << "kova-mu: give the linac folder with --linacs DIR; the demo linacs "
                     "installed with KOVA X (not for clinical use) are in "
                  << demo.string() << '\n';
    }
}

/// The file of --action-levels, else the one of the program files folder.
std::filesystem::path ActionLevelsFile(const Options& options, const char* argv0) {
    return options.actionLevels.empty()
               ? kova::ProgramFilesFolder(ProgramFolder(argv0)) / kova::kActionLevelsFile
               : std::filesystem::path(options.actionLevels);
}

/// The action levels of --action-levels, else of the file next to the program, else the
/// defaults; a file that cannot be used is said on stderr.
kova::ActionLevels ActionLevelsOf(const Options& options, const char* argv0) {
    const std::filesystem::path file = ActionLevelsFile(options, argv0);
    std::error_code error;
    const kova::LoadedActionLevels loaded = kova::LoadActionLevels(file);
    const bool given = !options.actionLevels.empty();
    if (!loaded.fromFile && (given || std::filesystem::exists(file, error))) {
        // The loader speaks of the file next to the program; a file given is named.
        const std::string problem = given && !std::filesystem::exists(file, error)
                                        ? "--action-levels: " + kova::ReadFileBytes(file, 0).reason
                                        : loaded.problem;
        std::cerr << "kova-mu: " << problem << "; the default action levels are used\n";
    }
    return loaded.levels;
}

/// The DICOM plug-in, loaded only for --rtplan so that a text check never loads DCMTK.
kova::Result<const kova::mu::DicomPlugin*> LoadDicomPlugin(const char* argv0) {
    const std::filesystem::path file =
        kova::InstallLayoutOf(ProgramFolder(argv0)).pluginFolder / kova::mu::kDicomPluginFile;
    const auto plugin =
        kova::mu::LoadPluginTable<kova::mu::DicomPlugin>(file, kova::mu::kDicomPluginEntry);
    if (!plugin) {
        return kova::Status::Fail("cannot load the DICOM plug-in: " + plugin.reason());
    }
    return plugin;
}

/// --rtplan: every beam of the plan, against its MU.
int CheckPlan(const Options& options, const kova::mu::PlanReader& readPlan,
              const std::vector<std::unique_ptr<kova::TLinacSpec>>& linacs, const char* argv0) {
    const kova::mu::PlanCheckResult plan =
        kova::mu::CheckPlan(options.rtplan, readPlan, linacs, options.today,
                            ActionLevelsOf(options, argv0), options.json, std::cout, std::cerr);
    if (!plan.read) {
        return kExitUsage;
    }
    if (!plan.allComputed) {
        return kExitRefused;
    }
    return plan.anyBeyond ? kExitBeyondActionLevel : kExitComputed;
}

/// The beams of every file, each typed into its dialog's form; none when a file cannot be
/// read or a beam has a fault (each said on stderr with its file and line). The beams refer
/// to their blocks in `files`, which must outlive them.
std::optional<std::vector<kova::ResolvedBeam>>
ResolveFiles(const std::vector<std::string>& paths,
             const std::vector<std::unique_ptr<kova::TLinacSpec>>& linacs,
             std::vector<std::vector<kova::BeamBlock>>& files) {
    std::vector<kova::InputError> errors;
    for (const std::string& path : paths) {
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
            if (auto resolved = kova::ResolveBeam(block, linacs, errors)) {
                beams.push_back(std::move(*resolved));
            }
        }
    }
    for (const kova::InputError& error : errors) {
        std::cerr << "kova-mu: " << Shown(error.ToString()) << '\n';
    }
    if (!errors.empty()) {
        return std::nullopt;
    }
    return beams;
}

/// Every file the run reads: beam files, the MLC files they name, the action levels and
/// the linac files. The PDF of --report may be none of them.
std::vector<std::string> InputFiles(const Options& options, const kova::LinacFolderScan& scan,
                                    const std::vector<std::vector<kova::BeamBlock>>& files,
                                    const char* argv0) {
    std::vector<std::string> inputs = options.files;
    inputs.push_back(ActionLevelsFile(options, argv0).string());
    for (const std::string& name : scan.fileNames) {
        inputs.push_back((std::filesystem::path(options.linacs) / name).string());
    }
    for (const auto& blocks : files) {
        for (const kova::BeamBlock& block : blocks) {
            if (const kova::BeamEntry* mlc = block.Find("MultileafFile")) {
                inputs.push_back(kova::MultileafFilePath(block, mlc->value));
            }
        }
    }
    return inputs;
}

/// Computes every beam and writes it (text or JSON) to stdout; the exit status.
int ComputeAndWrite(std::vector<kova::ResolvedBeam>& beams, const Options& options,
                    const kova::ActionLevels& levels) {
    std::vector<kova::BeamOutcome> outcomes;
    bool allComputed = true;
    bool anyBeyond = false;
    for (kova::ResolvedBeam& beam : beams) {
        outcomes.push_back(kova::ComputeBeam(beam, options.today));
        allComputed = allComputed && outcomes.back().computed;
        const auto tps = kova::CompareWithTPS(*outcomes.back().beam, levels);
        anyBeyond = anyBeyond || (tps && tps->beyondActionLevel);
    }
    if (options.json) {
        kova::mu::WriteJson(std::cout, outcomes, options.today, levels);
    } else {
        std::string group;
        for (const kova::BeamOutcome& outcome : outcomes) {
            // Beams saved from the desktop program keep their patients and treatments.
            const std::string line = kova::mu::GroupLine(*outcome.resolved);
            if (!line.empty() && line != group) {
                std::cout << kova::TerminalText(line) << '\n';
            }
            group = line;
            kova::mu::WriteText(std::cout, outcome, levels);
        }
    }
    if (!allComputed) {
        return kExitRefused;
    }
    return anyBeyond ? kExitBeyondActionLevel : kExitComputed;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kUsage;
        return kExitComputed;
    }
    if (args.size() == 1 && args[0] == "--version") {
        const kova::ProgramInfo info{KOVA_PRODUCT_NAME, KOVA_PRODUCT_VERSION};
        std::cout << info.VersionLine("kova-mu") << '\n';
        return kExitComputed;
    }
    Options options;
    if (!ParseOptions(args, options)) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    std::optional<kova::mu::PdfReport> report;
    if (options.report.Wanted()) {
        // Ctrl+C or a kill while the PDF is written leaves no temporary file beside it.
        kova::RemoveTemporaryFileOnInterrupt();
        report.emplace(options.report, ProgramFolder(argv[0]));
        if (const kova::Status prepared = report->Prepare(); !prepared) {
            std::cerr << "kova-mu: --report: " << prepared.reason() << '\n';
            return kExitUsage;
        }
    }
    const kova::mu::DicomPlugin* dicom = nullptr;
    if (!options.rtplan.empty()) {
        const auto loaded = LoadDicomPlugin(argv[0]);
        if (!loaded) {
            std::cerr << "kova-mu: --rtplan: " << loaded.reason() << '\n';
            return kExitUsage;
        }
        dicom = *loaded;
    }
    const kova::LinacFolderScan scan = kova::ScanLinacFolder(options.linacs);
    if (!scan.folderFound) {
        std::cerr << "kova-mu: " << scan.folderError << '\n';
        SayWhereTheDemoLinacsAre(options, argv[0]);
        return kExitUsage;
    }
    for (const kova::SkippedLinacFile& skipped : scan.skipped) {
        std::cerr << "kova-mu: left out " << Shown(skipped.fileName + ": " + skipped.reason)
                  << '\n';
    }
    if (dicom != nullptr) {
        return CheckPlan(options, dicom->readPlan, scan.linacs, argv[0]);
    }

    std::vector<std::vector<kova::BeamBlock>> files;
    std::optional<std::vector<kova::ResolvedBeam>> beams =
        ResolveFiles(options.files, scan.linacs, files);
    if (!beams) {
        return kExitUsage;
    }
    if (report) {
        const kova::Status input = kova::mu::CheckReportIsNoInput(
            *options.report.file, InputFiles(options, scan, files, argv[0]));
        if (!input) {
            std::cerr << "kova-mu: --report: " << input.reason() << '\n';
            return kExitUsage;
        }
    }
    const int status = ComputeAndWrite(*beams, options, ActionLevelsOf(options, argv[0]));
    if (report) {
        if (const kova::Status written = report->Write(*beams, options.today); !written) {
            std::cerr << "kova-mu: --report: " << written.reason() << '\n';
            return kExitUsage;
        }
    }
    return status;
}
