#include "gui/linacs_menu.h"

#include "gui/linac_spec_window.h"
#include "gui/qt_text.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>

namespace kova::gui {
namespace {

/// The caption of a linac's item: its name and the file it came from, since two linacs may
/// share a name. An ampersand is shown, not taken as a shortcut mark.
QString ItemCaption(const TLinacSpec& linac) {
    QString caption = ToQ(linac.Name) + u" (" +
                      QFile::decodeName(QByteArray::fromStdString(linac.FileName)) + u")";
    return caption.replace(u'&', QStringLiteral("&&"));
}

} // namespace

LinacsMenu::LinacsMenu(QMenuBar* bar, const Workbench& workbench, QString linacFolder,
                       QWidget* windowParent)
    : QObject(windowParent), m_workbench(workbench), m_linacFolder(std::move(linacFolder)),
      m_windowParent(windowParent) {
    m_menu = bar->addMenu(tr("Linacs"));
    m_menu->setObjectName(QStringLiteral("LinacsMenu"));
    SetLinacs({});
}

LinacsMenu::~LinacsMenu() {
    for (auto& [linac, window] : m_windows) {
        delete window;
    }
}

void LinacsMenu::SetLinacs(const std::vector<std::unique_ptr<TLinacSpec>>& linacs) {
    m_menu->clear();
    for (const auto& linac : linacs) {
        TLinacSpec* shown = linac.get();
        QAction* item = m_menu->addAction(ItemCaption(*shown));
        connect(item, &QAction::triggered, this, [this, shown] { Open(*shown); });
    }
    if (linacs.empty()) {
        m_menu->addAction(tr("No linac read"))->setEnabled(false);
    }
}

LinacSpecWindow* LinacsMenu::Window(TLinacSpec& linac) {
    LinacSpecWindow*& window = m_windows[&linac];
    if (window == nullptr) {
        window = new LinacSpecWindow(linac, m_workbench, m_linacFolder, m_windowParent);
        connect(window, &LinacSpecWindow::LinacEdited, this, &LinacsMenu::LinacEdited);
    }
    return window;
}

bool LinacsMenu::ShowPlots(TLinacSpec& linac, const TBeam& beam) {
    const TEnergy* energy = beam.machine.gEnergy;
    if (energy == nullptr) {
        energy = beam.machine.eEnergy;
    }
    return energy != nullptr && Window(linac)->ShowPlots(*energy, beam.LookupMarks()) != nullptr;
}

LinacSpecWindow* LinacsMenu::Open(TLinacSpec& linac) {
    LinacSpecWindow* window = Window(linac);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

LinacSpecWindow* LinacsMenu::WindowOf(const TLinacSpec& linac) const {
    const auto it = m_windows.find(&linac);
    return it == m_windows.end() ? nullptr : it->second;
}

} // namespace kova::gui
