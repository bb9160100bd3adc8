#pragma once

// The packed demo dual-energy linac of the build, read once, for the benchmarks that compute
// on its tables; a benchmark without it ends at once with the reader's reason.

#include "core/linac/linac_spec.h"

#include <cstdlib>
#include <iostream>
#include <string>

namespace kova::bench {

inline const TLinacSpec& DemoLinac() {
    static const TLinacSpec linac = [] {
        TLinacSpec read;
        const std::string path = std::string(KOVA_DEMO_LINACS_DIR) + "/demo_dual_energy.lnc";
        const LoadResult result = read.LoadFromFile(path);
        if (!result.accepted()) {
            std::cerr << "cannot read " << path << ": " << result.reason << '\n';
            std::exit(1);
        }
        return read;
    }();
    return linac;
}

} // namespace kova::bench
