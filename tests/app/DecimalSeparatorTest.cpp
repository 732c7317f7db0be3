#include "system/DecimalSeparator.h"
#include "FakeRegionalSettings.h"
#include "GTestPrinters.h"
#include "ScriptedUi.h"
#include "app/DecimalSeparatorCheck.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

TEST(DecimalSeparator, ACommaIsReplacedAndTheUserIsTold) {
    FakeRegionalSettings settings(u"1,1"_s);
    ScriptedUi ui;
    ui.AnswerBox();
    CheckDecimalSeparator(settings, ui);
    EXPECT_EQ(settings.writes,
              (QStringList{u"system:22=."_s, u"system:23= "_s, u"system:14=."_s, u"system:15= "_s}));
    EXPECT_EQ(settings.announcements, 1);
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].text, u"Das Dezimaltrennzeichen wurde von 'Komma' nach 'Punkt' geändert!   "_s);
    EXPECT_EQ(ui.Boxes()[0].title, u"Pardo-Viewer Ländereinstellung - Dezimaltrennzeichen"_s);
    EXPECT_EQ(ui.Boxes()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(ui.Boxes()[0].buttons, MessageButtons::Ok);
}

TEST(DecimalSeparator, APointOrAnyOtherSeparatorChangesNothing) {
    for (const QString& text : {u"1.1"_s, u"1٫1"_s, u"1'1"_s, u"1,10"_s}) {
        FakeRegionalSettings settings(text);
        ScriptedUi ui; // no box scripted: one would fail the test
        CheckDecimalSeparator(settings, ui);
        EXPECT_TRUE(settings.writes.isEmpty()) << text.toStdString();
        EXPECT_EQ(settings.announcements, 0);
    }
}

TEST(DecimalSeparator, AFailedLastWriteIsNotAnnouncedButStillTold) {
    FakeRegionalSettings settings(u"1,1"_s);
    settings.failThousands = true;
    ScriptedUi ui;
    ui.AnswerBox();
    CheckDecimalSeparator(settings, ui);
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
