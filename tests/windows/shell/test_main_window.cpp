// The main window "Главная" as it is laid out, and its keyboard order.

#include "../FormsFixture.h"
#include "../WhenShown.h"
#include "app/ModalShowing.h"
#include "controls/TDBGrid.h"
#include "windows/journal/Unit2.h"
#include "windows/reference/Unit11.h"
#include "windows/reference/Unit7.h"
#include "windows/shell/Unit1.h"

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

TEST(MainWindow, EnterAndKeypadEnterPressTheFocusedButtonThoughNoneIsDefault) {
    test::Forms forms;
    showMainWindow(Form1);
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    for (QPushButton* b : Form1->findChildren<QPushButton*>())
        EXPECT_FALSE(b->isDefault()) << b->text().toStdString();

    int shown = 0;
    const auto pressWith = [&](QPushButton* button, QWidget* window, Qt::Key key,
                               Qt::KeyboardModifiers mods) {
        const int before = shown;
        test::whenShown(
            window, [&] { QTest::keyClick(button, key, mods); }, // returns when closed
            [&] {
                ++shown;
                window->close();
            });
        EXPECT_TRUE(QTest::qWaitForWindowActive(Form1));
        return shown == before + 1;
    };
    EXPECT_TRUE(pressWith(Form1->Button1, Form2, Qt::Key_Return, Qt::NoModifier));
    EXPECT_TRUE(pressWith(Form1->Button1, Form2, Qt::Key_Enter, Qt::KeypadModifier));
    QTest::keyClick(Form1->Button1, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Form1->Button2);
    EXPECT_TRUE(pressWith(Form1->Button2, Form11, Qt::Key_Return, Qt::NoModifier));
    EXPECT_TRUE(forms.boxes.boxes().empty());
}

// The focused button looks at the first showing as it looks once Tab has come round to it.
TEST(MainWindow, TheFocusFrameIsDrawnFromTheStart) {
    test::Forms forms;
    showMainWindow(Form1);
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    ASSERT_EQ(QApplication::focusWidget(), Form1->Button1);
    const QImage atStart = Form1->Button1->grab().toImage();
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Form1->Button1);
    EXPECT_TRUE(atStart == Form1->Button1->grab().toImage());
    Form1->Button2->setFocus(Qt::OtherFocusReason);
    EXPECT_FALSE(atStart == Form1->Button1->grab().toImage()) << "no focus frame to be seen";

    // The same in a list: its focused button looks as it does once Shift+Tab has reached it.
    QImage focusedAtStart, focusedByTab;
    test::whenShown(
        Form7, [] { showModal(Form7); },
        [&] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(Form7));
            Form7->Button1->setFocus(Qt::OtherFocusReason);
            EXPECT_EQ(QApplication::focusWidget(), Form7->Button1);
            focusedAtStart = Form7->Button1->grab().toImage();
            Form7->Button2->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(Form7->Button2, Qt::Key_Backtab, Qt::ShiftModifier);
            EXPECT_EQ(QApplication::focusWidget(), Form7->Button1);
            focusedByTab = Form7->Button1->grab().toImage();
            Form7->close();
        });
    EXPECT_TRUE(focusedAtStart == focusedByTab);
}

// Bevel1 drawn over a plain colour: one dark line along the top and left, one light line along
// the bottom and right, nothing else.
TEST(MainWindow, BevelIsALoweredFrame) {
    test::Forms forms;
    QFrame* bevel = Form1->Bevel1;
    const QColor ground(0, 0, 255);
    QImage image(bevel->size(), QImage::Format_RGB32);
    image.fill(ground);
    bevel->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    const int w = image.width(), h = image.height();
    const auto at = [&](int x, int y) { return QColor(image.pixel(x, y)); };
    const QColor top = at(w / 2, 0), left = at(0, h / 2);
    const QColor bottom = at(w / 2, h - 1), right = at(w - 1, h / 2);
    EXPECT_EQ(top, left);
    EXPECT_EQ(bottom, right);
    EXPECT_NE(top, ground);
    EXPECT_NE(bottom, ground);
    EXPECT_LT(top.lightness(), bottom.lightness());
    // Single lines: just inside them the picture shows through.
    for (const QPoint inside : {QPoint(w / 2, 1), QPoint(1, h / 2), QPoint(w / 2, h - 2),
                                QPoint(w - 2, h / 2), QPoint(w / 2, h / 2)})
        EXPECT_EQ(at(inside.x(), inside.y()), ground) << inside.x() << "," << inside.y();
}
