#pragma once

#include "core/common/result.h"
#include "kova_mu/plugin_interface.h"

#include <filesystem>

namespace kova::mu {

/// Opens the plug-in `file` with dlopen and returns the header of its table, which its
/// `entry` returns, once the table is of kova-mu's interface version. Fails with dlerror's
/// text when the file cannot be loaded or has no such entry, and names both versions when
/// they differ. A plug-in that was accepted stays loaded until the program ends: Qt, once
/// started, is not made to unload.
Result<const PluginHeader*> LoadPlugin(const std::filesystem::path& file, const char* entry);

/// LoadPlugin for a table of type `Table` (a ReportPlugin or a DicomPlugin).
template <class Table>
Result<const Table*> LoadPluginTable(const std::filesystem::path& file, const char* entry) {
    const Result<const PluginHeader*> header = LoadPlugin(file, entry);
    if (!header) {
        return header.status();
    }
    return static_cast<const Table*>(*header);
}

} // namespace kova::mu
