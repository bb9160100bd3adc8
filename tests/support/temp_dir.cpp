#include "support/temp_dir.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>

namespace kova::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kova-test-XXXXXX").string();
    // mkdtemp creates the folder atomically with a unique name.
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder from " + pattern);
    }
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

} // namespace kova::test
