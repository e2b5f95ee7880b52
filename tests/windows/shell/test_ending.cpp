// Ending the program: a real close request to the main window while a list window is shown.

#include "../FormsFixture.h"
#include "../WhenShown.h"
#include "common/SqliteReader.h"
#include "windows/reference/Unit5.h"
#include "windows/shell/Unit1.h"

#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

using namespace kavelon;

// The scenario ends the message loop for good, so it runs in a process of its own: this test
// runs itself again as a child of the test program and takes the child's verdict.
TEST(Ending, CloseRequestWhileAWindowIsShownEndsTheProgramWithoutWritingPendingRows) {
    if (qEnvironmentVariable("KAVELON_ENDING_SCENARIO") != QLatin1String("1")) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KAVELON_ENDING_SCENARIO"), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        child.start(
            QCoreApplication::applicationFilePath(),
            {QStringLiteral("--gtest_filter=%1.%2")
                 .arg(QLatin1String(info->test_suite_name()), QLatin1String(info->name()))});
        ASSERT_TRUE(child.waitForFinished(120000));
        const QString output = QString::fromUtf8(child.readAll());
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
        return;
    }
    test::Forms forms;
    const QString file = forms.database.path();
    // An unposted new client on the list's cursor: dropped at the end, never written.
    Form5->ADOTable1->Insert();
    Form5->ADOTable1->FieldByName(QStringLiteral("Наименование"))
        .setAsString(QStringLiteral("Не записывать"));

    showMainWindow(Form1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    bool showingReturned = false, closedWhileShown = false;
    QTimer::singleShot(0, [&] {
        Form1->Button5->click(); // the clients list, shown modally
        showingReturned = true;
    });
    int exitCode = -1;
    test::whenShown(
        Form5, [&] { exitCode = QApplication::exec(); },
        [&] {
            // The path a window manager's close request takes through the platform layer.
            closedWhileShown = Form1->windowHandle()->close();
        });

    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(closedWhileShown);
    EXPECT_TRUE(showingReturned);
    EXPECT_TRUE(programEnding());
    EXPECT_FALSE(Form5->isVisible());
    EXPECT_EQ(modalWindow(), nullptr);
    // Showing anything more once ending returns at once.
    Form1->Button1->click();
    EXPECT_EQ(modalWindow(), nullptr);

    destroyForms(); // thirteenth first, the main window with the connection last
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(Form5, nullptr);
    EXPECT_EQ(
        test::SqliteReader(file).column(
            QStringLiteral("SELECT COUNT(*) FROM %1").arg(test::quotedName(schema::clientsTable))),
        QStringList{QStringLiteral("0")});
}
