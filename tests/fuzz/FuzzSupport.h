#pragma once

// Shared by the fuzz targets: a Qt application for the database drivers (set up before the
// first input), a stop on a broken promise that names it, and the deterministic text measure of
// the command-line tool.
#include <QCoreApplication>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace vastrel::fuzz {

inline void EnsureApplication() {
    static int argc = 1;
    static char name[] = "vastrel-fuzz";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        static QCoreApplication app(argc, argv);
    }
}

[[noreturn]] inline void Broken(const char* promise, const QString& detail = {}) {
    std::fprintf(stderr, "broken promise: %s %s\n", promise, detail.toUtf8().constData());
    std::abort();
}

inline double Width(const QString& text) {
    return text.size() * 100.0;
}

} // namespace vastrel::fuzz

// libFuzzer (and the replay) call this once before the first input: every target needs the
// Qt application. Each target is a program of its own that includes this header once.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vastrel::fuzz::EnsureApplication();
    return 0;
}
