#include "gui/application.h"

#include "gui/dialogs.h"

#include <exception>

namespace kova::gui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    SetIdentity();
}

void Application::SetIdentity() {
    setApplicationName(QStringLiteral("KOVA X"));
    setOrganizationName(QStringLiteral("KOVA X"));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        Dialogs::ShowError(activeWindow(), QString::fromLocal8Bit(error.what()));
    } catch (...) {
        Dialogs::ShowError(activeWindow(), tr("An unexpected error occurred."));
    }
    return false;
}

int Application::Run() {
    try {
        return exec();
    } catch (const std::exception& error) {
        Dialogs::ShowError(nullptr, QString::fromLocal8Bit(error.what()));
    }
    return 1;
}

} // namespace kova::gui
