#include "gui/ResultGrid.h"

#include "gui/FrozenNameColumn.h"
#include "gui/GridCellDelegate.h"
#include "gui/GridView.h"
#include "gui/ResultTableModel.h"
#include "gui/Twips.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

const QString kHeaderColour = u"#D8E4F8"_s;

// Names longer than this take a tool tip rather than the width of the screen.
constexpr int kWidestNameColumn = 320;

// Columns whose caption is shorter than what they hold; widths from the captions alone would
// cut "0.7887", "1:15.25" and "0:35:12.0" short.
QString TypicalContent(const QString& key) {
    if (key == u"AF") {
        return u"0.0000"_s;
    }
    switch (DistanceGroupOf(key).value_or(DistanceGroup::Sprint)) {
    case DistanceGroup::TenKm:
        return u"0:00:00.0"_s;
    case DistanceGroup::Middle:
        return u"00:00.0"_s;
    case DistanceGroup::Sprint:
        break;
    }
    return {};
}

// The runs of rows a selection covers, whole rows or cells of them.
std::vector<std::pair<int, int>> RowRuns(const QItemSelection& selection) {
    std::vector<std::pair<int, int>> runs;
    for (const QItemSelectionRange& range : selection) {
        runs.emplace_back(range.top(), range.bottom());
    }
    std::sort(runs.begin(), runs.end());
    std::vector<std::pair<int, int>> merged;
    for (const auto& run : runs) {
        if (!merged.empty() && run.first <= merged.back().second + 1) {
            merged.back().second = std::max(merged.back().second, run.second);
        } else {
            merged.push_back(run);
        }
    }
    return merged;
}

} // namespace

ResultGrid::ResultGrid(ResultTable& table, TableView& tableView, QWidget* parent)
    : QWidget(parent), table_(table), tableView_(tableView),
      model_(new ResultTableModel(table, tableView, this)) {
    setObjectName(u"GridCsvViewer"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    titleLine_ = new QLabel(this);
    titleLine_->setObjectName(u"titleLine"_s);
    titleLine_->setStyleSheet(
        u"QLabel { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 palette(window),"
        u" stop:1 %1); font-weight: bold; font-size: 11pt; padding: 5px 8px;"
        u" border: 1px solid palette(mid); border-bottom: none; }"_s.arg(kHeaderColour));
    titleLine_->setCursor(Qt::PointingHandCursor);
    titleLine_->setToolTip(u"Klicken, um den Veranstaltungsnamen einzugeben"_s);
    titleLine_->installEventFilter(this);
    layout->addWidget(titleLine_);

    auto* searchRow = new QWidget(this);
    auto* searchLayout = new QHBoxLayout(searchRow);
    searchLayout->setContentsMargins(0, 0, 0, 0);
    searchLayout->setSpacing(0);
    searchCaption_ = new QLabel(searchRow);
    searchCaption_->setObjectName(u"searchCaption"_s);
    searchCaption_->setStyleSheet(
        u"QLabel { background: %1; padding: 2px 6px; border: 1px solid palette(mid); }"_s.arg(kHeaderColour));
    searchField_ = new QLineEdit(searchRow);
    searchField_->setObjectName(u"searchField"_s);
    searchField_->setPlaceholderText(u"Name oder Wert, dann Eingabe"_s);
    searchField_->setClearButtonEnabled(true);
    searchLayout->addWidget(searchCaption_);
    searchLayout->addWidget(searchField_, 1);
    layout->addWidget(searchRow);
    searchField_->setToolTip(
        u"Suchen (%1)"_s.arg(QKeySequence(QKeySequence::Find).toString(QKeySequence::NativeText)));
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        searchField_->setFocus(Qt::ShortcutFocusReason);
        searchField_->selectAll();
    });
    connect(searchField_, &QLineEdit::returnPressed, this, [this] {
        Q_EMIT SearchRequested(searchField_->text());
        RevealCurrentRow();
    });

    view_ = new GridView(this);
    view_->setObjectName(u"grid"_s);
    view_->setModel(model_);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    view_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view_->setShowGrid(true);
    view_->setWordWrap(false);
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->verticalHeader()->setMinimumWidth(TwipsToPixels(this, 600));
    view_->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    view_->horizontalHeader()->setHighlightSections(false);
    view_->setStyleSheet(
        u"QHeaderView::section { background: %1; border: none; border-right: 1px solid #B8C8E0;"
        u" border-bottom: 1px solid #B8C8E0; padding: 2px; font-weight: bold; }"
        u" QTableView { gridline-color: #C8D4E4; }"_s.arg(kHeaderColour));
    QPalette palette = view_->palette();
    palette.setColor(QPalette::Highlight, QColor(0xD5, 0xE4, 0xF2));
    palette.setColor(QPalette::HighlightedText, Qt::black);
    view_->setPalette(palette);
    auto* delegate = new GridCellDelegate(view_);
    view_->setItemDelegate(delegate);
    // After the editor has gone and its text is stored (the commit runs first).
    connect(delegate, &GridCellDelegate::EditLeft, this, &ResultGrid::MoveCursor, Qt::QueuedConnection);
    view_->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_->horizontalHeader(), &QHeaderView::customContextMenuRequested, this,
            &ResultGrid::ShowColumnMenu);
    view_->viewport()->installEventFilter(this);
    view_->installEventFilter(this);
    layout->addWidget(view_, 1);
    frozenName_ = new FrozenNameColumn(view_);
    QApplication::setWheelScrollLines(3);

    connect(model_, &ResultTableModel::ColumnLayoutChanged, this, &ResultGrid::ApplyColumnLayout);
    connect(model_, &ResultTableModel::TableStateChanged, this, &ResultGrid::ShowTableState);
    connect(model_, &ResultTableModel::CursorRowChanged, this, [this](int previous, int current) {
        for (int row : {previous, current}) {
            if (row >= 1) {
                view_->verticalHeader()->headerDataChanged(Qt::Vertical, row - 1, row - 1);
            }
        }
    });
    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!syncing_ && current.isValid()) {
                    tableView_.SetCurrentRow(current.row() + 1);
                }
            });
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ResultGrid::CopySelectionToTable);
    connect(view_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        Q_EMIT HeaderClicked(section + 1);
        RevealCurrentRow();
    });
    ApplyColumnLayout();
    ShowTableState();
}

void ResultGrid::ApplyColumnLayout() {
    QHeaderView* header = view_->horizontalHeader();
    const QFontMetrics metrics = view_->fontMetrics();
    for (int c = 1; c <= table_.ColumnCount() && c <= model_->columnCount(); ++c) {
        const Column& column = table_.ColumnAt(c);
        view_->setColumnHidden(c - 1, !column.visible);
        const QString sample = TypicalContent(column.key);
        int contentWidth = sample.isEmpty() ? 0 : metrics.horizontalAdvance(sample) + 12;
        if (column.key == u"Name Vorname") {
            contentWidth = NameColumnWidth();
        }
        header->resizeSection(
            c - 1, std::max(TwipsToPixels(this, std::max(column.width, column.fixedWidth)), contentWidth));
    }
    frozenName_->SetColumn(table_.ColumnNumber(u"Name Vorname") - 1);
}

int ResultGrid::NameColumnWidth() {
    if (measuredRows_ != table_.RowCount() || measuredLayout_ != table_.LayoutGeneration()) {
        measuredRows_ = table_.RowCount();
        measuredLayout_ = table_.LayoutGeneration();
        // Enough rows to find the long names of a competition without reading a million.
        const QFontMetrics metrics = view_->fontMetrics();
        const int name = table_.ColumnNumber(u"Name Vorname");
        const int step = std::max(1, table_.RowCount() / 5000);
        int widest = 0;
        for (int row = 1; row <= table_.RowCount(); row += step) {
            widest = std::max(widest, metrics.horizontalAdvance(table_.CellText(row, name)));
        }
        nameWidth_ = std::min(widest + 16, kWidestNameColumn);
    }
    return nameWidth_;
}

void ResultGrid::ShowColumnMenu(const QPoint& position) {
    QMenu menu(this);
    menu.setObjectName(u"columnMenu"_s);
    QStringList captions;
    for (int c = 1; c <= table_.ColumnCount(); ++c) {
        captions << table_.HeaderText(c).trimmed();
    }
    for (int c = 1; c <= table_.ColumnCount(); ++c) {
        const QString& caption = captions.at(c - 1);
        // "Punkte" and "Summe" stand several times: the key tells them apart.
        QAction* action =
            menu.addAction(captions.count(caption) > 1 ? u"%1 (%2)"_s.arg(caption, table_.Key(c)) : caption);
        action->setCheckable(true);
        action->setChecked(table_.Visible(c));
        connect(action, &QAction::toggled, this,
                [this, c](bool shown) { Q_EMIT ColumnShownChosen(c, shown); });
    }
    menu.exec(view_->horizontalHeader()->viewport()->mapToGlobal(position));
}

void ResultGrid::RepaintCells() {
    view_->viewport()->update();
    frozenName_->update();
}

void ResultGrid::RevealCurrentRow() {
    const int row = tableView_.CurrentRow() - 1;
    const int name = table_.ColumnNumber(u"Name Vorname") - 1;
    if (row < 0 || row >= model_->rowCount() || name < 0) {
        return;
    }
    int column = view_->currentIndex().column();
    if (column < 0 || view_->isColumnHidden(column)) {
        column = name;
    }
    syncing_ = true;
    view_->selectionModel()->setCurrentIndex(model_->index(row, column), QItemSelectionModel::NoUpdate);
    syncing_ = false;
    view_->scrollTo(model_->index(row, column));
    if (!view_->isColumnHidden(name)) {
        view_->scrollTo(model_->index(row, name)); // the name tells whose row it is
    }
}

void ResultGrid::ShowTableState() {
    if (syncing_) {
        return; // the grid itself is handing its selection to the table
    }
    titleLine_->setText(table_.Caption());
    searchCaption_->setText(table_.SearchCaption());
    if (tableView_.SearchText() != searchField_->text()) {
        searchField_->setText(tableView_.SearchText());
    }
    syncing_ = true;
    const int row = tableView_.CurrentRow();
    if (row > 0 && view_->currentIndex().row() != row - 1) {
        const int column = std::max(0, view_->currentIndex().column());
        view_->selectionModel()->setCurrentIndex(model_->index(row - 1, column),
                                                 QItemSelectionModel::NoUpdate);
        view_->scrollTo(model_->index(row - 1, column));
    }
    // The table's selection is the one that counts; the grid shows it.
    QItemSelection selection;
    const int lastColumn = model_->columnCount() - 1;
    for (int r = 1; r <= table_.RowCount() && tableView_.SelectedRowCount() > 0; ++r) {
        if (!tableView_.RowSelected(r)) {
            continue;
        }
        int last = r; // one range for each run of selected rows
        while (last < table_.RowCount() && tableView_.RowSelected(last + 1)) {
            ++last;
        }
        selection.select(model_->index(r - 1, 0), model_->index(last - 1, lastColumn));
        r = last;
    }
    // Cells of a row the user chose stay chosen as long as the table has that row selected.
    if (RowRuns(selection) != RowRuns(view_->selectionModel()->selection())) {
        view_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }
    syncing_ = false;
}

void ResultGrid::CopySelectionToTable() {
    if (syncing_) {
        return;
    }
    syncing_ = true;
    tableView_.ClearSelection();
    // The ranges say which rows: asking row by row would look at every cell of a million rows.
    // A row of which only some cells are chosen counts as selected, as a click on it always did.
    for (const QItemSelectionRange& range : view_->selectionModel()->selection()) {
        tableView_.SelectRows(range.top() + 1, range.bottom() + 1);
    }
    syncing_ = false;
}

std::pair<int, QList<int>> ResultGrid::ChosenCells() const {
    QList<int> columns;
    int row = 0;
    for (const QModelIndex& cell : view_->selectionModel()->selectedIndexes()) {
        if (!view_->isColumnHidden(cell.column())) {
            columns << cell.column() + 1;
            row = cell.row() + 1;
        }
    }
    std::sort(columns.begin(), columns.end());
    return {row, columns};
}

bool ResultGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == titleLine_ && event->type() == QEvent::MouseButtonRelease) {
        Q_EMIT CaptionClicked();
        return true;
    }
    // An open editor takes its own keys; only keys meant for the grid itself arrive here.
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (KeyOnGrid(*key)) {
            return true;
        }
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            if (view_->HoldsCellsInsideARow()) {
                const auto [row, columns] = ChosenCells(); // emptied; the row stays
                Q_EMIT CellsClearRequested(row, columns);
            } else {
                Q_EMIT DeleteKeyPressed();
            }
            return true;
        }
        if (key->key() == Qt::Key_Menu) {
            const QRect cell = view_->visualRect(view_->currentIndex());
            Q_EMIT MenuKeyPressed(
                view_->viewport()->mapToGlobal(cell.isValid() ? cell.center() : QPoint(0, 0)));
            return true;
        }
    }
    if (watched == view_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex index = view_->indexAt(mouse->position().toPoint());
        const int button = mouse->button() == Qt::RightButton ? 2 : mouse->button() == Qt::LeftButton ? 1 : 4;
        Q_EMIT CellMouseUp(button, index.row() + 1);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vastrel
