#include "controls/DateBoxCalendar.h"

#include "app/Guard.h"
#include "controls/DateBox.h"
#include "controls/ItemViewAccessible.h"
#include "data/SystemLocale.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <algorithm>

namespace kavelon {

namespace {

constexpr int TitleHeight = 20;
constexpr int NamesTop = 22;
constexpr int RowHeight = 15;
constexpr int GridTop = NamesTop + RowHeight + 1;
constexpr int CellWidth = 27;
constexpr int GridLeft = (DateBoxCalendar::Width - 7 * CellWidth) / 2;
constexpr int Weeks = 6;
constexpr int TodayTop = GridTop + Weeks * RowHeight + 5;
constexpr int TodayHeight = 22;

const QColor Cream(255, 251, 240);
const QColor SundayRed(200, 0, 0);
const QColor TodayFrame(0, 0, 128);

QString capitalised(QString text) {
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text;
}

} // namespace

DateBoxCalendar::DateBoxCalendar(QWidget* owner)
    : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("DateBoxCalendar"));
    setFixedSize(Width, Height);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    selected_ = today_ = QDate::currentDate();
    accessibility::install();
}

QPoint DateBoxCalendar::placement(const QRect& box, const QRect& desktop) {
    QPoint at(box.x() + box.width() - Width, box.y() + box.height());
    if (at.y() + Height > desktop.y() + desktop.height())
        at.setY(box.y() - Height);
    at.setX(std::clamp(at.x(), desktop.x(),
                       std::max(desktop.x(), desktop.x() + desktop.width() - Width)));
    at.setY(std::clamp(at.y(), desktop.y(),
                       std::max(desktop.y(), desktop.y() + desktop.height() - Height)));
    return at;
}

void DateBoxCalendar::showAt(const QPoint& topLeft, const QDate& selected, const QDate& today) {
    const QDate before = isVisible() ? selected_ : QDate();
    today_ = today;
    selected_ = selected.isValid() ? selected : today;
    move(topLeft);
    show();
    setFocus(Qt::PopupFocusReason);
    update();
    announce(before);
}

QRect DateBoxCalendar::titleRect() const {
    return QRect(1, 1, Width - 2, TitleHeight);
}

QRect DateBoxCalendar::stepRect(Step step) const {
    switch (step) {
    case Step::YearBack:
        return QRect(2, 2, 22, TitleHeight - 2);
    case Step::MonthBack:
        return QRect(25, 2, 20, TitleHeight - 2);
    case Step::MonthForward:
        return QRect(Width - 47, 2, 20, TitleHeight - 2);
    case Step::YearForward:
        return QRect(Width - 26, 2, 22, TitleHeight - 2);
    }
    return {};
}

QRect DateBoxCalendar::dayNameRect(int column) const {
    return QRect(GridLeft + column * CellWidth, NamesTop, CellWidth, RowHeight);
}

QDate DateBoxCalendar::firstShown() const {
    const QDate first = shownMonth();
    const int firstDay = systemLocale().firstDayOfWeek();
    return first.addDays(-((first.dayOfWeek() - firstDay + 7) % 7));
}

QRect DateBoxCalendar::dayRect(const QDate& date) const {
    const qint64 index = firstShown().daysTo(date);
    if (index < 0 || index >= 7 * Weeks)
        return {};
    return QRect(GridLeft + int(index % 7) * CellWidth, GridTop + int(index / 7) * RowHeight,
                 CellWidth, RowHeight);
}

QDate DateBoxCalendar::dateAt(const QPoint& point) const {
    const QRect grid(GridLeft, GridTop, 7 * CellWidth, Weeks * RowHeight);
    if (!grid.contains(point))
        return {};
    const int column = (point.x() - GridLeft) / CellWidth;
    const int row = (point.y() - GridTop) / RowHeight;
    return firstShown().addDays(row * 7 + column);
}

QRect DateBoxCalendar::todayButtonRect() const {
    return QRect(GridLeft, TodayTop, 7 * CellWidth, TodayHeight);
}

QString DateBoxCalendar::titleText() const {
    const QLocale& locale = systemLocale();
    return capitalised(locale.standaloneMonthName(selected_.month(), QLocale::LongFormat)) +
           QLatin1Char(' ') + QString::number(selected_.year());
}

QString DateBoxCalendar::todayButtonText() const {
    return QStringLiteral("Сегодня: ") + dateText(today_);
}

QString DateBoxCalendar::dateText(const QDate& date) const {
    const auto* box = qobject_cast<const DateBox*>(parentWidget());
    const DateMask mask = box ? box->dateMask() : DateMask::system();
    return mask.textOf(date);
}

QString DateBoxCalendar::dayName(int column) const {
    const QLocale& locale = systemLocale();
    const int weekday = (locale.firstDayOfWeek() - 1 + column) % 7 + 1;
    return locale.standaloneDayName(weekday, QLocale::ShortFormat);
}

void DateBoxCalendar::select(const QDate& date) {
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return;
    const QDate before = selected_;
    selected_ = date;
    update();
    announce(before);
}

void DateBoxCalendar::announce(const QDate& before) {
    if (!accessibility::listening() || selected_ == before)
        return;
    if (!before.isValid() || before.year() != selected_.year() ||
        before.month() != selected_.month()) {
        accessibility::itemsReset(this);
        accessibility::nameChanged(this);
    }
    accessibility::valueChanged(this, dateText(selected_));
    const qint64 index = firstShown().daysTo(selected_);
    accessibility::currentItemMoved(this, int(index / 7), int(index % 7), hasFocus());
}

void DateBoxCalendar::paintEvent(QPaintEvent*) {
    guard([this] { paint(); });
}

void DateBoxCalendar::paint() {
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Base));
    p.setPen(pal.color(QPalette::Shadow));
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    // Title bar with the four step buttons around the month and year.
    p.fillRect(titleRect(), Cream);
    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(pal.color(QPalette::Text));
    const QRect between(stepRect(Step::MonthBack).right() + 1, 1,
                        stepRect(Step::MonthForward).left() - stepRect(Step::MonthBack).right() - 1,
                        TitleHeight);
    p.drawText(between, Qt::AlignCenter, titleText());
    p.setFont(font());
    const std::pair<Step, const char*> steps[] = {{Step::YearBack, "<<"},
                                                  {Step::MonthBack, "<"},
                                                  {Step::MonthForward, ">"},
                                                  {Step::YearForward, ">>"}};
    for (const auto& [step, caption] : steps) {
        const QRect r = stepRect(step);
        p.fillRect(r, pal.color(QPalette::Button));
        p.setPen(pal.color(QPalette::Mid));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(pal.color(QPalette::ButtonText));
        p.drawText(r, Qt::AlignCenter, QString::fromLatin1(caption));
    }

    // Short day names from the week's first day on; Sunday in red.
    const QLocale& locale = systemLocale();
    const int firstDay = locale.firstDayOfWeek();
    for (int column = 0; column < 7; ++column) {
        const int weekday = (firstDay - 1 + column) % 7 + 1;
        p.setPen(weekday == Qt::Sunday ? SundayRed : pal.color(QPalette::Text));
        p.drawText(dayNameRect(column), Qt::AlignCenter, dayName(column));
    }
    p.setPen(pal.color(QPalette::Mid));
    p.drawLine(GridLeft, GridTop - 1, GridLeft + 7 * CellWidth - 1, GridTop - 1);

    // The days: those of other months grey, Sundays red, the selected one highlighted, today
    // framed.
    const QDate first = firstShown();
    for (int i = 0; i < 7 * Weeks; ++i) {
        const QDate day = first.addDays(i);
        const QRect cell = dayRect(day);
        const bool inMonth = day.month() == selected_.month();
        QColor ink = day.dayOfWeek() == Qt::Sunday ? SundayRed : pal.color(QPalette::Text);
        if (!inMonth)
            ink = day.dayOfWeek() == Qt::Sunday ? QColor(230, 150, 150) : pal.color(QPalette::Dark);
        if (day == selected_) {
            p.fillRect(cell.adjusted(1, 0, -1, 0), pal.color(QPalette::Highlight));
            ink = pal.color(QPalette::HighlightedText);
        }
        if (day == today_) {
            p.setPen(TodayFrame);
            p.drawRect(cell.adjusted(1, 0, -2, -1));
        }
        p.setPen(ink);
        p.drawText(cell, Qt::AlignCenter, QString::number(day.day()));
    }

    // The bold today button.
    const QRect button = todayButtonRect();
    p.fillRect(button, pal.color(QPalette::Button));
    p.setPen(pal.color(QPalette::Mid));
    p.drawRect(button.adjusted(0, 0, -1, -1));
    p.setFont(bold);
    p.setPen(pal.color(QPalette::ButtonText));
    p.drawText(button, Qt::AlignCenter, todayButtonText());
}

void DateBoxCalendar::mousePressEvent(QMouseEvent* event) {
    guard([&] { press(event); });
}

void DateBoxCalendar::press(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!rect().contains(at)) {
        // A click on the box's own button must not open the calendar again right away.
        if (const auto* box = qobject_cast<const DateBox*>(parentWidget())) {
            const QWidget* button = box->dropDownButton();
            const QRect buttonGlobal(button->mapToGlobal(QPoint(0, 0)), button->size());
            if (buttonGlobal.contains(event->globalPosition().toPoint()))
                setAttribute(Qt::WA_NoMouseReplay);
        }
        close();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (stepRect(Step::YearBack).contains(at))
        select(selected_.addYears(-1));
    else if (stepRect(Step::MonthBack).contains(at))
        select(selected_.addMonths(-1));
    else if (stepRect(Step::MonthForward).contains(at))
        select(selected_.addMonths(1));
    else if (stepRect(Step::YearForward).contains(at))
        select(selected_.addYears(1));
    else if (todayButtonRect().contains(at))
        emit picked(today_);
    else if (const QDate day = dateAt(at); day.isValid())
        emit picked(day);
}

void DateBoxCalendar::mouseDoubleClickEvent(QMouseEvent* event) {
    guard([&] {
        const QPoint at = event->position().toPoint();
        const bool onStep =
            stepRect(Step::YearBack).contains(at) || stepRect(Step::MonthBack).contains(at) ||
            stepRect(Step::MonthForward).contains(at) || stepRect(Step::YearForward).contains(at);
        if (titleRect().contains(at) && !onStep)
            select(today_);
        else
            press(event); // the second click of a quick pair still steps
    });
}

void DateBoxCalendar::keyPressEvent(QKeyEvent* event) {
    guard([&] { key(event); });
}

void DateBoxCalendar::key(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_PageUp:
        select(ctrl ? selected_.addYears(-1) : selected_.addMonths(-1));
        return;
    case Qt::Key_PageDown:
        select(ctrl ? selected_.addYears(1) : selected_.addMonths(1));
        return;
    case Qt::Key_Left:
        select(selected_.addDays(-1));
        return;
    case Qt::Key_Right:
        select(selected_.addDays(1));
        return;
    case Qt::Key_Up:
        select(selected_.addDays(-7));
        return;
    case Qt::Key_Down:
        select(selected_.addDays(7));
        return;
    case Qt::Key_T:
        select(today_);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit picked(selected_);
        return;
    case Qt::Key_Escape:
        close();
        return;
    default:
        break;
    }
    if (event->text() == QLatin1String("t") || event->text() == QLatin1String("T"))
        select(today_);
}

} // namespace kavelon
