#pragma once

#include "table/Change.h"
#include "table/Column.h"

#include <QString>

#include <optional>
#include <vector>

namespace vastrel {

// A competition's columns with every setting, and its table values, as the server keeps them
// (jsonb): readable in any SQL tool.
QString ColumnsAsJson(const std::vector<Column>& columns);
std::optional<std::vector<Column>> ColumnsFromJson(const QString& json);
QString ValuesAsJson(const TableValues& values);
TableValues ValuesFromJson(const QString& json);

} // namespace vastrel
