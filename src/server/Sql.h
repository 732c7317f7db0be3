#pragma once

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace vastrel {

// Prepares the statement and runs it with its values bound in order: no value is ever part of
// the statement's text.
bool Run(QSqlQuery& query, const QString& statement, const QVariantList& values);

// The first column of every row the query holds, as texts.
QStringList FirstColumnTexts(QSqlQuery& query);

// "Der Server meldet einen Fehler: …" with what the server said about the query's last statement.
QString ServerFailure(const QSqlQuery& query);

} // namespace vastrel
