#include "GTestPrinters.h"
#include "ports/SilentUi.h"
#include "scoring/Recalculation.h"
#include "scoring/Scorer.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <gtest/gtest.h>

#include <climits>

using namespace Qt::StringLiterals;
using namespace vastrel;

namespace {

// Records the boxes and progress texts in order, answering like the silent Ui.
class RecordingUi : public SilentUi {
public:
    MessageAnswer MessageBox(const QString& text, const QString& title, MessageButtons buttons,
                             MessageIcon icon) override {
        boxes << text;
        return SilentUi::MessageBox(text, title, buttons, icon);
    }
    void SetStatusText(StatusPanel, const QString& text) override { statuses << text; }
    void ProcessPendingEvents() override { ++events; }
    QStringList boxes;
    QStringList statuses;
    int events = 0;
};

// A competition with rows of every kind scoring meets: complete rows, rows without a sex, with
// a factor that is no number, with a comma factor, without times, empty rows, and, when asked,
// a time that cannot be read at `unreadableRow`.
void FillCompetition(ResultTable& table, int rows, int unreadableRow) {
    DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
    for (int i = 1; i <= rows; ++i) {
        const int s = i % 50;
        QString sex = i % 2 ? u"w"_s : u"m"_s;
        QString factor = i % 5 ? u"1.0000"_s : u"0.7887"_s;
        if (i % 997 == 0) {
            sex = u"x"_s;
        } else if (i % 1009 == 0) {
            factor = u"null"_s;
        } else if (i % 211 == 0) {
            factor = u"0,9"_s;
        }
        QString times = u"%1.%2\t\t4:%3.%4\t\t1:%5.0\t\t\t%6.%7\t\t9:%8.5"_s.arg(7 + s % 3)
                            .arg(s % 10)
                            .arg(10 + s, 2, 10, QChar(u'0'))
                            .arg(s % 10)
                            .arg(s, 2, 10, QChar(u'0'))
                            .arg(11 + s % 4)
                            .arg(s % 10)
                            .arg(s, 2, 10, QChar(u'0'));
        if (i == unreadableRow) {
            times.replace(u"4:"_s, u"4:x"_s);
        } else if (i % 101 == 0) {
            times.clear();
        }
        table.AddRow(i % 89 == 0 ? QString()
                                 : u"%1\t2024\t%2\t%3\t%2\tLäufer%2, Vorname\t%4\t%5\t\t%6"_s.arg(1 + i % 3)
                                       .arg(i)
                                       .arg(sex)
                                       .arg(1940 + i % 60)
                                       .arg(factor)
                                       .arg(times));
    }
}

QStringList AllCells(const ResultTable& table) {
    QStringList cells;
    for (int r = 1; r <= table.RowCount(); ++r) {
        for (int c = 1; c <= table.ColumnCount(); ++c) {
            cells << table.CellText(r, c);
        }
    }
    return cells;
}

// Two threads must leave the table, the boxes, the progress and the change exactly as one thread
// does (taken back and done again), also when an unreadable time stops the run half way.
TEST(TwoThreadRecalculation, EqualsOneThreadInCellsMessagesProgressAndChange) {
    for (const int unreadableRow : {0, 2600, 1300}) {
        ResultTable one, two;
        TableView viewOne(one), viewTwo(two);
        FillCompetition(one, 5000, unreadableRow);
        FillCompetition(two, 5000, unreadableRow);
        const QStringList before = AllCells(one);
        RecordingUi uiOne, uiTwo;
        Scorer scorerOne(one, uiOne, &viewOne), scorerTwo(two, uiTwo, &viewTwo);
        one.BeginChange();
        two.BeginChange();
        RecalculateAll(viewOne, scorerOne, uiOne, INT_MAX);
        RecalculateAll(viewTwo, scorerTwo, uiTwo, 1);
        Change changeOne = one.EndChange();
        Change changeTwo = two.EndChange();

        EXPECT_EQ(AllCells(two), AllCells(one)) << unreadableRow;
        EXPECT_EQ(uiTwo.boxes, uiOne.boxes);
        EXPECT_EQ(uiTwo.statuses, uiOne.statuses);
        EXPECT_EQ(uiTwo.events, uiOne.events);
        EXPECT_EQ(viewTwo.CurrentRow(), viewOne.CurrentRow());
        EXPECT_EQ(scorerTwo.InputErrorFlag(), scorerOne.InputErrorFlag());
        EXPECT_GE(uiOne.boxes.size(), unreadableRow == 0 ? 5 : 2); // the run met rows that need a message
        EXPECT_NE(AllCells(one), before);

        const QStringList after = AllCells(one);
        changeTwo.Invert();
        two.Apply(changeTwo);
        changeOne.Invert();
        one.Apply(changeOne);
        EXPECT_EQ(AllCells(two), before);
        EXPECT_EQ(AllCells(one), before);
        changeTwo.Invert();
        two.Apply(changeTwo);
        EXPECT_EQ(AllCells(two), after);
    }
}

} // namespace
