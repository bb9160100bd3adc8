#include "support/program_run.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace kova::test {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

ProgramRun RunShell(const TempDir& work, const std::string& command) {
    const std::string line = command + " >" + Quoted(work.File("out.txt").string()) + " 2>" +
                             Quoted(work.File("err.txt").string());
    const int status = std::system(line.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(work.File("out.txt")),
            ReadAll(work.File("err.txt"))};
}

} // namespace kova::test
