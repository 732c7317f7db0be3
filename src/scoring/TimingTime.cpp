#include "scoring/TimingTime.h"

#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

constexpr qint64 kMaxTenths = qint64{100} * 3600 * 10; // a hundred hours: no time is longer

bool AllDigits(QStringView text) {
    return !text.isEmpty() && text.size() <= 9 &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

std::optional<QString> TimeInEntryForm(DistanceGroup group, QStringView timed) {
    QString text = timed.trimmed().toString();
    text.replace(u',', u'.');
    const QStringList parts = text.split(u':');
    if (parts.size() > 3) {
        return std::nullopt;
    }
    qint64 seconds = 0; // of the hours and minutes
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        if (!AllDigits(parts[i]) || (i > 0 && parts[i].toLongLong() >= 60)) {
            return std::nullopt;
        }
        seconds = seconds * 60 + parts[i].toLongLong();
    }
    const QString& last = parts.back();
    const qsizetype point = last.indexOf(u'.');
    const QString whole = point < 0 ? last : last.left(point);
    const QString fraction = point < 0 ? QString() : last.mid(point + 1);
    if (!AllDigits(whole) || (!fraction.isEmpty() && !AllDigits(fraction)) ||
        (parts.size() > 1 && whole.toLongLong() >= 60)) {
        return std::nullopt;
    }
    qint64 tenths = (seconds * 60 + whole.toLongLong()) * 10;
    if (!fraction.isEmpty()) {
        tenths += fraction[0].digitValue();
        const QStringView beyond = QStringView(fraction).mid(1);
        if (std::any_of(beyond.begin(), beyond.end(), [](QChar c) { return c != u'0'; })) {
            ++tenths; // rounded up
        }
    }
    if (tenths > kMaxTenths) {
        return std::nullopt;
    }
    const QString tenth = QString::number(tenths % 10);
    const qint64 totalSeconds = tenths / 10;
    switch (group) {
    case DistanceGroup::Sprint:
        return u"%1.%2"_s.arg(totalSeconds).arg(tenth);
    case DistanceGroup::Middle:
        return u"%1:%2.%3"_s.arg(totalSeconds / 60).arg(totalSeconds % 60, 2, 10, QChar(u'0')).arg(tenth);
    case DistanceGroup::TenKm:
        return u"%1:%2:%3.%4"_s.arg(totalSeconds / 3600)
            .arg(totalSeconds / 60 % 60, 2, 10, QChar(u'0'))
            .arg(totalSeconds % 60, 2, 10, QChar(u'0'))
            .arg(tenth);
    }
    return std::nullopt;
}

} // namespace vastrel
