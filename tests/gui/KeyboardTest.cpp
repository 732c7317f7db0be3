#include "FakeRegionalSettings.h"
#include "GTestPrinters.h"
#include "ScriptedUi.h"
#include "gui/QtToolbar.h"
#include "gui/QtUi.h"
#include "gui/ResultGrid.h"
#include "gui/frmVastrel.h"
#include "ports/Settings.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

// A day at the desk without the mouse.
class KeyboardTest : public ::testing::Test {
protected:
    KeyboardTest() : settings(u"1.1"_s), window({PlacesIn(dir.path()), &ui, &settings, &remembered}) {
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        View()->setFocus();
    }

    QTableView* View() { return window.Grid().View(); }
    int Column(const char16_t* key) { return window.Table().ColumnNumber(key) - 1; }
    QModelIndex Cell(int row, const char16_t* key) { return View()->model()->index(row, Column(key)); }
    QLineEdit* Editor() {
        for (QLineEdit* open : View()->findChildren<QLineEdit*>()) {
            if (open->isVisible()) {
                return open;
            }
        }
        return nullptr;
    }
    // Keys to the widget with the focus, and the queued work they start done.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QCoreApplication::processEvents();
    }
    // Each key to where the focus is then: the first one opens the editor, the rest go there.
    void Keys(const QString& text) {
        for (const QChar c : text) {
            QTest::keyClicks(QApplication::focusWidget(), QString(c));
            QCoreApplication::processEvents();
        }
    }
    QString Text(int row, const char16_t* key) { return window.Table().CellText(row + 1, key); }

    QTemporaryDir dir;
    ScriptedUi ui;
    FakeRegionalSettings settings;
    MemorySettings remembered;
    frmVastrel window;
};

TEST_F(KeyboardTest, ShortcutsStandBesideTheirItemsInGerman) {
    QTranslator german;
    ASSERT_TRUE(german.load(QLocale(QLocale::German), u"qtbase"_s, u"_"_s,
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QCoreApplication::installTranslator(&german);
    for (const auto& [item, shown] :
         {std::pair{u"btnDbÖffnen"_s, u"Strg+O"_s}, std::pair{u"btnDbSpeichern"_s, u"Strg+S"_s},
          std::pair{u"btnDbSpeichernUnter"_s, u"Strg+Umschalt+S"_s},
          std::pair{u"btnDruckenAlles"_s, u"Strg+P"_s}, std::pair{u"btnRückgängig"_s, u"Strg+Z"_s},
          std::pair{u"btnWiederholen"_s, u"Strg+Y"_s}}) {
        EXPECT_EQ(window.Toolbar().Item(item)->shortcut().toString(QKeySequence::NativeText), shown)
            << item.toStdString();
    }
    QCoreApplication::removeTranslator(&german);
    EXPECT_EQ(window.Toolbar().Button(u"btnDatenbank"_s)->toolTip(), u"Datenbank (Alt+D)"_s);
    EXPECT_EQ(window.Toolbar().Button(u"btnHilfe"_s)->toolTip(), u"Web (F1; Alt+W)"_s);
    // The captions stay as they are: the keys stand beside them, not in them.
    EXPECT_EQ(window.findChild<QToolButton*>(u"btnDrucken"_s)->text(), u"Druckvorschau"_s);
}

TEST_F(KeyboardTest, ShortcutsWorkWithTheMenusClosed) {
    ui.AnswerFileDialog({});
    Press(Qt::Key_O, Qt::ControlModifier);
    ui.AnswerFileDialog({});
    Press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(ui.FileDialogs().size(), 2u);
    EXPECT_EQ(ui.FileDialogs()[0].title, u"Datenbank öffnen"_s);
    EXPECT_EQ(ui.FileDialogs()[1].title, u"Datenbank speichern"_s);
    Press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(ui.ShownReports().size(), 1);

    Press(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), window.Grid().SearchField());
    Press(Qt::Key_F10);
    EXPECT_EQ(QApplication::focusWidget(), window.Toolbar().Button(u"btnDatenbank"_s));

    QString opened;
    QTimer::singleShot(50, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            opened = popup->objectName();
            popup->close();
        }
    });
    Press(Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(opened, u"btnSortierungMenu"_s);
}

TEST_F(KeyboardTest, ReturnGoesDownAndTabSkipsWhatIsComputed) {
    window.Table().SetCellText(1, u"mw", u"m"_s);
    window.Table().SetCellText(1, u"AF", u"1.0000"_s);
    Press(Qt::Key_Down); // the last row: a new one, as "Datensatz anfügen" makes it
    ASSERT_EQ(View()->model()->rowCount(), 2);
    EXPECT_EQ(View()->currentIndex().row(), 1);
    Press(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(View()->currentIndex().row(), 0);

    View()->setCurrentIndex(Cell(0, u"60m"));
    Keys(u"7,5"_s); // typing opens the editor
    ASSERT_NE(Editor(), nullptr);
    Press(Qt::Key_Tab);
    EXPECT_EQ(Text(0, u"60m"), u"7.5"_s);
    EXPECT_FALSE(Text(0, u"Punkte1").isEmpty());
    EXPECT_EQ(View()->currentIndex(), Cell(0, u"1500m")) << "Punkte1 is skipped";
    Press(Qt::Key_Backtab);
    EXPECT_EQ(View()->currentIndex(), Cell(0, u"60m"));

    View()->setCurrentIndex(Cell(0, u"Name Vorname"));
    Keys(u"Meier, Anna"_s);
    Press(Qt::Key_Return);
    EXPECT_EQ(Text(0, u"Name Vorname"), u"Meier, Anna"_s);
    EXPECT_EQ(View()->currentIndex(), Cell(1, u"Name Vorname"));
    Keys(u"Schulz"_s);
    Press(Qt::Key_Escape);
    EXPECT_EQ(Text(1, u"Name Vorname"), QString()) << "Escape keeps the old text";

    // At the last typed cell of a row, Tab goes on to the next row's first.
    View()->setCurrentIndex(Cell(0, u"10km"));
    Press(Qt::Key_Tab);
    EXPECT_EQ(View()->currentIndex(), Cell(1, u"Lauf"));
}

TEST_F(KeyboardTest, TypingIntoAComputedCellSaysWhy) {
    View()->setCurrentIndex(Cell(0, u"Punkte1"));
    Keys(u"5"_s);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(Text(0, u"Punkte1"), QString());
    EXPECT_EQ(window.WindowUi().StatusText(StatusPanel::Status),
              u"\"Punkte1\" wird berechnet und lässt sich nicht eingeben.  "_s);
}

TEST_F(KeyboardTest, TypingIntoAReadOnlyTableOpensNoEditor) {
    window.Table().SetReadOnly(true); // as a read-only login to the server leaves it
    View()->setCurrentIndex(Cell(0, u"60m"));
    Keys(u"5"_s);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(Text(0, u"60m"), QString());
}

TEST_F(KeyboardTest, TheCertificatesAsOnePdfAreRemembered) {
    window.Toolbar().Item(u"UrkundePdf"_s)->trigger();
    EXPECT_EQ(remembered.Value(u"certificates/pdf"_s), u"1"_s);
    frmVastrel next({PlacesIn(dir.path()), &ui, &settings, &remembered});
    EXPECT_TRUE(next.Toolbar().ItemChecked(u"UrkundePdf"_s));
    EXPECT_TRUE(next.State().certificatesPdf);
}

// Scrolled to the last day, the name column stays at the left edge; back at the start it is the
// grid's own again.
TEST_F(KeyboardTest, TheNameStaysInSightWhileScrollingToTheLastDay) {
    window.Toolbar().Item(u"btnBeAnf"_s)->trigger();
    auto* frozen = View()->findChild<QWidget*>(u"frozenNameColumn"_s);
    ASSERT_NE(frozen, nullptr);
    EXPECT_FALSE(frozen->isVisible());
    View()->setCurrentIndex(Cell(0, u"Gesamt"));
    View()->scrollTo(Cell(0, u"Gesamt"));
    QCoreApplication::processEvents();
    ASSERT_LT(View()->horizontalHeader()->sectionViewportPosition(Column(u"Name Vorname")), 0);
    EXPECT_TRUE(frozen->isVisible());
    EXPECT_EQ(frozen->x(), View()->verticalHeader()->width() + View()->frameWidth());
    EXPECT_EQ(frozen->width(), View()->columnWidth(Column(u"Name Vorname")) + 2);
    // A click on the second row's name selects that row; the grid stays where it was.
    const int scrolled = View()->horizontalScrollBar()->value();
    const int y = View()->horizontalHeader()->height() + View()->rowViewportPosition(1) + 2;
    QTest::mouseClick(frozen, Qt::LeftButton, {}, QPoint(10, y));
    EXPECT_EQ(View()->currentIndex(), Cell(1, u"Gesamt"));
    EXPECT_TRUE(window.View().RowSelected(2));
    EXPECT_EQ(View()->horizontalScrollBar()->value(), scrolled);
    View()->horizontalScrollBar()->setValue(0);
    EXPECT_FALSE(frozen->isVisible());
}

// "Entf" on cells chosen inside a row empties them and scores the row again; on a row clicked
// as a whole it asks to delete the row, as it always did.
TEST_F(KeyboardTest, DeleteEmptiesCellsChosenInsideARowAndDeletesWholeRows) {
    ResultTable& table = window.Table();
    table.SetCellText(1, u"mw", u"m"_s);
    table.SetCellText(1, u"AF", u"1.0000"_s);
    table.SetCellText(1, u"Name Vorname", u"Meier, Anna"_s);
    window.Toolbar().Item(u"btnBeAnf"_s)->trigger();
    View()->setCurrentIndex(Cell(0, u"60m"));
    Keys(u"7,5"_s);
    Press(Qt::Key_Tab);
    Keys(u"4:05,3"_s);
    Press(Qt::Key_Return);
    ASSERT_EQ(table.CellText(1, u"Punkte2"), u"821"_s);

    // A drag from 60m to 1500m in the first row chooses those cells, and the row for the table.
    const QRect from = View()->visualRect(Cell(0, u"60m"));
    const QRect to = View()->visualRect(Cell(0, u"1500m"));
    QTest::mousePress(View()->viewport(), Qt::LeftButton, {}, from.center());
    QMouseEvent move(QEvent::MouseMove, to.center(), View()->viewport()->mapToGlobal(to.center()),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(View()->viewport(), &move);
    QTest::mouseRelease(View()->viewport(), Qt::LeftButton, {}, to.center());
    EXPECT_EQ(View()->selectionModel()->selectedIndexes().size(), 3);
    EXPECT_TRUE(window.View().RowSelected(1));
    EXPECT_FALSE(window.View().RowSelected(2));
    Press(Qt::Key_C, Qt::ControlModifier); // those cells, not the row
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              u"7.5\t%1\t4:05.3\n"_s.arg(table.CellText(1, u"Punkte1")));
    Press(Qt::Key_Delete);
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.CellText(1, u"60m"), QString());
    EXPECT_EQ(table.CellText(1, u"1500m"), QString());
    EXPECT_EQ(table.CellText(1, u"Punkte2"), QString()) << "scored again";
    EXPECT_EQ(table.CellText(1, u"Name Vorname"), u"Meier, Anna"_s);
    EXPECT_EQ(window.WindowUi().StatusText(StatusPanel::Status), u"2 Zellen geleert.  "_s);
    EXPECT_TRUE(ui.Boxes().empty());
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(table.CellText(1, u"1500m"), u"4:05.3"_s);

    // Shift+Right from a cell chooses cells of its row; Shift+Down whole rows.
    QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, View()->visualRect(Cell(0, u"60m")).center());
    Press(Qt::Key_Right, Qt::ShiftModifier);
    Press(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(View()->selectionModel()->selectedIndexes().size(), 3);
    Press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(View()->selectionModel()->selectedIndexes().size(), 2 * View()->model()->columnCount());

    // A click chooses the whole row: Delete asks to delete it.
    QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, View()->visualRect(Cell(1, u"60m")).center());
    EXPECT_EQ(View()->selectionModel()->selectedIndexes().size(), View()->model()->columnCount());
    ui.AnswerBox(MessageAnswer::No);
    Press(Qt::Key_Delete);
    EXPECT_EQ(ui.BoxTexts(), QStringList{u"Zeile 2 löschen?"_s});
    EXPECT_EQ(table.RowCount(), 2);
}

} // namespace
