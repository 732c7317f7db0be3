#include "app/CertificateCommand.h"

#include "app/CommandKeys.h"
#include "formats/CertificateTemplate.h"
#include "ports/MainWindowState.h"
#include "ports/PdfOutput.h"
#include "ports/Ui.h"
#include "scoring/Ranking.h"
#include "system/FileErrors.h"
#include "system/FileHelpers.h"
#include "system/TextEncoding.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <optional>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

// A name is taken by a file or a link, even one that leads nowhere: a save would write through it.
bool IsTaken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

constexpr qsizetype kLongestBaseNameBytes = 200;

bool IsForbiddenInFileName(QChar c) {
    return c.unicode() < 0x20 || QStringView(u"/\\:*?\"<>|").contains(c);
}

bool EndsWithSeparator(const QString& text) {
    return text.endsWith(u'/') || text.endsWith(u'\\');
}

// What the certificates' paths begin with. A folder is a folder with or without its closing
// separator, and is created when missing; a text that names none may still be the start of the
// file names, as it always could be, if the user says so. Nothing when cancelled or not created.
std::optional<QString> OutputPrefix(const QString& typed, Ui& ui, QString* error) {
    if (typed.isEmpty()) {
        return typed; // the current folder
    }
    if (QFileInfo(typed).isDir()) {
        return EndsWithSeparator(typed) ? typed : typed + u'/';
    }
    const QString folder = EndsWithSeparator(typed) ? typed : typed + u'/';
    if (!EndsWithSeparator(typed)) {
        const QFileInfo named(typed);
        const MessageAnswer answer = ui.MessageBox(
            u"Der Ordner \"%1\" ist nicht vorhanden. Soll er angelegt werden?\r\n\r\n"
            u"Bei Nein beginnen die Namen der Urkunden mit \"%2\" und stehen im Ordner \"%3\"."_s.arg(
                QDir::toNativeSeparators(typed), named.fileName(), QDir::toNativeSeparators(named.path())),
            u"Vastrel"_s, MessageButtons::YesNoCancel, MessageIcon::Question);
        if (answer == MessageAnswer::No) {
            return typed;
        }
        if (answer != MessageAnswer::Yes) {
            return std::nullopt;
        }
    }
    if (!QDir().mkpath(folder)) {
        *error = u"Der Ordner \"%1\" konnte nicht angelegt werden."_s.arg(QDir::toNativeSeparators(folder));
        return std::nullopt;
    }
    return folder;
}

// One line for the run: how many certificates went where.
void ShowCertificatesWritten(Ui& ui, const QStringList& written, qsizetype pdfPages) {
    if (written.isEmpty()) {
        ui.ShowWritten(u"Es wurde keine Urkunde geschrieben: Keine Zeile ist ausgewählt."_s, QString());
        return;
    }
    const QFileInfo first(written.first());
    const QString folder = QDir::toNativeSeparators(first.absolutePath());
    const qsizetype count = pdfPages > 0 ? pdfPages : written.size();
    const QString where =
        pdfPages > 0 ? u"in die Datei \"%1\""_s.arg(QDir::toNativeSeparators(first.absoluteFilePath()))
                     : u"in den Ordner \"%1\""_s.arg(folder);
    const QString text = count == 1 ? u"1 Urkunde wurde %1 geschrieben."_s.arg(where)
                                    : u"%1 Urkunden wurden %2 geschrieben."_s.arg(count).arg(where);
    ui.ShowWritten(text, first.absolutePath());
}

} // namespace

// What the menu item puts on the certificate; another key fills only the name.
CertificateScope CertificateScopeOf(const QString& variant) {
    if (variant == keys::kCertificateDay1) {
        return CertificateScope::Day1;
    }
    if (variant == keys::kCertificateDay2) {
        return CertificateScope::Day2;
    }
    if (variant == keys::kCertificateDay3) {
        return CertificateScope::Day3;
    }
    if (variant == keys::kCertificateDay4) {
        return CertificateScope::Day4;
    }
    if (variant == keys::kCertificateAllDays || variant == keys::kCertificateComplete) {
        return CertificateScope::AllDays;
    }
    return CertificateScope::NameOnly;
}

QString CertificateBaseName(const QString& name) {
    QString base = name.isEmpty() ? u"Fehler.txt"_s : name;
    base.replace(u',', u'_').remove(u' ');
    for (QChar& c : base) {
        if (IsForbiddenInFileName(c)) {
            c = u'_';
        }
    }
    // File systems hold names of 255 bytes: a long name is cut, with room left for "_2.rtf".
    while (base.toUtf8().size() > kLongestBaseNameBytes) {
        base.chop(base.size() >= 2 && base.at(base.size() - 1).isLowSurrogate() ? 2 : 1);
    }
    return base;
}

namespace {

// The certificates of the run as one PDF, from the HTML template beside the RTF one.
QStringList WriteCertificatesPdf(const TableView& view, Ui& ui, const MainWindowState& state,
                                 const QString& templatePath, const QString& folder, PdfOutput& pdf) {
    const ResultTable& table = view.Table();
    const auto fail = [&](const QString& description) {
        ui.SetStatusText(StatusPanel::Progress, u"Fehler beim Urkundenausdruck!  "_s);
        ui.MessageBox(u"Fehler: "_s + description, u"Vastrel"_s, MessageButtons::Ok,
                      MessageIcon::Exclamation);
        ui.SetBusy(false);
        return QStringList();
    };
    const QFileInfo rtf(templatePath);
    const QString htmlTemplate = rtf.dir().filePath(rtf.completeBaseName() + u".htm"_s);
    QFile file(htmlTemplate);
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(ReadFailureMessage(htmlTemplate, ReadFailureReason(file)));
    }
    const QString document = QString::fromUtf8(file.readAll());
    const CertificateScope scope = CertificateScopeOf(state.certificateVariant);
    const std::vector<int> places = PlacesByPoints(table, PlacePointsKey(scope));
    QStringList pages;
    for (int row = 1; row <= table.RowCount(); ++row) {
        if (view.RowSelected(row)) {
            pages << FillCertificate(document, table, row, scope, places[static_cast<std::size_t>(row - 1)],
                                     Markup::Html);
        }
    }
    QStringList written;
    if (!pages.isEmpty()) {
        QString base = u"Urkunden"_s;
        for (int n = 2; IsTaken(folder + base + u".pdf"_s); ++n) {
            base = u"Urkunden_%1"_s.arg(n); // a file that was there stays as it was
        }
        const QString path = folder + base + u".pdf"_s;
        QString error;
        if (!pdf.WriteCertificates(pages, path, state.baseCaption, &error)) {
            return fail(error);
        }
        written << path;
        ui.SetStatusText(StatusPanel::Progress, u"Urkundenausdruck "_s + path + u" abgeschlossen!  "_s);
    }
    ui.SetStatusText(StatusPanel::Progress, u"Urkundenausdruck beendet!  "_s);
    ui.SetBusy(false);
    ShowCertificatesWritten(ui, written, pages.size());
    return written;
}

} // namespace

QStringList WriteCertificates(TableView& view, Ui& ui, const MainWindowState& state,
                              const QString& templatePath, const QString& defaultFolder, PdfOutput* pdf) {
    ResultTable& table = view.Table();
    if (table.RowCount() == 0) {
        return {};
    }
    ui.SetBusy(true);
    const auto typed = ui.FolderBox(u"Ausgabepfad Urkunden: "_s, u"Eingabe Pfad"_s, defaultFolder);
    if (!typed) {
        ui.SetBusy(false);
        return {}; // cancelled: nothing written, nothing shown
    }
    const auto fail = [&](const QString& description) {
        ui.SetStatusText(StatusPanel::Progress, u"Fehler beim Urkundenausdruck!  "_s);
        ui.MessageBox(u"Fehler: "_s + description, u"Vastrel"_s, MessageButtons::Ok,
                      MessageIcon::Exclamation);
        table.LockUpdate(false);
        ui.SetBusy(false);
    };
    QString error;
    const std::optional<QString> folder = OutputPrefix(*typed, ui, &error);
    if (!folder) {
        if (!error.isEmpty()) {
            fail(error);
        } else {
            ui.SetBusy(false);
        }
        return {};
    }
    if (state.certificatesPdf && pdf) {
        return WriteCertificatesPdf(view, ui, state, templatePath, *folder, *pdf);
    }
    const CertificateScope scope = CertificateScopeOf(state.certificateVariant);
    const std::vector<int> places = PlacesByPoints(table, PlacePointsKey(scope));
    table.LockUpdate(true);
    QStringList written;
    QStringList baseNames;
    QSet<QString> used;
    const int rowCount = table.RowCount();
    for (int row = 1; row <= rowCount; ++row) {
        if (!view.RowSelected(row)) {
            continue;
        }
        ui.ProcessPendingEvents();
        QFile templateFile(templatePath);
        if (!templateFile.open(QIODevice::ReadOnly)) {
            fail(ReadFailureMessage(templatePath, ReadFailureReason(templateFile)));
            return written;
        }
        const QString document = FromWindows1252(templateFile.readAll());
        templateFile.close();

        // Two competitors of one name get two certificates, and a file that was there before
        // (another certificate, the template itself) is never replaced.
        const QString stem = CertificateBaseName(table.CellText(row, u"Name Vorname"));
        QString base = stem;
        for (int n = 2; used.contains(base.toCaseFolded()) || IsTaken(*folder + base + u".rtf"_s); ++n) {
            base = stem + u'_' + QString::number(n);
        }
        used.insert(base.toCaseFolded());
        const QString path = *folder + base + u".rtf"_s;
        const QString filled =
            FillCertificate(document, table, row, scope, places[static_cast<std::size_t>(row - 1)]) +
            u"\r\n"_s;
        if (!WriteFileAtomically(path, ToWindows1252(filled), &error)) {
            fail(error);
            return written;
        }
        written << path;
        baseNames << base;
        ui.SetStatusText(StatusPanel::Progress,
                         u"Urkundenausdruck "_s + *folder + base + u".rtf abgeschlossen!  "_s);
        ui.ProcessPendingEvents();
    }
    table.LockUpdate(false);
    for (qsizetype i = 0; i < written.size(); ++i) {
        if (!FileExists(written.at(i))) {
            ui.MessageBox(u"Fehler: "_s + baseNames.at(i) + u" konnte nicht gedruckt werden!"_s, u"Vastrel"_s,
                          MessageButtons::Ok, MessageIcon::Exclamation);
        }
    }
    ui.SetStatusText(StatusPanel::Progress, u"Urkundenausdruck beendet!  "_s);
    ui.SetBusy(false);
    ShowCertificatesWritten(ui, written, 0);
    return written;
}

} // namespace vastrel
