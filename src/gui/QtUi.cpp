#include "gui/QtUi.h"

#include "gui/BusyInputGuard.h"
#include "gui/FolderBox.h"
#include "gui/LiveResultsDialog.h"
#include "gui/ReportPreview.h"
#include "gui/ServerLoginDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::YesNo:
    case MessageButtons::YesNoDefaultNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

FileDialogResult RunFileDialog(QWidget* parent, const FileDialogRequest& request,
                               QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.title, request.initialFolder);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                       : request.several               ? QFileDialog::ExistingFiles
                                                       : QFileDialog::ExistingFile);
    const QStringList filters = ToQtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    // A typed name without extension gets the chosen filter's, so the overwrite question is
    // asked about the file that will really be written.
    const auto suffixOf = [](const QString& filter) {
        const qsizetype dot = filter.lastIndexOf(u"*."_s);
        return dot < 0 ? QString() : filter.mid(dot + 2).section(u')', 0, 0).section(u' ', 0, 0);
    };
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog, suffixOf](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size()) {
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
        dialog.setDefaultSuffix(suffixOf(filters.at(request.filterIndex - 1)));
    }
    if (!request.fileName.isEmpty()) {
        dialog.selectFile(request.fileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    const QStringList chosen = dialog.selectedFiles();
    return {chosen.constFirst(), static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1,
            chosen.mid(1)};
}

// A status panel that shows a long text (a path) shortened in the middle, whole as its tool tip.
class StatusPanelLabel : public QLabel {
public:
    StatusPanelLabel(const QString& text, bool shrinks, QWidget* parent)
        : QLabel(text, parent), shrinks_(shrinks) {
        setContentsMargins(4, 0, 4, 0);
    }
    QSize minimumSizeHint() const override {
        const QSize whole = QLabel::minimumSizeHint();
        return shrinks_ ? QSize(24, whole.height()) : whole;
    }

private:
    bool shrinks_;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect room = contentsRect();
        painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(text(), Qt::ElideMiddle, room.width()));
    }
};

} // namespace

QStringList ToQtNameFilters(const QString& filter) {
    const QStringList pieces = filter.split(u'|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < pieces.size(); i += 2) {
        const QString& description = pieces.at(i);
        const QString& pattern = pieces.at(i + 1);
        result << (description.contains(u'(') ? description : description + u" ("_s + pattern + u')');
    }
    return result;
}

QtUi::QtUi(QWidget* window, QStatusBar* statusBar, Ui* dialogs)
    : window_(window), statusBar_(statusBar), dialogs_(dialogs) {}

QtUi::~QtUi() = default;

MessageAnswer QtUi::MessageBox(const QString& text, const QString& title, MessageButtons buttons,
                               MessageIcon icon) {
    if (dialogs_) {
        return dialogs_->MessageBox(text, title, buttons, icon);
    }
    QMessageBox box(ToQtIcon(icon), title, QString(text).replace(u"\r\n"_s, u"\n"_s), ToQtButtons(buttons),
                    window_);
    if (buttons != MessageButtons::Ok) {
        box.setDefaultButton(buttons == MessageButtons::YesNoDefaultNo ? QMessageBox::No : QMessageBox::Yes);
        // Esc or the close button means neither Yes nor No: a hidden Cancel takes them, so that
        // no question is answered No by a key meant to get out of the box.
        if (buttons != MessageButtons::YesNoCancel) {
            QAbstractButton* cancel = box.addButton(QMessageBox::Cancel);
            cancel->hide();
            box.setEscapeButton(cancel);
        }
    }
    // German captions even where Qt's own translations are not installed.
    for (const auto& [button, caption] :
         {std::pair{QMessageBox::Yes, u"&Ja"_s}, std::pair{QMessageBox::No, u"&Nein"_s},
          std::pair{QMessageBox::Cancel, u"Abbrechen"_s}, std::pair{QMessageBox::Ok, u"OK"_s}}) {
        if (QAbstractButton* b = box.button(button)) {
            b->setText(caption);
        }
    }
    // While the program is busy the pointer is an hourglass; over a question it is an arrow.
    if (busy_) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    const int answer = box.exec();
    if (busy_) {
        QApplication::restoreOverrideCursor();
    }
    switch (answer) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    default:
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
}

std::optional<QString> QtUi::InputBox(const QString& prompt, const QString& title,
                                      const QString& defaultText) {
    if (dialogs_) {
        return dialogs_->InputBox(prompt, title, defaultText);
    }
    bool ok = false;
    const QString text = QInputDialog::getText(window_, title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}

std::optional<ServerLogin> QtUi::ServerLoginBox(const ServerLogin& given) {
    if (dialogs_) {
        return dialogs_->ServerLoginBox(given);
    }
    return RunServerLoginDialog(window_, given);
}

void QtUi::ShowLiveResults(const QStringList& addresses) {
    if (dialogs_) {
        dialogs_->ShowLiveResults(addresses);
        return;
    }
    ShowLiveResultsDialog(window_, addresses);
}

std::optional<int> QtUi::ChooseBox(const QString& prompt, const QString& title, const QStringList& items,
                                   int preset) {
    if (dialogs_) {
        return dialogs_->ChooseBox(prompt, title, items, preset);
    }
    bool ok = false;
    const QString chosen = QInputDialog::getItem(window_, title, prompt, items, preset, false, &ok);
    return ok ? std::optional<int>(static_cast<int>(items.indexOf(chosen))) : std::nullopt;
}

FileDialogResult QtUi::OpenFileDialog(const FileDialogRequest& request) {
    if (dialogs_) {
        return dialogs_->OpenFileDialog(request);
    }
    return RunFileDialog(window_, request, QFileDialog::AcceptOpen);
}

FileDialogResult QtUi::SaveFileDialog(const FileDialogRequest& request) {
    if (dialogs_) {
        return dialogs_->SaveFileDialog(request);
    }
    return RunFileDialog(window_, request, QFileDialog::AcceptSave);
}

void QtUi::AddStatusPanel(StatusPanel panel, const QString& text) {
    auto* label = new StatusPanelLabel(text, panel == StatusPanel::File, statusBar_);
    label->setObjectName(u"statusPanel"_s + QString::number(static_cast<int>(panel)));
    // The file's path gets the most room, the progress the next; an empty panel takes none.
    const int stretch = panel == StatusPanel::File ? 3 : panel == StatusPanel::Progress ? 2 : 0;
    statusBar_->addWidget(label, stretch);
    panels_.insert(panel, label);
    SetStatusText(panel, text);
}

void QtUi::SetStatusText(StatusPanel panel, const QString& text) {
    if (QLabel* label = panels_.value(panel)) {
        label->setText(text);
        label->setToolTip(text.trimmed());
        label->setVisible(!text.isEmpty());
    }
}

QString QtUi::StatusText(StatusPanel panel) const {
    const QLabel* label = panels_.value(panel);
    return label ? label->text() : QString();
}

void QtUi::SetBusy(bool busy) {
    if (busy == busy_) {
        return;
    }
    busy_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        sinceEvents_.invalidate(); // a run's first turn of the event loop shows its start
        inputGuard_ = std::make_unique<BusyInputGuard>(window_);
    } else {
        inputGuard_.reset();
        QApplication::restoreOverrideCursor();
    }
}

void QtUi::ProcessPendingEvents() {
    // A long run asks every tenth row; a few thousand turns of the event loop would cost as much
    // as the run itself. While busy, forty turns a second keep the progress text moving.
    if (busy_ && sinceEvents_.isValid() && sinceEvents_.elapsed() < kBusyEventIntervalMs) {
        return;
    }
    QCoreApplication::processEvents();
    sinceEvents_.start();
}

double QtUi::TextWidthTwips(const QString& text) {
    const QFontMetricsF metrics(window_->font(), window_);
    const double dpi = window_->logicalDpiX() > 0 ? window_->logicalDpiX() : 96.0;
    return metrics.horizontalAdvance(text) * 1440.0 / dpi;
}

} // namespace vastrel

namespace vastrel {

void QtUi::ShowReport(const QString& htmlPath) {
    if (dialogs_) {
        dialogs_->ShowReport(htmlPath);
        return;
    }
    // The pages are drawn before the preview shows: the status bar says what is coming.
    const QString before = StatusText(StatusPanel::Progress);
    SetStatusText(StatusPanel::Progress, u"Druckvorschau wird aufgebaut …  "_s);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    ShowReportPreview(window_, htmlPath);
    SetStatusText(StatusPanel::Progress, before);
}

std::optional<QString> QtUi::FolderBox(const QString& prompt, const QString& title,
                                       const QString& defaultFolder) {
    if (dialogs_) {
        return dialogs_->FolderBox(prompt, title, defaultFolder);
    }
    return RunFolderBox(window_, prompt, title, defaultFolder);
}

void QtUi::ShowWritten(const QString& text, const QString& folder) {
    if (dialogs_) {
        dialogs_->ShowWritten(text, folder);
        return;
    }
    QMessageBox box(QMessageBox::Information, u"Vastrel"_s, text, QMessageBox::Ok, window_);
    box.setObjectName(u"writtenBox"_s);
    QAbstractButton* open =
        folder.isEmpty() ? nullptr : box.addButton(u"&Ordner öffnen"_s, QMessageBox::ActionRole);
    box.exec();
    if (open && box.clickedButton() == open) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    }
}

} // namespace vastrel
