#include "app/HistoryCommand.h"

#include "app/RowHistory.h"
#include "app/StationCommands.h"
#include "app/UndoStack.h"
#include "ports/Ui.h"
#include "system/FileHelpers.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace vastrel {

void ShowRowHistory(TableView& view, Ui& ui, StationCommands& station, const UndoStack* undo,
                    const QString& reportFolder) {
    const ResultTable& table = view.Table();
    const int row = view.CurrentRow();
    if (row < 1 || row > table.RowCount()) {
        return;
    }
    const RowId id = table.IdOf(row);
    const bool onServer = station.Following();
    std::vector<HistoryLine> lines;
    if (onServer) {
        QString error;
        const auto log = station.Competition().HistoryOf(id, &error);
        if (!log) {
            ui.MessageBox(u"Der Verlauf lässt sich nicht vom Server lesen: %1"_s.arg(error), u"Verlauf"_s,
                          MessageButtons::Ok, MessageIcon::Exclamation);
            return;
        }
        lines = HistoryLines(*log);
    } else if (undo) {
        lines = undo->HistoryOf(id);
    }
    const QString name = table.CellText(row, u"Name Vorname");
    const QString heading = name.isEmpty() ? u"Verlauf von Zeile %1"_s.arg(row)
                                           : u"Verlauf von Zeile %1 (%2)"_s.arg(row).arg(name);
    QDir().mkpath(reportFolder);
    const QString page = reportFolder + u"/verlauf.htm"_s;
    QString error;
    const QString who = onServer ? u"Station"_s : u"Befehl"_s;
    if (!WriteFileAtomically(page, HistoryPage(heading, lines, who).toUtf8(), &error)) {
        ui.MessageBox(error, u"Verlauf"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        return;
    }
    ui.ShowReport(page);
}

} // namespace vastrel
