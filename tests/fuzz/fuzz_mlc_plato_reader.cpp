// Feeds arbitrary bytes to the PLATO tagged-ASCII reader, directly (whatever the first word)
// and as a ".s01" file. Any crash, hang, sanitizer report or field that breaks the promises
// of mlc_fuzz_checks.h is a finding.

#include "mlc_fuzz_checks.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kova::fuzz::CheckFields(kova::ReadPlatoFields(bytes));
    kova::fuzz::CheckList(kova::ReadMLCBytes("plan.s01", bytes));
    return 0;
}
