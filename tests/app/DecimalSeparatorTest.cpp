#include "system/DecimalSeparator.h"
#include "FakeRegionalSettings.h"
#include "GTestPrinters.h"
#include "ScriptedUi.h"
#include "app/DecimalSeparatorCheck.h"
#include "ports/Settings.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

TEST(DecimalSeparator, ACommaIsReplacedAndTheUserIsTold) {
    FakeRegionalSettings settings(u"1,1"_s);
    ScriptedUi ui;
    MemorySettings remembered;
    ui.AnswerBox();
    CheckDecimalSeparator(settings, ui, remembered);
    EXPECT_EQ(settings.writes,
              (QStringList{u"system:22=."_s, u"system:23= "_s, u"system:14=."_s, u"system:15= "_s}));
    EXPECT_EQ(settings.announcements, 1);
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].text, u"Das Dezimaltrennzeichen wurde von 'Komma' nach 'Punkt' geändert!   "_s);
    EXPECT_EQ(ui.Boxes()[0].title, u"Pardo-Viewer Ländereinstellung - Dezimaltrennzeichen"_s);
    EXPECT_EQ(ui.Boxes()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(ui.Boxes()[0].buttons, MessageButtons::Ok);

    // The next start on the same machine: the point is set again, the note is not repeated.
    FakeRegionalSettings again(u"1,1"_s);
    CheckDecimalSeparator(again, ui, remembered); // no further box scripted: one would fail the test
    EXPECT_EQ(again.writes.size(), 4);
    EXPECT_EQ(ui.Boxes().size(), 1u);
}

TEST(DecimalSeparator, APointOrAnyOtherSeparatorChangesNothing) {
    for (const QString& text : {u"1.1"_s, u"1٫1"_s, u"1'1"_s, u"1,10"_s}) {
        FakeRegionalSettings settings(text);
        ScriptedUi ui; // no box scripted: one would fail the test
        MemorySettings remembered;
        CheckDecimalSeparator(settings, ui, remembered);
        EXPECT_TRUE(settings.writes.isEmpty()) << text.toStdString();
        EXPECT_EQ(settings.announcements, 0);
    }
}

TEST(DecimalSeparator, AFailedLastWriteIsNotAnnouncedButStillTold) {
    FakeRegionalSettings settings(u"1,1"_s);
    settings.failThousands = true;
    ScriptedUi ui;
    MemorySettings remembered;
    ui.AnswerBox();
    CheckDecimalSeparator(settings, ui, remembered);
    EXPECT_EQ(settings.writes.size(), 4);
    EXPECT_EQ(settings.announcements, 0);
    EXPECT_EQ(ui.Boxes().size(), 1u);
}

TEST(DecimalSeparator, SetNumberSeparatorsAnswersWhetherTheLastWriteTook) {
    FakeRegionalSettings settings(u"1.1"_s);
    EXPECT_TRUE(SetNumberSeparators(settings, u","_s, u"."_s, false));
    EXPECT_EQ(settings.writes, (QStringList{u"user:22=,"_s, u"user:23=."_s, u"user:14=,"_s, u"user:15=."_s}));
    settings.failThousands = true;
    EXPECT_FALSE(SetNumberSeparators(settings, u"."_s, u" "_s, true));
}

} // namespace
