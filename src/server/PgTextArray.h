#pragma once

#include <QString>
#include <QStringView>

#include <span>
#include <vector>

namespace vastrel {

// PostgreSQL's text form of a one-dimensional text[] ("{a,"b c",NULL}"): every element quoted, so
// no text needs a rule of its own.
QString TextArrayLiteral(std::span<const QStringView> texts);

// The elements of such a form, unescaped, as views into `buffer`; NULL reads as empty. False for
// anything that is not a one-dimensional array of texts.
bool ReadTextArray(QStringView literal, QString& buffer, std::vector<QStringView>& texts);

// An int[]'s text form ("{1,2,3}") and back; false for anything else.
QString IntArrayLiteral(std::span<const int> values);
bool ReadIntArray(QStringView literal, std::vector<int>& values);

} // namespace vastrel
