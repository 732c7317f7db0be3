#pragma once

#include "app/StationSync.h"
#include "server/ServerCompetition.h"
#include "server/ServerConnection.h"

#include <QString>

#include <memory>
#include <optional>

namespace vastrel {

class Settings;
class TableView;
class Ui;
class UndoStack;
struct MainWindowState;

// What the settings remember of "Server verbinden …" (never the password).
inline constexpr char16_t kServerHostSetting[] = u"server/host";
inline constexpr char16_t kServerPortSetting[] = u"server/port";
inline constexpr char16_t kServerDatabaseSetting[] = u"server/database";
inline constexpr char16_t kServerUserSetting[] = u"server/user";
inline constexpr char16_t kServerStationSetting[] = u"server/station";

// "Server verbinden …", "auf Server anlegen …" and "öffnen" from the server's list: the window as
// one station of a competition on a PostgreSQL server.
class StationCommands {
public:
    StationCommands(TableView& view, Ui& ui, MainWindowState& state, Settings* remembered, UndoStack* undo);
    // The last item of the server's list: a file instead.
    static constexpr char16_t kFileItem[] = u"Datei öffnen …";

    // Asks for the server and connects; a failure is one message and the table stays as it is.
    // Where `openedOffline` is given and the station keeps copies of competitions on that server,
    // the message offers them instead: one opened works on without the server, until it answers.
    bool Connect(bool* openedOffline = nullptr);
    // The open table becomes a new competition on the server, named by the user.
    bool CreateOnServer();
    // Chooses one of the server's competitions and opens it: whether it was opened, or nothing
    // when the user chose to open a file instead.
    std::optional<bool> OpenFromServer();
    bool IsConnected() const { return connection_.IsOpen(); }
    // Another table came in (a file opened): it is not the competition any more.
    void Leave();
    bool Following() const { return sync_.Following(); }
    StationSync& Sync() { return sync_; }
    const ServerCompetition& Competition() const { return competition_; }

private:
    bool OpenCopy(const QString& error);
    void Show(TableData data);
    void Follow(bool connected = true);
    void Forget(); // what the window shows of the competition on the server
    void ShowStatus(const QString& problem);

    TableView& view_;
    Ui& ui_;
    MainWindowState& state_;
    Settings* remembered_;
    UndoStack* undo_;
    ServerConnection connection_;
    ServerCompetition competition_{connection_};
    StationSync sync_;
};

} // namespace vastrel
