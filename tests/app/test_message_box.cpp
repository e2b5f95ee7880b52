// The program's own message box and the guard that ends escaped errors in the error box.

#include "app/Guard.h"
#include "app/MessageDialog.h"
#include "app/MessageText.h"
#include "common/RecordingMessages.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace kavelon;

namespace {
struct Units {
    int averageWidth, height;
};
Units unitsOf(const QFont& font) {
    const QFontMetrics m(font);
    const int alphabet =
        m.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(alphabet / 26 + 1) / 2, m.height()};
}
} // namespace

TEST(MessageBox, LaidOutInDialogUnitsWrappedAtHalfTheScreenAndCentred) {
    setApplicationTitle(QStringLiteral("Test"));
    MessageDialog box(QStringLiteral("Не все поля заполнены"));
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Test"));
    EXPECT_EQ(box.okButton()->text(), QStringLiteral("OK"));
    EXPECT_TRUE(box.okButton()->isDefault());

    const Units u = unitsOf(box.font());
    const QRect text = box.textLabel()->geometry();
    const QRect button = box.okButton()->geometry();
    EXPECT_NEAR(text.left(), 8 * u.averageWidth / 4.0, 1.0);
    EXPECT_NEAR(text.top(), 8 * u.height / 8.0, 1.0);
    EXPECT_NEAR(button.top() - (text.bottom() + 1), 10 * u.height / 8.0, 1.0);
    EXPECT_NEAR(button.height(), 14 * u.height / 8.0, 1.0);
    EXPECT_GE(button.width(), 50 * u.averageWidth / 4 - 1);
    EXPECT_NEAR(button.center().x(), box.width() / 2.0, 1.0);
    EXPECT_NEAR(box.height() - (button.bottom() + 1), 8 * u.height / 8.0, 1.0);
    EXPECT_EQ(box.minimumSize(), box.maximumSize());

    box.show();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_NEAR(box.frameGeometry().center().x(), screen.center().x(), 1);
    EXPECT_NEAR(box.frameGeometry().center().y(), screen.center().y(), 1);
    box.hide();

    QString longText;
    for (int i = 0; i < 120; ++i)
        longText += QStringLiteral("заказ ");
    MessageDialog wrapped(longText.trimmed());
    const QRect wrappedText = wrapped.textLabel()->geometry();
    EXPECT_LE(wrappedText.width(), screen.width() / 2);
    EXPECT_GT(wrappedText.width(), screen.width() / 2 - 80);
    EXPECT_GT(wrappedText.height(), 3 * QFontMetrics(wrapped.font()).height());
    EXPECT_GE(wrapped.height(), wrappedText.bottom());
    setApplicationTitle(QString());
}

TEST(MessageBox, EnterEscButtonAndCloseBoxCloseItCtrlCCopiesTheDashedText) {
    setApplicationTitle(QStringLiteral("Kavelon"));
    MessageDialog box(QStringLiteral("Не все поля заполнены"));
    const auto closes = [&](auto act) {
        box.open();
        QApplication::setActiveWindow(&box);
        act();
        return !box.isVisible();
    };
    EXPECT_TRUE(closes([&] { QTest::keyClick(&box, Qt::Key_Return); }));
    EXPECT_TRUE(closes([&] { QTest::keyClick(&box, Qt::Key_Escape); }));
    EXPECT_TRUE(closes([&] { QTest::mouseClick(box.okButton(), Qt::LeftButton); }));
    EXPECT_TRUE(closes([&] { box.close(); }));

    box.open();
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(box.okButton(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(box.isVisible());
    const QString dashes(27, QLatin1Char('-'));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), dashes + "\nKavelon\n" + dashes +
                                                        "\nНе все поля заполнены\n" + dashes +
                                                        "\nOK   \n" + dashes + "\n");
    box.close();
    setApplicationTitle(QString());
}

TEST(Guard, AnEscapedErrorEndsInTheErrorBoxAndTheProgramGoesOn) {
    test::RecordingMessages boxes;
    guard([] {
        throw DatabaseError(
            QStringLiteral("ADOTable1: Cannot perform this operation on a closed dataset"));
    });
    guard([] { throw ConversionError(QStringLiteral("'1x' is not a valid integer value")); });
    guard([] { throw std::runtime_error("out of order)"); });
    bool ran = false;
    guard([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_EQ(boxes.texts(test::RecordingMessages::Kind::Error),
              QStringList(
                  {QStringLiteral("ADOTable1: Cannot perform this operation on a closed dataset."),
                   QStringLiteral("'1x' is not a valid integer value."),
                   QStringLiteral("out of order)")}));
}
