// The built program run as a child process: the fatal box on a damaged background picture, the
// error boxes of a missing database file, and the end on SIGTERM. Its boxes go to its error
// stream (KAVELON_BOXES_TO_STDERR) so that nothing waits for a click, and it says there which
// window takes the keys (KAVELON_REPORT_FOCUS), so that a test knows when its main window is up.

#include "common/TempDatabase.h"
#include "common/WaitFor.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {
QProcess* startProgram(const QString& folder, const QString& background = QString()) {
    auto* program = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("KAVELON_BOXES_TO_STDERR"), QStringLiteral("1"));
    env.insert(QStringLiteral("KAVELON_REPORT_FOCUS"), QStringLiteral("1"));
    if (!background.isEmpty())
        env.insert(QStringLiteral("KAVELON_BACKGROUND"), background);
    program->setProcessEnvironment(env);
    program->setWorkingDirectory(folder);
    program->start(QStringLiteral(KAVELON_BUILD_DIR "/Kavelon"), {});
    return program;
}

QStringList boxLines(const QByteArray& errors, const char* kind) {
    QStringList out;
    const QString prefix = QStringLiteral("[%1 box] ").arg(QLatin1String(kind));
    for (const QString& line : QString::fromUtf8(errors).split(QLatin1Char('\n')))
        if (line.startsWith(prefix))
            out << line.mid(prefix.size());
    return out;
}
} // namespace

TEST(Program, DamagedBackgroundPictureEndsInTheFatalBoxWithExitCodeOne) {
    kavelon::test::TempDatabase database;
    const QString picture = database.folder() + QStringLiteral("/damaged.jpg");
    QFile damaged(picture);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    // A JPEG that starts well and breaks off.
    damaged.write(QByteArray::fromHex("FFD8FFE000104A46494600010100000100010000FFDB0043"));
    damaged.write(QByteArray(40, '\x11'));
    damaged.close();

    std::unique_ptr<QProcess> program(startProgram(database.folder(), picture));
    ASSERT_TRUE(program->waitForFinished(60000));
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program->exitCode(), 1);
    const QByteArray errors = program->readAllStandardError();
    const QString text = QString::fromUtf8(errors);
    EXPECT_TRUE(text.contains(QStringLiteral("[fatal box] Application Error: Exception "
                                             "ResourceError in module Kavelon at 00000000.\r\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(".\r\n\n"))) << "the message ends the report";
    // The picture is read before the connection opens: no error box precedes the fatal one.
    EXPECT_TRUE(boxLines(errors, "error").isEmpty());
}

TEST(Program, MissingFileShowsSeventeenErrorBoxesAndSigtermEndsWithExitCodeZero) {
    kavelon::test::TempDatabase folder(false);
    std::unique_ptr<QProcess> program(startProgram(folder.folder()));
    ASSERT_TRUE(program->waitForStarted(10000));
    QByteArray errors;
    // The boxes come first; then the main window is up and takes the keys.
    const QByteArray mainWindowFocused = QStringLiteral("[focus] Главная\n").toUtf8();
    ASSERT_TRUE(kavelon::test::waitFor([&] {
        errors += program->readAllStandardError();
        return (boxLines(errors, "error").size() >= 17 && errors.contains(mainWindowFocused)) ||
               program->state() == QProcess::NotRunning;
    })) << errors.toStdString();
    ASSERT_EQ(program->state(), QProcess::Running) << errors.toStdString();
    EXPECT_EQ(boxLines(errors, "error").size(), 17);
    for (const QString& line : boxLines(errors, "error"))
        EXPECT_TRUE(line.startsWith(QStringLiteral("Kavelon: "))) << line.toStdString();
    program->terminate();
    ASSERT_TRUE(program->waitForFinished(20000));
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program->exitCode(), 0);
}

TEST(Program, UnreachableDisplayIsOnePlainLineAndExitCodeOne) {
    kavelon::test::TempDatabase database;
    // A display number with no server behind it.
    int number = 900;
    while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
        ++number;
    for (const QString& display : {QStringLiteral(":%1").arg(number), QString()}) {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        if (!display.isEmpty())
            env.insert(QStringLiteral("DISPLAY"), display);
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(database.folder());
        program.start(QStringLiteral(KAVELON_BUILD_DIR "/Kavelon"), {});
        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "no abort, no core dump";
        EXPECT_EQ(program.exitCode(), 1);
        const QString said = QString::fromLocal8Bit(program.readAllStandardError());
        const QString expected =
            display.isEmpty()
                ? QStringLiteral(
                      "Kavelon: no display to show the windows on (DISPLAY is not set)\n")
                : QStringLiteral("Kavelon: cannot connect to the display \"%1\"; the windows "
                                 "cannot be shown\n")
                      .arg(display);
        EXPECT_EQ(said, expected);
        EXPECT_TRUE(program.readAllStandardOutput().isEmpty());
    }
}
