#pragma once

#include <QDialog>
#include <memory>

namespace kova {
class TBeam;
}

namespace kova::gui {

/// The dialog of a beam's kind, for a new beam or, with `edit`, filled from the stored beam.
/// Null for a kind without a dialog.
std::unique_ptr<QDialog> CreateBeamDialog(TBeam& beam, bool edit, QWidget* parent);

} // namespace kova::gui
