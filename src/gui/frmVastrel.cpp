#include "gui/frmVastrel.h"

#include "app/CertificateCommand.h"
#include "app/ClipboardCommands.h"
#include "app/CommandKeys.h"
#include "app/DecimalSeparatorCheck.h"
#include "app/ProgramInfo.h"
#include "app/UserSettings.h"
#include "app/WindowLayout.h"
#include "gui/FormInfo.h"
#include "gui/QtToolbar.h"
#include "gui/QtUi.h"
#include "gui/ResultGrid.h"
#include "gui/ResultTableModel.h"
#include "gui/RowMenu.h"
#include "gui/Twips.h"
#include "system/DecimalSeparator.h"
#include "table/ColumnModel.h"

#include <QAbstractItemModel>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTableView>
#include <QThread>

#include <optional>

using namespace Qt::StringLiterals;

namespace vastrel {

frmVastrel::frmVastrel(const WindowServices& services, QWidget* parent)
    : QMainWindow(parent), recovery_(services.places.recoveryFolder) {
    setObjectName(u"frmVastrel"_s);
    if (!services.remembered) {
        ownSettings_ = std::make_unique<UserSettings>();
    }
    remembered_ = services.remembered ? services.remembered : ownSettings_.get();
    toolbar_ = new QtToolbar(this);
    addToolBar(Qt::TopToolBarArea, toolbar_);
    setCentralWidget(new QWidget(this));
    grid_ = new ResultGrid(table_, view_, centralWidget());
    ui_ = std::make_unique<QtUi>(this, statusBar(), services.dialogs);
    scorer_ = std::make_unique<Scorer>(table_, *ui_, &view_);
    commands_ = std::make_unique<CommandDispatcher>(view_, *scorer_, *ui_, *toolbar_, state_, services.places,
                                                    this, remembered_, &pdf_, &undo_);
    gridCommands_ = std::make_unique<GridCommands>(view_, *scorer_, *ui_, state_, *this, &undo_);
    undo_.OnChange([this] {
        ShowFileInTitle();
        ScheduleAutosave();
    });
    autosave_.setSingleShot(true);
    autosave_.setInterval(services.autosaveMilliseconds);
    connect(&autosave_, &QTimer::timeout, this, &frmVastrel::Autosave);
    // The menu items' shortcuts work wherever the window has the focus, menus closed; F10 goes to
    // the toolbar, from where the arrow keys and the space bar reach every menu.
    addActions(toolbar_->ShortcutItems());
    auto* toToolbar = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(toToolbar, &QShortcut::activated, this, [this] {
        toolbar_->Button(QString::fromUtf16(keys::kDatabase))->setFocus(Qt::ShortcutFocusReason);
    });

    connect(toolbar_, &QtToolbar::ButtonClicked, this,
            [this](const QString& key) { commands_->ButtonClick(key); });
    connect(toolbar_, &QtToolbar::MenuItemClicked, this, [this](int index, const QString& key) {
        commands_->MenuItemClick(index, key);
        grid_->RevealCurrentRow();
    });
    connect(grid_, &ResultGrid::ColumnShownChosen, this,
            [this](int column, bool shown) { commands_->ShowColumn(column, shown); });
    connect(toolbar_, &QtToolbar::MenuOpening, this, [this] { commands_->ToolbarNotice(); });
    StationSync& sync = commands_->Station().Sync();
    grid_->Model()->ShowWaiting([&sync](RowId id, int column) { return sync.Waits(id, column); });
    sync.OnWaitingChanged([this] { grid_->RepaintCells(); });
    connect(grid_->Model(), &ResultTableModel::CellEdited, this,
            [this](int row, int column, const QString& text) { gridCommands_->EditCell(row, column, text); });
    connect(grid_, &ResultGrid::CaptionClicked, this, [this] { gridCommands_->CaptionClick(); });
    connect(grid_, &ResultGrid::PasteRequested, this, [this](int row, int column) {
        gridCommands_->Paste(row, column, QGuiApplication::clipboard()->text());
    });
    connect(grid_, &ResultGrid::CopyRequested, this, [this](int row, const QList<int>& columns) {
        QGuiApplication::clipboard()->setText(columns.isEmpty() ? CopiedRows(view_)
                                                                : CopiedCells(view_, row, columns));
    });
    connect(grid_, &ResultGrid::AppendRowRequested, this,
            [this] { toolbar_->Item(QString::fromUtf16(keys::kAppendRow))->trigger(); });
    connect(grid_, &ResultGrid::LockedCellTyped, this,
            [this](int column) { gridCommands_->LockedCellTyped(column); });
    connect(grid_, &ResultGrid::HeaderClicked, this,
            [this](int column) { gridCommands_->HeaderClick(column); });
    connect(grid_, &ResultGrid::SearchRequested, this, [this](const QString& text) {
        int number = 0; // the search row spans every visible column
        gridCommands_->SearchRequest(text, number);
    });
    connect(grid_, &ResultGrid::CellMouseUp, this,
            [this](int button, int row) { gridCommands_->CellMouseUp(button, row); });
    rowMenu_ =
        new RowMenu([this] { commands_->RowMenuItemClick(0); }, [this] { commands_->RowMenuItemClick(2); },
                    [this] { commands_->RowMenuItemClick(4); }, this);
    connect(grid_, &ResultGrid::DeleteKeyPressed, this, [this] { commands_->RowMenuItemClick(0); });
    connect(grid_, &ResultGrid::CellsClearRequested, this,
            [this](int row, const QList<int>& columns) { gridCommands_->ClearCells(row, columns); });
    connect(grid_, &ResultGrid::MenuKeyPressed, this, [this](const QPoint& pos) {
        rowMenuAnchor_ = pos;
        gridCommands_->CellMouseUp(2, view_.CurrentRow());
        rowMenuAnchor_.reset();
    });
    // A save or an open names another file; undo tells whether changes are not saved.
    LoadWindow(services.regional);
}

void frmVastrel::ScheduleAutosave() {
    if (undo_.IsClean()) {
        autosave_.stop();
        if (!writing_) {
            recovery_.Discard(); // saved: nothing to recover
        }
    } else if (!autosave_.isActive()) {
        autosave_.start(); // at most one write in the interval, whatever is typed meanwhile
    }
}

void frmVastrel::Autosave() {
    if (writing_) {
        autosave_.start(); // the last one is still being written
        return;
    }
    // A copy to write from: typing goes on while the thread writes.
    std::shared_ptr<const ResultTable> copy = table_.Copy();
    auto failure = std::make_shared<std::optional<QString>>(); // the thread's, until it is finished
    writing_ = QThread::create([copy, ownFile = state_.openedFile, recovery = recovery_, failure] {
        QString error;
        if (!recovery.Write(*copy, ownFile, &error)) {
            *failure = error;
        }
    });
    connect(writing_, &QThread::finished, this, [this, failure] {
        writing_->deleteLater();
        writing_ = nullptr;
        if (undo_.IsClean()) {
            recovery_.Discard(); // saved while it was written
        }
        // Said once; the next change tries again.
        if (*failure && !autosaveFailed_) {
            ui_->SetStatusText(StatusPanel::Status,
                               u"Die automatische Sicherung ist fehlgeschlagen: "_s + **failure);
        }
        autosaveFailed_ = failure->has_value();
    });
    writing_->start();
}

void frmVastrel::EndRecovery() {
    autosave_.stop();
    if (writing_) {
        writing_->wait();
    }
    recovery_.Discard();
}

void frmVastrel::OfferRecovery() {
    recovery_.RemoveLeftovers();
    const auto found = recovery_.Pending();
    if (!found) {
        return;
    }
    if (ui_->MessageBox(RecoveryQuestion(*found), u"Vastrel"_s, MessageButtons::YesNo,
                        MessageIcon::Question) != MessageAnswer::Yes) {
        recovery_.KeepAside();
        return;
    }
    {
        // A step of its own: the start table stays the saved state, the recovered one is not.
        UndoStep step(&undo_, u"Wiederherstellen"_s);
        QString error;
        if (!recovery_.Restore(table_, &error)) {
            ui_->MessageBox(error, u"Vastrel"_s, MessageButtons::Ok, MessageIcon::Exclamation);
            return;
        }
    }
    state_.openedFile = found->ownFile;
    view_.SetCurrentRow(1);
    grid_->RevealCurrentRow();
    ShowFileInTitle();
}

void frmVastrel::OpenAtStart(const QString& path) {
    commands_->OpenFile(path);
    grid_->RevealCurrentRow();
    ShowFileInTitle();
}

void frmVastrel::ShowFileInTitle() {
    const QString shown =
        !state_.onServer.isEmpty() ? state_.onServer : QFileInfo(state_.openedFile).fileName();
    const QString title =
        shown.isEmpty() ? MainWindowTitle() + u"[*]"_s : shown + u"[*] – "_s + MainWindowTitle();
    if (windowTitle() != title) {
        setWindowTitle(title);
    }
    setWindowModified(!undo_.IsClean());
}

frmVastrel::~frmVastrel() {
    if (writing_) {
        writing_->wait();
        delete writing_; // its own clean-up would have come through the event loop
    }
    // The grid reads the table until it is gone; the table is a member and goes first otherwise.
    delete grid_;
}

void frmVastrel::LoadWindow(RegionalSettings* regional) {
    // Without a window manager "maximised" means nothing; the screen's size does the same.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(screen->availableGeometry());
    }
    setWindowState(Qt::WindowMaximized);
    setWindowTitle(MainWindowTitle());
    table_.SetCaption(u"Vastrel"_s);
    state_.baseCaption = table_.Caption();

    std::unique_ptr<RegionalSettings> platform;
    if (!regional) {
        platform = CreatePlatformRegionalSettings();
        regional = platform.get();
    }
    CheckDecimalSeparator(*regional, *ui_, *remembered_); // its message comes before the window

    table_.SetLayoutValue(56);
    state_.certificateTemplate = u"\\Urkunde.rtf"_s;
    for (StatusPanel panel : {StatusPanel::Status, StatusPanel::File, StatusPanel::Progress,
                              StatusPanel::Four, StatusPanel::Five}) {
        ui_->AddStatusPanel(panel, panel == StatusPanel::Status ? u"Status  "_s : QString());
    }
    statusBar()->setFixedHeight(TwipsToPixels(this, kStatusBarHeightTwips));
    // The points coefficients are the scorer's, complete since it was made.
    DefineColumns(table_, [this](const QString& text) { return ui_->TextWidthTwips(text); });
    AppendEmptyRow(table_, view_);
    toolbar_->SetItemChecked(QString::fromUtf16(keys::kShortPrint), true);
    state_.certificatesPdf = remembered_->Value(kCertificatesPdfSetting) == u"1";
    toolbar_->SetItemChecked(QString::fromUtf16(keys::kCertificatePdf), state_.certificatesPdf);
    state_.shortPrint = true;
    ShowFileInTitle();
}

void frmVastrel::ShowAbout() {
    FormInfo about(this, state_.stations);
    about.exec();
}

void frmVastrel::PopUpRowMenu(const QString& changesRefused) {
    rowMenu_->RefuseChanges(changesRefused);
    rowMenu_->popup(rowMenuAnchor_.value_or(QCursor::pos()));
}

void frmVastrel::QuitProgram() {
    EndRecovery();
    ending_ = true;
    close();
    QCoreApplication::quit();
}

void frmVastrel::closeEvent(QCloseEvent* event) {
    if (ending_ || commands_->CloseRequested()) {
        if (!ending_) {
            EndRecovery();
        }
        ending_ = true;
        event->accept();
        QCoreApplication::quit();
    } else {
        event->ignore();
    }
}

void frmVastrel::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    ResizeWindow();
}

void frmVastrel::ResizeWindow() {
    // The thresholds decide whether the table follows the window. When it does, it fills the
    // room below the toolbar: this toolbar and status bar are taller than the ones the
    // "outer size less 1635 / 301 twips" rule was made for.
    const QRect outer = frameGeometry();
    const QPoint origin(TwipsToPixels(this, kGridLeftTwips), 4);
    const QSize room = (centralWidget()->size() - QSize(2 * origin.x(), origin.y())).expandedTo(QSize(0, 0));
    QSize size = grid_->size();
    if (GridHeightForWindow(PixelsToTwips(this, outer.height()))) {
        size.setHeight(room.height());
    }
    if (GridWidthForWindow(PixelsToTwips(this, outer.width()))) {
        size.setWidth(room.width());
    }
    grid_->setGeometry(QRect(origin, size.boundedTo(room)));
    if (!isMinimized()) {
        const QString placeholder = QString::fromUtf16(keys::kPlaceholder);
        toolbar_->SetButtonWidth(
            placeholder, PlaceholderWidth(width(), toolbar_->ButtonWidth(QString::fromUtf16(keys::kInfo)),
                                          toolbar_->ButtonWidth(QString::fromUtf16(keys::kWeb)),
                                          toolbar_->ButtonWidth(QString::fromUtf16(keys::kEnd)),
                                          toolbar_->ButtonLeft(placeholder)));
    }
    // Repainted, but never unlocked here: a command that holds the lock keeps it.
    table_.Refresh();
}

} // namespace vastrel
