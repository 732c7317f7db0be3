#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace vastrel {

class Ui;

// "Web": finds the registered web browser (for web addresses, else through a help page file in
// the program's folder) and starts it with the points system's home page; the file is removed
// again. Without a browser,
// or when it does not start, a message says so and the program goes on.
// The lookup and the start are the platform's; tests pass their own.
using ProgramFinder = std::function<QString(const QString& file)>;
using ProgramStarter = std::function<bool(const QString& program, const QStringList& arguments)>;
void ShowWebHelp(Ui& ui, const QString& programFolder, const ProgramFinder& find,
                 const ProgramStarter& start);

} // namespace vastrel
