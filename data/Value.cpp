#include "data/Value.h"

#include <QRegularExpression>

#include <cmath>

namespace kavelon {

namespace {
const QDate zeroDate(1899, 12, 30);
constexpr qint64 msPerDay = 86400000;
} // namespace

DateTime DateTime::fromQDate(const QDate& d) {
    return DateTime{double(zeroDate.daysTo(d))};
}

DateTime DateTime::fromQDateTime(const QDateTime& dt) {
    const qint64 days = zeroDate.daysTo(dt.date());
    const qint64 ms = dt.time().msecsSinceStartOfDay();
    // Before the zero date the fraction counts forward from the (negative) day, as the stored
    // doubles of the predecessor do: -1.25 is 29.12.1899 06:00.
    const double fraction = double(ms) / msPerDay;
    return DateTime{days >= 0 ? days + fraction : days - fraction};
}

QDate DateTime::date() const {
    return zeroDate.addDays(qint64(std::trunc(days)));
}

QTime DateTime::time() const {
    const double fraction = std::fabs(days - std::trunc(days));
    qint64 ms = qint64(std::llround(fraction * msPerDay));
    if (ms >= msPerDay)
        ms = msPerDay - 1;
    return QTime::fromMSecsSinceStartOfDay(int(ms));
}

bool DateTime::hasTime() const {
    return time().msecsSinceStartOfDay() != 0;
}

// Wall-clock values: UTC keeps daylight-saving gaps of the local zone out of the way.
QDateTime DateTime::toQDateTime() const {
    return QDateTime(date(), time(), Qt::UTC);
}

QString DateTime::toIsoText() const {
    const QTime t = time();
    const QString format = t.msec() ? QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")
                                    : QStringLiteral("yyyy-MM-dd HH:mm:ss");
    return QDateTime(date(), t, Qt::UTC).toString(format);
}

bool DateTime::fromIsoText(const QString& text, DateTime& out) {
    const QString t = text.trimmed();
    const qsizetype split = t.indexOf(QRegularExpression(QStringLiteral("[ T]")));
    const QDate d = QDate::fromString(split < 0 ? t : t.left(split), QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid())
        return false;
    QTime time(0, 0);
    if (split >= 0) {
        const QString rest = t.mid(split + 1);
        time = QTime::fromString(rest, QStringLiteral("HH:mm:ss.zzz"));
        if (!time.isValid())
            time = QTime::fromString(rest, QStringLiteral("HH:mm:ss"));
        if (!time.isValid())
            time = QTime::fromString(rest, QStringLiteral("HH:mm"));
        if (!time.isValid())
            return false;
    }
    out = fromQDateTime(QDateTime(d, time, Qt::UTC));
    return true;
}

} // namespace kavelon
