#pragma once

#include "ports/Ui.h"

#include <QElapsedTimer>
#include <QHash>

#include <memory>

class QLabel;
class QStatusBar;
class QWidget;

namespace vastrel {

class BusyInputGuard;

// The Ui port on real widgets: Qt message, input and file dialogs, the status bar's panels.
class QtUi : public Ui {
public:
    // Message, input and file dialogs go to `dialogs` when given (tests answer them there).
    QtUi(QWidget* window, QStatusBar* statusBar, Ui* dialogs = nullptr);
    ~QtUi() override;

    MessageAnswer MessageBox(const QString& text, const QString& title, MessageButtons buttons,
                             MessageIcon icon) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    FileDialogResult OpenFileDialog(const FileDialogRequest& request) override;
    FileDialogResult SaveFileDialog(const FileDialogRequest& request) override;
    void SetStatusText(StatusPanel panel, const QString& text) override;
    void SetBusy(bool busy) override;
    void ProcessPendingEvents() override;
    double TextWidthTwips(const QString& text) override;
    void ShowReport(const QString& htmlPath) override;
    std::optional<ServerLogin> ServerLoginBox(const ServerLogin& given) override;
    void ShowLiveResults(const QStringList& addresses) override;
    std::optional<int> ChooseBox(const QString& prompt, const QString& title, const QStringList& items,
                                 int preset = 0) override;
    std::optional<QString> FolderBox(const QString& prompt, const QString& title,
                                     const QString& defaultFolder) override;
    void ShowWritten(const QString& text, const QString& folder) override;

    // Adds a status panel; panels keep the order they were added in.
    void AddStatusPanel(StatusPanel panel, const QString& text);
    QString StatusText(StatusPanel panel) const;

private:
    QWidget* window_;
    QStatusBar* statusBar_;
    Ui* dialogs_;
    QHash<StatusPanel, QLabel*> panels_;
    bool busy_ = false;
    std::unique_ptr<BusyInputGuard> inputGuard_; // while busy
    QElapsedTimer sinceEvents_;
    static constexpr qint64 kBusyEventIntervalMs = 25;
};

// "desc|pattern|desc|pattern|" as Qt name filters, "desc (pattern)" each.
QStringList ToQtNameFilters(const QString& filter);

} // namespace vastrel
