#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace vastrel {

class ConsoleUi;

// vastrel-cli serve IN [--port P] [--bind ADDRESS] [--final TAGE], without the command's name:
// serves IN's live results until ended, following the file's changes or the server's.
int RunServe(const QStringList& arguments, QTextStream& out, ConsoleUi& ui, QString& problem);

// vastrel-cli publish IN FOLDER [--final TAGE]: the results page and its document, once.
int RunPublish(const QStringList& arguments, ConsoleUi& ui, QString& problem);

} // namespace vastrel
