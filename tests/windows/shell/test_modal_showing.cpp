// Showing windows modally from the main window, their places, and the about window.

#include "../FormsFixture.h"
#include "../WhenShown.h"
#include "common/TypeText.h"
#include "windows/journal/Unit2.h"
#include "windows/reference/Unit5.h"
#include "windows/reference/Unit7.h"
#include "windows/shell/Unit1.h"
#include "windows/shell/Unit13.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace kavelon;

TEST(ModalShowing, AButtonShowsItsWindowWhileTheMainWindowTakesNoInput) {
    test::Forms forms;
    showMainWindow(Form1);
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));

    bool journalShown = false, clientsShownMeanwhile = true, keysReachedMain = true;
    QPoint journalPlace;
    // The click returns when the journal closes.
    test::whenShown(
        Form2, [] { QTest::mouseClick(Form1->Button1, Qt::LeftButton); },
        [&] {
            journalShown = true;
            journalPlace = Form2->pos();
            QTest::mouseClick(Form1->Button5, Qt::LeftButton);
            clientsShownMeanwhile = Form5->isVisible();
            Form1->Button3->setFocus();
            QTest::keyClick(Form1->Button3, Qt::Key_Space);
            keysReachedMain = Form7->isVisible();
            Form2->close();
        });
    EXPECT_TRUE(journalShown);
    EXPECT_FALSE(clientsShownMeanwhile);
    EXPECT_FALSE(keysReachedMain);
    EXPECT_EQ(journalPlace, QPoint(96, 36));
    EXPECT_FALSE(Form2->isVisible());
    EXPECT_EQ(modalWindow(), nullptr);
    EXPECT_TRUE(Form1->isEnabled());

    // The main window takes input again; a list window is centred the first time and shown
    // where it last stood afterwards.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QPoint firstCentre;
    const auto showClients = [] { QTest::mouseClick(Form1->Button5, Qt::LeftButton); };
    test::whenShown(Form5, showClients, [&] {
        firstCentre = Form5->frameGeometry().center();
        Form5->move(10, 20);
        Form5->close();
    });
    EXPECT_NEAR(firstCentre.x(), screen.center().x(), 1);
    EXPECT_NEAR(firstCentre.y(), screen.center().y(), 1);
    QPoint secondPlace;
    test::whenShown(Form5, showClients, [&] {
        secondPlace = Form5->pos();
        Form5->close();
    });
    EXPECT_EQ(secondPlace, QPoint(10, 20));
    EXPECT_TRUE(forms.boxes.boxes().empty());
}

// The tests' one way into a modal window: one that never comes fails the test, and the actions
// meant for it do not run when it is shown later.
TEST(ModalShowing, AWindowThatNeverComesFailsTheTestThatWaitedForIt) {
    test::Forms forms;
    showMainWindow(Form1);
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    static int acted;
    acted = 0;
    EXPECT_NONFATAL_FAILURE(test::whenShown(
                                Form2, [] {}, [] { ++acted; }),
                            "Form2 was never shown");
    EXPECT_TRUE(test::whenShown(
        Form2, [] { showModal(Form2); }, [] { Form2->close(); }));
    EXPECT_EQ(acted, 0);
}

TEST(AboutWindow, ShowsNineLinesAndKeepsWhatIsTypedWhileTheProgramRuns) {
    test::Forms forms;
    showMainWindow(Form1);
    QPlainTextEdit* memo = Form13->Memo1;
    const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines[0], QStringLiteral("Кавелон"));
    EXPECT_EQ(lines[3], QString());
    EXPECT_EQ(lines[4], QStringLiteral("Данный ПП предназначен для овтоматизации "));
    EXPECT_EQ(lines[5], QStringLiteral("рабочего места "));
    EXPECT_EQ(lines[6], QStringLiteral("диспетчера по заполнению заказов. "));
    EXPECT_EQ(lines[7], QString());
    EXPECT_EQ(lines[8], QStringLiteral("Прриятной работы..."));
    EXPECT_EQ(memo->geometry(), QRect(0, 0, 402, 230));
    EXPECT_EQ(memo->font().family(), QStringLiteral("Comic Sans MS"));
    EXPECT_EQ(memo->font().pixelSize(), 16);
    EXPECT_EQ(memo->palette().color(QPalette::Text), QColor(0, 0, 128));
    EXPECT_FALSE(memo->isReadOnly());

    bool focused = false, stillShownAfterEnter = false;
    const auto showAbout = [] { Form1->N4->trigger(); };
    test::whenShown(Form13, showAbout, [&] {
        // The focus is the active window's: asked once the window is active.
        focused = QTest::qWaitForWindowActive(Form13) && QApplication::focusWidget() == memo;
        memo->moveCursor(QTextCursor::End);
        test::typeText(memo, QStringLiteral("Привет"));
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClick(memo, Qt::Key_Tab);
        stillShownAfterEnter = Form13->isVisible();
        Form13->close();
    });
    EXPECT_TRUE(focused);
    EXPECT_TRUE(stillShownAfterEnter);
    const QString edited = memo->toPlainText();
    EXPECT_TRUE(edited.endsWith(QStringLiteral("Прриятной работы...Привет\n")))
        << edited.toStdString();
    EXPECT_FALSE(edited.contains(QLatin1Char('\t')));

    QString shownAgain;
    test::whenShown(Form13, showAbout, [&] {
        shownAgain = memo->toPlainText();
        Form13->close();
    });
    EXPECT_EQ(shownAgain, edited);
}
