// A station as a process of its own, for tests that kill it as a crash would:
//
//   station_process ADDRESS STATION FOLDER type   types a remark into one row after the other,
//                                                  printing "ROW TEXT" once each counts as entered
//   station_process ADDRESS STATION FOLDER send   sends what waits in FOLDER, then ends (0: all sent)
//
// ADDRESS names the competition; FOLDER keeps what is not yet on the server.
#include "app/StationSync.h"
#include "ports/SilentUi.h"
#include "server/ServerAddress.h"
#include "server/ServerCompetition.h"
#include "server/ServerConnection.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace vastrel;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        return 2;
    }
    const auto address = ParseServerAddress(args[1], nullptr);
    ServerConnection connection;
    ServerCompetition competition(connection);
    ResultTable table;
    DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
    TableData data;
    QString error;
    if (!address || !connection.Open(*address, args[2], &error) ||
        !competition.Load(address->competition, data, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    table.Replace(std::move(data));
    SilentUi ui;
    StationSync sync(table, ui, connection, competition, nullptr);
    sync.KeepQueueIn(args[3]);
    sync.Start();
    if (args[4] == u"send") {
        QElapsedTimer waited;
        waited.start();
        while (!sync.SendChanges() && waited.elapsed() < 20000) {
            app.processEvents(QEventLoop::AllEvents, 50);
        }
        return sync.Unsent() == 0 && !QFile::exists(sync.Queue().Path()) ? 0 : 1;
    }
    std::printf("offen\n");
    std::fflush(stdout);
    const int remark = table.ColumnNumber(u"Bemerkung") - 1;
    for (int i = 0;; ++i) {
        const int row = 1 + i % table.RowCount();
        const QString text = u"Eintrag %1"_s.arg(i);
        Change change;
        change.AddCell(table.IdOf(row), static_cast<std::size_t>(row - 1), static_cast<std::size_t>(remark),
                       table.CellView(row, remark + 1), text);
        table.Apply(change); // on disk once this returns
        std::printf("%d %s\n", row, qPrintable(text));
        std::fflush(stdout);
        app.processEvents(); // the send, as a window's event loop runs it
    }
}
