#include "system/AssociatedProgram.h"

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#else
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#endif

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vastrel {

namespace {

#ifdef Q_OS_WIN
QString AskPlatform(const QString& filePath) {
    wchar_t result[MAX_PATH + 1] = {};
    const auto native = QDir::toNativeSeparators(filePath).toStdWString();
    const auto code = reinterpret_cast<INT_PTR>(FindExecutableW(native.c_str(), nullptr, result));
    return code > 32 ? QString::fromWCharArray(result) : QString();
}
#else
// The program of a registered application; empty for none, and for one that runs in a terminal
// when `noTerminal` asks so.
QString ProgramOf(GAppInfo* app, bool noTerminal) {
    if (!app) {
        return {};
    }
    if (noTerminal && G_IS_DESKTOP_APP_INFO(app) &&
        g_desktop_app_info_get_boolean(G_DESKTOP_APP_INFO(app), "Terminal")) {
        g_object_unref(app);
        return {};
    }
    QString program;
    if (const char* executable = g_app_info_get_executable(app)) {
        program = QFile::decodeName(executable);
    }
    g_object_unref(app);
    if (!program.isEmpty() && QFileInfo(program).isRelative()) {
        program = QStandardPaths::findExecutable(program);
    }
    return program;
}

QString AskPlatform(const QString& filePath, bool noTerminal = false) {
    const QByteArray name = QFile::encodeName(filePath);
    gboolean uncertain = FALSE;
    gchar* type = g_content_type_guess(name.constData(), nullptr, 0, &uncertain);
    if (!type) {
        return {};
    }
    GAppInfo* app = g_app_info_get_default_for_type(type, FALSE);
    g_free(type);
    return ProgramOf(app, noTerminal);
}

QString AskPlatformForScheme(const QString& scheme) {
    return ProgramOf(g_app_info_get_default_for_uri_scheme(scheme.toUtf8().constData()), true);
}
#endif

} // namespace

QString FindWebBrowser(const QString& pageFile, const QStringList& schemes) {
#ifdef Q_OS_WIN
    Q_UNUSED(schemes);
    return FindAssociatedProgram(pageFile);
#else
    for (const QString& scheme : schemes) {
        if (const QString browser = AskPlatformForScheme(scheme); !browser.isEmpty()) {
            return browser;
        }
    }
    const QString program = AskPlatform(pageFile, true);
    return program.compare(pageFile, Qt::CaseInsensitive) == 0 ? QString() : program;
#endif
}

QString FindAssociatedProgram(const QString& filePath) {
    const QString program = AskPlatform(filePath);
    if (program.compare(filePath, Qt::CaseInsensitive) == 0) {
        return {};
    }
    return program;
}

} // namespace vastrel
