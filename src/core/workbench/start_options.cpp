#include "core/workbench/start_options.h"

namespace kova {
namespace {

void Refuse(StartOptions& options, const std::string& reason) {
    if (options.error.empty()) {
        options.error = reason;
    }
}

} // namespace

StartOptions ParseStartOptions(const std::vector<std::string>& args) {
    StartOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--linacs") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                Refuse(options, "--linacs needs a folder");
            } else {
                options.linacs = args[++i];
            }
        } else if (!arg.empty() && arg[0] == '-') {
            Refuse(options, "unknown option " + arg);
        } else {
            Refuse(options, "unexpected argument " + arg);
        }
    }
    return options;
}

} // namespace kova
