#pragma once
// The fixed ten-position mask of the date box: two day, two month and four year positions in the
// order of the system's short date format, with the system's date separator between them. The
// text always keeps this shape; each digit position holds a digit or a blank.

#include <QChar>
#include <QDate>
#include <QString>

namespace kavelon {

class DateMask {
public:
    enum class Order { DayMonthYear, MonthDayYear, YearMonthDay };
    static constexpr int Length = 10;

    DateMask(Order order = Order::DayMonthYear, QChar separator = QLatin1Char('.'));
    // The mask a short date format asks for ("dd.MM.yyyy", "M/d/yy", "yyyy-MM-dd").
    static DateMask fromFormat(const QString& shortDateFormat);
    // The system's mask, read once.
    static const DateMask& system();

    Order order() const { return order_; }
    QChar separator() const { return separator_; }

    // Blanks and separators only ("  .  .    ").
    QString blankText() const;
    bool isDigitPosition(int position) const;
    bool hasDigit(const QString& text) const;
    // A text of the mask's shape: the right length, separators in place, digits or blanks
    // elsewhere.
    bool fits(const QString& text) const;

    // The date written with two day digits, two month digits and four year digits; an invalid
    // date gives the blank text.
    QString textOf(const QDate& date) const;
    // The date the text names, or an invalid date when it names none. A year below 100 lies in
    // the window from 60 years before today's year to 39 years after it.
    QDate dateOf(const QString& text, const QDate& today) const;

private:
    struct Span {
        int start;
        int length;
    };
    Span day() const;
    Span month() const;
    Span year() const;

    Order order_;
    QChar separator_;
};

// Day 0 of the date scale, the value of a text that names no date.
inline QDate zeroDate() {
    return QDate(1899, 12, 30);
}

// The year with the last two digits of a year below 100 that lies from 60 years before the
// current year to 39 years after it.
int windowedYear(int year, int currentYear);

} // namespace kavelon
