// KOVA X: the desktop program.

#include "gui/application.h"
#include "gui/main_window.h"

#include <QLocale>
#include <QSettings>

int main(int argc, char** argv) {
    kova::gui::Application app(argc, argv);
    // Numbers are typed and shown with "." whatever the system's language.
    QLocale::setDefault(QLocale::c());
    kova::ProgramInfo info;
    info.productName = KOVA_PRODUCT_NAME;
    info.productVersion = KOVA_PRODUCT_VERSION;
    kova::gui::MainWindow window(info);
    // The window's size and place, kept per user.
    QSettings settings;
    window.RememberGeometryIn(&settings);
    window.show();
    return app.Run();
}
