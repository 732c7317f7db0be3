#pragma once

#include "ports/Ui.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace vastrel::testing {

struct RecordedBox {
    QString text;
    QString title;
    MessageButtons buttons;
    MessageIcon icon;
};

// A Ui that records every box in order and answers from a script. A box the test did not
// script fails the test; so does a scripted answer that was never asked for.
class ScriptedUi : public Ui {
public:
    ~ScriptedUi() override;

    // Scripts the answer to the next message box.
    ScriptedUi& AnswerBox(MessageAnswer answer = MessageAnswer::Ok);
    ScriptedUi& AnswerBoxes(int count, MessageAnswer answer = MessageAnswer::Ok);
    ScriptedUi& AnswerInput(std::optional<QString> text);
    ScriptedUi& AnswerFileDialog(FileDialogResult result);
    ScriptedUi& AnswerServerLogin(std::optional<ServerLogin> login);
    ScriptedUi& AnswerChoice(std::optional<int> item);
    // What the login dialogs were given, and the items each choice showed.
    const std::vector<ServerLogin>& LoginsShown() const { return loginsShown_; }
    const std::vector<QStringList>& ChoicesShown() const { return choicesShown_; }
    const std::vector<int>& PresetsShown() const { return presetsShown_; }

    // Called as each message box appears, before it is answered: lets a test look at the
    // window while the box is up.
    void OnBox(std::function<void(const RecordedBox&)> observer) { onBox_ = std::move(observer); }

    const std::vector<RecordedBox>& Boxes() const { return boxes_; }
    QStringList BoxTexts() const;
    const std::vector<FileDialogRequest>& FileDialogs() const { return fileDialogs_; }
    const std::vector<QStringList>& LiveResultsShown() const { return liveShown_; }
    QString StatusText(StatusPanel panel) const { return status_.value(panel); }
    const QStringList& StatusHistory(StatusPanel panel) const;
    bool Busy() const { return busy_; }
    int BusyChanges() const { return busyChanges_; }
    int EventsProcessed() const { return eventsProcessed_; }
    // Twips per character of the deterministic text measure.
    static constexpr double kTwipsPerCharacter = 101.0;

    MessageAnswer MessageBox(const QString& text, const QString& title, MessageButtons buttons,
                             MessageIcon icon) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    FileDialogResult OpenFileDialog(const FileDialogRequest& request) override;
    void ShowLiveResults(const QStringList& addresses) override { liveShown_.push_back(addresses); }
    FileDialogResult SaveFileDialog(const FileDialogRequest& request) override;
    std::optional<ServerLogin> ServerLoginBox(const ServerLogin& given) override;
    std::optional<int> ChooseBox(const QString& prompt, const QString& title, const QStringList& items,
                                 int preset = 0) override;
    void SetStatusText(StatusPanel panel, const QString& text) override;
    void SetBusy(bool busy) override;
    void ProcessPendingEvents() override { ++eventsProcessed_; }
    double TextWidthTwips(const QString& text) override { return text.size() * kTwipsPerCharacter; }
    void ShowReport(const QString& htmlPath) override { reports_.push_back(htmlPath); }
    // What an output said it wrote, and the folder it offered to open.
    void ShowWritten(const QString& text, const QString& folder) override {
        written_.push_back({text, folder});
    }
    const std::vector<std::pair<QString, QString>>& WrittenNotices() const { return written_; }
    const QStringList& ShownReports() const { return reports_; }

private:
    FileDialogResult NextFileDialog(const FileDialogRequest& request);
    std::vector<std::pair<QString, QString>> written_;

    std::function<void(const RecordedBox&)> onBox_;
    std::deque<MessageAnswer> answers_;
    struct ScriptedInput {
        bool cancelled;
        QString text;
    };
    std::deque<ScriptedInput> inputs_;
    std::deque<FileDialogResult> fileResults_;
    std::deque<std::pair<bool, ServerLogin>> logins_; // cancelled, or the login
    std::deque<std::optional<int>> choices_;
    std::vector<ServerLogin> loginsShown_;
    std::vector<QStringList> choicesShown_;
    std::vector<int> presetsShown_;
    std::vector<RecordedBox> boxes_;
    std::vector<FileDialogRequest> fileDialogs_;
    std::vector<QStringList> liveShown_;
    QHash<StatusPanel, QString> status_;
    QHash<StatusPanel, QStringList> statusHistory_;
    QStringList reports_;
    bool busy_ = false;
    int busyChanges_ = 0;
    int eventsProcessed_ = 0;
};

} // namespace vastrel::testing
