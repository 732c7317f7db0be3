#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace vastrel {

// Yes is the default button, except in YesNoDefaultNo: the questions that destroy data.
enum class MessageButtons { Ok, YesNo, YesNoCancel, YesNoDefaultNo };
enum class MessageIcon { None, Exclamation, Question, Information, Critical };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// The five panels of the status bar, keyed "1" to "5".
enum class StatusPanel { Status = 1, File = 2, Progress = 3, Four = 4, Five = 5 };

struct FileDialogRequest {
    FileDialogRequest() = default;
    FileDialogRequest(QString title, QString filter, int filterIndex, QString initialFolder, QString fileName,
                      bool several = false)
        : title(std::move(title)), filter(std::move(filter)), filterIndex(filterIndex),
          initialFolder(std::move(initialFolder)), fileName(std::move(fileName)), several(several) {}
    QString title;
    QString filter;      // "desc|pattern|desc|pattern|"
    int filterIndex = 1; // preselected filter, from 1
    QString initialFolder;
    QString fileName;
    bool several = false; // an open dialog that lets more than one file be chosen
};

struct FileDialogResult {
    FileDialogResult() = default;
    FileDialogResult(QString path, int filterIndex, QStringList more = {})
        : path(std::move(path)), filterIndex(filterIndex), more(std::move(more)) {}
    QString path;        // empty when cancelled; the first where several were chosen
    int filterIndex = 0; // the chosen filter, from 1
    QStringList more;    // the others chosen, where several could be
};

// What "Server verbinden …" asks for. The password is typed each time, never kept.
struct ServerLogin {
    QString host;
    int port = 5432;
    QString database;
    QString user;
    QString password;
    QString station; // the name the change log gives this station's changes
};

// Everything the commands need from the screen. The window implements it with Qt dialogs and
// the status bar; tests use a scripted fake that records every box and answers from a queue.
class Ui {
public:
    virtual ~Ui() = default;

    // Line breaks inside the text are CR LF. Esc or closing a question box answers Cancel, which
    // every question takes as "do nothing".
    virtual MessageAnswer MessageBox(const QString& text, const QString& title, MessageButtons buttons,
                                     MessageIcon icon) = 0;
    // The entered text, or nothing when cancelled.
    virtual std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
    // A folder, typed or chosen from the folders (the default text as a start); nothing when
    // cancelled. Without a chooser of its own it is the input box.
    virtual std::optional<QString> FolderBox(const QString& prompt, const QString& title,
                                             const QString& defaultFolder) {
        return InputBox(prompt, title, defaultFolder);
    }
    virtual FileDialogResult OpenFileDialog(const FileDialogRequest& request) = 0;
    // The server's address, the user and the station's name, from the values given; nothing when
    // cancelled. Without a dialog of its own nothing is entered.
    virtual std::optional<ServerLogin> ServerLoginBox(const ServerLogin& /*given*/) { return std::nullopt; }
    // One of the items (its place, from 0; `preset` offered first), or nothing when cancelled.
    virtual std::optional<int> ChooseBox(const QString& /*prompt*/, const QString& /*title*/,
                                         const QStringList& /*items*/, int /*preset*/ = 0) {
        return std::nullopt;
    }
    // Asks before overwriting an existing file.
    virtual FileDialogResult SaveFileDialog(const FileDialogRequest& request) = 0;

    // Status texts end in two blanks.
    virtual void SetStatusText(StatusPanel panel, const QString& text) = 0;
    // Hourglass pointer and input blocked while set.
    virtual void SetBusy(bool busy) = 0;
    virtual void ProcessPendingEvents() = 0;
    // Width of the text in the window's font, in twips.
    virtual double TextWidthTwips(const QString& text) = 0;
    // Says what an output wrote, with a way to open the folder it went to (none when empty).
    // Where there is no screen to show it on, it goes nowhere.
    virtual void ShowWritten(const QString& /*text*/, const QString& /*folder*/) {}
    // Shows where the live results are (the first address also as a QR code to scan or print).
    virtual void ShowLiveResults(const QStringList& /*addresses*/) {}
    // Presents a written report page for printing (a print preview on screen).
    virtual void ShowReport(const QString& htmlPath) = 0;
};

} // namespace vastrel
