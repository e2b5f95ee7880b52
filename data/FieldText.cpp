#include "data/FieldText.h"

#include "data/Errors.h"
#include "data/SystemLocale.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <limits>
#include <optional>

namespace kavelon::fieldtext {

namespace {

const QString& shortDateFormat() {
    static const QString format = systemLocale().dateFormat(QLocale::ShortFormat);
    return format;
}

// The long time format without the time zone ("HH:mm:ss t" in Qt): values are wall-clock times.
const QString& longTimeFormat() {
    static const QString format = [] {
        QString f = systemLocale().timeFormat(QLocale::LongFormat);
        f.remove(QRegularExpression(QStringLiteral(R"(\s*\bt+\b)")));
        return f.trimmed();
    }();
    return format;
}

// The order of day, month and year in the short date format, and the separator between them.
struct DateLayout {
    QString order; // for example "dMy"
    QChar separator = u'.';
};

const DateLayout& dateLayout() {
    static const DateLayout layout = [] {
        DateLayout l;
        bool separatorSeen = false;
        const QString& f = shortDateFormat();
        for (qsizetype i = 0; i < f.size(); ++i) {
            const QChar c = f[i];
            if (c == u'd' || c == u'M' || c == u'y') {
                if (!l.order.contains(c))
                    l.order += c;
            } else if (c == u'\'') {
                continue;
            } else if (!separatorSeen && !l.order.isEmpty() && !c.isSpace()) {
                l.separator = c;
                separatorSeen = true;
            }
        }
        if (l.order.size() != 3)
            l.order = QStringLiteral("dMy");
        return l;
    }();
    return layout;
}

std::optional<int> digitsValue(const QString& s) {
    if (s.isEmpty() || s.size() > 9)
        return std::nullopt;
    int v = 0;
    for (const QChar c : s) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        v = v * 10 + (c.unicode() - u'0');
    }
    return v;
}

// Two-digit years fall within fifty years before or after this year.
int fullYear(int year, qsizetype digits) {
    if (digits > 2)
        return year;
    const int base = QDate::currentDate().year() - 50;
    int y = year + base / 100 * 100;
    if (y < base)
        y += 100;
    return y;
}

std::optional<QDate> readDate(const QString& text) {
    const DateLayout& layout = dateLayout();
    const QStringList parts = text.split(layout.separator);
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    int day = 0, month = 0, year = QDate::currentDate().year();
    int part = 0;
    for (const QChar which : layout.order) {
        if (which == u'y' && parts.size() == 2)
            continue; // day and month alone: this year
        const std::optional<int> v = digitsValue(parts[part]);
        if (!v)
            return std::nullopt;
        if (which == u'd')
            day = *v;
        else if (which == u'M')
            month = *v;
        else
            year = fullYear(*v, parts[part].size());
        ++part;
    }
    // Years past 9999 are valid dates to QDate but not to the database, which stores four digits.
    if (year < 1 || year > 9999)
        return std::nullopt;
    const QDate d(year, month, day);
    return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
}

std::optional<QTime> readTime(QString text) {
    const QLocale& locale = systemLocale();
    int addHours = -1; // -1: no AM/PM marker
    const auto takeMarker = [&](const QString& marker, int hours) {
        if (!marker.isEmpty() && text.endsWith(marker, Qt::CaseInsensitive)) {
            text.chop(marker.size());
            text = text.trimmed();
            addHours = hours;
        }
    };
    takeMarker(locale.amText(), 0);
    if (addHours < 0)
        takeMarker(locale.pmText(), 12);
    const QStringList parts = text.split(locale.timeFormat().contains(u'.') ? u'.' : u':');
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    int v[3] = {0, 0, 0};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const std::optional<int> n = digitsValue(parts[i]);
        if (!n || parts[i].size() > 2)
            return std::nullopt;
        v[i] = *n;
    }
    if (addHours >= 0) {
        if (v[0] < 1 || v[0] > 12)
            return std::nullopt;
        v[0] = v[0] % 12 + addHours;
    }
    const QTime t(v[0], v[1], v[2]);
    return t.isValid() ? std::optional<QTime>(t) : std::nullopt;
}

bool isDecimalDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

int hexDigit(QChar c) {
    if (isDecimalDigit(c))
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

} // namespace

QString display(const Value& value, FieldKind kind) {
    switch (value.type()) {
    case Value::Type::Null:
        return {};
    case Value::Type::Integer:
        return QString::number(value.toInteger());
    case Value::Type::Text:
        return value.toText();
    case Value::Type::Boolean:
        return value.toBoolean() ? QStringLiteral("True") : QStringLiteral("False");
    case Value::Type::DateTime: {
        const DateTime dt = value.toDateTime();
        QString text = systemLocale().toString(dt.date(), shortDateFormat());
        if (dt.hasTime())
            text += u' ' + systemLocale().toString(dt.time(), longTimeFormat());
        return text;
    }
    }
    Q_UNUSED(kind);
    return {};
}

Qt::Alignment alignment(FieldKind kind) {
    switch (kind) {
    case FieldKind::AutoInc:
    case FieldKind::Integer:
    case FieldKind::SmallInt:
    case FieldKind::Float:
    case FieldKind::Currency:
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

bool accepts(FieldKind kind, QChar ch) {
    switch (kind) {
    case FieldKind::AutoInc:
        return false;
    case FieldKind::Integer:
    case FieldKind::SmallInt:
        return isDecimalDigit(ch) || ch == u'+' || ch == u'-';
    case FieldKind::Float:
    case FieldKind::Currency:
        return isDecimalDigit(ch) || ch == u'+' || ch == u'-' || ch == u'e' || ch == u'E' ||
               ch == systemLocale().decimalPoint().front();
    default:
        return true;
    }
}

Value parseInteger(const QString& text, const QString& fieldName) {
    if (text.isEmpty())
        return {};
    const auto refuse = [&] {
        throw ConversionError(QStringLiteral("'%1' is not a valid integer value for field '%2'")
                                  .arg(text, fieldName));
    };
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    int base = 10;
    if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' &&
               (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        refuse();
    // Digits beyond 2^32 cannot come back into range: stop counting there.
    constexpr qint64 limit = qint64(1) << 32;
    qint64 magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = base == 16 ? hexDigit(text[i])
                                     : (isDecimalDigit(text[i]) ? text[i].unicode() - u'0' : -1);
        if (digit < 0)
            refuse();
        magnitude = std::min(magnitude * base + digit, limit);
    }
    const qint64 v = negative ? -magnitude : magnitude;
    if (v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max())
        refuse();
    return Value::integer(std::int32_t(v));
}

Value parseDateTime(const QString& text) {
    if (text.isEmpty())
        return {};
    const auto refuse = [&] {
        throw ConversionError(QStringLiteral("'%1' is not a valid date and time").arg(text));
    };
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        refuse();
    const qsizetype blank = trimmed.indexOf(u' ');
    QString datePart = blank < 0 ? trimmed : trimmed.left(blank);
    QString timePart = blank < 0 ? QString() : trimmed.mid(blank + 1).trimmed();
    // A time alone stands on the zero date, 30.12.1899.
    if (!datePart.contains(dateLayout().separator) || datePart.contains(u':')) {
        if (!timePart.isEmpty() && !datePart.contains(u':'))
            refuse();
        timePart = trimmed;
        datePart.clear();
    }
    QDate date(1899, 12, 30);
    if (!datePart.isEmpty()) {
        const std::optional<QDate> d = readDate(datePart);
        if (!d)
            refuse();
        date = *d;
    }
    QTime time(0, 0);
    if (!timePart.isEmpty()) {
        const std::optional<QTime> t = readTime(timePart);
        if (!t)
            refuse();
        time = *t;
    }
    return Value::dateTime(DateTime::fromQDateTime(QDateTime(date, time, Qt::UTC)));
}

Value parseBoolean(const QString& text, const QString& fieldName) {
    if (text.isEmpty())
        return {};
    // As many first characters of "False", then of "True", as were typed.
    const QStringView falseText(u"False"), trueText(u"True");
    const auto prefix = [&](QStringView word) {
        return word.first(std::min(word.size(), text.size()));
    };
    if (prefix(falseText).compare(text, Qt::CaseInsensitive) == 0)
        return Value::boolean(false);
    if (prefix(trueText).compare(text, Qt::CaseInsensitive) == 0)
        return Value::boolean(true);
    throw ConversionError(
        QStringLiteral("'%1' is not a valid boolean value for field '%2'").arg(text, fieldName));
}

Value parse(const QString& text, FieldKind kind, const QString& fieldName) {
    switch (kind) {
    case FieldKind::AutoInc:
    case FieldKind::Integer:
    case FieldKind::SmallInt:
        return parseInteger(text, fieldName);
    case FieldKind::DateTime:
        return parseDateTime(text);
    case FieldKind::Boolean:
        return parseBoolean(text, fieldName);
    default:
        return Value::text(text);
    }
}

} // namespace kavelon::fieldtext
