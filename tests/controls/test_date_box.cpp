// The date box: its mask, the value worked out from the text, the typing rules and keys, and the
// drop-down calendar, driven as a user drives them.

#include "controls/DateBox.h"
#include "controls/DateBoxCalendar.h"

#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

using kavelon::DateBox;
using kavelon::DateBoxCalendar;
using kavelon::DateMask;

namespace {

const QDate Today(2025, 6, 15); // a Sunday

struct BoxInWindow {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    DateBox* box = new DateBox(window.get());
    BoxInWindow() {
        window->resize(400, 300);
        box->setGeometry(176, 56, 145, 21);
        box->setTodaySource([] { return Today; });
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        box->setFocus();
        box->setCursorPosition(0);
    }
    void type(const QString& keys) { QTest::keyClicks(box, keys); }
};

QDate zero() {
    return QDate(1899, 12, 30);
}

} // namespace

TEST(DateBox, TextGivesValueWithTwoDigitYearWindow) {
    BoxInWindow w;
    EXPECT_EQ(w.box->text(), QStringLiteral("  .  .    "));
    EXPECT_EQ(w.box->value(), zero());
    EXPECT_TRUE(w.box->isBlank());

    w.type(QStringLiteral("010524"));
    EXPECT_EQ(w.box->text(), QStringLiteral("01.05.24  "));
    EXPECT_EQ(w.box->value(), QDate(2024, 5, 1));
    EXPECT_FALSE(w.box->isBlank());

    const auto valueOf = [&](const QString& text) {
        w.box->setText(text);
        return w.box->value();
    };
    EXPECT_EQ(valueOf(QStringLiteral("01.05.65  ")), QDate(1965, 5, 1));
    EXPECT_EQ(valueOf(QStringLiteral("01.05.64  ")), QDate(2064, 5, 1));
    EXPECT_EQ(valueOf(QStringLiteral("01.05.0024")), QDate(2024, 5, 1));
    EXPECT_EQ(valueOf(QStringLiteral("01.05.1024")), QDate(1024, 5, 1));
    EXPECT_EQ(valueOf(QStringLiteral(" 1. 5.2024")), QDate(2024, 5, 1));
    EXPECT_EQ(valueOf(QStringLiteral("29.02.2024")), QDate(2024, 2, 29));
    // No date: the zero date, no message.
    EXPECT_EQ(valueOf(QStringLiteral("31.02.2024")), zero());
    EXPECT_EQ(valueOf(QStringLiteral("29.02.2025")), zero());
    EXPECT_EQ(valueOf(QStringLiteral("01.05.    ")), zero());
    EXPECT_EQ(valueOf(QStringLiteral("01.  .2024")), zero());
    EXPECT_EQ(valueOf(QStringLiteral("  .05.2024")), zero());
    EXPECT_EQ(valueOf(QStringLiteral("01.13.2024")), zero());
    EXPECT_EQ(valueOf(QStringLiteral("00.05.2024")), zero());
    EXPECT_FALSE(w.box->date().isValid());

    // The window follows the year of "today".
    EXPECT_EQ(kavelon::windowedYear(24, 2025), 2024);
    EXPECT_EQ(kavelon::windowedYear(65, 2025), 1965);
    EXPECT_EQ(kavelon::windowedYear(64, 2025), 2064);
    EXPECT_EQ(kavelon::windowedYear(40, 2000), 1940);
    EXPECT_EQ(kavelon::windowedYear(39, 2000), 2039);
}

TEST(DateBox, MaskFollowsTheDateOrderAndSeparator) {
    EXPECT_EQ(DateMask::system().order(), DateMask::Order::DayMonthYear);
    EXPECT_EQ(DateMask::system().separator(), QLatin1Char('.'));

    const DateMask us = DateMask::fromFormat(QStringLiteral("M/d/yyyy"));
    const DateMask iso = DateMask::fromFormat(QStringLiteral("yyyy-MM-dd"));
    const DateMask ru = DateMask::fromFormat(QStringLiteral("dd.MM.yyyy"));
    EXPECT_EQ(us.blankText(), QStringLiteral("  /  /    "));
    EXPECT_EQ(iso.blankText(), QStringLiteral("    -  -  "));
    const QDate march7(2025, 3, 7);
    EXPECT_EQ(ru.textOf(march7), QStringLiteral("07.03.2025"));
    EXPECT_EQ(us.textOf(march7), QStringLiteral("03/07/2025"));
    EXPECT_EQ(iso.textOf(march7), QStringLiteral("2025-03-07"));
    EXPECT_EQ(us.dateOf(QStringLiteral("03/07/25  "), Today), march7);
    EXPECT_EQ(iso.dateOf(QStringLiteral("2025-03-07"), Today), march7);
    EXPECT_EQ(iso.dateOf(QStringLiteral("25  -03-07"), Today), march7);
    EXPECT_EQ(ru.textOf(QDate()), ru.blankText());
    EXPECT_EQ(ru.textOf(QDate(33, 1, 2)), QStringLiteral("02.01.0033"));

    // A box in another order types into its own positions.
    QWidget window;
    auto* box = new DateBox(&window, us);
    box->setCursorPosition(0);
    QTest::keyClicks(box, QStringLiteral("03072025"));
    EXPECT_EQ(box->text(), QStringLiteral("03/07/2025"));
    EXPECT_EQ(box->value(), march7);
}

TEST(DateBox, TypingKeepsTheMask) {
    BoxInWindow w;
    QSignalSpy beeps(w.box, &DateBox::refused);

    // Only digits go into digit positions; a refused character leaves the text as it was.
    w.type(QStringLiteral("0"));
    w.type(QStringLiteral("a"));
    w.type(QStringLiteral(" "));
    w.type(QStringLiteral("/"));
    EXPECT_EQ(w.box->text(), QStringLiteral("0 .  .    "));
    EXPECT_EQ(beeps.count(), 3);
    // Plus and minus typed from the main keyboard are ignored without a beep.
    w.type(QStringLiteral("+-"));
    EXPECT_EQ(w.box->text(), QStringLiteral("0 .  .    "));
    EXPECT_EQ(beeps.count(), 3);

    // The separator skips past the next separator.
    w.type(QStringLiteral("."));
    w.type(QStringLiteral("3."));
    w.type(QStringLiteral("2025"));
    EXPECT_EQ(w.box->text(), QStringLiteral("0 .3 .2025"));
    // A full box refuses more digits.
    w.type(QStringLiteral("1"));
    EXPECT_EQ(w.box->text(), QStringLiteral("0 .3 .2025"));
    EXPECT_EQ(beeps.count(), 4);

    // Backspace blanks the digit before the caret, skipping back over a separator.
    w.box->setCursorPosition(6);
    QTest::keyClick(w.box, Qt::Key_Backspace);
    QTest::keyClick(w.box, Qt::Key_Backspace);
    EXPECT_EQ(w.box->text(), QStringLiteral("0 .  .2025"));
    EXPECT_EQ(w.box->cursorPosition(), 3);
    // Delete blanks the digit after the caret.
    QTest::keyClick(w.box, Qt::Key_Delete);
    QTest::keyClick(w.box, Qt::Key_Delete);
    QTest::keyClick(w.box, Qt::Key_Delete);
    EXPECT_EQ(w.box->text(), QStringLiteral("0 .  . 025"));
    // A selection is blanked as a whole; typing over a selection starts at its beginning.
    w.box->selectAll();
    QTest::keyClick(w.box, Qt::Key_Delete);
    EXPECT_EQ(w.box->text(), QStringLiteral("  .  .    "));
    w.type(QStringLiteral("07032025"));
    EXPECT_EQ(w.box->text(), QStringLiteral("07.03.2025"));
    w.box->setSelection(3, 2);
    w.type(QStringLiteral("1"));
    EXPECT_EQ(w.box->text(), QStringLiteral("07.1 .2025"));

    // The line edit's own editing keys cannot break the mask.
    w.box->setCursorPosition(0);
    QTest::keyClick(w.box, Qt::Key_K, Qt::ControlModifier);
    w.box->selectAll();
    QTest::keyClick(w.box, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(w.box->text().size(), 10);
    EXPECT_TRUE(w.box->dateMask().fits(w.box->text()));
    w.box->insert(QStringLiteral("xyz"));
    EXPECT_TRUE(w.box->dateMask().fits(w.box->text()));
}

TEST(DateBox, KeypadPlusMinusAndToday) {
    BoxInWindow w;
    // With no date the keypad keys count from today.
    QTest::keyClick(w.box, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(w.box->text(), QStringLiteral("16.06.2025"));
    QTest::keyClick(w.box, Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(w.box, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(w.box->value(), QDate(2025, 6, 14));

    w.box->setText(QStringLiteral("31.12.2024"));
    QTest::keyClick(w.box, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(w.box->text(), QStringLiteral("01.01.2025"));
    w.box->setText(QStringLiteral("31.02.2024")); // no date: from today again
    QTest::keyClick(w.box, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(w.box->text(), QStringLiteral("14.06.2025"));

    w.box->setText(QStringLiteral("  .  .    "));
    w.type(QStringLiteral("t"));
    EXPECT_EQ(w.box->text(), QStringLiteral("15.06.2025"));
    w.box->setText(QStringLiteral("01.01.2000"));
    w.type(QStringLiteral("T"));
    EXPECT_EQ(w.box->value(), Today);

    // The holder may write a date; an invalid one blanks the box.
    w.box->setDate(QDate(2025, 3, 10));
    EXPECT_EQ(w.box->text(), QStringLiteral("10.03.2025"));
    w.box->setDate(QDate());
    EXPECT_EQ(w.box->text(), QStringLiteral("  .  .    "));
}

TEST(DateBoxCalendar, PlacedBelowRightAlignedOrAboveAndOnTheDesktop) {
    const QRect desktop(0, 0, 1024, 768);
    // Below the box, right edges in line.
    EXPECT_EQ(DateBoxCalendar::placement(QRect(300, 100, 145, 21), desktop), QPoint(248, 121));
    // No room below: above the box.
    EXPECT_EQ(DateBoxCalendar::placement(QRect(300, 700, 145, 21), desktop), QPoint(248, 540));
    // Would leave the desktop on the left: moved back onto it.
    EXPECT_EQ(DateBoxCalendar::placement(QRect(-20, 100, 145, 21), desktop), QPoint(0, 121));
    // Off the right edge.
    EXPECT_EQ(DateBoxCalendar::placement(QRect(1000, 100, 145, 21), desktop), QPoint(827, 121));
    // Neither below nor above fits: on the desktop all the same.
    EXPECT_EQ(DateBoxCalendar::placement(QRect(300, 50, 145, 21), QRect(0, 0, 1024, 200)),
              QPoint(248, 0));
}

TEST(DateBoxCalendar, OpensOnTheBoxMonthAndPicksADate) {
    BoxInWindow w;
    DateBoxCalendar* calendar = w.box->calendar();
    EXPECT_FALSE(calendar->isVisible());

    // Alt+Down opens at today's month with today selected when the box holds no date.
    QTest::keyClick(w.box, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(calendar->isVisible());
    EXPECT_EQ(calendar->size(), QSize(197, 160));
    EXPECT_TRUE(calendar->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(calendar->selectedDate(), Today);
    EXPECT_EQ(calendar->titleText(), QStringLiteral("Июнь 2025"));
    EXPECT_EQ(calendar->geometry().topRight().x(),
              w.box->mapToGlobal(w.box->rect().topRight()).x());
    // Esc closes without a change.
    QTest::keyClick(calendar, Qt::Key_Escape);
    EXPECT_FALSE(calendar->isVisible());
    EXPECT_EQ(w.box->text(), QStringLiteral("  .  .    "));

    // The button opens it at the month of the box's value; the keys move through the months.
    w.box->setText(QStringLiteral("20.01.2025"));
    QTest::mouseClick(w.box->dropDownButton(), Qt::LeftButton);
    ASSERT_TRUE(calendar->isVisible());
    EXPECT_EQ(calendar->selectedDate(), QDate(2025, 1, 20));
    QTest::keyClick(calendar, Qt::Key_PageDown);
    EXPECT_EQ(calendar->selectedDate(), QDate(2025, 2, 20));
    QTest::keyClick(calendar, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(calendar->selectedDate(), QDate(2024, 2, 20));
    QTest::keyClick(calendar, Qt::Key_PageDown, Qt::ControlModifier);
    QTest::keyClick(calendar, Qt::Key_PageDown);
    EXPECT_EQ(calendar->selectedDate(), QDate(2025, 3, 20));
    QTest::keyClick(calendar, Qt::Key_Up);
    QTest::keyClick(calendar, Qt::Key_Up);
    QTest::keyClick(calendar, Qt::Key_Left);
    QTest::keyClick(calendar, Qt::Key_Right);
    QTest::keyClick(calendar, Qt::Key_Down);
    QTest::keyClick(calendar, Qt::Key_Left);
    EXPECT_EQ(calendar->selectedDate(), QDate(2025, 3, 12));
    QTest::keyClick(calendar, Qt::Key_T);
    EXPECT_EQ(calendar->selectedDate(), Today);

    // The step buttons.
    QTest::mouseClick(calendar, Qt::LeftButton, {},
                      calendar->stepRect(DateBoxCalendar::Step::YearBack).center());
    QTest::mouseClick(calendar, Qt::LeftButton, {},
                      calendar->stepRect(DateBoxCalendar::Step::MonthForward).center());
    EXPECT_EQ(calendar->selectedDate(), QDate(2024, 7, 15));
    QTest::mouseClick(calendar, Qt::LeftButton, {},
                      calendar->stepRect(DateBoxCalendar::Step::MonthBack).center());
    QTest::mouseClick(calendar, Qt::LeftButton, {},
                      calendar->stepRect(DateBoxCalendar::Step::YearForward).center());
    EXPECT_EQ(calendar->selectedDate(), QDate(2025, 6, 15));
    // A double click on the title goes to today.
    QTest::keyClick(calendar, Qt::Key_PageUp);
    QTest::mouseDClick(calendar, Qt::LeftButton, {}, calendar->titleRect().center());
    EXPECT_EQ(calendar->selectedDate(), Today);
    EXPECT_TRUE(calendar->isVisible());

    // A click on 7 March 2025 writes it in the mask, closes and gives the focus back.
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(calendar, Qt::Key_PageUp);
    const QRect march7 = calendar->dayRect(QDate(2025, 3, 7));
    ASSERT_FALSE(march7.isEmpty());
    QTest::mouseClick(calendar, Qt::LeftButton, {}, march7.center());
    EXPECT_FALSE(calendar->isVisible());
    EXPECT_EQ(w.box->text(), QStringLiteral("07.03.2025"));
    EXPECT_TRUE(w.box->hasFocus());

    // Enter picks the selected day; the today button picks today.
    QTest::keyClick(w.box, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(calendar, Qt::Key_Right);
    QTest::keyClick(calendar, Qt::Key_Return);
    EXPECT_EQ(w.box->text(), QStringLiteral("08.03.2025"));
    QTest::keyClick(w.box, Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(calendar->todayButtonText().contains(QStringLiteral("15.06.2025")));
    QTest::mouseClick(calendar, Qt::LeftButton, {}, calendar->todayButtonRect().center());
    EXPECT_EQ(w.box->text(), QStringLiteral("15.06.2025"));
    EXPECT_FALSE(calendar->isVisible());
}

TEST(DateBoxCalendar, WeekFromTheLocaleSundaysRedTodayMarked) {
    BoxInWindow w;
    w.box->setText(QStringLiteral("07.03.2025"));
    w.box->openCalendar();
    DateBoxCalendar* calendar = w.box->calendar();
    // A Russian week starts on Monday: 1 March 2025, a Saturday, stands in the sixth column and
    // the grid starts on Monday 24 February.
    EXPECT_EQ(calendar->firstShown(), QDate(2025, 2, 24));
    EXPECT_EQ(calendar->dayRect(QDate(2025, 3, 1)).left(), calendar->dayNameRect(5).left());

    const QImage image = calendar->grab().toImage();
    const auto hasInk = [&](const QRect& r, auto test) {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (test(image.pixelColor(x, y)))
                    return true;
        return false;
    };
    const auto red = [](const QColor& c) {
        return c.red() > 150 && c.green() < 80 && c.blue() < 80;
    };
    // Sunday's name and Sunday 9 March are red; Monday's name and Friday 7 March are not.
    EXPECT_TRUE(hasInk(calendar->dayNameRect(6), red));
    EXPECT_TRUE(hasInk(calendar->dayRect(QDate(2025, 3, 9)), red));
    EXPECT_FALSE(hasInk(calendar->dayNameRect(0), red));
    EXPECT_FALSE(hasInk(calendar->dayRect(QDate(2025, 3, 12)), red));

    // Today (15 June) is framed when its month is shown.
    QTest::keyClick(calendar, Qt::Key_T);
    const QImage withToday = calendar->grab().toImage();
    const QRect todayCell = calendar->dayRect(Today);
    bool framed = false;
    for (int x = todayCell.left(); x <= todayCell.right(); ++x)
        framed = framed || withToday.pixelColor(x, todayCell.bottom() - 1) == QColor(0, 0, 128);
    EXPECT_TRUE(framed);
    calendar->close();
}
