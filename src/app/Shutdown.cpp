#include "app/Shutdown.h"

#include "app/DatabaseCommands.h"
#include "app/PrintReport.h"
#include "ports/Ui.h"

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

EndDecision AskAndEnd(Ui& ui, DatabaseCommands& database, const QString& reportFolder, MessageButtons buttons,
                      MessageIcon icon) {
    const MessageAnswer answer =
        ui.MessageBox(u"Soll die vorhandene Datenbank vor dem Beenden gesichert werden?"_s,
                      u"Zeverovavadiro"_s, buttons, icon);
    if (answer == MessageAnswer::Yes) {
        CleanReportFolder(reportFolder);
        // Yes means saved: without a saved file the program stays, and nothing is lost.
        return database.SaveDatabaseAs() ? EndDecision::End : EndDecision::Stay;
    }
    if (answer == MessageAnswer::No) {
        CleanReportFolder(reportFolder);
        return EndDecision::End;
    }
    return EndDecision::Stay;
}

} // namespace

EndDecision EndProgram(Ui& ui, DatabaseCommands& database, const QString& reportFolder) {
    return AskAndEnd(ui, database, reportFolder, MessageButtons::YesNoCancel, MessageIcon::Question);
}

EndDecision CloseWindow(Ui& ui, DatabaseCommands& database, const QString& reportFolder) {
    return AskAndEnd(ui, database, reportFolder, MessageButtons::YesNo, MessageIcon::None);
}

} // namespace vastrel
