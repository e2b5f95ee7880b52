#pragma once
// The date box's drop-down month calendar: a borderless popup of 197 × 160 pixels, drawn here.
// A title bar with "<<", "<", ">", ">>" around the month and year, the short day names from the
// locale starting on its first day of the week, six weeks of days (Sundays in red, today marked,
// the selected day highlighted) and a bold today button at the bottom.

#include <QDate>
#include <QWidget>

namespace kavelon {

class DateBoxCalendar : public QWidget {
    Q_OBJECT
public:
    static constexpr int Width = 197;
    static constexpr int Height = 160;
    enum class Step { YearBack, MonthBack, MonthForward, YearForward };

    // owner: the date box; the popup is its child so that it goes with it.
    explicit DateBoxCalendar(QWidget* owner);

    // Where the popup stands for a box at boxGlobal: below it with the right edges in line,
    // above it when there is no room below, and moved back onto the desktop.
    static QPoint placement(const QRect& boxGlobal, const QRect& desktop);

    void showAt(const QPoint& topLeft, const QDate& selected, const QDate& today);
    QDate selectedDate() const { return selected_; }
    QDate today() const { return today_; }
    // The month shown, as its first day.
    QDate shownMonth() const { return QDate(selected_.year(), selected_.month(), 1); }

    // Geometry of the parts, in the popup's coordinates.
    QRect titleRect() const;
    QRect stepRect(Step step) const;
    QRect dayNameRect(int column) const;
    // The cell of a date shown in the grid; empty when the date is not shown.
    QRect dayRect(const QDate& date) const;
    QRect todayButtonRect() const;
    // The date whose cell holds the point, or an invalid date.
    QDate dateAt(const QPoint& point) const;
    // The first date shown in the grid (the top-left cell).
    QDate firstShown() const;
    QString titleText() const;
    QString todayButtonText() const;
    // The short day name over a column of days.
    QString dayName(int column) const;
    // A date as the date box writes it.
    QString dateText(const QDate& date) const;

signals:
    void picked(const QDate& date);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void press(QMouseEvent* event);
    void key(QKeyEvent* event);
    void select(const QDate& date);
    void paint();
    // Tells accessibility tools of the selected date, and of the month when it is another.
    void announce(const QDate& before);

    QDate selected_;
    QDate today_;
};

} // namespace kavelon
