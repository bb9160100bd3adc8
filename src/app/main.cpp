// KOVA X: the desktop program.

#include "core/linac/linac_folder_choice.h"
#include "core/workbench/start_options.h"
#include "gui/application.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/record_keeper.h"

#include <QDir>
#include <QIcon>
#include <QLocale>
#include <QSettings>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kExitUsage = 2;

const char* const kUsage =
    "Usage: kovax [--linacs DIR]\n"
    "Independent check of the monitor units (MU) of a treatment planning system: the\n"
    "KOVA X desktop program.\n"
    "\n"
    "  --linacs DIR  read the linac files (*.lnc) of DIR\n"
    "  --help        show this help and exit\n"
    "  --version     show the version and exit\n"
    "\n"
    "Without --linacs the linacs are read from the Linacs folder of the current folder;\n"
    "when there is none, from the folder chosen with File > Linac folder...; when none is\n"
    "chosen, from the demo linacs installed with KOVA X (PREFIX/share/kovax/Linacs, not for\n"
    "clinical use). The status bar and Help > About say which folder is read and why. The\n"
    "linac files are only read, never written.\n"
    "\n"
    "The banners of the printed pages (MyBanner1.txt, MyBanner2.txt) and the action levels\n"
    "(ActionLevels.ini) are read from /etc/kovax when KOVA X is installed under /usr\n"
    "(PREFIX/etc/kovax under another prefix), and from the program's own folder in a build.\n"
    "\n"
    "The checks are kept in the record of checks (Record menu): an SQLite file in the user's\n"
    "data folder (~/.local/share/KOVA X/KOVA X/checks.sqlite) unless another file or a\n"
    "PostgreSQL server is chosen with Record > Record Location...\n";

std::vector<std::string> Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

kova::ProgramInfo Info() {
    kova::ProgramInfo info;
    info.productName = KOVA_PRODUCT_NAME;
    info.productVersion = KOVA_PRODUCT_VERSION;
    return info;
}

kova::LinacFolderChoice ChooseLinacFolder(const std::string& commandLine,
                                          const QSettings& settings) {
    using kova::gui::PathFromQ;
    const QString chosen = kova::gui::MainWindow::ChosenLinacFolder(settings);
    return kova::ChooseLinacFolder(kova::FindLinacFolderCandidates(
        commandLine, PathFromQ(chosen), PathFromQ(QCoreApplication::applicationDirPath()),
        PathFromQ(QDir::currentPath())));
}

} // namespace

int main(int argc, char** argv) {
    // --help and --version answer before the toolkit starts, which needs a display.
    const kova::StartOptions asked = kova::ParseStartOptions(Arguments(argc, argv));
    if (asked.help || asked.version) {
        std::cout << (asked.help ? std::string(kUsage) : Info().VersionLine("kovax") + '\n');
        return 0;
    }
    kova::gui::Application app(argc, argv);
    // The toolkit has taken its own options out of argv: what is left is ours.
    const kova::StartOptions options = kova::ParseStartOptions(Arguments(argc, argv));
    if (!options.error.empty()) {
        std::cerr << "kovax: " << options.error << '\n' << kUsage;
        return kExitUsage;
    }
    // The menu entry kovax.desktop and its icon name the program on the desktop.
    QGuiApplication::setDesktopFileName(QStringLiteral("kovax"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("kovax")));
    // Numbers are typed and shown with "." whatever the system's language.
    QLocale::setDefault(QLocale::c());
    // The window's size and place and the chosen linac folder, kept per user.
    QSettings settings;
    // The record of checks: where it is comes from the settings (the SQLite file in the
    // user's data folder unless chosen with Record > Record Location...). It outlives the
    // window that keeps checks in it.
    kova::gui::RecordKeeper record(&settings);
    const kova::LinacFolderChoice folder = ChooseLinacFolder(options.linacs, settings);
    kova::gui::MainWindow window(Info(), kova::gui::PathToQ(folder.folder));
    window.SetLinacFolderReason(kova::gui::ToQ(folder.why),
                                kova::gui::ToQ(kova::ShortWhy(folder.source)));
    window.RememberGeometryIn(&settings);
    window.AttachRecord(&record);
    window.show();
    return app.Run();
}
