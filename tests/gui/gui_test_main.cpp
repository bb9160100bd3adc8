// main of kova_gui_tests: runs the QtTest class named by the first argument.

#include "gui/gui_test.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace kova::guitest {
namespace {

// Filled while the test files' statics are initialised, so it must exist before any of them.
std::map<std::string, TestMain>& TestClasses() {
    static std::map<std::string, TestMain> classes;
    return classes;
}

int Usage(const char* program) {
    std::fprintf(stderr, "Usage: %s CLASS [QtTest options]\nCLASS is one of:\n", program);
    for (const auto& testClass : TestClasses()) {
        std::fprintf(stderr, "  %s\n", testClass.first.c_str());
    }
    return 2;
}

} // namespace

bool RegisterTestClass(const char* name, TestMain run) {
    return TestClasses().emplace(name, run).second;
}

} // namespace kova::guitest

int main(int argc, char* argv[]) {
    using kova::guitest::TestClasses;
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        return kova::guitest::Usage(argv[0]);
    }
    const auto found = TestClasses().find(argv[1]);
    if (found == TestClasses().end()) {
        std::fprintf(stderr, "%s: no test class %s\n", argv[0], argv[1]);
        return kova::guitest::Usage(argv[0]);
    }
    // QtTest sees the program's name followed by its own options.
    argv[1] = argv[0];
    return found->second(argc - 1, argv + 1);
}
