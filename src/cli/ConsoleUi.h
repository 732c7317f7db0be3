#pragma once

#include "app/Ui.h"

#include <QTextStream>

namespace vastrel {

// The Ui of the command-line tool: every message box becomes one line "TITLE: TEXT" on the
// error stream (line breaks inside the text as " / ") and is answered with OK or Yes.
class ConsoleUi : public Ui {
public:
    explicit ConsoleUi(QTextStream& errors) : errors_(errors) {}

    int MessageCount() const { return messages_; }

    MessageAnswer MessageBox(const QString& text, const QString& title, MessageButtons buttons,
                             MessageIcon icon) override;
    std::optional<QString> InputBox(const QString&, const QString&, const QString& defaultText) override {
        return defaultText;
    }
    FileDialogResult OpenFileDialog(const FileDialogRequest&) override { return {}; }
    FileDialogResult SaveFileDialog(const FileDialogRequest&) override { return {}; }
    void SetStatusText(const QString&, const QString&) override {}
    void SetBusy(bool) override {}
    void ProcessPendingEvents() override {}
    // Column widths do not reach the output; any steady measure will do.
    double TextWidthTwips(const QString& text) override { return text.size() * 100.0; }
    void ShowReport(const QString&) override {}

private:
    QTextStream& errors_;
    int messages_ = 0;
};

} // namespace vastrel
