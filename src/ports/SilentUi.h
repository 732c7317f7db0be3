#pragma once

#include "ports/Ui.h"

namespace vastrel {

// A Ui without a screen, for the command-line tool and the benchmarks: every box is answered
// with OK or Yes, the input box with its default, the file dialogs as cancelled; status texts,
// busy state and events go nowhere. Column widths never reach a file: one steady measure.
class SilentUi : public Ui {
public:
    MessageAnswer MessageBox(const QString& text, const QString& title, MessageButtons buttons,
                             MessageIcon icon) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    FileDialogResult OpenFileDialog(const FileDialogRequest&) override { return {}; }
    FileDialogResult SaveFileDialog(const FileDialogRequest&) override { return {}; }
    void SetStatusText(StatusPanel, const QString&) override {}
    void SetBusy(bool) override {}
    void ProcessPendingEvents() override {}
    double TextWidthTwips(const QString& text) override { return text.size() * 100.0; }
    void ShowReport(const QString&) override {}
};

} // namespace vastrel
