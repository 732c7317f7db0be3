#include "GTestPrinters.h"
#include "gui/QtUi.h"
#include "gui/ResultGrid.h"
#include "gui/frmVastrel.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;
using namespace vastrel;

namespace {

// The table's editor commits through a queued call: give the event loop a moment.
bool WaitFor(const std::function<bool()>& condition) {
    for (int i = 0; i < 100 && !condition(); ++i) {
        QTest::qWait(10);
    }
    return condition();
}

TEST(FirstWindow, StartsWithThe33ColumnTableAndOneEmptyRow) {
    frmVastrel window;
    EXPECT_TRUE(window.windowTitle().startsWith(
        u"Internationaler Vastrel V1.1(1), Freeware nach dem Punktesystem von "_s))
        << window.windowTitle().toStdString();
    QTableView* grid = window.Grid().View();
    EXPECT_EQ(grid->model()->columnCount(), 33);
    EXPECT_EQ(grid->model()->rowCount(), 1);
    int hidden = 0;
    for (int c = 0; c < 33; ++c) {
        hidden += grid->isColumnHidden(c) ? 1 : 0;
    }
    EXPECT_EQ(hidden, 3);
    EXPECT_TRUE(grid->isColumnHidden(window.Table().ColumnNumber(u"Bemerkung") - 1));
    EXPECT_EQ(window.findChild<QLabel*>(u"titleLine"_s)->text(), u"Vastrel"_s);
    EXPECT_EQ(window.WindowUi().StatusText(u"1"_s), u"Status  "_s);
}

TEST(FirstWindow, TypingATimeScoresTheRow) {
    frmVastrel window;
    window.show();
    ResultTable& table = window.Table();
    table.SetCellText(1, u"mw", u"m"_s);
    table.SetCellText(1, u"AF", u"1.0000"_s);

    QTableView* grid = window.Grid().View();
    const QModelIndex cell = grid->model()->index(0, table.ColumnNumber(u"1500m") - 1);
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto* editor = grid->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, u"4:05,3"_s);
    QTest::keyClick(editor, Qt::Key_Return);

    ASSERT_TRUE(WaitFor([&] { return !table.CellText(1, u"Gesamt").isEmpty(); }));
    EXPECT_EQ(table.CellText(1, u"1500m"), u"4:05.3"_s);
    EXPECT_EQ(table.CellText(1, u"Punkte2"), u"821"_s);
    EXPECT_EQ(table.CellText(1, u"Summe1"), u"821"_s);
    EXPECT_EQ(table.CellText(1, u"Gesamt"), u"821"_s);
    EXPECT_EQ(grid->model()->data(grid->model()->index(0, table.ColumnNumber(u"Gesamt") - 1)).toString(),
              u"821"_s);
}

} // namespace
