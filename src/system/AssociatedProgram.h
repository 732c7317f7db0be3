#pragma once

#include <QString>
#include <QStringList>

namespace vastrel {

// The program registered to open the file: on Linux the XDG default application for the
// file's type, on Windows the one FindExecutable names. The empty text when none is registered,
// or when the file is itself that program.
QString FindAssociatedProgram(const QString& filePath);

// The web browser: the program registered for web addresses (the schemes, in order), else the
// one registered for the page file. A program that needs a terminal (an editor registered for
// HTML files) is no browser: then the empty text.
QString FindWebBrowser(const QString& pageFile,
                       const QStringList& schemes = {QStringLiteral("https"), QStringLiteral("http")});

} // namespace vastrel
