#include "support/demo_linacs.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace kova::test {

std::string DemoLinacText(const std::string& file) {
    std::ifstream in(std::string(KOVA_DEMO_LINACS_DIR) + "/" + file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_FALSE(text.str().empty()) << "no demo linac " << file;
    return text.str();
}

std::unique_ptr<TLinacSpec> DemoLinac(const std::string& file, const std::string& name) {
    std::string text = DemoLinacText(file);
    if (!name.empty()) {
        // The third line starts with the Name, followed by a TAB.
        std::size_t start = 0;
        for (int line = 0; line < 2; ++line) {
            start = text.find('\n', start) + 1;
        }
        text.replace(start, text.find('\t', start) - start, name);
    }
    auto linac = std::make_unique<TLinacSpec>();
    const LoadResult read = ReadLinacText(text, *linac);
    EXPECT_TRUE(read.accepted()) << file << ": " << read.reason;
    return linac;
}

std::vector<std::unique_ptr<TLinacSpec>> DemoLinacs() {
    std::vector<std::unique_ptr<TLinacSpec>> linacs;
    linacs.push_back(DemoLinac("demo_dual_energy.txt"));
    linacs.push_back(DemoLinac("demo_cobalt.txt"));
    return linacs;
}

} // namespace kova::test
