#include "core/linac/linac_folder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace kova {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsLinacFileName(const std::string& name) {
    const std::string lower = Lower(name);
    return name.size() > 4 && name.front() != '.' && lower.ends_with(".lnc");
}

} // namespace

std::vector<std::string> ListLinacFiles(const std::string& folder, std::string& error) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code code;
    fs::directory_iterator it(folder, code);
    if (code) {
        error = "Cannot open folder " + folder + ": " + code.message();
        return names;
    }
    for (; it != fs::directory_iterator(); it.increment(code)) {
        const std::string name = it->path().filename().string();
        std::error_code typeCode;
        if (IsLinacFileName(name) && it->is_regular_file(typeCode)) {
            names.push_back(name);
        }
    }
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = Lower(a);
        const std::string lb = Lower(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

LinacFolderScan ScanLinacFolder(const std::string& folder) {
    LinacFolderScan scan;
    const std::vector<std::string> names = ListLinacFiles(folder, scan.folderError);
    scan.folderFound = scan.folderError.empty();
    scan.fileNames = names;
    for (const std::string& name : names) {
        auto linac = std::make_unique<TLinacSpec>();
        const std::string path = (std::filesystem::path(folder) / name).string();
        LoadResult result = linac->LoadFromFile(path);
        if (result.accepted()) {
            linac->FileName = name;
            ReadMlcSidecar(path, *linac);
            scan.linacs.push_back(std::move(linac));
        } else {
            scan.skipped.push_back({name, result.outcome, result.reason});
        }
    }
    return scan;
}

std::vector<LinacFileNote> LinacFileNotes(const LinacFolderScan& scan) {
    std::vector<LinacFileNote> notes;
    for (const std::string& name : scan.fileNames) {
        const auto skipped =
            std::find_if(scan.skipped.begin(), scan.skipped.end(),
                         [&name](const SkippedLinacFile& file) { return file.fileName == name; });
        if (skipped == scan.skipped.end()) {
            notes.push_back({name, "read"});
        } else if (skipped->outcome == LoadOutcome::CannotOpen) {
            notes.push_back({name, "cannot be opened"});
        } else {
            notes.push_back({name, "not a linac file: " + skipped->reason});
        }
    }
    return notes;
}

} // namespace kova
