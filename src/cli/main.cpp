#include "cli/CommandLine.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream errors(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const int code = vastrel::RunCommandLine(arguments, out, errors);
    out.flush();
    errors.flush();
    return code;
}
