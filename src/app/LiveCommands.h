#pragma once

#include "live/LiveFeed.h"
#include "live/LiveServer.h"

#include <QString>
#include <QTimer>

#include <memory>

namespace vastrel {

class ResultTable;
class Toolbar;
class Ui;

// "Live-Ergebnisse …" and "Live-Ergebnisse als Dateien …": the competition's results page served
// on the venue's network and written into a folder, both following every change of the table.
class LiveCommands {
public:
    LiveCommands(ResultTable& table, Ui& ui, Toolbar& toolbar);
    ~LiveCommands();
    LiveCommands(const LiveCommands&) = delete;
    LiveCommands& operator=(const LiveCommands&) = delete;

    // Not serving: asks for the port, serves and shows the addresses with a QR code. Serving:
    // offers the addresses, the final days and the end.
    void ServeItem();
    // Not writing: asks for the folder and writes the files there now and after each change.
    // Writing: stops.
    void FilesItem();

    bool Serving() const { return server_.Serving(); }
    const QString& Folder() const { return folder_; }

private:
    void Follow(); // the feed runs while anything is published
    void Publish(const QByteArray& json);
    void WriteFiles();
    void AskFinalDays();
    void ShowDevices();

    ResultTable& table_;
    Ui& ui_;
    Toolbar& toolbar_;
    LiveServer server_;
    std::unique_ptr<LiveFeed> feed_;
    LiveOptions options_;
    quint16 port_ = 8080;
    QString folder_;     // where the files go; empty while none are written
    QByteArray json_;    // the document last published
    QTimer folderDelay_; // the files follow a change a few seconds later, not every keystroke
    QTimer devices_;     // how many devices looked, told in the status bar
};

} // namespace vastrel
