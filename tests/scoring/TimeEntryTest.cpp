#include "scoring/TimeEntry.h"
#include "ScoringFixture.h"

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

struct EntryCase {
    const char16_t* column;
    const char16_t* typed;
    const char16_t* stored;
    QStringList messages;
};

void PrintTo(const EntryCase& c, std::ostream* os) {
    *os << QString::fromUtf16(c.column).toStdString() << " «" << QString::fromUtf16(c.typed).toStdString()
        << "»";
}

class TimeEntry : public ScoringTest, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(TimeEntry, StoresTheTidiedTextAndReportsInOrder) {
    const EntryCase& c = GetParam();
    ui.AnswerBoxes(static_cast<int>(c.messages.size()));
    QString text = QString::fromUtf16(c.typed);
    ValidateTimeEntry(table, table.ColumnNumber(c.column), text, ui);
    EXPECT_EQ(text, QString::fromUtf16(c.stored));
    EXPECT_EQ(ui.BoxTexts(), c.messages);
    for (const RecordedBox& box : ui.Boxes()) {
        EXPECT_EQ(box.title, u"Vastrel"_s);
        EXPECT_EQ(box.icon, MessageIcon::Exclamation);
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
    }
}

const QString kSprintError = u"Formatfehler [00.0]!"_s;
const QString kMiddleWarning = u"Formatfehler [0:00.0]?"_s;
const QString kMiddleError = u"Formatfehler [0:00.0]!"_s;
const QString kTenKmWarning = u"Formatfehler [0:00:00.0]?"_s;
const QString kTenKmError = u"Formatfehler [0:00:00.0]!"_s;

INSTANTIATE_TEST_SUITE_P(
    TypedTimes, TimeEntry,
    ::testing::Values(
        EntryCase{u"60m", u"7,85", u"7.85", {}}, EntryCase{u"60m", u"8", u"8.0", {}},
        // blanks typed around a time are no part of it
        EntryCase{u"60m", u" 8 ", u"8.0", {}}, EntryCase{u"10km", u" 38:12,4 ", u"0:38:12.4", {}},
        EntryCase{u"200m", u"1:05.2", u"", {kSprintError}}, EntryCase{u"100m", u"", u"", {kSprintError}},
        EntryCase{u"100m", u"12,", u"12.", {}}, EntryCase{u"60m", u"7.5s", u"", {kSprintError}},
        EntryCase{u"1500m", u"4:5", u"4:5.0", {}}, EntryCase{u"1500m", u"4:05,3", u"4:05.3", {}},
        EntryCase{u"1500m", u"4:65.2", u"4:65.2", {kMiddleWarning}},
        EntryCase{u"1500m", u"4:59.5", u"4:59.5", {kMiddleWarning}},
        EntryCase{u"1500m", u"4:59,5", u"4:59.5", {}},
        EntryCase{u"1500m", u"60:00", u"60:00.0", {kMiddleWarning}},
        EntryCase{u"1500m", u"245.3", u"", {kMiddleWarning, kMiddleError}},
        EntryCase{u"800m", u"1:02:03", u"", {kMiddleError}},
        EntryCase{u"400m", u"", u"", {kMiddleWarning, kMiddleError}},
        EntryCase{u"10km", u"38:12,4", u"0:38:12.4", {}}, EntryCase{u"10km", u"1:02:03", u"1:02:03.0", {}},
        EntryCase{u"10km", u"2345", u"", {kTenKmWarning, kTenKmError}},
        EntryCase{u"10km", u"0:61:70", u"0:61:70.0", {kTenKmWarning, kTenKmWarning}},
        EntryCase{u"10km", u"0:59,95:00", u"0:59.95:00", {}},
        EntryCase{u"10km", u"1:2:3:4", u"", {kTenKmError}}, EntryCase{u"10km", u"", u"", {}},
        EntryCase{u"Bemerkung", u"7,5", u"7,5", {}},
        EntryCase{u"Name Vorname", u"Meier, Hans", u"Meier, Hans", {}}, EntryCase{u"Punkte1", u"", u"", {}}));

} // namespace
