#include "gui/frmVastrel.h"

#include "app/ProgramInfo.h"
#include "gui/QtUi.h"
#include "gui/ResultTableModel.h"
#include "scoring/Recalculation.h"
#include "scoring/TimeEntry.h"
#include "table/ColumnModel.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace vastrel {

frmVastrel::frmVastrel(QWidget* parent) : QMainWindow(parent) {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 6, 8, 0);
    layout->setSpacing(0);

    titleLine_ = new QLabel(central);
    titleLine_->setObjectName(u"titleLine"_s);
    titleLine_->setStyleSheet(
        u"QLabel { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 palette(window),"
        u" stop:1 #D8E4F8); font-weight: bold; padding: 4px 6px; }"_s);
    layout->addWidget(titleLine_);

    grid_ = new QTableView(central);
    grid_->setObjectName(u"GridCsvViewer"_s);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    grid_->horizontalHeader()->setStyleSheet(u"QHeaderView::section { background: #D8E4F8; }"_s);
    QPalette palette = grid_->palette();
    palette.setColor(QPalette::Highlight, QColor(0xD5, 0xE4, 0xF2));
    palette.setColor(QPalette::HighlightedText, Qt::black);
    grid_->setPalette(palette);
    layout->addWidget(grid_);
    setCentralWidget(central);

    ui_ = std::make_unique<QtUi>(this, statusBar());
    scorer_ = std::make_unique<Scorer>(table_, *ui_);
    model_ = new ResultTableModel(table_, this);
    grid_->setModel(model_);

    connect(model_, &ResultTableModel::ColumnLayoutChanged, this, &frmVastrel::ApplyColumnLayout);
    connect(model_, &ResultTableModel::TableStateChanged, this, &frmVastrel::ShowTableState);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { table_.SetCurrentRow(current.row() + 1); });

    table_.Events().validateCellEdit = [this](int column, QString& text) {
        ValidateTimeEntry(table_, column, text, *ui_);
    };
    table_.Events().afterCellEdit = [this](int row, int, const QString&) {
        RecalculateRow(table_, *scorer_, row);
    };

    LoadWindow();
}

frmVastrel::~frmVastrel() {
    table_.Events() = {};
    delete model_; // detaches from the table before the table goes
}

void frmVastrel::LoadWindow() {
    // Without a window manager "maximised" means nothing; the screen's size does the same.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(screen->availableGeometry());
    }
    setWindowState(Qt::WindowMaximized);
    setWindowTitle(MainWindowTitle());
    table_.SetCaption(u"Vastrel"_s);
    baseCaption_ = table_.Caption();
    table_.SetLayoutValue(56);
    for (const QString& key : {u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s}) {
        ui_->AddStatusPanel(key, key == u"1" ? u"Status  "_s : QString());
    }
    DefineColumns(table_, [this](const QString& text) { return ui_->TextWidthTwips(text); });
    AppendEmptyRow(table_);
    ApplyColumnLayout();
    ShowTableState();
}

int frmVastrel::TwipsToPixels(int twips) const {
    const int dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    return (twips * dpi + 720) / 1440;
}

namespace {
// Columns whose caption is much shorter than what they hold; the widths from the captions
// would cut "0.7887" and "0:35:12.0" short.
QString TypicalContent(const QString& key) {
    if (key == u"AF") {
        return u"0.0000"_s;
    }
    if (key == u"10km") {
        return u"0:00:00.0"_s;
    }
    return {};
}
} // namespace

void frmVastrel::ApplyColumnLayout() {
    QHeaderView* header = grid_->horizontalHeader();
    const QFontMetrics metrics = grid_->fontMetrics();
    for (int c = 1; c <= table_.ColumnCount(); ++c) {
        const Column& column = table_.ColumnAt(c);
        grid_->setColumnHidden(c - 1, !column.visible);
        const QString sample = TypicalContent(column.key);
        const int contentWidth = sample.isEmpty() ? 0 : metrics.horizontalAdvance(sample) + 12;
        header->resizeSection(
            c - 1, std::max(TwipsToPixels(std::max(column.width, column.fixedWidth)), contentWidth));
    }
}

void frmVastrel::ShowTableState() {
    titleLine_->setText(table_.Caption());
    const int row = table_.CurrentRow();
    if (row > 0 && grid_->currentIndex().row() != row - 1) {
        const int column = std::max(0, grid_->currentIndex().column());
        grid_->setCurrentIndex(model_->index(row - 1, column));
    }
}

} // namespace vastrel
