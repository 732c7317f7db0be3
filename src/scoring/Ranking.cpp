#include "scoring/Ranking.h"

#include "system/NumberText.h"
#include "table/ResultTable.h"

#include <QHash>
#include <QString>

#include <algorithm>

namespace vastrel {

std::vector<int> PlacesByPoints(const ResultTable& table, QStringView pointsKey) {
    const int rows = table.RowCount();
    std::vector<int> places(static_cast<std::size_t>(rows), 0);
    const int points = table.ColumnNumber(pointsKey);
    if (points == 0) {
        return places;
    }
    const int run = table.ColumnNumber(u"Lauf");
    const int sex = table.ColumnNumber(u"mw");
    // The points of each group, then each row's place: one more than the rows that beat it.
    QHash<QString, std::vector<double>> groups;
    std::vector<double> value(static_cast<std::size_t>(rows), 0);
    std::vector<QString> group(static_cast<std::size_t>(rows));
    for (int r = 1; r <= rows; ++r) {
        const auto p = ConvertStrict(table.CellView(r, points));
        if (!p) {
            continue;
        }
        const auto i = static_cast<std::size_t>(r - 1);
        value[i] = *p;
        group[i] = table.CellText(r, run) + QChar(u'\x1F') + table.CellText(r, sex);
        groups[group[i]].push_back(*p);
    }
    for (auto& g : groups) {
        std::sort(g.begin(), g.end(), std::greater<>());
    }
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (group[i].isNull()) {
            continue;
        }
        const std::vector<double>& g = groups[group[i]];
        places[i] =
            static_cast<int>(std::lower_bound(g.begin(), g.end(), value[i], std::greater<>()) - g.begin()) +
            1;
    }
    return places;
}

} // namespace vastrel
