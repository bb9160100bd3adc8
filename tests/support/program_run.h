#pragma once

#include "support/temp_dir.h"

#include <filesystem>
#include <string>

namespace kova::test {

/// What a program run through the shell gave: its exit status (-1 when it did not exit) and
/// its standard output and error.
struct ProgramRun {
    int code = -1;
    std::string out, err;
};

/// The whole content of a file; empty when it cannot be read.
std::string ReadAll(const std::filesystem::path& path);

/// Runs `command` through the shell, its output kept in files of `work`.
ProgramRun RunShell(const TempDir& work, const std::string& command);

/// `text` in single quotes for the shell.
std::string Quoted(const std::string& text);

} // namespace kova::test
