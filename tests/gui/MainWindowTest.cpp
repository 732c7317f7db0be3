#include "FakeRegionalSettings.h"
#include "GTestPrinters.h"
#include "ScriptedUi.h"
#include "app/ProgramInfo.h"
#include "gui/QtToolbar.h"
#include "gui/QtUi.h"
#include "gui/ResultGrid.h"
#include "gui/frmVastrel.h"
#include "ports/Settings.h"
#include "system/DecimalSeparator.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
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
    MainWindowTest() : settings(u"1.1"_s), window({PlacesIn(dir.path()), &ui, &settings, &remembered}) {}

    QTableView* View() { return window.Grid().View(); }
    int Column(const char16_t* key) { return window.Table().ColumnNumber(key) - 1; }

    void Type(int row, const char16_t* key, const QString& text) {
        // What the last commit queued (the grid's deferred refresh) runs before the next cell
        // opens, as between two keystrokes of a user.
        QCoreApplication::processEvents();
        const QModelIndex cell = View()->model()->index(row, Column(key));
        View()->setCurrentIndex(cell);
        View()->edit(cell);
        // The editor of an earlier cell may linger hidden until it is deleted: take the open one.
        QLineEdit* editor = nullptr;
        for (QLineEdit* open : View()->findChildren<QLineEdit*>()) {
            editor = open->isVisible() ? open : editor;
        }
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }

    void Choose(const char16_t* itemKey) { window.Toolbar().Item(QString::fromUtf16(itemKey))->trigger(); }

    QTemporaryDir dir;
    ScriptedUi ui;
    FakeRegionalSettings settings;
    MemorySettings remembered;
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
    EXPECT_EQ(captions, (QStringList{u"Zeile löschen"_s, u"-"_s, u"Neue Datenzeile hinzufügen"_s, u"-"_s,
                                     u"Verlauf …"_s}));
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
    EXPECT_EQ(window.View().CurrentRow(), 2);
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
    EXPECT_EQ(ui.Boxes()[0].buttons, MessageButtons::YesNoDefaultNo); // Enter keeps the competitor
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
    TableView& view = window.View();
    Choose(u"btnBeAnf");
    table.SetCellText(1, u"Name Vorname", u"Schulz, Eva"_s);
    table.SetCellText(2, u"Name Vorname", u"Meier, Anna"_s);
    view.SetCurrentRow(1);
    QTest::keyClicks(window.Grid().SearchField(), u"Mei"_s);
    QTest::keyClick(window.Grid().SearchField(), Qt::Key_Return);
    EXPECT_EQ(view.CurrentRow(), 2);
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
    MemorySettings remembered;
    frmVastrel window({PlacesIn(dir.path()), &ui, &comma, &remembered});
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
    ui.AnswerBox(MessageAnswer::Cancel); // Esc, or the box closed: the program and its table stay
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    ui.AnswerBox(MessageAnswer::Yes);
    ui.AnswerFileDialog({});
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    ui.AnswerBox(MessageAnswer::No);
    EXPECT_TRUE(window.close());
    EXPECT_EQ(ui.Boxes().size(), 3u);
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

// The real boxes: Enter takes the default button, No in a question that destroys data; Esc and
// the close button answer Cancel, which keeps everything as it is.
TEST_F(MainWindowTest, EnterInADestroyingQuestionIsNoAndEscapeCancels) {
    QtUi real(&window, window.statusBar());
    const auto answer = [&](MessageButtons buttons, const std::function<void(QWidget*)>& user) {
        QTimer::singleShot(0, [user] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            user(box);
        });
        return real.MessageBox(u"Zeile 16 löschen?"_s, u"Löschen"_s, buttons, MessageIcon::Question);
    };
    const auto press = [](Qt::Key key) {
        return [key](QWidget* box) {
            QTest::keyClick(box, key);
        };
    };
    EXPECT_EQ(answer(MessageButtons::YesNoDefaultNo, press(Qt::Key_Return)), MessageAnswer::No);
    EXPECT_EQ(answer(MessageButtons::YesNo, press(Qt::Key_Return)), MessageAnswer::Yes);
    EXPECT_EQ(answer(MessageButtons::YesNo, press(Qt::Key_Escape)), MessageAnswer::Cancel);
    EXPECT_EQ(answer(MessageButtons::YesNoDefaultNo, press(Qt::Key_Escape)), MessageAnswer::Cancel);
    EXPECT_EQ(answer(MessageButtons::YesNoCancel, press(Qt::Key_Escape)), MessageAnswer::Cancel);
    EXPECT_EQ(answer(MessageButtons::YesNo, [](QWidget* box) { box->close(); }), MessageAnswer::Cancel);
}

// While a long run paints its progress, the window takes no input (a command started in between
// would work on a table half done) and cannot be closed; a box shown meanwhile takes its keys.
// Nothing is greyed: the window stays enabled, so nothing is repainted for it.
TEST_F(MainWindowTest, ABusyWindowDropsInputButItsBoxesTakeKeys) {
    QtUi real(&window, window.statusBar());
    window.show();
    auto* search = window.findChild<QLineEdit*>(u"searchField"_s);
    ASSERT_NE(search, nullptr);
    real.SetBusy(true);
    EXPECT_TRUE(window.isEnabled());
    QTest::keyClicks(search, u"abc"_s);
    QTest::mouseClick(window.findChild<QToolButton*>(u"btnEnde"_s), Qt::LeftButton);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(search->text(), QString());
    EXPECT_TRUE(ui.Boxes().empty());
    QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
    EXPECT_EQ(real.MessageBox(u"Fehler"_s, u"Vastrel"_s, MessageButtons::Ok, MessageIcon::None),
              MessageAnswer::Ok);
    real.SetBusy(false);
    QTest::keyClicks(search, u"abc"_s);
    EXPECT_EQ(search->text(), u"abc"_s);
}

// A new row typed from left to right: no box until the first time, and keys typed ahead land in
// the table, not in a box.
TEST_F(MainWindowTest, TypingANewRowAsksNothingUntilATimeIsTyped) {
    window.show();
    ResultTable& table = window.Table();
    for (const auto& [key, text] : {std::pair{u"Lauf", u"1"_s}, std::pair{u"Datum", u"2024"_s},
                                    std::pair{u"Name Vorname", u"Testlaeufer, Otto"_s}}) {
        Type(0, key, text);
        ASSERT_TRUE(WaitFor([&] { return table.CellText(1, key) == text; })) << text.toStdString();
    }
    EXPECT_TRUE(ui.Boxes().empty());
    ui.AnswerBox();
    Type(0, u"60m", u"8"_s);
    ASSERT_TRUE(WaitFor([&] { return !ui.Boxes().empty(); }));
    EXPECT_EQ(ui.BoxTexts(), QStringList{u"Vorgabe männlich oder weiblich fehlt! m/w?   "_s});
}

TEST_F(MainWindowTest, TheTitleNamesTheFileAndMarksChangesNotYetSaved) {
    window.show();
    EXPECT_FALSE(window.isWindowModified()); // the empty start table is nothing to lose
    Type(0, u"Name Vorname", u"Meier, Anna"_s);
    ASSERT_TRUE(WaitFor([&] { return window.isWindowModified(); }));
    ui.AnswerFileDialog({dir.filePath(u"Lauf"_s), 2});
    Choose(u"btnDbSpeichernUnter");
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_EQ(window.windowTitle(), u"Lauf.csv[*] – "_s + MainWindowTitle());
    Choose(u"btnAnz2Tag"); // a view changes nothing a file holds
    EXPECT_FALSE(window.isWindowModified());
    Choose(u"btnBeAnf");
    EXPECT_TRUE(window.isWindowModified());
}

TEST_F(MainWindowTest, AFileNamedAtStartIsOpenedWithTheCursorOnTop) {
    QFile csv(dir.filePath(u"Start.csv"_s));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("Kopf\r\n1;2024;;w;;Meier, Anna\r\n2;2024;;m;;Adler, Bernd\r\n");
    csv.close();
    window.show();
    window.OpenAtStart(dir.filePath(u"Start.csv"_s));
    EXPECT_EQ(window.Table().RowCount(), 2);
    EXPECT_EQ(window.View().CurrentRow(), 1);
    EXPECT_EQ(View()->currentIndex().row(), 0);
    EXPECT_EQ(window.WindowUi().StatusText(StatusPanel::File),
              dir.filePath(u"Start.csv"_s) + u" geladen  "_s);
    EXPECT_TRUE(window.windowTitle().startsWith(u"Start.csv[*]"_s));
    EXPECT_FALSE(window.isWindowModified());
}

// After a view hides the column worked in, a sort still shows the cursor's row with its name.
TEST_F(MainWindowTest, TheCursorRowStaysInViewWithItsNameAfterAViewAndASort) {
    window.resize(900, 500);
    window.show();
    ResultTable& table = window.Table();
    table.LockUpdate(true);
    for (int i = 0; i < 300; ++i) {
        table.AddRow(u"%1\t2024\t\tm\t\tLäufer %2, Max"_s.arg(i % 3).arg(i));
    }
    table.LockUpdate(false);
    View()->setCurrentIndex(View()->model()->index(250, Column(u"400m")));
    Choose(u"btnAnz2Tag");
    Choose(u"btnSort5");
    const QModelIndex current = View()->currentIndex();
    EXPECT_EQ(current.row(), 0);
    EXPECT_FALSE(View()->isColumnHidden(current.column()));
    const QRect name = View()->visualRect(View()->model()->index(0, Column(u"Name Vorname")));
    EXPECT_TRUE(View()->viewport()->rect().intersects(name));
    EXPECT_EQ(View()->model()->headerData(0, Qt::Vertical).toString(), u"\u25B6 1"_s);
}

// The header's menu shows and hides any column, the remark included.
TEST_F(MainWindowTest, TheHeaderMenuShowsTheRemark) {
    window.show();
    EXPECT_TRUE(View()->isColumnHidden(Column(u"Bemerkung")));
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            if (action->text() == u"Bemerkung") {
                EXPECT_FALSE(action->isChecked());
                action->trigger();
            }
        }
        menu->close();
    });
    Q_EMIT View()->horizontalHeader()->customContextMenuRequested(QPoint(5, 5));
    EXPECT_TRUE(window.Table().Visible(u"Bemerkung"));
    EXPECT_FALSE(View()->isColumnHidden(Column(u"Bemerkung")));
}

// Typed changes reach the recovery file on their own; after a crash the next start offers them,
// loads them with the modified mark, and Ctrl+Z takes them back to the start table.
TEST_F(MainWindowTest, UnsavedChangesSurviveACrash) {
    QTemporaryDir home;
    const Places places = PlacesIn(home.path());
    ScriptedUi firstUi;
    MemorySettings firstSettings;
    auto first =
        std::make_unique<frmVastrel>(WindowServices{places, &firstUi, &settings, &firstSettings, 20});
    first->show();
    QAbstractItemModel* model = first->Grid().View()->model();
    model->setData(model->index(0, first->Table().ColumnNumber(u"Name Vorname") - 1), u"Meier, Anna"_s);
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(places.recoveryFolder + u"/recovery.fil"_s); }));
    QTest::qWait(100); // the writer finishes
    first.reset();     // gone without the end command or the close question, as in a crash

    ScriptedUi secondUi;
    frmVastrel second(WindowServices{places, &secondUi, &settings, &remembered, 20});
    second.show();
    secondUi.AnswerBox(MessageAnswer::Yes);
    second.OfferRecovery();
    ASSERT_EQ(secondUi.Boxes().size(), 1u);
    EXPECT_TRUE(secondUi.Boxes()[0].text.startsWith(u"Es gibt ungesicherte Änderungen vom "_s));
    EXPECT_TRUE(secondUi.Boxes()[0].text.endsWith(u" (noch nicht gespeichert). Wiederherstellen?"_s));
    EXPECT_EQ(second.Table().CellText(1, u"Name Vorname"), u"Meier, Anna"_s);
    EXPECT_TRUE(second.isWindowModified());
    second.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&second));
    QTest::keyClick(second.Grid().View(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(second.Table().CellText(1, u"Name Vorname"), QString());
    EXPECT_FALSE(second.isWindowModified());
}

} // namespace

namespace {

// A table that is clean is never written for recovery, and a save removes what an earlier change
// left there: after an open, a change, a save and a crash, the next start has nothing to offer.
TEST_F(MainWindowTest, ASavedOrOpenedTableLeavesNothingToRecover) {
    QTemporaryDir home;
    const Places places = PlacesIn(home.path());
    QFile csv(dir.filePath(u"Start.csv"_s));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("Kopf\r\n1;2024;;w;;Meier, Anna\r\n");
    csv.close();
    ScriptedUi firstUi;
    MemorySettings firstSettings;
    auto first =
        std::make_unique<frmVastrel>(WindowServices{places, &firstUi, &settings, &firstSettings, 20});
    first->show();
    first->OpenAtStart(dir.filePath(u"Start.csv"_s));
    QTest::qWait(150);
    EXPECT_FALSE(QDir(places.recoveryFolder).exists()) << "an opened table was written for recovery";

    QAbstractItemModel* model = first->Grid().View()->model();
    model->setData(model->index(0, first->Table().ColumnNumber(u"Name Vorname") - 1), u"Schulz, Eva"_s);
    const QString recovery = places.recoveryFolder + u"/recovery.fil"_s;
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(recovery); }));
    QTest::qWait(100); // the writer finishes
    firstUi.AnswerFileDialog({dir.filePath(u"Neu"_s), 2});
    first->Toolbar().Item(u"btnDbSpeichernUnter"_s)->trigger();
    EXPECT_TRUE(WaitFor([&] { return !QFile::exists(recovery); }));
    first.reset(); // gone without the end command or the close question, as in a crash

    ScriptedUi secondUi;
    frmVastrel second(WindowServices{places, &secondUi, &settings, &remembered, 20});
    second.OfferRecovery();
    EXPECT_TRUE(secondUi.Boxes().empty());
}

// The data folder cannot be written (a file stands in its place): the status bar says so once,
// the title keeps its mark, and every later change tries again.
TEST_F(MainWindowTest, AFailedAutosaveIsSaidOnceAndTriedAgain) {
    QTemporaryDir home;
    Places places = PlacesIn(home.path());
    places.recoveryFolder = home.filePath(u"belegt"_s);
    QFile blocker(places.recoveryFolder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ScriptedUi boxes;
    MemorySettings mine;
    frmVastrel blocked(WindowServices{places, &boxes, &settings, &mine, 20});
    blocked.show();
    QAbstractItemModel* model = blocked.Grid().View()->model();
    const int name = blocked.Table().ColumnNumber(u"Name Vorname") - 1;
    const QString said = u"Die automatische Sicherung ist fehlgeschlagen: Die Datei \""_s +
                         QDir::toNativeSeparators(places.recoveryFolder + u"/recovery.fil"_s) +
                         u"\" konnte nicht geschrieben werden: Der Ordner ist nicht vorhanden."_s;
    model->setData(model->index(0, name), u"Schulz, Eva"_s);
    ASSERT_TRUE(WaitFor([&] { return blocked.WindowUi().StatusText(StatusPanel::Status) == said; }))
        << blocked.WindowUi().StatusText(StatusPanel::Status).toStdString();
    EXPECT_TRUE(blocked.isWindowModified());
    blocked.WindowUi().SetStatusText(StatusPanel::Status, u"Status  "_s);
    model->setData(model->index(0, name), u"Schulz, Ute"_s);
    QTest::qWait(200); // failed again: not said again
    EXPECT_EQ(blocked.WindowUi().StatusText(StatusPanel::Status), u"Status  "_s);

    ASSERT_TRUE(QFile::remove(places.recoveryFolder)); // the folder can be made again
    model->setData(model->index(0, name), u"Schulz, Eva"_s);
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(places.recoveryFolder + u"/recovery.fil"_s); }));
}

// A long command lets events through for its progress; a resize among them repaints, but the
// lock the command holds stays until the command ends it.
TEST_F(MainWindowTest, AResizeNeverEndsALockACommandHolds) {
    window.show();
    window.Table().LockUpdate(true);
    window.resize(1000, 700);
    QTest::qWait(20);
    window.resize(1100, 720);
    QTest::qWait(20);
    EXPECT_TRUE(window.Table().IsLocked());
    window.Table().LockUpdate(false);
}

} // namespace
