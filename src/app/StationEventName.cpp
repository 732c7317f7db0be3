// The event's name, the one table value the stations share: sent when this station renamed the
// event, shown when another one did.
#include "app/StationSync.h"

#include "app/ViewCommands.h"
#include "ports/MainWindowState.h"
#include "ports/Ui.h"
#include "table/ResultTable.h"

using namespace Qt::StringLiterals;

namespace vastrel {

// The event's name goes as a cell does: asked about when another station named it meanwhile.
bool StationSync::SendEventName() {
    if (!std::exchange(valuesChanged_, false) || !state_ || state_->baseCaption == sharedName_) {
        return true;
    }
    const QString name = state_->baseCaption;
    const QString seen = NameSeen();
    EventNameResult result = competition_.SetEventName(name, seen, false);
    if (result.status == EventNameResult::Status::Conflict) {
        if (ui_.MessageBox(
                u"Der Name der Veranstaltung wurde inzwischen an einer anderen Station geändert:\r\n"
                u"Station \"%1\" hat \"%2\" eingetragen, hier steht \"%3\".\r\n\r\n"
                u"Soll der Text dieser Station gelten? \"Nein\" übernimmt den der anderen Station."_s.arg(
                    result.station, result.theirs, name),
                u"Konflikt"_s, MessageButtons::YesNo, MessageIcon::Question) != MessageAnswer::Yes) {
            ShowEventName(result.theirs);
            return true;
        }
        result = competition_.SetEventName(name, seen, true);
    }
    if (result.status != EventNameResult::Status::Set) {
        valuesChanged_ = true; // kept for the next try
        return false;
    }
    sharedName_ = name;
    ownName_ = name;
    seenName_.reset();
    return true;
}

QString StationSync::NameSeen() const {
    return seenName_ ? *seenName_ : nameUndone_ ? ownName_.value_or(QString()) : sharedName_;
}

bool StationSync::NameWaits() const {
    return valuesChanged_ && state_ && state_->baseCaption != sharedName_;
}

// Once for each name given: the last one kept is the one sent after a crash.
void StationSync::KeepEventName() {
    if (!queue_.IsKept() || !NameWaits() || state_->baseCaption == keptName_) {
        return;
    }
    keptName_ = state_->baseCaption;
    const QueuedChange name = QueuedChange::OfEventName(*keptName_, NameSeen());
    QString error;
    if (!queue_.Append({&name, 1}, &error)) {
        KeepingFailed(error);
    }
}

void StationSync::ShowEventName(const QString& name) {
    sharedName_ = name;
    seenName_.reset();
    ShowName(name);
}

void StationSync::ShowName(const QString& name) {
    if (!state_ || state_->baseCaption == name) {
        return;
    }
    state_->baseCaption = name;
    TableValues values = table_.Data().values;
    values.caption = CaptionOfView(*state_);
    Change change;
    change.Add(Change::ValuesChange{table_.Data().values, values});
    ApplyRemote(change);
}

} // namespace vastrel
