// kova_mu_dicom: the plug-in kova-mu loads for --rtplan, the DICOM RT Plan reader on DCMTK.
// The plan comes back as the core's plain plan data; the import and the checks stay in
// kova-mu.

#include "dicom/rt_plan_reader.h"
#include "kova_mu/plugin_interface.h"

namespace kova::mu {
namespace {

constexpr DicomPlugin kTable{{kPluginInterfaceVersion}, &ReadRTPlanFile};

} // namespace
} // namespace kova::mu

extern "C" __attribute__((visibility("default"))) const kova::mu::PluginHeader*
kova_mu_dicom_plugin() {
    return &kova::mu::kTable;
}
