// The error box and the grid's question as the production seam makes them: centred on the screen
// like the program's own message box, and copied by Ctrl+C the same way. On an X server with a
// window manager the boxes' places are checked by the desktop tests.

#include "app/MessageDialog.h"
#include "app/MessageText.h"
#include "app/SystemBox.h"

#include <QApplication>
#include <QClipboard>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

using namespace kavelon;

namespace {

QString dashed(const QStringList& parts) {
    const QString line = QString(27, QLatin1Char('-')) + QLatin1Char('\n');
    QString out = line;
    for (const QString& p : parts)
        out += p + QLatin1Char('\n') + line;
    return out;
}

// Where the box's centre stands against the screen's, once shown.
QPoint offCentre(QWidget& box) {
    box.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&box));
    const QPoint off =
        box.frameGeometry().center() - QGuiApplication::primaryScreen()->geometry().center();
    box.hide();
    return off;
}

} // namespace

TEST(SystemBoxes, ErrorAndConfirmBoxesStandCentredWhateverTheirSize) {
    setApplicationTitle(QStringLiteral("Kavelon"));
    const auto expectCentred = [](QWidget& box, const char* what) {
        const QPoint off = offCentre(box);
        EXPECT_LE(std::abs(off.x()), 1) << what;
        EXPECT_LE(std::abs(off.y()), 1) << what << ": " << box.y() << " high " << box.height();
    };
    expectCentred(*makeErrorBox(QStringLiteral(
                      "ADOTable1: Cannot perform this operation on an empty dataset.")),
                  "one line");
    expectCentred(*makeErrorBox(QStringLiteral("Первая строка\nвторая\nтретья\nчетвёртая.")),
                  "four lines");
    expectCentred(*makeConfirmBox(QStringLiteral("Confirm"), QStringLiteral("Delete record?")),
                  "the question");
    expectCentred(
        *makeFatalBox(QStringLiteral(
            "Exception ResourceError in module Kavelon at 00000000.\r\nБез картинки.\r\n")),
        "the fatal box");
    // As the program's own box stands.
    MessageDialog own(QStringLiteral("Не все поля заполнены"));
    expectCentred(own, "the message box");
    setApplicationTitle(QString());
}

TEST(SystemBoxes, CtrlCCopiesCaptionTextAndButtonsBetweenDashedLines) {
    setApplicationTitle(QStringLiteral("Kavelon"));
    const auto copied = [](SystemBox& box) {
        box.show();
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(box.button(QMessageBox::Ok), Qt::Key_C, Qt::ControlModifier);
        EXPECT_TRUE(box.isVisible()) << "Ctrl+C leaves the box open";
        box.hide();
        return QGuiApplication::clipboard()->text();
    };
    const auto error =
        makeErrorBox(QStringLiteral("'-' is not a valid integer value for field '№ ВУ'."));
    EXPECT_EQ(copied(*error),
              dashed({"Kavelon", "'-' is not a valid integer value for field '№ ВУ'.", "OK   "}));
    const auto question =
        makeConfirmBox(QStringLiteral("Confirm"), QStringLiteral("Delete record?"));
    EXPECT_EQ(copied(*question), dashed({"Confirm", "Delete record?", "OK   Cancel   "}));

    // The program's own box copies in the same form.
    MessageDialog own(QStringLiteral("Не все поля заполнены"));
    own.show();
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(own.okButton(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              dashed({"Kavelon", "Не все поля заполнены", "OK   "}));
    own.hide();
    setApplicationTitle(QString());
}
