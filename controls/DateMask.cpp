#include "controls/DateMask.h"

#include "data/SystemLocale.h"

namespace kavelon {

DateMask::DateMask(Order order, QChar separator) : order_(order), separator_(separator) {}

DateMask DateMask::fromFormat(const QString& format) {
    const qsizetype d = format.indexOf(QLatin1Char('d'));
    const qsizetype m = format.indexOf(QLatin1Char('M'));
    const qsizetype y = format.indexOf(QLatin1Char('y'));
    Order order = Order::DayMonthYear;
    if (y >= 0 && (d < 0 || y < d) && (m < 0 || y < m))
        order = Order::YearMonthDay;
    else if (m >= 0 && d >= 0 && m < d)
        order = Order::MonthDayYear;

    // The separator is the first character after the first field that is no field letter.
    QChar separator = QLatin1Char('.');
    const qsizetype first =
        std::min({d < 0 ? format.size() : d, m < 0 ? format.size() : m, y < 0 ? format.size() : y});
    for (qsizetype i = first; i < format.size(); ++i) {
        const QChar ch = format.at(i);
        if (ch != QLatin1Char('d') && ch != QLatin1Char('M') && ch != QLatin1Char('y') &&
            ch != QLatin1Char('\'')) {
            separator = ch;
            break;
        }
    }
    return DateMask(order, separator);
}

const DateMask& DateMask::system() {
    static const DateMask mask = fromFormat(systemLocale().dateFormat(QLocale::ShortFormat));
    return mask;
}

DateMask::Span DateMask::day() const {
    switch (order_) {
    case Order::DayMonthYear:
        return {0, 2};
    case Order::MonthDayYear:
        return {3, 2};
    case Order::YearMonthDay:
        return {8, 2};
    }
    return {0, 2};
}

DateMask::Span DateMask::month() const {
    return order_ == Order::YearMonthDay
               ? Span{5, 2}
               : (order_ == Order::DayMonthYear ? Span{3, 2} : Span{0, 2});
}

DateMask::Span DateMask::year() const {
    return order_ == Order::YearMonthDay ? Span{0, 4} : Span{6, 4};
}

bool DateMask::isDigitPosition(int position) const {
    if (position < 0 || position >= Length)
        return false;
    if (order_ == Order::YearMonthDay)
        return position != 4 && position != 7;
    return position != 2 && position != 5;
}

QString DateMask::blankText() const {
    QString text(Length, QLatin1Char(' '));
    for (int i = 0; i < Length; ++i)
        if (!isDigitPosition(i))
            text[i] = separator_;
    return text;
}

bool DateMask::hasDigit(const QString& text) const {
    for (int i = 0; i < std::min<int>(Length, text.size()); ++i)
        if (isDigitPosition(i) && text.at(i).isDigit())
            return true;
    return false;
}

bool DateMask::fits(const QString& text) const {
    if (text.size() != Length)
        return false;
    for (int i = 0; i < Length; ++i) {
        const QChar ch = text.at(i);
        if (isDigitPosition(i) ? !(ch == QLatin1Char(' ') || (ch >= u'0' && ch <= u'9'))
                               : ch != separator_)
            return false;
    }
    return true;
}

QString DateMask::textOf(const QDate& date) const {
    QString text = blankText();
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return text;
    const auto put = [&](Span span, int number) {
        text.replace(span.start, span.length,
                     QString::number(number).rightJustified(span.length, QLatin1Char('0')));
    };
    put(day(), date.day());
    put(month(), date.month());
    put(year(), date.year());
    return text;
}

int windowedYear(int year, int currentYear) {
    int result = currentYear / 100 * 100 + year;
    if (result < currentYear - 60)
        result += 100;
    else if (result > currentYear + 39)
        result -= 100;
    return result;
}

QDate DateMask::dateOf(const QString& text, const QDate& today) const {
    if (!fits(text))
        return {};
    // The number formed by the digits of a span, blanks skipped; -1 when there is none.
    const auto number = [&](Span span) {
        int value = -1;
        for (int i = span.start; i < span.start + span.length; ++i) {
            const QChar ch = text.at(i);
            if (ch.isDigit())
                value = (value < 0 ? 0 : value * 10) + ch.digitValue();
        }
        return value;
    };
    const int d = number(day());
    const int m = number(month());
    int y = number(year());
    if (d < 0 || m < 0 || y < 0)
        return {};
    if (y < 100)
        y = windowedYear(y, today.year());
    if (y < 1 || y > 9999 || m < 1 || m > 12)
        return {};
    if (d < 1 || d > QDate(y, m, 1).daysInMonth())
        return {};
    return QDate(y, m, d);
}

} // namespace kavelon
