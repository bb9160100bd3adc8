// A plug-in of the next interface version, for the test that kova-mu refuses it.

#include "kova_mu/plugin_interface.h"

namespace {

constexpr kova::mu::PluginHeader kNextVersion{kova::mu::kPluginInterfaceVersion + 1};

} // namespace

extern "C" __attribute__((visibility("default"))) const kova::mu::PluginHeader*
kova_mu_report_plugin() {
    return &kNextVersion;
}

extern "C" __attribute__((visibility("default"))) const kova::mu::PluginHeader*
kova_mu_dicom_plugin() {
    return &kNextVersion;
}

extern "C" __attribute__((visibility("default"))) const kova::mu::PluginHeader*
kova_mu_record_plugin() {
    return &kNextVersion;
}
