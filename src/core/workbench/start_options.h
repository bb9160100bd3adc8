#pragma once

#include <string>
#include <vector>

namespace kova {

/// What the desktop program was asked on its command line.
struct StartOptions {
    bool help = false;
    bool version = false;
    std::string linacs; ///< the folder of --linacs DIR; empty when not given
    std::string error;  ///< why the arguments were refused; empty when they were not
};

/// The desktop program's own arguments: --help (-h), --version, --linacs DIR. Every
/// argument is looked at, so --help and --version are seen even beside arguments that are
/// refused (the toolkit's own, before it has taken them out); the first refusal is kept.
StartOptions ParseStartOptions(const std::vector<std::string>& args);

} // namespace kova
