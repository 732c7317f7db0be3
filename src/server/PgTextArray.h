#pragma once

#include "table/RowCells.h"

#include <QString>
#include <QStringView>

#include <span>
#include <vector>

namespace vastrel {

// PostgreSQL's text form of a one-dimensional text[] ("{a,"b c",NULL}"): every element quoted, so
// no text needs a rule of its own.
QString TextArrayLiteral(std::span<const QStringView> texts);

// A row's cells in that form, every one of the first `width` (empty ones too), so that the
// server's array has the table's width.
QString RowCellsLiteral(const RowCells& cells, std::size_t width);

// The elements of such a form, unescaped, as views into `buffer`; NULL reads as empty. False for
// anything that is not a one-dimensional array of texts.
bool ReadTextArray(QStringView literal, QString& buffer, std::vector<QStringView>& texts);

// An int[]'s text form ("{1,2,3}") and back; false for anything else.
QString IntArrayLiteral(std::span<const int> values);
bool ReadIntArray(QStringView literal, std::vector<int>& values);

} // namespace vastrel
