// The help command: every "Справка" quits the running viewer, waits a second without handling
// any message, and starts the viewer again on the file and topic "СПРАВКА".

#include "../FormsFixture.h"
#include "common/WaitFor.h"
#include "windows/shell/HelpCommand.h"
#include "windows/shell/Unit1.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <signal.h>

using namespace kavelon;

namespace {
// A stand-in viewer that notes its process id and arguments, then stays running.
QString writeFakeViewer(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("fake-help"));
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\necho \"$$ $*\" >> \"$(dirname \"$0\")/started.log\"\nexec sleep 60\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QStringList startedViewers(const QTemporaryDir& dir) {
    QFile log(dir.filePath(QStringLiteral("started.log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool running(qint64 pid) {
    return ::kill(pid_t(pid), 0) == 0;
}
} // namespace

TEST(HelpCommand, EachRequestRestartsTheViewerAfterASecondOfNoResponse) {
    test::Forms forms;
    QTemporaryDir dir;
    setHelpViewerProgram(writeFakeViewer(dir));
    EXPECT_TRUE(helpFileName().isEmpty());

    qint64 previous = 0;
    for (int request = 1; request <= 2; ++request) {
        bool messageHandled = false;
        // The message dies with the flag it sets: when the viewer's line is there at once, no
        // event is handled before the round ends.
        QObject round;
        QTimer::singleShot(0, &round, [&] { messageHandled = true; });
        QElapsedTimer clock;
        clock.start();
        Form1->N2->trigger();
        EXPECT_GE(clock.elapsed(), 1001);
        EXPECT_FALSE(messageHandled) << "the wait handled a message";
        ASSERT_TRUE(test::waitFor([&] { return startedViewers(dir).size() == request; }))
            << startedViewers(dir).size() << " viewers started";
        const QStringList line = startedViewers(dir).back().split(QLatin1Char(' '));
        ASSERT_EQ(line.size(), 3);
        EXPECT_EQ(line[1], QStringLiteral("СПРАВКА"));
        EXPECT_EQ(line[2], QStringLiteral("СПРАВКА"));
        const qint64 pid = line[0].toLongLong();
        EXPECT_TRUE(running(pid));
        if (previous) {
            EXPECT_FALSE(running(previous)) << "the earlier viewer was not told to quit";
        }
        previous = pid;
    }
    EXPECT_EQ(helpFileName(), QStringLiteral("СПРАВКА"));

    // No viewer at all: the program shows nothing of its own.
    setHelpViewerProgram(dir.filePath(QStringLiteral("no-such-viewer")));
    Form1->N2->trigger();
    // The failed start is reported from the message loop: once the viewer's process has said so,
    // and what was posted meanwhile has been handled too, any answer of the program's is there.
    auto* viewer = qApp->findChild<QProcess*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(test::waitFor([&] { return viewer->error() == QProcess::FailedToStart; }));
    bool postedHandled = false;
    QTimer::singleShot(0, [&] { postedHandled = true; });
    ASSERT_TRUE(test::waitFor([&] { return postedHandled; }));
    EXPECT_FALSE(running(previous));
    EXPECT_TRUE(forms.boxes.boxes().empty());
    setHelpViewerProgram(QString());
}
