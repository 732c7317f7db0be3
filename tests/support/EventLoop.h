#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

namespace vastrel::testing {

// Timers and file watchers need an application; tests without their own make one here, once.
inline void EnsureApplication() {
    static int argc = 1;
    static char name[] = "vastrel-tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        static QCoreApplication app(argc, argv);
    }
}

// Runs the event loop for a while: what timers and watchers do happens meanwhile.
inline void RunEventsFor(int milliseconds) {
    EnsureApplication();
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

} // namespace vastrel::testing
