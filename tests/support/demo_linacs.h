#pragma once

#include "core/linac/linac_spec.h"

#include <memory>
#include <string>
#include <vector>

namespace kova::test {

/// The text of a demo linac of data/linacs ("demo_dual_energy.txt", "demo_cobalt.txt").
std::string DemoLinacText(const std::string& file);

/// A demo linac read from its text; with `name` the linac's Name is changed to it (the
/// first word of the identity line).
std::unique_ptr<TLinacSpec> DemoLinac(const std::string& file, const std::string& name = {});

/// The dual energy linac DualDemo and the cobalt unit CobaltDemo, in that order.
std::vector<std::unique_ptr<TLinacSpec>> DemoLinacs();

} // namespace kova::test
