#include "cli/LiveCommands.h"

#include "cli/CommandLine.h"
#include "cli/ConsoleUi.h"
#include "cli/ServerCommands.h"
#include "live/LiveFeed.h"
#include "live/LiveServer.h"
#include "server/ServerAddress.h"
#include "table/ResultTable.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

struct LiveCall {
    QString input, folder;
    QHostAddress bind = QHostAddress(QHostAddress::Any);
    quint16 port = 8080;
    LiveOptions options;
};

std::optional<LiveCall> ParseLive(const QStringList& arguments, bool serve, QString& problem) {
    LiveCall call;
    QStringList files;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (serve && a == u"--port" && hasValue) {
            bool ok = false;
            const int port = arguments.at(++i).toInt(&ok);
            if (!ok || port < 1 || port > 65535) {
                problem = u"--port erwartet eine Zahl von 1 bis 65535."_s;
                return std::nullopt;
            }
            call.port = static_cast<quint16>(port);
        } else if (serve && a == u"--bind" && hasValue) {
            if (!call.bind.setAddress(arguments.at(++i))) {
                problem = u"--bind erwartet eine IP-Adresse dieses Rechners, etwa 192.168.1.23."_s;
                return std::nullopt;
            }
        } else if (a == u"--final" && hasValue) {
            const auto options = FinalDaysFromText(arguments.at(++i));
            if (!options) {
                problem = u"--final erwartet Tage von 1 bis 4, etwa \"1,2\"."_s;
                return std::nullopt;
            }
            call.options = *options;
        } else if (a.startsWith(u"--"_s)) {
            problem = u"Unbekannte Option: %1"_s.arg(a);
            return std::nullopt;
        } else {
            files << a;
        }
    }
    if (files.size() != (serve ? 1 : 2)) {
        problem = serve ? u"serve erwartet EINGABE."_s : u"publish erwartet EINGABE und ORDNER."_s;
        return std::nullopt;
    }
    call.input = files.value(0);
    call.folder = files.value(1);
    return call;
}

bool LoadInput(ResultTable& table, const QString& input, ConsoleUi& ui) {
    return IsServerAddress(input) ? LoadFromServer(table, input, ToolStation(), ui, std::nullopt)
                                  : LoadTableFile(table, input, ui);
}

} // namespace

int RunServe(const QStringList& arguments, QTextStream& out, ConsoleUi& ui, QString& problem) {
    const auto call = ParseLive(arguments, true, problem);
    if (!call) {
        return kCliUsageError;
    }
    ResultTable table;
    if (!LoadInput(table, call->input, ui)) {
        return kCliFileError;
    }
    LiveServer server;
    LiveFeed feed(table, [&server](const QByteArray& json) { server.SetResults(json); });
    feed.SetOptions(call->options);
    QString error;
    if (!server.Start(call->bind, call->port, &error)) {
        ui.MessageBox(error, u"Vastrel"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        return kCliFileError;
    }
    out << u"Live-Ergebnisse von \"%1\" unter %2 (Strg+C beendet)\n"_s.arg(call->input,
                                                                           server.Addresses().join(u" "_s));
    out.flush();
    // The file is looked at every second (a program that saves may replace it under a new inode);
    // a server competition is read anew as often. What did not read keeps what was shown.
    QDateTime lastModified = QFileInfo(call->input).lastModified();
    qint64 lastSize = QFileInfo(call->input).size();
    QTimer follow;
    QObject::connect(&follow, &QTimer::timeout, [&] {
        if (!IsServerAddress(call->input)) {
            const QFileInfo file(call->input);
            if (file.lastModified() == lastModified && file.size() == lastSize) {
                return;
            }
            lastModified = file.lastModified();
            lastSize = file.size();
        }
        ResultTable fresh;
        if (LoadInput(fresh, call->input, ui)) {
            table.Replace(fresh.Data());
        }
    });
    follow.start(1000);
    return QCoreApplication::exec() == 0 ? kCliOk : kCliFileError;
}

int RunPublish(const QStringList& arguments, ConsoleUi& ui, QString& problem) {
    const auto call = ParseLive(arguments, false, problem);
    if (!call) {
        return kCliUsageError;
    }
    ResultTable table;
    if (!LoadInput(table, call->input, ui)) {
        return kCliFileError;
    }
    QString error;
    if (!WriteLiveFiles(call->folder, LiveResultsJson(table, call->options, QDateTime::currentDateTime()),
                        &error)) {
        ui.MessageBox(error, u"Vastrel"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        return kCliFileError;
    }
    return ui.MessageCount() > 0 ? kCliMessagesShown : kCliOk;
}

} // namespace vastrel
