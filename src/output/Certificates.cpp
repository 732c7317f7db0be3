#include "output/Certificates.h"

#include "app/MainWindowState.h"
#include "app/Ui.h"
#include "system/FileErrors.h"
#include "system/FileHelpers.h"
#include "system/TextEncoding.h"
#include "table/ResultTable.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <array>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

// The placeholders after "#NameVorname#", in the order they are filled.
constexpr std::array<const char16_t*, 24> kPlaceholders = {
    u"60m",     u"1500m",   u"400m",    u"100m",    u"3000m",   u"800m",    u"200m",    u"5000m",
    u"1000m",   u"10km",    u"Punkte1", u"Punkte2", u"Punkte3", u"Punkte4", u"Punkte5", u"Punkte6",
    u"Punkte7", u"Punkte8", u"Punkte9", u"Summe1",  u"Summe2",  u"Summe3",  u"Summe4",  u"Gesamt"};

// The day a placeholder belongs to (0 for the total).
int DayOf(QStringView key) {
    static const QHash<QString, int> days = {
        {u"60m"_s, 1},     {u"1500m"_s, 1},   {u"400m"_s, 1},    {u"Punkte1"_s, 1}, {u"Punkte2"_s, 1},
        {u"Punkte3"_s, 1}, {u"Summe1"_s, 1},  {u"100m"_s, 2},    {u"3000m"_s, 2},   {u"800m"_s, 2},
        {u"Punkte4"_s, 2}, {u"Punkte5"_s, 2}, {u"Punkte6"_s, 2}, {u"Summe2"_s, 2},  {u"200m"_s, 3},
        {u"5000m"_s, 3},   {u"1000m"_s, 3},   {u"Punkte7"_s, 3}, {u"Punkte8"_s, 3}, {u"Punkte9"_s, 3},
        {u"Summe3"_s, 3},  {u"10km"_s, 4},    {u"Summe4"_s, 4},
    };
    return days.value(key.toString(), 0);
}

// Which cell fills a placeholder on a certificate variant; empty for "replace with nothing",
// nothing for "leave it in place".
std::optional<QString> SourceFor(const QString& variant, QStringView placeholder) {
    static const QHash<QString, int> singleDays = {
        {u"Urkunde1Tag"_s, 1}, {u"Urkunde2Tag"_s, 2}, {u"Urkunde3Tag"_s, 3}, {u"Urkunde4Tag"_s, 4}};
    const bool allDays = variant == u"UrkundeAlles" || variant == u"UrkundeKomplett";
    if (!allDays && !singleDays.contains(variant)) {
        return std::nullopt; // another key fills only the name
    }
    if (placeholder == u"Gesamt") {
        // A day's certificate shows the day's sum as its total; "1.-4.Tag" carries the total
        // like "1.-4.Tag komplett".
        return allDays ? u"Gesamt"_s : u"Summe%1"_s.arg(singleDays.value(variant));
    }
    return (allDays || DayOf(placeholder) == singleDays.value(variant)) ? placeholder.toString() : QString();
}

bool IsForbiddenInFileName(QChar c) {
    return c.unicode() < 0x20 || QStringView(u"/\\:*?\"<>|").contains(c);
}

} // namespace

QString RtfEscaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += u'\\';
            out += c;
        } else if (u < 0x80) {
            out += c;
        } else if (FitsWindows1252(QString(c))) {
            out += u"\\'%1"_s.arg(static_cast<unsigned char>(ToWindows1252(QString(c)).at(0)), 2, 16,
                                  QChar(u'0'));
        } else {
            out += u"\\u%1?"_s.arg(static_cast<qint16>(u)); // RTF wants a signed 16-bit number
        }
    }
    return out;
}

QString CertificateBaseName(const QString& name) {
    QString base = name.isEmpty() ? u"Fehler.txt"_s : name;
    base.replace(u',', u'_').remove(u' ');
    for (QChar& c : base) {
        if (IsForbiddenInFileName(c)) {
            c = u'_';
        }
    }
    return base;
}

QString FillCertificate(QString document, const ResultTable& table, int row, const QString& variant) {
    const QString name = u"#NameVorname#"_s;
    if (document.contains(name)) {
        document.replace(name, RtfEscaped(table.CellText(row, u"Name Vorname")));
    }
    for (const char16_t* key : kPlaceholders) {
        const QString placeholder = u'#' + QString::fromUtf16(key) + u'#';
        if (!document.contains(placeholder)) {
            continue;
        }
        if (const auto source = SourceFor(variant, QStringView(key))) {
            document.replace(placeholder,
                             source->isEmpty() ? QString() : RtfEscaped(table.CellText(row, *source)));
        }
    }
    return document;
}

QStringList WriteCertificates(ResultTable& table, Ui& ui, const MainWindowState& state,
                              const QString& templatePath, const QString& defaultFolder) {
    if (table.RowCount() == 0) {
        return {};
    }
    ui.SetBusy(true);
    const auto folder = ui.InputBox(u"Ausgabepfad Urkunden: "_s, u"Eingabe Pfad"_s, defaultFolder);
    if (!folder) {
        ui.SetBusy(false);
        return {}; // cancelled: nothing written, nothing shown
    }
    const auto fail = [&](const QString& description) {
        ui.SetStatusText(u"3"_s, u"Fehler beim Urkundenausdruck!  "_s);
        ui.MessageBox(u"Fehler: "_s + description, u"Vastrel"_s, MessageButtons::Ok,
                      MessageIcon::Exclamation);
        table.LockUpdate(false);
        ui.SetBusy(false);
    };
    table.LockUpdate(true);
    QStringList written;
    QStringList baseNames;
    QSet<QString> used;
    const int rowCount = table.RowCount();
    for (int row = 1; row <= rowCount; ++row) {
        if (!table.RowSelected(row)) {
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

        // Two competitors of one name get two certificates, not one overwritten.
        QString base = CertificateBaseName(table.CellText(row, u"Name Vorname"));
        for (int n = 2; used.contains(base.toCaseFolded()); ++n) {
            base = CertificateBaseName(table.CellText(row, u"Name Vorname")) + u'_' + QString::number(n);
        }
        used.insert(base.toCaseFolded());
        const QString path = *folder + base + u".rtf"_s;
        QString error;
        const QString filled = FillCertificate(document, table, row, state.certificateVariant) + u"\r\n"_s;
        if (!WriteFileAtomically(path, ToWindows1252(filled), &error)) {
            fail(error);
            return written;
        }
        written << path;
        baseNames << base;
        ui.SetStatusText(u"3"_s, u"Urkundenausdruck "_s + *folder + base + u".rtf abgeschlossen!  "_s);
        ui.ProcessPendingEvents();
    }
    table.LockUpdate(false);
    for (qsizetype i = 0; i < written.size(); ++i) {
        if (!FileExists(written.at(i))) {
            ui.MessageBox(u"Fehler: "_s + baseNames.at(i) + u" konnte nicht gedruckt werden!"_s, u"Vastrel"_s,
                          MessageButtons::Ok, MessageIcon::Exclamation);
        }
    }
    ui.SetStatusText(u"3"_s, u"Urkundenausdruck beendet!  "_s);
    ui.SetBusy(false);
    return written;
}

} // namespace vastrel
