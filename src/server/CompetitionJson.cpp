#include "server/CompetitionJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace vastrel {

QString ColumnsAsJson(const std::vector<Column>& columns) {
    QJsonArray array;
    for (const Column& c : columns) {
        array.append(
            QJsonObject{{u"key"_s, c.key},
                        {u"header"_s, c.headerText},
                        {u"layout"_s, QJsonArray{c.layout.reservedA, c.layout.headerAlignment,
                                                 c.layout.editable, c.layout.reservedB,
                                                 c.layout.cellAlignment, c.layout.reservedC, c.layout.kind}},
                        {u"visible"_s, c.visible},
                        {u"width"_s, c.width},
                        {u"fixedWidth"_s, c.fixedWidth},
                        {u"sum"_s, c.sumColumnFlag},
                        {u"points"_s, c.pointsColumnFlag}});
    }
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

std::optional<std::vector<Column>> ColumnsFromJson(const QString& json) {
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8());
    if (!document.isArray()) {
        return std::nullopt;
    }
    std::vector<Column> columns;
    for (const QJsonValue& value : document.array()) {
        const QJsonObject o = value.toObject();
        const QJsonArray layout = o.value(u"layout"_s).toArray();
        if (!o.value(u"key"_s).isString() || layout.size() != 7) {
            return std::nullopt;
        }
        Column c;
        c.key = o.value(u"key"_s).toString();
        c.headerText = o.value(u"header"_s).toString();
        c.layout = {layout[0].toInt(), layout[1].toInt(), layout[2].toBool(), layout[3].toInt(),
                    layout[4].toInt(), layout[5].toInt(), layout[6].toInt()};
        c.visible = o.value(u"visible"_s).toBool(true);
        c.width = o.value(u"width"_s).toInt();
        c.fixedWidth = o.value(u"fixedWidth"_s).toInt();
        c.sumColumnFlag = o.value(u"sum"_s).toBool();
        c.pointsColumnFlag = o.value(u"points"_s).toBool();
        columns.push_back(std::move(c));
    }
    return columns;
}

QString ValuesAsJson(const TableValues& values) {
    const QJsonObject o{{u"caption"_s, values.caption},
                        {u"searchCaption"_s, values.searchCaption},
                        {u"tableMode"_s, values.tableMode},
                        {u"layoutValue"_s, values.layoutValue},
                        {u"sortOrder"_s, values.sortOrder}};
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

TableValues ValuesFromJson(const QString& json) {
    const QJsonObject o = QJsonDocument::fromJson(json.toUtf8()).object();
    return {o.value(u"caption"_s).toString(), o.value(u"searchCaption"_s).toString(),
            o.value(u"tableMode"_s).toInt(), o.value(u"layoutValue"_s).toInt(),
            o.value(u"sortOrder"_s).toString()};
}

} // namespace vastrel
