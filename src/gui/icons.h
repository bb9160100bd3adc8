#pragma once

#include <QIcon>

namespace kova::gui {

/// Images of the workbench tree: 0 patient, 1 treatment, 2 beam, then the result lines
/// 3 wedge, 4 tray, 5 shield, 6 offset, 7 multileaf, 8 applicator, 9 warning (a result
/// that needs attention, kImageWarningLine). Drawn for 16 px.
QIcon WorkbenchIcon(int imageIndex);

/// Number of workbench images.
inline constexpr int kWorkbenchIconCount = 10;

} // namespace kova::gui
