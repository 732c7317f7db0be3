#include "app/StationCommands.h"

#include "app/DatabaseCommands.h"
#include "app/StationCopy.h"
#include "app/UndoStack.h"
#include "app/ViewCommands.h"
#include "ports/MainWindowState.h"
#include "ports/Settings.h"
#include "ports/Ui.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <QFileInfo>
#include <QSysInfo>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

QString Setting(const Settings* settings, const char16_t* key, const QString& fallback) {
    const QString value = settings ? settings->Value(QString::fromUtf16(key)) : QString();
    return value.isEmpty() ? fallback : value;
}

} // namespace

StationCommands::StationCommands(TableView& view, Ui& ui, MainWindowState& state, Settings* remembered,
                                 UndoStack* undo)
    : view_(view), ui_(ui), state_(state), remembered_(remembered), undo_(undo),
      sync_(view.Table(), ui, connection_, competition_, undo, &state) {
    sync_.OnStatus([this](const QString& problem) { ShowStatus(problem); });
    sync_.OnLeft([this] { Forget(); });
}

bool StationCommands::Connect(bool* openedOffline) {
    ServerLogin given;
    given.host = Setting(remembered_, kServerHostSetting, u"localhost"_s);
    given.port = Setting(remembered_, kServerPortSetting, u"5432"_s).toInt();
    given.database = Setting(remembered_, kServerDatabaseSetting, u"vastrel"_s);
    given.user = Setting(remembered_, kServerUserSetting, u"vastrel"_s);
    given.station = Setting(remembered_, kServerStationSetting, QSysInfo::machineHostName());
    const auto login = ui_.ServerLoginBox(given);
    if (!login) {
        return false;
    }
    ServerAddress address;
    address.host = login->host.trimmed();
    address.port = login->port;
    address.database = login->database.trimmed();
    address.user = login->user.trimmed();
    address.password = login->password;
    if (remembered_) {
        remembered_->SetValue(QString::fromUtf16(kServerHostSetting), address.host);
        remembered_->SetValue(QString::fromUtf16(kServerPortSetting), QString::number(address.port));
        remembered_->SetValue(QString::fromUtf16(kServerDatabaseSetting), address.database);
        remembered_->SetValue(QString::fromUtf16(kServerUserSetting), address.user);
        remembered_->SetValue(QString::fromUtf16(kServerStationSetting), login->station);
    }
    Leave();
    ui_.SetBusy(true);
    QString error;
    const bool opened = connection_.Open(address, login->station.trimmed(), &error);
    ui_.SetBusy(false);
    if (!opened) {
        if (openedOffline) {
            *openedOffline = OpenCopy(error);
        } else {
            ui_.MessageBox(error, u"Server verbinden"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        }
        return false;
    }
    ui_.SetStatusText(StatusPanel::File, u"verbunden mit %1  "_s.arg(address.host));
    return true;
}

bool StationCommands::CreateOnServer() {
    if (!IsConnected() && !Connect()) {
        return false;
    }
    if (!connection_.MayChange()) {
        ui_.MessageBox(connection_.ReadOnlyRefusal(), u"auf Server anlegen"_s, MessageButtons::Ok,
                       MessageIcon::Exclamation);
        return false;
    }
    const QString suggested =
        !state_.openedFile.isEmpty() ? QFileInfo(state_.openedFile).completeBaseName() : state_.baseCaption;
    const auto name =
        ui_.InputBox(u"Name des Wettkampfs auf dem Server:"_s, u"auf Server anlegen"_s, suggested);
    if (!name || name->trimmed().isEmpty()) {
        return false;
    }
    bool exists = false;
    QString error;
    TableData data = view_.Table().Data();
    data.values.caption = state_.baseCaption; // the event's name, without the day this window shows
    ui_.SetBusy(true);
    bool created = competition_.Create(name->trimmed(), data, false, &exists, &error);
    ui_.SetBusy(false);
    if (exists) {
        if (ui_.MessageBox(
                u"Den Wettkampf \"%1\" gibt es auf dem Server schon.\r\nSoll er ersetzt werden?"_s.arg(
                    name->trimmed()),
                u"auf Server anlegen"_s, MessageButtons::YesNoDefaultNo,
                MessageIcon::Question) != MessageAnswer::Yes) {
            return false;
        }
        ui_.SetBusy(true);
        created = competition_.Create(name->trimmed(), data, true, &exists, &error);
        ui_.SetBusy(false);
    }
    if (!created) {
        ui_.MessageBox(error, u"auf Server anlegen"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        return false;
    }
    Follow();
    return true;
}

std::optional<bool> StationCommands::OpenFromServer() {
    QString error;
    const auto names = ServerCompetition::List(connection_, &error);
    if (!names) {
        ui_.MessageBox(error, u"Datenbank öffnen"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        return false;
    }
    const auto chosen = ui_.ChooseBox(
        names->isEmpty()
            ? u"Auf dem Server \"%1\" gibt es noch keinen Wettkampf; \"auf Server anlegen …\" legt "
              u"einen an."_s.arg(connection_.Address().host)
            : u"Wettkampf auf dem Server \"%1\":"_s.arg(connection_.Address().host),
        u"Datenbank öffnen"_s, *names + QStringList{QString::fromUtf16(kFileItem)});
    if (chosen && *chosen == names->size()) {
        return std::nullopt;
    }
    if (!chosen || *chosen < 0 || *chosen >= names->size()) {
        return false;
    }
    if (!MayReplaceTable(view_.Table(), ui_)) {
        return false;
    }
    TableData data;
    ui_.SetBusy(true);
    const bool loaded = competition_.Load(names->at(*chosen), data, &error);
    ui_.SetBusy(false);
    if (!loaded) {
        ui_.MessageBox(error, u"Datenbank öffnen"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        return false;
    }
    Show(std::move(data));
    Follow();
    return true;
}

// The competition read (from the server or the station's copy) takes the table's place.
void StationCommands::Show(TableData data) {
    if (!data.values.caption.isEmpty()) { // a competition made by the tool from a csv has no name
        state_.baseCaption = data.values.caption;
    }
    data.values.caption = CaptionOfView(state_);
    sync_.Stop();
    sync_.ExpectOwnReplacement();
    view_.Table().Replace(std::move(data));
    state_.saveFileName.clear(); // "speichern" writes a copy only where "speichern unter" names one
    state_.openedFile.clear();
    view_.SetCurrentRow(1);
}

// The server out of reach: the competitions this station saw there, as it last saw them.
bool StationCommands::OpenCopy(const QString& error) {
    const QString folder = sync_.QueueFolder();
    const auto copies = folder.isEmpty()
                            ? std::vector<StationCopyHead>()
                            : StationCopies(folder, connection_.Address().Shown(), connection_.Station());
    if (copies.empty()) {
        ui_.MessageBox(error, u"Server verbinden"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        return false;
    }
    QStringList items;
    for (const StationCopyHead& copy : copies) {
        items << u"%1 (Stand %2)"_s.arg(copy.name, copy.saved.toString(u"dd.MM.yyyy hh:mm"_s));
    }
    const auto chosen = ui_.ChooseBox(
        error + u"\r\n\r\nOhne den Server weiterarbeiten, mit dem Stand, den diese Station zuletzt gesehen "
                u"hat?\r\nWas hier eingegeben wird, geht an den Server, sobald er wieder antwortet."_s,
        u"Server verbinden"_s, items);
    if (!chosen || *chosen < 0 || *chosen >= static_cast<int>(copies.size()) ||
        !MayReplaceTable(view_.Table(), ui_)) {
        return false;
    }
    auto copy = ReadStationCopy(copies[static_cast<std::size_t>(*chosen)].path);
    if (!copy) {
        ui_.MessageBox(u"Die Kopie des Wettkampfs \"%1\" an dieser Station ist nicht zu lesen."_s.arg(
                           copies[static_cast<std::size_t>(*chosen)].name),
                       u"Server verbinden"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        return false;
    }
    competition_.Resume(copy->name, copy->competitionId, copy->lastSequence, copy->keys, copy->data.columns,
                        std::move(copy->revisions));
    Show(std::move(copy->data));
    Follow(false);
    sync_.StartOffline(copy->nextId, copy->lastId);
    return true;
}

void StationCommands::Leave() {
    if (sync_.Following()) {
        sync_.Stop();
    }
    Forget();
}

void StationCommands::Forget() {
    state_.onServer.clear();
    state_.stations.clear();
    state_.readOnly.clear();
    view_.Table().SetReadOnly(false);
}

void StationCommands::Follow(bool connected) {
    ServerAddress address = connection_.Address();
    address.competition = competition_.Name();
    state_.onServer = address.Display();
    // A copy is only kept for a login that may change the competition.
    const bool mayChange = !connected || connection_.MayChange();
    state_.readOnly = mayChange ? QString() : connection_.ReadOnlyRefusal();
    view_.Table().SetReadOnly(!mayChange);
    if (connected) {
        sync_.Start();
    }
}

void StationCommands::ShowStatus(const QString& problem) {
    if (state_.onServer.isEmpty()) {
        return;
    }
    if (problem.isEmpty() && undo_ && !undo_->IsClean()) {
        undo_->SetClean(); // everything is on the server
    }
    state_.stations = sync_.Stations();
    const int stations = static_cast<int>(sync_.Stations().size());
    const QString there = stations == 1 ? u"1 Station"_s : u"%1 Stationen"_s.arg(stations);
    ui_.SetStatusText(StatusPanel::File,
                      u"%1%2 · %3%4  "_s.arg(state_.onServer,
                                             state_.readOnly.isEmpty() ? QString() : u" · nur lesen"_s, there,
                                             problem.isEmpty() ? QString() : u" – "_s + problem));
}

} // namespace vastrel
