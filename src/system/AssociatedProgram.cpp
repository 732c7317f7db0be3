#include "system/AssociatedProgram.h"

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#else
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
QString AskPlatform(const QString& filePath) {
    const QByteArray name = QFile::encodeName(filePath);
    gboolean uncertain = FALSE;
    gchar* type = g_content_type_guess(name.constData(), nullptr, 0, &uncertain);
    if (!type) {
        return {};
    }
    GAppInfo* app = g_app_info_get_default_for_type(type, FALSE);
    g_free(type);
    if (!app) {
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
#endif

} // namespace

QString FindAssociatedProgram(const QString& filePath) {
    const QString program = AskPlatform(filePath);
    if (program.compare(filePath, Qt::CaseInsensitive) == 0) {
        return {};
    }
    return program;
}

} // namespace vastrel
