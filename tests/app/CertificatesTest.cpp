#include "GTestPrinters.h"
#include "ScriptedUi.h"
#include "app/CertificateCommand.h"
#include "formats/CertificateTemplate.h"
#include "ports/MainWindowState.h"
#include "system/TextEncoding.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

TEST(RtfEscaped, MakesCellTextsSafeForTheCertificate) {
    EXPECT_EQ(RtfEscaped(u"Meier {Anna} \\ Eva"_s), u"Meier \\{Anna\\} \\\\ Eva"_s);
    EXPECT_EQ(RtfEscaped(u"Müller, Jörg €"_s), u"M\\'fcller, J\\'f6rg \\'80"_s);
    EXPECT_EQ(RtfEscaped(u"Dvořák"_s), u"Dvo\\u345?\\'e1k"_s);
    EXPECT_EQ(RtfEscaped(u"😀"_s), u"\\u-10179?\\u-8704?"_s);
    EXPECT_EQ(RtfEscaped(u"4:05.3"_s), u"4:05.3"_s);
}

TEST(CertificateBaseName, FollowsTheNameAndNeverLeavesTheFolder) {
    EXPECT_EQ(CertificateBaseName(u"Müller, Hans"_s), u"Müller_Hans"_s);
    EXPECT_EQ(CertificateBaseName(u"Meier, Anna und Eva"_s), u"Meier_AnnaundEva"_s);
    EXPECT_EQ(CertificateBaseName(QString()), u"Fehler.txt"_s);
    EXPECT_EQ(CertificateBaseName(u"../../etc/passwd"_s), u".._.._etc_passwd"_s);
    EXPECT_EQ(CertificateBaseName(u"A\\B:C*D?E\"F<G>H|I\tJ"_s), u"A_B_C_D_E_F_G_H_I_J"_s);
}

class FillTest : public ::testing::Test {
protected:
    FillTest() {
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
        AppendEmptyRow(table, view);
        for (int c = 1; c <= 33; ++c) {
            table.SetCellText(1, c, table.Key(c) + u'!');
        }
    }
    QString Fill(const char16_t* variant) const {
        return FillCertificate(kTemplate, table, 1, CertificateScopeOf(QString::fromUtf16(variant)));
    }

    const QString kTemplate =
        u"#NameVorname#|#60m#|#1500m#|#400m#|#100m#|#3000m#|#800m#|#200m#|#5000m#|#1000m#|#10km#|"
        u"#Punkte1#|#Punkte2#|#Punkte3#|#Punkte4#|#Punkte5#|#Punkte6#|#Punkte7#|#Punkte8#|"
        u"#Punkte9#|#Summe1#|#Summe2#|#Summe3#|#Summe4#|#Gesamt#"_s;
    ResultTable table;
    TableView view{table};
};

// The filled template, field by field: the cells named (each holds its key and "!"), others empty.
QString Expected(const QStringList& filled, const QString& total) {
    const QStringList order = {u"60m"_s,     u"1500m"_s,   u"400m"_s,    u"100m"_s,    u"3000m"_s,
                               u"800m"_s,    u"200m"_s,    u"5000m"_s,   u"1000m"_s,   u"10km"_s,
                               u"Punkte1"_s, u"Punkte2"_s, u"Punkte3"_s, u"Punkte4"_s, u"Punkte5"_s,
                               u"Punkte6"_s, u"Punkte7"_s, u"Punkte8"_s, u"Punkte9"_s, u"Summe1"_s,
                               u"Summe2"_s,  u"Summe3"_s,  u"Summe4"_s};
    QStringList fields = {u"Name Vorname!"_s};
    for (const QString& key : order) {
        fields << (filled.contains(key) ? key + u'!' : QString());
    }
    fields << total + u'!';
    return fields.join(u'|');
}

TEST_F(FillTest, EachVariantFillsItsDays) {
    EXPECT_EQ(Fill(u"Urkunde1Tag"), Expected({u"60m"_s, u"1500m"_s, u"400m"_s, u"Punkte1"_s, u"Punkte2"_s,
                                              u"Punkte3"_s, u"Summe1"_s},
                                             u"Summe1"_s));
    EXPECT_EQ(Fill(u"Urkunde2Tag"), Expected({u"100m"_s, u"3000m"_s, u"800m"_s, u"Punkte4"_s, u"Punkte5"_s,
                                              u"Punkte6"_s, u"Summe2"_s},
                                             u"Summe2"_s));
    EXPECT_EQ(Fill(u"Urkunde3Tag"), Expected({u"200m"_s, u"5000m"_s, u"1000m"_s, u"Punkte7"_s, u"Punkte8"_s,
                                              u"Punkte9"_s, u"Summe3"_s},
                                             u"Summe3"_s));
    EXPECT_EQ(Fill(u"Urkunde4Tag"), Expected({u"10km"_s, u"Summe4"_s}, u"Summe4"_s));
    const QStringList everything = {u"60m"_s,     u"1500m"_s,   u"400m"_s,    u"100m"_s,    u"3000m"_s,
                                    u"800m"_s,    u"200m"_s,    u"5000m"_s,   u"1000m"_s,   u"10km"_s,
                                    u"Punkte1"_s, u"Punkte2"_s, u"Punkte3"_s, u"Punkte4"_s, u"Punkte5"_s,
                                    u"Punkte6"_s, u"Punkte7"_s, u"Punkte8"_s, u"Punkte9"_s, u"Summe1"_s,
                                    u"Summe2"_s,  u"Summe3"_s,  u"Summe4"_s};
    EXPECT_EQ(Fill(u"UrkundeKomplett"), Expected(everything, u"Gesamt"_s));
    EXPECT_EQ(Fill(u"UrkundeAlles"), Expected(everything, u"Gesamt"_s)); // "1.-4.Tag" carries the total too
}

TEST_F(FillTest, AnotherKeyFillsOnlyTheName) {
    EXPECT_EQ(Fill(u"Unbekannt"), QString(kTemplate).replace(u"#NameVorname#"_s, u"Name Vorname!"_s));
}

TEST_F(FillTest, ThePlaceFillsItsPlaceholderOnEveryScopeButTheNameOnly) {
    const QString sentence = u"#NameVorname# belegte den #Platz#. Platz"_s;
    EXPECT_EQ(FillCertificate(sentence, table, 1, CertificateScope::Day2, 2),
              u"Name Vorname! belegte den 2. Platz"_s);
    EXPECT_EQ(FillCertificate(sentence, table, 1, CertificateScope::AllDays, 0),
              u"Name Vorname! belegte den . Platz"_s);
    EXPECT_EQ(FillCertificate(sentence, table, 1, CertificateScope::NameOnly, 2),
              u"Name Vorname! belegte den #Platz#. Platz"_s);
    EXPECT_EQ(
        FillCertificate(u"<b>#NameVorname#</b>"_s, table, 1, CertificateScope::AllDays, 1, Markup::Html),
        u"<b>Name Vorname!</b>"_s);
    EXPECT_EQ(PlacePointsKey(CertificateScope::Day3), u"Summe3");
    EXPECT_EQ(PlacePointsKey(CertificateScope::AllDays), u"Gesamt");
}

TEST_F(FillTest, ATemplateWithoutPlaceholdersStaysAsItIs) {
    EXPECT_EQ(FillCertificate(u"{\\rtf1 Urkunde}"_s, table, 1, CertificateScope::AllDays),
              u"{\\rtf1 Urkunde}"_s);
}

class CertificatesTest : public ::testing::Test {
protected:
    CertificatesTest() {
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
        templatePath = dir.filePath(u"Urkunde.rtf"_s);
        QFile file(templatePath);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1\\ansi\\ansicpg1252 Urkunde f\xFCr #NameVorname#: #Gesamt# Punkte}");
        file.close();
        state.certificateVariant = u"UrkundeKomplett"_s;
        QDir(dir.path()).mkdir(u"out"_s);
        out = dir.filePath(u"out"_s) + u'/';
    }
    int Add(const QString& name, const QString& total, bool selected = true) {
        AppendEmptyRow(table, view);
        const int row = table.RowCount();
        table.SetCellText(row, u"Name Vorname", name);
        table.SetCellText(row, u"Gesamt", total);
        view.SetRowSelected(row, selected);
        return row;
    }
    QByteArray Read(const QString& name) const {
        QFile f(out + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QStringList Written() const { return QDir(out).entryList(QDir::Files, QDir::Name); }
    QStringList Run() { return WriteCertificates(view, ui, state, templatePath, u"/default/"_s); }

    QTemporaryDir dir;
    QString templatePath;
    QString out;
    ScriptedUi ui;
    ResultTable table;
    TableView view{table};
    MainWindowState state;
};

TEST_F(CertificatesTest, OneCertificatePerSelectedRow) {
    Add(u"Müller, Hans"_s, u"4780"_s);
    Add(u"Schulz, Eva"_s, u"100"_s, false);
    Add(u"Meier {Anna}"_s, u"933"_s);
    ui.AnswerInput(out);
    Run();
    EXPECT_EQ(Written(), (QStringList{u"Meier{Anna}.rtf"_s, u"Müller_Hans.rtf"_s}));
    EXPECT_EQ(Read(u"Müller_Hans.rtf"_s),
              QByteArray("{\\rtf1\\ansi\\ansicpg1252 Urkunde f\xFCr M\\'fcller, Hans: 4780 Punkte}\r\n"));
    EXPECT_EQ(Read(u"Meier{Anna}.rtf"_s),
              QByteArray("{\\rtf1\\ansi\\ansicpg1252 Urkunde f\xFCr Meier \\{Anna\\}: 933 Punkte}\r\n"));
    EXPECT_EQ(ui.StatusHistory(StatusPanel::Progress),
              (QStringList{u"Urkundenausdruck "_s + out + u"Müller_Hans.rtf abgeschlossen!  "_s,
                           u"Urkundenausdruck "_s + out + u"Meier{Anna}.rtf abgeschlossen!  "_s,
                           u"Urkundenausdruck beendet!  "_s}));
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_FALSE(ui.Busy());
    EXPECT_FALSE(table.IsLocked());
}

// A folder is a folder with or without its closing separator and is made when missing; a text
// that names no folder is, if the user says so, the start of the file names.
TEST_F(CertificatesTest, TheTypedFolderIsUsedAsAFolder) {
    struct Case {
        QString typed;
        std::optional<MessageAnswer> answer; // to the question whether to make the folder
        QString written;                     // empty: nothing
    };
    const QString base = dir.path() + u'/';
    const std::vector<Case> cases = {
        {out, {}, out + u"A.rtf"_s},
        {base + u"out"_s, {}, out + u"A_2.rtf"_s},
        {base + u"neu/Urkunden"_s, MessageAnswer::Yes, base + u"neu/Urkunden/A.rtf"_s},
        {base + u"out/Urk-"_s, MessageAnswer::No, out + u"Urk-A.rtf"_s},
        {base + u"neu2/"_s, {}, base + u"neu2/A.rtf"_s},
        {base + u"abgebrochen"_s, MessageAnswer::Cancel, QString()},
    };
    Add(u"A"_s, u"1"_s);
    for (const Case& c : cases) {
        const std::size_t boxesBefore = ui.Boxes().size();
        ui.AnswerInput(c.typed);
        if (c.answer) {
            ui.AnswerBox(*c.answer);
        }
        const QStringList written = Run();
        EXPECT_EQ(written, c.written.isEmpty() ? QStringList() : QStringList{c.written})
            << c.typed.toStdString();
        ASSERT_EQ(ui.Boxes().size(), boxesBefore + (c.answer ? 1 : 0));
        if (c.answer) {
            const QFileInfo named(c.typed);
            EXPECT_EQ(ui.Boxes().back().text,
                      QString{u"Der Ordner \""_s + c.typed +
                              u"\" ist nicht vorhanden. Soll er angelegt werden?\r\n\r\n"
                              u"Bei Nein beginnen die Namen der Urkunden mit \""_s +
                              named.fileName() + u"\" und stehen im Ordner \""_s + named.path() + u"\"."_s});
            EXPECT_EQ(ui.Boxes().back().buttons, MessageButtons::YesNoCancel);
        }
        EXPECT_FALSE(QFileInfo::exists(base + u"abgebrochen"_s));
        EXPECT_FALSE(ui.Busy());
    }
}

TEST_F(CertificatesTest, OneNoticeSaysHowManyWentWhere) {
    Add(u"A"_s, u"1"_s);
    Add(u"B"_s, u"2"_s);
    ui.AnswerInput(out);
    Run();
    const QString folder = dir.filePath(u"out"_s);
    using Notice = std::pair<QString, QString>;
    const std::vector<Notice> expected = {
        {u"2 Urkunden wurden in den Ordner \""_s + folder + u"\" geschrieben."_s, folder}};
    EXPECT_EQ(ui.WrittenNotices(), expected);
    view.SetRowSelected(2, false);
    ui.AnswerInput(out);
    Run();
    EXPECT_EQ(ui.WrittenNotices().back(),
              Notice(u"1 Urkunde wurde in den Ordner \""_s + folder + u"\" geschrieben."_s, folder));
    view.SetRowSelected(1, false);
    ui.AnswerInput(out);
    Run();
    EXPECT_EQ(ui.WrittenNotices().back(),
              Notice(u"Es wurde keine Urkunde geschrieben: Keine Zeile ist ausgewählt."_s, QString()));
    EXPECT_TRUE(ui.Boxes().empty());
}

TEST_F(CertificatesTest, EqualNamesGetNumberedFilesInsteadOfOverwritingEachOther) {
    Add(u"Meier, Anna"_s, u"1"_s);
    Add(u"Meier, Anna"_s, u"2"_s);
    Add(QString(), u"3"_s);
    Add(QString(), u"4"_s);
    ui.AnswerInput(out);
    Run();
    EXPECT_EQ(Written(), (QStringList{u"Fehler.txt.rtf"_s, u"Fehler.txt_2.rtf"_s, u"Meier_Anna.rtf"_s,
                                      u"Meier_Anna_2.rtf"_s}));
    EXPECT_TRUE(Read(u"Meier_Anna_2.rtf"_s).contains(": 2 Punkte"));
}

TEST_F(CertificatesTest, CancellingWritesNothingAndShowsNothing) {
    Add(u"A"_s, u"1"_s);
    ui.AnswerInput(std::nullopt);
    EXPECT_TRUE(Run().isEmpty());
    EXPECT_TRUE(Written().isEmpty());
    EXPECT_TRUE(ui.StatusHistory(StatusPanel::Progress).isEmpty());
    EXPECT_FALSE(ui.Busy());
}

TEST_F(CertificatesTest, WithoutRowsNothingIsAskedAndWithoutSelectionNothingIsReported) {
    Run(); // no input box scripted: one would fail the test
    Add(u"A"_s, u"1"_s, false);
    ui.AnswerInput(out);
    Run();
    EXPECT_TRUE(Written().isEmpty());
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_EQ(ui.StatusHistory(StatusPanel::Progress), QStringList{u"Urkundenausdruck beendet!  "_s});
}

TEST_F(CertificatesTest, AMissingTemplateEndsTheRunWithItsReason) {
    Add(u"A"_s, u"1"_s);
    QFile::remove(templatePath);
    ui.AnswerInput(out);
    ui.AnswerBox();
    Run();
    EXPECT_EQ(ui.BoxTexts(),
              QStringList{u"Fehler: Die Datei \""_s + QDir::toNativeSeparators(templatePath) +
                          u"\" konnte nicht gelesen werden: Die Datei ist nicht vorhanden."_s});
    EXPECT_EQ(ui.Boxes()[0].title, u"Vastrel"_s);
    EXPECT_EQ(ui.StatusText(StatusPanel::Progress), u"Fehler beim Urkundenausdruck!  "_s);
    EXPECT_FALSE(ui.Busy());
    EXPECT_FALSE(table.IsLocked());
}

TEST_F(CertificatesTest, AFolderThatCannotBeMadeEndsTheRunWithItsReason) {
    Add(u"A"_s, u"1"_s);
    const QString folder = templatePath + u"/neu/"_s; // below a file
    ui.AnswerInput(folder);
    ui.AnswerBox();
    Run();
    EXPECT_EQ(ui.BoxTexts(),
              QStringList{u"Fehler: Der Ordner \""_s + folder + u"\" konnte nicht angelegt werden."_s});
    EXPECT_EQ(ui.StatusText(StatusPanel::Progress), u"Fehler beim Urkundenausdruck!  "_s);
    EXPECT_TRUE(ui.WrittenNotices().empty());
    EXPECT_FALSE(ui.Busy());
    EXPECT_FALSE(table.IsLocked());
}

// Files that were there before the run stay as they were: an older certificate, the template
// itself; a name too long for the file system is cut and still written.
TEST_F(CertificatesTest, NothingThatWasThereBeforeIsReplaced) {
    QFile older(out + u"Müller_Hans.rtf"_s);
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.write("alt");
    older.close();
    Add(u"Müller, Hans"_s, u"4780"_s);
    Add(u"Urkunde"_s, u"100"_s);
    Add(QString(300, u'ü'), u"1"_s);
    ui.AnswerInput(out);
    Run();
    EXPECT_EQ(Read(u"Müller_Hans.rtf"_s), QByteArray("alt"));
    EXPECT_TRUE(Read(u"Müller_Hans_2.rtf"_s).contains(": 4780 Punkte"));
    const QString longName = QString(100, u'ü') + u".rtf"_s; // 200 bytes of UTF-8
    EXPECT_TRUE(Read(longName).contains(": 1 Punkte"));

    // The program's folder chosen as the output folder: the template is not overwritten.
    const QByteArray templateBefore = [&] {
        QFile t(templatePath);
        return t.open(QIODevice::ReadOnly) ? t.readAll() : QByteArray();
    }();
    ui.AnswerInput(dir.path() + u'/');
    Run();
    QFile t(templatePath);
    ASSERT_TRUE(t.open(QIODevice::ReadOnly));
    EXPECT_EQ(t.readAll(), templateBefore);
    EXPECT_TRUE(QFile::exists(dir.filePath(u"Urkunde_2.rtf"_s)));
    EXPECT_TRUE(ui.Boxes().empty());
}

#ifdef Q_OS_UNIX
// A link in the folder is taken as a file that is there, even when it leads nowhere: a certificate
// is never written through it to another place.
TEST_F(CertificatesTest, ALinkInTheFolderIsNeverWrittenThrough) {
    const QString elsewhere = dir.filePath(u"anderswo.rtf"_s);
    ASSERT_TRUE(QFile::link(elsewhere, out + u"Meier_Anna.rtf"_s)); // dangling
    Add(u"Meier, Anna"_s, u"2446"_s);
    ui.AnswerInput(out);
    Run();
    EXPECT_FALSE(QFileInfo::exists(elsewhere));
    EXPECT_TRUE(QFileInfo(out + u"Meier_Anna.rtf"_s).isSymLink());
    EXPECT_TRUE(Read(u"Meier_Anna_2.rtf"_s).contains(": 2446 Punkte"));
}
#endif

} // namespace
