#include "formats/CertificateTemplate.h"

#include "system/TextEncoding.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"

#include <vector>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

struct Placeholder {
    QString key;
    QString text; // the key between two "#"
};

// The placeholders after "#NameVorname#", in the order they are filled: the times, the points,
// the day sums, the total. Made once: every certificate looks for each of them.
const std::vector<Placeholder>& Placeholders() {
    static const std::vector<Placeholder> placeholders = [] {
        QStringList keys;
        for (const Distance& d : kDistances) {
            keys << QString::fromUtf16(d.timeKey);
        }
        keys << PointsColumnKeys();
        for (const char16_t* sum : kDaySumKeys) {
            keys << QString::fromUtf16(sum);
        }
        keys << QString::fromUtf16(kTotalKey);
        std::vector<Placeholder> all;
        for (const QString& key : keys) {
            all.push_back({key, u'#' + key + u'#'});
        }
        return all;
    }();
    return placeholders;
}

// Which cell fills a placeholder; empty for "replace with nothing", nothing for "leave it".
std::optional<QString> SourceFor(CertificateScope scope, const QString& placeholder) {
    if (scope == CertificateScope::NameOnly) {
        return std::nullopt;
    }
    const int day = static_cast<int>(scope); // 0 for all days
    if (placeholder == QStringView(kTotalKey)) {
        // A day's certificate shows the day's sum as its total; "1.-4.Tag" carries the total
        // like "1.-4.Tag komplett".
        return day == 0 ? placeholder : QString::fromUtf16(kDaySumKeys[static_cast<std::size_t>(day - 1)]);
    }
    return (day == 0 || DayOf(placeholder) == day) ? placeholder : QString();
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
        } else if (FitsWindows1252(QStringView(&c, 1))) {
            out += u"\\'%1"_s.arg(static_cast<unsigned char>(ToWindows1252(QStringView(&c, 1)).at(0)), 2, 16,
                                  QChar(u'0'));
        } else {
            out += u"\\u%1?"_s.arg(static_cast<qint16>(u)); // RTF wants a signed 16-bit number
        }
    }
    return out;
}

QStringView PlacePointsKey(CertificateScope scope) {
    const int day = static_cast<int>(scope);
    return day >= 1 && day <= kDayCount ? QStringView(kDaySumKeys[static_cast<std::size_t>(day - 1)])
                                        : QStringView(kTotalKey);
}

QString FillCertificate(QString document, const ResultTable& table, int row, CertificateScope scope,
                        int place, Markup markup) {
    const auto escaped = [markup](const QString& text) {
        return markup == Markup::Rtf ? RtfEscaped(text) : text.toHtmlEscaped();
    };
    const QString name = u"#NameVorname#"_s;
    if (document.contains(name)) {
        document.replace(name, escaped(table.CellText(row, u"Name Vorname")));
    }
    for (const auto& [key, placeholder] : Placeholders()) {
        if (!document.contains(placeholder)) {
            continue;
        }
        if (const auto source = SourceFor(scope, key)) {
            document.replace(placeholder,
                             source->isEmpty() ? QString() : escaped(table.CellText(row, *source)));
        }
    }
    const QString placeholder = u"#Platz#"_s;
    if (scope != CertificateScope::NameOnly && document.contains(placeholder)) {
        document.replace(placeholder, place > 0 ? QString::number(place) : QString());
    }
    return document;
}

} // namespace vastrel
