#include "cli/CommandLine.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

namespace {

// Standard error carries the program's messages, one line each: Qt's own notes stay out of it.
void KeepQtNotesOut(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        QTextStream(stderr) << message << Qt::endl;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    qInstallMessageHandler(KeepQtNotesOut);
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    // Reports and certificates are drawn by Qt; without a screen, on the offscreen platform.
    std::unique_ptr<QCoreApplication> app;
    if (vastrel::NeedsGuiApplication(arguments)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream out(stdout);
    QTextStream errors(stderr);
    const int code = vastrel::RunCommandLine(arguments, out, errors, vastrel::TableAtEnd::LeftToTheSystem);
    out.flush();
    errors.flush();
    return code;
}
