#include "server/Sql.h"

#include <QSqlError>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace vastrel {

bool Run(QSqlQuery& query, const QString& statement, const QVariantList& values) {
    if (!query.prepare(statement)) {
        return false;
    }
    for (qsizetype i = 0; i < values.size(); ++i) {
        query.bindValue(static_cast<int>(i), values.at(i));
    }
    return query.exec();
}

QStringList FirstColumnTexts(QSqlQuery& query) {
    QStringList texts;
    while (query.next()) {
        texts << query.value(0).toString();
    }
    return texts;
}

QString ServerFailure(const QSqlQuery& query) {
    if (query.lastError().nativeErrorCode() == u"42501") { // insufficient_privilege: a read-only login
        return u"Der Server lässt diese Anmeldung nur lesen, nichts ändern: %1"_s.arg(
            query.lastError().databaseText().trimmed());
    }
    return u"Der Server meldet einen Fehler: %1"_s.arg(query.lastError().databaseText().trimmed());
}

} // namespace vastrel
