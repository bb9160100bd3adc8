#include "kova_mu/plugin_loader.h"

#include <cstring>
#include <dlfcn.h>
#include <string>

namespace kova::mu {
namespace {

using Entry = const PluginHeader* (*)();

std::string LastError() {
    const char* error = dlerror();
    return error != nullptr ? error : "unknown error";
}

} // namespace

Result<const PluginHeader*> LoadPlugin(const std::filesystem::path& file, const char* entry) {
    // RTLD_LOCAL: a plug-in's libraries (Qt, DCMTK) serve it alone.
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        return Result<const PluginHeader*>::Fail(LastError());
    }
    void* symbol = dlsym(handle, entry);
    if (symbol == nullptr) {
        const std::string reason = LastError();
        dlclose(handle);
        return Result<const PluginHeader*>::Fail(reason);
    }
    // POSIX guarantees that the object pointer dlsym returns converts to the function's.
    Entry function = nullptr;
    std::memcpy(&function, &symbol, sizeof function);
    const PluginHeader* header = function();
    if (header == nullptr || header->interfaceVersion != kPluginInterfaceVersion) {
        const std::string version =
            header != nullptr ? std::to_string(header->interfaceVersion) : "none";
        dlclose(handle);
        return Result<const PluginHeader*>::Fail(
            file.string() + " is a plug-in of interface version " + version +
            "; this kova-mu needs version " + std::to_string(kPluginInterfaceVersion));
    }
    return header;
}

} // namespace kova::mu
