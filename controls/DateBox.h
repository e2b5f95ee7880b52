#pragma once
// The date box: a one-line edit holding a date in the fixed ten-position mask of DateMask, with
// a button at its right end that drops down a month calendar. Its value is worked out from the
// text whenever it is read; a text that names no date has the zero date as its value.

#include "controls/DateMask.h"

#include <QDate>
#include <QLineEdit>
#include <functional>

class QToolButton;

namespace kavelon {

class DateBoxCalendar;

class DateBox : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int ButtonWidth = 22;

    explicit DateBox(QWidget* parent = nullptr, const DateMask& mask = DateMask::system());

    const DateMask& dateMask() const { return mask_; }
    // The date the text names, or an invalid date when it names none.
    QDate date() const;
    // The date, or the zero date when the text names none.
    QDate value() const;
    // No digit at all: nothing but blanks and separators.
    bool isBlank() const;
    // Writes the date in the mask; an invalid date blanks the box.
    void setDate(const QDate& date);
    // Puts back a text the box held before, digits and blanks as they stood; a text that does
    // not fit the mask blanks the box.
    void restoreText(const QString& text);

    // Where "today" comes from (the system clock unless a test says otherwise).
    void setTodaySource(std::function<QDate()> source);
    QDate today() const;

    void openCalendar();
    DateBoxCalendar* calendar() const { return calendar_; }
    QToolButton* dropDownButton() const { return button_; }

signals:
    // A key was refused with a beep.
    void refused();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void handleKey(QKeyEvent* event);
    void typeDigit(QChar digit);
    void skipPastSeparator();
    void blankDigit(int step);
    void blankSelection(QString& text, int& caret) const;
    void pasteDigits();
    void shiftDays(int days);
    void refuse();
    void pick(const QDate& date);
    void placeButton();
    void setMaskedText(const QString& text, int caret);

    DateMask mask_;
    std::function<QDate()> today_;
    QToolButton* button_;
    DateBoxCalendar* calendar_;
};

} // namespace kavelon
