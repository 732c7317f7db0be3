#include "FakeRegionalSettings.h"
#include "GTestPrinters.h"
#include "ScriptedUi.h"
#include "gui/QtToolbar.h"
#include "gui/QtUi.h"
#include "gui/ResultGrid.h"
#include "gui/frmVastrel.h"
#include "system/DecimalSeparator.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

// The table's editor commits through a queued call: give the event loop a moment.
bool WaitFor(const std::function<bool()>& condition) {
    for (int i = 0; i < 200 && !condition(); ++i) {
        QTest::qWait(10);
    }
    return condition();
}

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() : settings(u"1.1"_s), window(PlacesIn(dir.path()), &ui, &settings) {}

    QTableView* View() { return window.Grid().View(); }
    int Column(const char16_t* key) { return window.Table().ColumnNumber(key) - 1; }

    void Type(int row, const char16_t* key, const QString& text) {
        const QModelIndex cell = View()->model()->index(row, Column(key));
        View()->setCurrentIndex(cell);
        View()->edit(cell);
        auto* editor = View()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }

    void Choose(const char16_t* itemKey) { window.Toolbar().Item(QString::fromUtf16(itemKey))->trigger(); }

    QTemporaryDir dir;
    ScriptedUi ui;
    FakeRegionalSettings settings;
    frmVastrel window;
};

TEST_F(MainWindowTest, StartsReadyForInput) {
    EXPECT_TRUE(window.windowTitle().startsWith(
        u"Internationaler Vastrel V1.1(1), Freeware nach dem Punktesystem von "_s));
    EXPECT_EQ(View()->model()->columnCount(), 33);
    EXPECT_EQ(View()->model()->rowCount(), 1);
    int hidden = 0;
    for (int c = 0; c < 33; ++c) {
        hidden += View()->isColumnHidden(c) ? 1 : 0;
    }
    EXPECT_EQ(hidden, 3);
    EXPECT_EQ(window.Grid().TitleLine()->text(), u"Vastrel"_s);
    EXPECT_EQ(window.findChild<QLabel*>(u"searchCaption"_s)->text(), u"Suche:"_s);
    EXPECT_EQ(window.WindowUi().StatusText(StatusPanel::Status), u"Status  "_s);
    for (StatusPanel panel :
         {StatusPanel::File, StatusPanel::Progress, StatusPanel::Four, StatusPanel::Five}) {
        EXPECT_EQ(window.WindowUi().StatusText(panel), QString());
        EXPECT_NE(window.findChild<QLabel*>(u"statusPanel"_s + QString::number(static_cast<int>(panel))),
                  nullptr);
    }
    EXPECT_EQ(window.statusBar()->height(), 24); // 360 twips at 96 dots per inch
    EXPECT_EQ(window.State().baseCaption, u"Vastrel"_s);
    EXPECT_TRUE(window.State().shortPrint);
    EXPECT_EQ(window.State().certificateTemplate, u"\\Urkunde.rtf"_s);
    EXPECT_EQ(window.State().certificateVariant, QString());
    EXPECT_TRUE(window.Toolbar().ItemChecked(u"btnKurzdruck"_s));
    EXPECT_FALSE(window.Toolbar().Item(u"btnKurzdruck"_s)->isVisible());
    EXPECT_TRUE(window.Toolbar().ItemChecked(u"btnSort2"_s));
    EXPECT_FALSE(window.Toolbar().ItemChecked(u"btnSort1"_s));
    EXPECT_TRUE(ui.Boxes().empty());
}

TEST_F(MainWindowTest, ToolbarButtonsAndItemsAreFoundByTheirKeys) {
    for (const char16_t* key : {u"btnDatenbank", u"btnAnzeige", u"btnBearbeitung", u"btnSortierung",
                                u"btnDrucken", u"btnUrkundeDrucken", u"btnInfo", u"btnHilfe", u"btnEnde"}) {
        EXPECT_NE(window.findChild<QToolButton*>(QString::fromUtf16(key)), nullptr)
            << QString::fromUtf16(key).toStdString();
    }
    EXPECT_EQ(window.findChild<QToolButton*>(u"btnDrucken"_s)->text(), u"Druckvorschau"_s);
    EXPECT_EQ(window.findChild<QAction*>(u"btnDbÖffnen"_s)->text(), u"öffnen"_s);
    EXPECT_EQ(window.findChild<QAction*>(u"btnLöscheLaufdaten"_s)->text(), u"lösche Laufdaten"_s);
}

TEST_F(MainWindowTest, TypingATimeScoresTheRow) {
    window.show();
    ResultTable& table = window.Table();
    table.SetCellText(1, u"mw", u"m"_s);
    table.SetCellText(1, u"AF", u"1.0000"_s);
    Type(0, u"1500m", u"4:05,3"_s);
    ASSERT_TRUE(WaitFor([&] { return !table.CellText(1, u"Gesamt").isEmpty(); }));
    EXPECT_EQ(table.CellText(1, u"1500m"), u"4:05.3"_s);
    EXPECT_EQ(table.CellText(1, u"Punkte2"), u"821"_s);
    EXPECT_EQ(table.CellText(1, u"Summe1"), u"821"_s);
    auto shown = [&](const char16_t* key) {
        return View()->model()->index(0, Column(key)).data().toString();
    };
    EXPECT_EQ(shown(u"Punkte2"), u"821"_s);
    EXPECT_EQ(shown(u"Gesamt"), u"821"_s);
}

TEST_F(MainWindowTest, ASprintFormatErrorIsShownAndTheCellStaysEmpty) {
    window.show();
    window.Table().SetCellText(1, u"mw", u"w"_s);
    ui.AnswerBox();
    Type(0, u"60m", u"1:05.2"_s);
    ASSERT_TRUE(WaitFor([&] { return !ui.Boxes().empty(); }));
    EXPECT_EQ(ui.Boxes()[0].text, u"Formatfehler [00.0]!"_s);
    EXPECT_EQ(ui.Boxes()[0].title, u"Vastrel"_s);
    EXPECT_EQ(ui.Boxes()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(window.Table().CellText(1, u"60m"), QString());
}

TEST_F(MainWindowTest, ComputedCellsCannotBeTypedInto) {
    const QModelIndex total = View()->model()->index(0, Column(u"Gesamt"));
    EXPECT_FALSE(View()->model()->flags(total).testFlag(Qt::ItemIsEditable));
    EXPECT_TRUE(View()
                    ->model()
                    ->flags(View()->model()->index(0, Column(u"Name Vorname")))
                    .testFlag(Qt::ItemIsEditable));
}

TEST_F(MainWindowTest, TheToolbarIsDisabledWhileACommandRuns) {
    window.show();
    bool enabledDuringQuestion = true;
    ui.OnBox([&](const RecordedBox&) { enabledDuringQuestion = window.Toolbar().isEnabled(); });
    ui.AnswerBox(MessageAnswer::No);
    Choose(u"btnBeAfOhne");
    EXPECT_FALSE(enabledDuringQuestion);
    EXPECT_TRUE(window.Toolbar().isEnabled());
    EXPECT_EQ(window.Table().CellText(1, u"AF"), u"1.0000"_s);
}

TEST_F(MainWindowTest, RecalculationAndAppendingWorkFromTheMenu) {
    ResultTable& table = window.Table();
    table.SetCellText(1, u"mw", u"w"_s);
    table.SetCellText(1, u"60m", u"8.0"_s);
    Choose(u"btnBeAnf");
    EXPECT_EQ(View()->model()->rowCount(), 2);
    EXPECT_TRUE(table.CellFlag(2, u"Summe1"));
    table.SetCellText(2, u"mw", u"m"_s);
    table.SetCellText(2, u"60m", u"7.0"_s);
    Choose(u"btnBePunkte");
    EXPECT_EQ(table.CellText(1, u"Gesamt"), u"933"_s); // sorted by run and total, descending
    EXPECT_EQ(table.CellText(2, u"Gesamt"), u"907"_s);
    EXPECT_EQ(window.WindowUi().StatusText(StatusPanel::Progress), u"Berechnung abgeschlossen!  "_s);
    EXPECT_EQ(View()->currentIndex().row(), 0);
}

TEST_F(MainWindowTest, OpeningAMenuClearsTheResultText) {
    window.show();
    window.WindowUi().SetStatusText(StatusPanel::Progress, u"Berechnung abgeschlossen!  "_s);
    QMenu* menu = window.findChild<QMenu*>(u"btnSortierungMenu"_s);
    ASSERT_NE(menu, nullptr);
    menu->popup(QPoint(0, 0));
    EXPECT_EQ(window.WindowUi().StatusText(StatusPanel::Progress), QString());
    menu->hide();
}

TEST_F(MainWindowTest, CheckMarksAreNotChangedByClickingTheItem) {
    Choose(u"btnSort2");
    EXPECT_TRUE(window.Toolbar().ItemChecked(u"btnSort2"_s));
}

TEST_F(MainWindowTest, TheTableFollowsTheWindowOnlyAboveTheThresholds) {
    window.show();
    window.resize(1200, 800);
    QTest::qWait(20);
    const QSize large = window.Grid().size();
    EXPECT_GT(large.height(), 500);
    window.resize(1200, 440); // 6600 twips: not more than 6635
    QTest::qWait(20);
    EXPECT_LE(window.Grid().height(), large.height());
    const int keptHeight = window.Grid().height();
    window.resize(300, 440); // narrower than 5301 twips: the width stays too
    QTest::qWait(20);
    EXPECT_EQ(window.Grid().height(), keptHeight);
    EXPECT_GE(window.findChild<QWidget*>(u"btnPlaceholder"_s)->width(), 0);
}

TEST_F(MainWindowTest, ThePlaceholderPushesInfoWebAndEndeToTheRightEnd) {
    window.show();
    window.resize(1400, 800);
    QTest::qWait(50);
    const QWidget* end = window.findChild<QWidget*>(u"btnEnde"_s);
    EXPECT_GT(end->x() + end->width(), 1400 - 80);
}

TEST_F(MainWindowTest, ARightClickOpensTheRowMenuALeftClickDoesNot) {
    window.show();
    QMenu* menu = window.findChild<QMenu*>(u"MenuPopUp"_s);
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    for (QAction* action : menu->actions()) {
        captions << (action->isSeparator() ? u"-"_s : action->text());
    }
    EXPECT_EQ(captions, (QStringList{u"Zeile löschen"_s, u"-"_s, u"Neue Datenzeile hinzufügen"_s}));
    const QPoint cell = View()->visualRect(View()->model()->index(0, Column(u"Lauf"))).center();
    QTest::mouseClick(View()->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    EXPECT_FALSE(menu->isVisible());
    QTest::mouseClick(View()->viewport(), Qt::RightButton, Qt::NoModifier, cell);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
}

TEST_F(MainWindowTest, TheRowMenuAddsARowWithoutFlaggedSums) {
    window.findChild<QAction*>(u"mnuPopUp2"_s)->trigger();
    EXPECT_EQ(View()->model()->rowCount(), 2);
    EXPECT_FALSE(window.Table().CellFlag(2, u"Gesamt"));
    EXPECT_EQ(window.Table().CurrentRow(), 2);
}

TEST_F(MainWindowTest, DeleteOnTheGridAsksLikeTheMenuItem) {
    window.show();
    Choose(u"btnBeAnf");
    Choose(u"btnBeAnf");
    View()->setFocus();
    View()->selectRow(1);
    ui.AnswerBox(MessageAnswer::No);
    QTest::keyClick(View(), Qt::Key_Delete);
    EXPECT_EQ(ui.BoxTexts(), QStringList{u"Zeile 2 löschen?"_s});
    EXPECT_EQ(View()->model()->rowCount(), 3);
    ui.AnswerBox(MessageAnswer::Yes);
    Choose(u"btnBeLö");
    EXPECT_EQ(View()->model()->rowCount(), 2);
}

TEST_F(MainWindowTest, TheMenuKeyOpensTheRowMenu) {
    window.show();
    View()->setFocus();
    View()->setCurrentIndex(View()->model()->index(0, 0));
    QTest::keyClick(View(), Qt::Key_Menu);
    QMenu* menu = window.findChild<QMenu*>(u"MenuPopUp"_s);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
}

TEST_F(MainWindowTest, ClickingTheTitleLineAsksForTheEventName) {
    window.show();
    ui.AnswerInput(u"Stadtlauf 2024"_s);
    QTest::mouseClick(window.Grid().TitleLine(), Qt::LeftButton);
    EXPECT_EQ(window.Grid().TitleLine()->text(), u"Stadtlauf 2024"_s);
    Choose(u"btnAnz1Tag");
    EXPECT_EQ(window.Grid().TitleLine()->text(), u"Stadtlauf 2024 - 1.Tag"_s);
    EXPECT_TRUE(View()->isColumnHidden(Column(u"100m")));
    EXPECT_FALSE(View()->isColumnHidden(Column(u"Gesamt")));
}

TEST_F(MainWindowTest, TheSearchRowFindsTheNextMatchingRow) {
    window.show();
    ResultTable& table = window.Table();
    Choose(u"btnBeAnf");
    table.SetCellText(1, u"Name Vorname", u"Schulz, Eva"_s);
    table.SetCellText(2, u"Name Vorname", u"Meier, Anna"_s);
    table.SetCurrentRow(1);
    QTest::keyClicks(window.Grid().SearchField(), u"Mei"_s);
    QTest::keyClick(window.Grid().SearchField(), Qt::Key_Return);
    EXPECT_EQ(table.CurrentRow(), 2);
    EXPECT_EQ(View()->currentIndex().row(), 1);
}

TEST_F(MainWindowTest, AHeaderClickSortsByThatColumn) {
    window.show();
    ResultTable& table = window.Table();
    Choose(u"btnBeAnf");
    table.SetCellText(1, u"Lauf", u"1"_s);
    table.SetCellText(2, u"Lauf", u"2"_s);
    QHeaderView* header = View()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(header->sectionViewportPosition(Column(u"Lauf")) + 5, header->height() / 2));
    EXPECT_EQ(table.CellText(1, u"Lauf"), u"2"_s);
}

TEST(MainWindowStart, ACommaPlatformShowsTheMessageBeforeTheWindow) {
    ScriptedUi ui;
    FakeRegionalSettings comma(u"1,1"_s);
    bool windowVisibleDuringMessage = true;
    QWidget* created = nullptr;
    ui.OnBox([&](const RecordedBox&) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == u"frmVastrel") {
                created = w;
                windowVisibleDuringMessage = w->isVisible();
            }
        }
    });
    ui.AnswerBox();
    QTemporaryDir dir;
    frmVastrel window(PlacesIn(dir.path()), &ui, &comma);
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].title, u"Pardo-Viewer Ländereinstellung - Dezimaltrennzeichen"_s);
    EXPECT_EQ(created, &window);
    EXPECT_FALSE(windowVisibleDuringMessage);
    EXPECT_EQ(window.Table().ColumnCount(), 33); // start-up went on
}

} // namespace

namespace {

TEST_F(MainWindowTest, InfoShowsTheAboutBoxUntilWeiter) {
    window.show();
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(about->objectName(), u"FormInfo"_s);
        EXPECT_EQ(about->windowTitle(), u"Info"_s);
        EXPECT_EQ(about->size(), QSize(345, 251)); // 5172 x 3768 twips at 96 dots per inch
        EXPECT_TRUE(about->findChild<QLabel*>(u"lblVersion"_s)->text().startsWith(u"Version:"_s));
        EXPECT_FALSE(about->findChild<QPlainTextEdit*>(u"Text1"_s)->toPlainText().isEmpty());
        QPushButton* next = about->findChild<QPushButton*>(u"cmdInfoWeiter"_s);
        EXPECT_EQ(next->text(), u"Weiter"_s);
        checked = true;
        next->click();
    });
    window.findChild<QToolButton*>(u"btnInfo"_s)->click();
    EXPECT_TRUE(checked);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(window.Toolbar().isEnabled());
}

TEST_F(MainWindowTest, TheCloseButtonAsksAndYesWithoutASavedFileKeepsTheWindow) {
    window.show();
    ui.AnswerBox(MessageAnswer::Yes);
    ui.AnswerFileDialog({});
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    ui.AnswerBox(MessageAnswer::No);
    EXPECT_TRUE(window.close());
    EXPECT_EQ(ui.Boxes().size(), 2u);
}

TEST_F(MainWindowTest, EndWithCancelGoesOn) {
    window.show();
    ui.AnswerBox(MessageAnswer::Cancel);
    window.findChild<QToolButton*>(u"btnEnde"_s)->click();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.Toolbar().isEnabled());
    ui.AnswerBox(MessageAnswer::No);
    window.findChild<QToolButton*>(u"btnEnde"_s)->click(); // ends without asking a second time
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(ui.Boxes().size(), 2u);
}

} // namespace
