#include "ScriptedUi.h"

#include <gtest/gtest.h>

namespace vastrel::testing {

ScriptedUi::~ScriptedUi() {
    EXPECT_TRUE(answers_.empty()) << answers_.size() << " scripted message box answer(s) never asked for";
    EXPECT_TRUE(inputs_.empty()) << inputs_.size() << " scripted input box answer(s) never asked for";
    EXPECT_TRUE(fileResults_.empty()) << fileResults_.size() << " scripted file dialog(s) never shown";
    EXPECT_TRUE(logins_.empty()) << logins_.size() << " scripted server login(s) never shown";
    EXPECT_TRUE(choices_.empty()) << choices_.size() << " scripted choice(s) never shown";
}

ScriptedUi& ScriptedUi::AnswerServerLogin(std::optional<ServerLogin> login) {
    logins_.emplace_back(!login.has_value(), login.value_or(ServerLogin()));
    return *this;
}

ScriptedUi& ScriptedUi::AnswerChoice(std::optional<int> item) {
    choices_.push_back(item);
    return *this;
}

std::optional<ServerLogin> ScriptedUi::ServerLoginBox(const ServerLogin& given) {
    loginsShown_.push_back(given);
    if (logins_.empty()) {
        ADD_FAILURE() << "unexpected server login";
        return std::nullopt;
    }
    const auto [cancelled, login] = logins_.front();
    logins_.pop_front();
    if (cancelled) {
        return std::nullopt;
    }
    return login;
}

std::optional<int> ScriptedUi::ChooseBox(const QString& prompt, const QString&, const QStringList& items,
                                         int preset) {
    choicesShown_.push_back(items);
    presetsShown_.push_back(preset);
    if (choices_.empty()) {
        ADD_FAILURE() << "unexpected choice \"" << prompt.toStdString() << '"';
        return std::nullopt;
    }
    auto answer = choices_.front();
    choices_.pop_front();
    return answer;
}

ScriptedUi& ScriptedUi::AnswerBox(MessageAnswer answer) {
    answers_.push_back(answer);
    return *this;
}

ScriptedUi& ScriptedUi::AnswerBoxes(int count, MessageAnswer answer) {
    for (int i = 0; i < count; ++i) {
        answers_.push_back(answer);
    }
    return *this;
}

ScriptedUi& ScriptedUi::AnswerInput(std::optional<QString> text) {
    inputs_.push_back({!text.has_value(), text.value_or(QString())});
    return *this;
}

ScriptedUi& ScriptedUi::AnswerFileDialog(FileDialogResult result) {
    fileResults_.push_back(std::move(result));
    return *this;
}

QStringList ScriptedUi::BoxTexts() const {
    QStringList texts;
    for (const RecordedBox& box : boxes_) {
        texts << box.text;
    }
    return texts;
}

const QStringList& ScriptedUi::StatusHistory(StatusPanel panel) const {
    static const QStringList none;
    const auto it = statusHistory_.constFind(panel);
    return it == statusHistory_.cend() ? none : it.value();
}

MessageAnswer ScriptedUi::MessageBox(const QString& text, const QString& title, MessageButtons buttons,
                                     MessageIcon icon) {
    boxes_.push_back({text, title, buttons, icon});
    if (onBox_) {
        onBox_(boxes_.back());
    }
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected message box \"" << text.toStdString() << "\" titled \""
                      << title.toStdString() << '"';
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<QString> ScriptedUi::InputBox(const QString& prompt, const QString& title, const QString&) {
    if (inputs_.empty()) {
        ADD_FAILURE() << "unexpected input box \"" << prompt.toStdString() << "\" titled \""
                      << title.toStdString() << '"';
        return std::nullopt;
    }
    const ScriptedInput answer = inputs_.front();
    inputs_.pop_front();
    if (answer.cancelled) {
        return std::nullopt;
    }
    return answer.text;
}

FileDialogResult ScriptedUi::NextFileDialog(const FileDialogRequest& request) {
    fileDialogs_.push_back(request);
    if (fileResults_.empty()) {
        ADD_FAILURE() << "unexpected file dialog \"" << request.title.toStdString() << '"';
        return {};
    }
    auto result = fileResults_.front();
    fileResults_.pop_front();
    return result;
}

FileDialogResult ScriptedUi::OpenFileDialog(const FileDialogRequest& request) {
    return NextFileDialog(request);
}

FileDialogResult ScriptedUi::SaveFileDialog(const FileDialogRequest& request) {
    return NextFileDialog(request);
}

void ScriptedUi::SetStatusText(StatusPanel panel, const QString& text) {
    status_.insert(panel, text);
    statusHistory_[panel] << text;
}

void ScriptedUi::SetBusy(bool busy) {
    if (busy != busy_) {
        ++busyChanges_;
    }
    busy_ = busy;
}

} // namespace vastrel::testing
