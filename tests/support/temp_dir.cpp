#include "support/temp_dir.h"

#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
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

FileSizeLimit::FileSizeLimit(unsigned long bytes) : m_handler(std::signal(SIGXFSZ, SIG_IGN)) {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_saved = limit.rlim_cur;
    if (bytes > 0) {
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = m_saved;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, m_handler);
}

} // namespace kova::test
