#pragma once

#include <string>

namespace kova {

/// Product name and version of the program, "?" as version when none is known.
struct ProgramInfo {
    std::string productName = "KOVA X";
    std::string productVersion = "?";

    /// The line the printed reports carry: "KOVA X v. 1.2.3".
    std::string TitleLine() const { return productName + " v. " + productVersion; }
    /// The main window caption: "KOVA X 1.2.3 - " + the window's own caption.
    std::string Caption(const std::string& windowCaption) const {
        return productName + " " + productVersion + " - " + windowCaption;
    }
    /// What `program --version` prints: "kova-mu (KOVA X) 1.2.3".
    std::string VersionLine(const std::string& program) const {
        return program + " (" + productName + ") " + productVersion;
    }
};

} // namespace kova
