#include "gui/frmVastrel.h"

#include "app/ProgramInfo.h"
#include "app/RowEditing.h"
#include "app/ToolbarDefinition.h"
#include "app/WindowLayout.h"
#include "gui/FormInfo.h"
#include "gui/QtToolbar.h"
#include "gui/QtUi.h"
#include "gui/ResultGrid.h"
#include "gui/RowMenu.h"
#include "scoring/Recalculation.h"
#include "scoring/TimeEntry.h"
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

frmVastrel::frmVastrel(Ui* dialogs, RegionalSettings* settings, QWidget* parent) : QMainWindow(parent) {
    setObjectName(u"frmVastrel"_s);
    InitializeWindow();
    toolbar_ = new QtToolbar(this);
    addToolBar(Qt::TopToolBarArea, toolbar_);
    setCentralWidget(new QWidget(this));
    grid_ = new ResultGrid(table_, centralWidget());
    ui_ = std::make_unique<QtUi>(this, statusBar(), dialogs);
    scorer_ = std::make_unique<Scorer>(table_, *ui_);
    commands_ = std::make_unique<CommandDispatcher>(table_, *scorer_, *ui_, *toolbar_, state_, this);

    connect(toolbar_, &QtToolbar::ButtonClicked, this,
            [this](const QString& key) { commands_->ButtonClick(key); });
    connect(toolbar_, &QtToolbar::MenuItemClicked, this,
            [this](int index, const QString& key) { commands_->MenuItemClick(index, key); });
    connect(toolbar_, &QtToolbar::MenuOpening, this, [this] { commands_->ToolbarNotice(); });
    WireTableNotifications();
    LoadWindow(settings);
}

frmVastrel::~frmVastrel() {
    table_.Events() = {};
    // The grid reads the table until it is gone; the table is a member and goes first otherwise.
    delete grid_;
}

void frmVastrel::InitializeWindow() {
    // The platform's controls need no initialising under Qt; kept as the first step of start-up.
}

void frmVastrel::WireTableNotifications() {
    table_.Events().validateCellEdit = [this](int column, QString& text) {
        ValidateTimeEntry(table_, column, text, *ui_);
    };
    table_.Events().afterCellEdit = [this](int row, int, const QString&) {
        RecalculateRow(table_, *scorer_, row);
    };
    table_.Events().beforeRowsDelete = [this](int row, bool& cancel) {
        ConfirmRowsDelete(table_, *ui_, row, cancel);
    };
    table_.Events().captionClick = [this] {
        EnterEventName(table_, state_, *ui_);
    };
    table_.Events().headerClick = [this](int column) {
        SortByHeader(table_, column);
    };
    table_.Events().searchRequest = [this](int& number) {
        SearchRow(table_, number);
    };
    table_.Events().beforeRowAction = [this](int row, bool& cancel) {
        GuardRowAction(table_, row, cancel);
    };
    table_.Events().cellMouseUp = [this](int button, int row, int) {
        ShowRowMenu(button, row, QCursor::pos());
    };

    rowMenu_ =
        new RowMenu([this] { table_.DeleteSelectedRows(); }, [this] { AddRowFromContextMenu(table_); }, this);
    connect(grid_, &ResultGrid::DeleteKeyPressed, this, [this] { table_.DeleteSelectedRows(); });
    connect(grid_, &ResultGrid::MenuKeyPressed, this,
            [this](const QPoint& pos) { ShowRowMenu(2, table_.CurrentRow(), pos); });
}

void frmVastrel::ShowRowMenu(int button, int row, const QPoint& globalPos) {
    if (button != 2) {
        return; // only the right mouse button opens the menu
    }
    bool cancel = false;
    if (table_.Events().beforeRowAction) {
        table_.Events().beforeRowAction(row, cancel);
    }
    if (!cancel) {
        rowMenu_->popup(globalPos);
    }
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
    for (const QString& key : {u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s}) {
        ui_->AddStatusPanel(key, key == u"1" ? u"Status  "_s : QString());
    }
    statusBar()->setFixedHeight(TwipsToPixels(kStatusBarHeightTwips));
    LoadPointsCoefficients(scorer_->Coefficients());
    DefineColumns(table_, [this](const QString& text) { return ui_->TextWidthTwips(text); });
    AppendEmptyRow(table_);
    toolbar_->SetItemChecked(u"btnKurzdruck"_s, true);
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
        toolbar_->SetButtonWidth(u"btnPlaceholder"_s,
                                 PlaceholderWidth(width(), toolbar_->ButtonWidth(u"btnInfo"_s),
                                                  toolbar_->ButtonWidth(u"btnHilfe"_s),
                                                  toolbar_->ButtonWidth(u"btnEnde"_s),
                                                  toolbar_->ButtonLeft(u"btnPlaceholder"_s)));
    }
    table_.LockUpdate(false);
    table_.Refresh();
}

} // namespace vastrel
