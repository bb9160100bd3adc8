// Feeds arbitrary bytes to the Shaper leaf-file reader, directly (whatever the first word)
// and as a ".mlc" file. Any crash, hang, sanitizer report or field that breaks the promises
// of mlc_fuzz_checks.h is a finding.

#include "mlc_fuzz_checks.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kova::fuzz::CheckFields(kova::ReadShaperFields(bytes));
    kova::fuzz::CheckList(kova::ReadMLCBytes("plan.mlc", bytes));
    return 0;
}
