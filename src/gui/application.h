#pragma once

#include <QApplication>

namespace kova::gui {

/// The application: titled "KOVA X"; an error that no handler caught is shown in the error
/// box and ends only the action that raised it.
class Application : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);

    /// Names the program "KOVA X" (also where its settings live). No display name is set:
    /// the toolkit would append it to every window title, which must read exactly as given.
    static void SetIdentity();

    bool notify(QObject* receiver, QEvent* event) override;

    /// Runs the event loop; an error escaping it is shown and ends the program.
    int Run();
};

} // namespace kova::gui
