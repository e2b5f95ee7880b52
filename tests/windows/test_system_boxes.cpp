// The error box and the grid's question as the production seam makes them: centred on the screen
// like the program's own message box, and copied by Ctrl+C the same way.

#include "controls/MessageDialog.h"
#include "controls/MessageText.h"
#include "controls/SystemBox.h"

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

// The offscreen platform centres a dialog box by itself; an X server is where the boxes used to
// stand too high. The centring test runs again in this binary on a private Xvfb, when there is one.
TEST(SystemBoxes, ErrorAndConfirmBoxesStandCentredOnAnXServerToo) {
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        GTEST_SKIP() << "no Xvfb";
    QProcess server;
    // -displayfd 1: the server picks a free display and prints its number once it accepts clients.
    server.start(xvfb,
                 {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                  QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                  QStringLiteral("tcp")});
    ASSERT_TRUE(server.waitForStarted(10000));
    QByteArray display;
    while (!display.contains('\n') && server.waitForReadyRead(20000))
        display += server.readAllStandardOutput();
    ASSERT_TRUE(display.contains('\n')) << "Xvfb did not start";

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"),
               QStringLiteral(":") + QString::fromLatin1(display.trimmed()));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(
        QCoreApplication::applicationFilePath(),
        {QStringLiteral(
            "--gtest_filter=SystemBoxes.ErrorAndConfirmBoxesStandCentredWhateverTheirSize")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QByteArray output = child.readAll();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
    server.terminate();
    server.waitForFinished(10000);
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
