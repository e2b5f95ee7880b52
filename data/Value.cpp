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

namespace {
// 01.01.0001 and 31.12.9999 counted from the zero date.
const double firstStorableDay = double(zeroDate.daysTo(QDate(1, 1, 1)));
const double lastStorableDay = double(zeroDate.daysTo(QDate(9999, 12, 31)));
} // namespace

bool DateTime::isStorable() const {
    // The fraction counts away from day 0 on both sides, so whole days bound the range.
    return std::isfinite(days) && std::trunc(days) >= firstStorableDay &&
           std::trunc(days) <= lastStorableDay;
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

namespace {
// Reads `count` digits at text[pos]; false if any is not a digit.
bool digits(const char* text, int bytes, int pos, int count, int& out) {
    if (pos + count > bytes)
        return false;
    out = 0;
    for (int i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        out = out * 10 + (text[i] - '0');
    }
    return true;
}
} // namespace

bool DateTime::fromIsoUtf8(const char* text, int bytes, DateTime& out) {
    while (bytes > 0 && text[bytes - 1] == ' ')
        --bytes;
    int year, month, day;
    if (!digits(text, bytes, 0, 4, year) || bytes < 10 || text[4] != '-' || text[7] != '-' ||
        !digits(text, bytes, 5, 2, month) || !digits(text, bytes, 8, 2, day))
        return false;
    const QDate date(year, month, day);
    if (!date.isValid())
        return false;
    int hour = 0, minute = 0, second = 0, ms = 0;
    if (bytes > 10) {
        if ((text[10] != ' ' && text[10] != 'T') || !digits(text, bytes, 11, 2, hour) ||
            bytes < 16 || text[13] != ':' || !digits(text, bytes, 14, 2, minute))
            return false;
        int pos = 16;
        if (bytes > pos) {
            if (text[pos] != ':' || !digits(text, bytes, pos + 1, 2, second))
                return false;
            pos += 3;
            if (bytes > pos) {
                if (text[pos] != '.' || bytes - pos - 1 < 1)
                    return false;
                // Fractions of a second: the first three digits count.
                int scale = 100;
                for (int i = pos + 1; i < bytes; ++i) {
                    if (text[i] < '0' || text[i] > '9')
                        return false;
                    ms += (text[i] - '0') * scale;
                    scale /= 10;
                }
            }
        }
        if (hour > 23 || minute > 59 || second > 59)
            return false;
    }
    const qint64 dayNumber = zeroDate.daysTo(date);
    const double fraction = double(((hour * 60 + minute) * 60 + second) * 1000 + ms) / msPerDay;
    out = DateTime{dayNumber >= 0 ? dayNumber + fraction : dayNumber - fraction};
    return true;
}

} // namespace kavelon
