#pragma once

// Qt's notes about its surroundings (no XDG_RUNTIME_DIR, no printer, a driver's remarks) are
// not kova-mu's business: every failure of a plug-in comes back as a reason. Only Qt's
// errors are said. Included by the plug-ins that start Qt, each with its own copy.

#include <QString>
#include <QtGlobal>
#include <iostream>

namespace kova::mu {

inline void QtErrorsOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::cerr << "kova-mu: Qt: " << message.toStdString() << '\n';
    }
}

/// Keeps Qt's messages to its errors while it lives.
class QtMessageFilter {
public:
    QtMessageFilter() : m_previous(qInstallMessageHandler(QtErrorsOnly)) {}
    QtMessageFilter(const QtMessageFilter&) = delete;
    QtMessageFilter& operator=(const QtMessageFilter&) = delete;
    ~QtMessageFilter() { qInstallMessageHandler(m_previous); }

private:
    QtMessageHandler m_previous;
};

} // namespace kova::mu
