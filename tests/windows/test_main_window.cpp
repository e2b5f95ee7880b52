// The main window "Главная" as it is laid out, and its keyboard order.

#include "FormsFixture.h"
#include "controls/ModalShowing.h"
#include "shell/Unit1.h"

#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using namespace kavelon;

TEST(MainWindow, LaidOutAsDesignedWithFontsThatHaveCyrillicLetters) {
    test::Forms forms;
    EXPECT_EQ(Form1->windowTitle(), QStringLiteral("Главная"));
    EXPECT_FALSE(Form1->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(Form1->windowFlags() & Qt::WindowMinimizeButtonHint);

    showMainWindow(Form1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    QWidget* client = Form1->centralWidget();
    EXPECT_EQ(client->geometry(), QRect(0, Form1->menuBar()->height(), 535, 386));
    EXPECT_EQ(Form1->size(), QSize(535, 386 + Form1->menuBar()->height()));
    EXPECT_EQ(Form1->minimumSize(), Form1->maximumSize());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_NEAR(Form1->frameGeometry().center().x(), screen.center().x(), 1);
    EXPECT_NEAR(Form1->frameGeometry().center().y(), screen.center().y(), 1);

    EXPECT_EQ(Form1->Image1->geometry(), QRect(0, 36, 535, 350));
    EXPECT_TRUE(Form1->Image1->hasScaledContents());
    EXPECT_EQ(Form1->Image1->pixmap().size(), QSize(800, 600));
    EXPECT_EQ(Form1->Bevel1->geometry(), QRect(24, 80, 201, 305));
    EXPECT_EQ(Form1->Bevel1->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(Form1->Label2->geometry(), QRect(0, 0, 535, 36));
    EXPECT_EQ(Form1->Label2->text(), QStringLiteral("Кавелон"));
    EXPECT_EQ(Form1->Label2->font().family(), QStringLiteral("Constantia"));
    EXPECT_EQ(Form1->Label2->font().pixelSize(), 29);
    EXPECT_EQ(Form1->Label2->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(Form1->Label2->palette().color(QPalette::Window),
              Form1->palette().color(QPalette::ButtonText));
    EXPECT_TRUE(Form1->Label2->autoFillBackground());

    // From the back to the front: picture, frame, banner, then the buttons.
    const QObjectList order = client->children();
    EXPECT_LT(order.indexOf(Form1->Image1), order.indexOf(Form1->Bevel1));
    EXPECT_LT(order.indexOf(Form1->Bevel1), order.indexOf(Form1->Label2));
    EXPECT_LT(order.indexOf(Form1->Label2), order.indexOf(Form1->Button1));

    const struct {
        QPushButton* button;
        const char* caption;
        int top;
    } buttons[] = {{Form1->Button1, "Заказ", 104},
                   {Form1->Button5, "Клиенты", 160},
                   {Form1->Button3, "Населённые пункты", 216},
                   {Form1->Button4, "Транспортные средства", 272},
                   {Form1->Button2, "Водители", 328}};
    for (const auto& b : buttons) {
        EXPECT_EQ(b.button->text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(b.button->geometry(), QRect(32, b.top, 177, 33)) << b.caption;
        EXPECT_EQ(b.button->font().family(), QStringLiteral("Segoe UI"));
        EXPECT_EQ(b.button->font().pixelSize(), 15);
        EXPECT_FALSE(b.button->isDefault());
        EXPECT_TRUE(b.button->shortcut().isEmpty());
        // The caption fits the button in the face that stands in for Segoe UI.
        EXPECT_LT(QFontMetrics(b.button->font()).horizontalAdvance(b.button->text()), 177 - 8);
    }
    EXPECT_EQ(Form1->font().pixelSize(), 11);

    EXPECT_EQ(Form1->N1->title(), QStringLiteral("Помощь"));
    const QList<QAction*> items = Form1->N1->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0], Form1->N2);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Справка"));
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text(), QStringLiteral("О программе..."));
    for (QAction* a : items)
        EXPECT_TRUE(a->shortcut().isEmpty());

    // Each family the windows name lands on a face with Cyrillic letters.
    for (const char* family :
         {"MS Sans Serif", "Segoe UI", "Constantia", "Comic Sans MS", "Georgia"}) {
        QFont font(QString::fromLatin1(family));
        font.setPixelSize(15);
        const QString face = QFontInfo(font).family();
        EXPECT_TRUE(QFontDatabase::writingSystems(face).contains(QFontDatabase::Cyrillic))
            << family << " -> " << face.toStdString();
    }
}

TEST(MainWindow, FocusStartsOnOrderAndTabFollowsTheButtonsNumbers) {
    test::Forms forms;
    showMainWindow(Form1);
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    EXPECT_EQ(QApplication::focusWidget(), Form1->Button1);
    const QWidget* expected[] = {Form1->Button2, Form1->Button3, Form1->Button4, Form1->Button5,
                                 Form1->Button1};
    for (const QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
}
