#include "core/common/system_user.h"

#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace kova {

std::string OperatingSystemUser() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_name != nullptr) {
        return found->pw_name;
    }
    return "unknown";
}

} // namespace kova
