#pragma once

#include <string>

namespace kova {

/// The name of the operating-system user running the program (its account, not a name it
/// was given in the environment); "unknown" when the system has none for it. A record of
/// checks keeps it with every check.
std::string OperatingSystemUser();

} // namespace kova
