#include "core/workbench/start_options.h"

#include <gtest/gtest.h>

namespace kova {
namespace {

TEST(StartOptions, ArgumentsOfTheDesktopProgram) {
    const struct {
        std::vector<std::string> args;
        bool help;
        bool version;
        const char* linacs;
        const char* error;
    } cases[] = {
        {{}, false, false, "", ""},
        {{"--linacs", "/mnt/physics/Linacs"}, false, false, "/mnt/physics/Linacs", ""},
        {{"--linacs", "/a", "--linacs", "/b"}, false, false, "/b", ""},
        {{"--help"}, true, false, "", ""},
        {{"-h"}, true, false, "", ""},
        {{"--version"}, false, true, "", ""},
        // Before the toolkit has taken its own options out, --help is still seen.
        {{"-platform", "offscreen", "--help"}, true, false, "", "unknown option -platform"},
        {{"--linacs"}, false, false, "", "--linacs needs a folder"},
        {{"--linacs", ""}, false, false, "", "--linacs needs a folder"},
        {{"Linacs"}, false, false, "", "unexpected argument Linacs"},
        {{"--bogus", "--linacs"}, false, false, "", "unknown option --bogus"},
    };
    for (const auto& c : cases) {
        const StartOptions options = ParseStartOptions(c.args);
        const std::string row = c.args.empty() ? "(none)" : c.args.front();
        EXPECT_EQ(options.help, c.help) << row;
        EXPECT_EQ(options.version, c.version) << row;
        EXPECT_EQ(options.linacs, c.linacs) << row;
        EXPECT_EQ(options.error, c.error) << row;
    }
}

} // namespace
} // namespace kova
