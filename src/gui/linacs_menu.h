#pragma once

#include "core/linac/linac_spec.h"
#include "core/workbench/workbench.h"

#include <QObject>
#include <QString>
#include <map>
#include <memory>
#include <vector>

class QMenu;
class QMenuBar;
class QWidget;

namespace kova::gui {

class LinacSpecWindow;

/// The "Linacs" menu of the main window: one item per linac read. Choosing one shows that
/// linac's window, made on the first choice and raised on later ones; closing the window
/// hides it and the linac lives on.
class LinacsMenu : public QObject {
    Q_OBJECT

public:
    /// The windows are made with `windowParent` as parent; the menu goes into `bar`.
    LinacsMenu(QMenuBar* bar, const Workbench& workbench, QString linacFolder,
               QWidget* windowParent);
    /// Closes the windows first: they refer to the linacs, which their owner destroys next.
    ~LinacsMenu() override;

    /// Lists the linacs read, in their order.
    void SetLinacs(const std::vector<std::unique_ptr<TLinacSpec>>& linacs);

    QMenu* menu() const { return m_menu; }
    /// Shows (and raises) the window of `linac`, making it on the first call.
    LinacSpecWindow* Open(TLinacSpec& linac);
    /// The window of `linac` once it has been opened, else null.
    LinacSpecWindow* WindowOf(const TLinacSpec& linac) const;
    /// Shows the plots of the energy `beam` is computed on (an energy of `linac`), marking
    /// where its last calculation read the tables. False when the beam has no energy.
    bool ShowPlots(TLinacSpec& linac, const TBeam& beam);

signals:
    /// An energy or table entry of `linac` was changed in its window.
    void LinacEdited(const kova::TLinacSpec* linac);

private:
    /// The window of `linac`, made (not shown) on the first call.
    LinacSpecWindow* Window(TLinacSpec& linac);

    QMenu* m_menu = nullptr;
    const Workbench& m_workbench;
    QString m_linacFolder;
    QWidget* m_windowParent = nullptr;
    std::map<const TLinacSpec*, LinacSpecWindow*> m_windows;
};

} // namespace kova::gui
