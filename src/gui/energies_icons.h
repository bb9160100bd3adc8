#pragma once

#include <QIcon>

namespace kova::gui {

/// Images of a linac's energies tree, by the core's image index: 0 photon energy,
/// 1 reference field, 2 wedge, 3 offset factor, 4 multileaf factor, 5 depth dose, 6 wedge
/// factor, 7 tray, 8 shield, 9 electron energy, 10 applicator. Drawn for 16 px; the
/// modifiers look as they do under a beam in the workbench.
QIcon EnergiesIcon(int imageIndex);

/// Number of energies tree images.
inline constexpr int kEnergiesIconCount = 11;

} // namespace kova::gui
