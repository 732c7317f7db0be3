#include "app/LiveCommands.h"

#include "app/CommandKeys.h"
#include "ports/Toolbar.h"
#include "ports/Ui.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

const QString kTitle = u"Live-Ergebnisse"_s;

} // namespace

LiveCommands::LiveCommands(ResultTable& table, Ui& ui, Toolbar& toolbar)
    : table_(table), ui_(ui), toolbar_(toolbar) {
    folderDelay_.setSingleShot(true);
    folderDelay_.setInterval(3000);
    QObject::connect(&folderDelay_, &QTimer::timeout, [this] { WriteFiles(); });
    devices_.setInterval(10000);
    QObject::connect(&devices_, &QTimer::timeout, [this] { ShowDevices(); });
}

LiveCommands::~LiveCommands() = default;

void LiveCommands::ServeItem() {
    const QString item = QString::fromUtf16(keys::kLiveResults);
    if (server_.Serving()) {
        const auto chosen = ui_.ChooseBox(
            u"Die Live-Ergebnisse stehen unter %1."_s.arg(server_.Addresses().join(u", "_s)), kTitle,
            {u"Adressen und QR-Code zeigen"_s, u"Endgültige Tage festlegen …"_s,
             u"Live-Ergebnisse beenden"_s});
        if (chosen == 0) {
            ui_.ShowLiveResults(server_.Addresses());
        } else if (chosen == 1) {
            AskFinalDays();
        } else if (chosen == 2) {
            server_.Stop();
            devices_.stop();
            Follow();
            toolbar_.SetItemChecked(item, false);
            ui_.SetStatusText(StatusPanel::Four, {});
            ui_.SetStatusText(StatusPanel::Status, u"Die Live-Ergebnisse sind beendet.  "_s);
        }
        return;
    }
    const auto typed = ui_.InputBox(u"Port, unter dem die Live-Ergebnisse im Netz stehen (1024 bis 65535):"_s,
                                    kTitle, QString::number(port_));
    if (!typed) {
        return;
    }
    bool ok = false;
    const int port = typed->trimmed().toInt(&ok);
    if (!ok || port < 1024 || port > 65535) {
        ui_.MessageBox(u"\"%1\" ist kein Port von 1024 bis 65535."_s.arg(typed->trimmed()), kTitle,
                       MessageButtons::Ok, MessageIcon::Exclamation);
        return;
    }
    port_ = static_cast<quint16>(port);
    QString error;
    if (!server_.Start(QHostAddress(QHostAddress::Any), port_, &error)) {
        ui_.MessageBox(error, kTitle, MessageButtons::Ok, MessageIcon::Exclamation);
        return;
    }
    Follow();
    server_.SetResults(json_);
    toolbar_.SetItemChecked(item, true);
    devices_.start();
    ShowDevices();
    ui_.ShowLiveResults(server_.Addresses());
}

void LiveCommands::FilesItem() {
    const QString item = QString::fromUtf16(keys::kLiveFiles);
    if (!folder_.isEmpty()) {
        ui_.SetStatusText(StatusPanel::Status,
                          u"Die Live-Ergebnisse werden nicht mehr nach \"%1\" geschrieben.  "_s.arg(
                              QDir::toNativeSeparators(folder_)));
        folder_.clear();
        folderDelay_.stop();
        Follow();
        toolbar_.SetItemChecked(item, false);
        return;
    }
    const auto folder = ui_.FolderBox(
        u"Der Ordner, in den die Live-Ergebnisse nach jeder Änderung geschrieben werden (für eine Webseite):"_s,
        kTitle, QDir::homePath());
    if (!folder || folder->trimmed().isEmpty()) {
        return;
    }
    folder_ = folder->trimmed();
    Follow();
    WriteFiles();
    if (!folder_.isEmpty()) {
        toolbar_.SetItemChecked(item, true);
        ui_.SetStatusText(StatusPanel::Status, u"Die Live-Ergebnisse stehen in \"%1\".  "_s.arg(
                                                   QDir::toNativeSeparators(folder_)));
    }
}

void LiveCommands::Follow() {
    const bool wanted = server_.Serving() || !folder_.isEmpty();
    if (wanted && !feed_) {
        feed_ = std::make_unique<LiveFeed>(table_, [this](const QByteArray& json) { Publish(json); });
        feed_->SetOptions(options_);
    } else if (!wanted) {
        feed_.reset();
    }
}

void LiveCommands::Publish(const QByteArray& json) {
    json_ = json;
    if (server_.Serving()) {
        server_.SetResults(json);
    }
    if (!folder_.isEmpty() && !folderDelay_.isActive()) {
        folderDelay_.start();
    }
}

void LiveCommands::WriteFiles() {
    QString error;
    if (!folder_.isEmpty() && !WriteLiveFiles(folder_, json_, &error)) {
        folder_.clear();
        Follow();
        toolbar_.SetItemChecked(QString::fromUtf16(keys::kLiveFiles), false);
        ui_.MessageBox(error + u"\r\nDie Live-Ergebnisse werden nicht mehr als Dateien geschrieben."_s,
                       kTitle, MessageButtons::Ok, MessageIcon::Exclamation);
    }
}

void LiveCommands::AskFinalDays() {
    const auto typed =
        ui_.InputBox(u"Endgültig, nicht mehr vorläufig, sind die Tage (etwa \"1, 2\"; leer: keiner):"_s,
                     kTitle, FinalDaysText(options_));
    if (!typed) {
        return;
    }
    const auto options = FinalDaysFromText(*typed);
    if (!options) {
        ui_.MessageBox(u"\"%1\" nennt nicht nur Tage von 1 bis 4."_s.arg(typed->trimmed()), kTitle,
                       MessageButtons::Ok, MessageIcon::Exclamation);
        return;
    }
    options_ = *options;
    if (feed_) {
        feed_->SetOptions(options_);
    }
}

void LiveCommands::ShowDevices() {
    ui_.SetStatusText(StatusPanel::Four,
                      u"Live: %1 Gerät(e) in der letzten Minute  "_s.arg(server_.DevicesLastMinute()));
}

} // namespace vastrel
