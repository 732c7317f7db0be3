#pragma once

#include <QSqlDatabase>
#include <QString>

namespace vastrel {

// The version of the program's tables on a server. A server holding another is refused: its
// tables may mean something this program does not know.
inline constexpr int kServerSchemaVersion = 1;

// Makes the tables in a database that has none (two stations may try at once), else checks their
// version. False with a German message when the tables cannot be made or are of another version.
bool EnsureSchema(QSqlDatabase db, QString* problem);

} // namespace vastrel
