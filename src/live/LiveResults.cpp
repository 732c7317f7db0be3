#include "live/LiveResults.h"

#include "scoring/Ranking.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <vector>

using namespace Qt::StringLiterals;

namespace vastrel {

QByteArray LiveResultsJson(const ResultTable& table, const LiveOptions& options, const QDateTime& stand) {
    std::array<std::vector<int>, kDayCount + 1> places;
    for (std::size_t day = 0; day < kDayCount; ++day) {
        places[day] = PlacesByPoints(table, kDaySumKeys[day]);
    }
    places[kDayCount] = PlacesByPoints(table, kTotalKey);

    QJsonArray days;
    for (int day = 1; day <= kDayCount; ++day) {
        QJsonArray distances;
        for (std::size_t d = 0; d < kDistances.size(); ++d) {
            if (kDistances[d].day == day) {
                distances.append(static_cast<int>(d));
            }
        }
        days.append(QJsonObject{{u"tag"_s, day},
                                {u"strecken"_s, distances},
                                {u"endgueltig"_s, options.finalDays[static_cast<std::size_t>(day - 1)]}});
    }
    QJsonArray distances;
    for (const Distance& distance : kDistances) {
        distances.append(QString::fromUtf16(distance.timeKey));
    }

    const auto column = [&](QStringView key) {
        return table.ColumnNumber(key);
    };
    const int nr = column(u"Nr"), name = column(u"Name Vorname"), run = column(u"Lauf"), sex = column(u"mw");
    std::array<int, kDistanceCount> times{}, points{};
    for (std::size_t d = 0; d < kDistances.size(); ++d) {
        times[d] = column(kDistances[d].timeKey);
        points[d] = column(kDistances[d].pointsKey);
    }
    std::array<int, kDayCount> sums{};
    for (std::size_t day = 0; day < kDayCount; ++day) {
        sums[day] = column(kDaySumKeys[day]);
    }
    const int total = column(kTotalKey);

    QJsonArray rows;
    for (int row = 1; row <= table.RowCount(); ++row) {
        const auto text = [&](int c) {
            return table.CellView(row, c).trimmed().toString();
        };
        if (text(nr).isEmpty() && text(name).isEmpty()) {
            continue;
        }
        QJsonArray t, p, s, pl;
        for (std::size_t d = 0; d < kDistances.size(); ++d) {
            t.append(text(times[d]));
            p.append(text(points[d]));
        }
        for (int sum : sums) {
            s.append(text(sum));
        }
        for (const auto& placesOf : places) {
            pl.append(placesOf[static_cast<std::size_t>(row - 1)]);
        }
        rows.append(QJsonObject{{u"nr"_s, text(nr)},
                                {u"name"_s, text(name)},
                                {u"lauf"_s, text(run)},
                                {u"mw"_s, text(sex)},
                                {u"zeiten"_s, t},
                                {u"punkte"_s, p},
                                {u"summen"_s, s},
                                {u"gesamt"_s, text(total)},
                                {u"plaetze"_s, pl}});
    }
    const QJsonObject document{{u"titel"_s, table.Caption()},
                               {u"stand"_s, stand.toString(u"HH:mm:ss"_s)},
                               {u"datum"_s, stand.toString(u"dd.MM.yyyy"_s)},
                               {u"strecken"_s, distances},
                               {u"tage"_s, days},
                               {u"zeilen"_s, rows}};
    return QJsonDocument(document).toJson(QJsonDocument::Compact);
}

std::optional<LiveOptions> FinalDaysFromText(QStringView text) {
    LiveOptions options;
    for (QStringView part : text.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int day = part.trimmed().toInt(&ok);
        if (!ok || day < 1 || day > kDayCount) {
            return std::nullopt;
        }
        options.finalDays[static_cast<std::size_t>(day - 1)] = true;
    }
    return options;
}

QString FinalDaysText(const LiveOptions& options) {
    QStringList days;
    for (std::size_t day = 0; day < options.finalDays.size(); ++day) {
        if (options.finalDays[day]) {
            days << QString::number(day + 1);
        }
    }
    return days.join(u", "_s);
}

} // namespace vastrel
