#include "gui/frmVastrel.h"

#include "app/CommandKeys.h"
#include "app/DecimalSeparatorCheck.h"
#include "app/ProgramInfo.h"
#include "app/TableNotifications.h"
#include "app/WindowLayout.h"
#include "gui/FormInfo.h"
#include "gui/QtToolbar.h"
#include "gui/QtUi.h"
#include "gui/ResultGrid.h"
#include "gui/RowMenu.h"
#include "system/DecimalSeparator.h"
#include "table/ColumnModel.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace vastrel {

frmVastrel::frmVastrel(const Places& places, Ui* dialogs, RegionalSettings* settings, QWidget* parent)
    : QMainWindow(parent) {
    setObjectName(u"frmVastrel"_s);
    toolbar_ = new QtToolbar(this);
    addToolBar(Qt::TopToolBarArea, toolbar_);
    setCentralWidget(new QWidget(this));
    grid_ = new ResultGrid(table_, centralWidget());
    ui_ = std::make_unique<QtUi>(this, statusBar(), dialogs);
    scorer_ = std::make_unique<Scorer>(table_, *ui_);
    commands_ = std::make_unique<CommandDispatcher>(table_, *scorer_, *ui_, *toolbar_, state_, places, this);

    connect(toolbar_, &QtToolbar::ButtonClicked, this,
            [this](const QString& key) { commands_->ButtonClick(key); });
    connect(toolbar_, &QtToolbar::MenuItemClicked, this,
            [this](int index, const QString& key) { commands_->MenuItemClick(index, key); });
    connect(toolbar_, &QtToolbar::MenuOpening, this, [this] { commands_->ToolbarNotice(); });
    ConnectTableNotifications(table_, *scorer_, *ui_, state_, *this);
    rowMenu_ = new RowMenu([this] { commands_->RowMenuItemClick(0); },
                           [this] { commands_->RowMenuItemClick(2); }, this);
    connect(grid_, &ResultGrid::DeleteKeyPressed, this, [this] { commands_->RowMenuItemClick(0); });
    connect(grid_, &ResultGrid::MenuKeyPressed, this, [this](const QPoint& pos) {
        rowMenuAnchor_ = pos;
        ShowRowMenu(table_, *this, 2, table_.CurrentRow());
        rowMenuAnchor_.reset();
    });
    LoadWindow(settings);
}

frmVastrel::~frmVastrel() {
    table_.Events() = {};
    // The grid reads the table until it is gone; the table is a member and goes first otherwise.
    delete grid_;
}

void frmVastrel::LoadWindow(RegionalSettings* settings) {
    // Without a window manager "maximised" means nothing; the screen's size does the same.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(screen->availableGeometry());
    }
    setWindowState(Qt::WindowMaximized);
    setWindowTitle(MainWindowTitle());
    table_.SetCaption(u"Vastrel"_s);
    state_.baseCaption = table_.Caption();

    std::unique_ptr<RegionalSettings> platform;
    if (!settings) {
        platform = CreatePlatformRegionalSettings();
        settings = platform.get();
    }
    CheckDecimalSeparator(*settings, *ui_); // its message comes before the window

    table_.SetLayoutValue(56);
    state_.certificateTemplate = u"\\Urkunde.rtf"_s;
    for (StatusPanel panel : {StatusPanel::Status, StatusPanel::File, StatusPanel::Progress,
                              StatusPanel::Four, StatusPanel::Five}) {
        ui_->AddStatusPanel(panel, panel == StatusPanel::Status ? u"Status  "_s : QString());
    }
    statusBar()->setFixedHeight(TwipsToPixels(kStatusBarHeightTwips));
    // The points coefficients are the scorer's, complete since it was made.
    DefineColumns(table_, [this](const QString& text) { return ui_->TextWidthTwips(text); });
    AppendEmptyRow(table_);
    toolbar_->SetItemChecked(QString::fromUtf16(keys::kShortPrint), true);
    state_.shortPrint = true;
}

int frmVastrel::TwipsToPixels(int twips) const {
    const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    return (twips * dpi + 720) / 1440;
}

int frmVastrel::PixelsToTwips(int pixels) const {
    const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    return pixels * 1440 / dpi;
}

void frmVastrel::ShowAbout() {
    FormInfo about(this);
    about.exec();
}

void frmVastrel::PopUpRowMenu() {
    rowMenu_->popup(rowMenuAnchor_.value_or(QCursor::pos()));
}

void frmVastrel::QuitProgram() {
    ending_ = true;
    close();
    QCoreApplication::quit();
}

void frmVastrel::closeEvent(QCloseEvent* event) {
    if (ending_ || commands_->CloseRequested()) {
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
    const QPoint origin(TwipsToPixels(kGridLeftTwips), 4);
    const QSize room = (centralWidget()->size() - QSize(2 * origin.x(), origin.y())).expandedTo(QSize(0, 0));
    QSize size = grid_->size();
    if (GridHeightForWindow(PixelsToTwips(outer.height()))) {
        size.setHeight(room.height());
    }
    if (GridWidthForWindow(PixelsToTwips(outer.width()))) {
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
    table_.LockUpdate(false);
    table_.Refresh();
}

} // namespace vastrel
