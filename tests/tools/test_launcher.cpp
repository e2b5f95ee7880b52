// The desktop launcher, run with a temporary home folder and stand-ins for the two programs it
// starts, installed the way `cmake --install` lays them out.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Launcher {
public:
    Launcher() {
        QDir root(root_.path());
        root.mkpath(QStringLiteral("prefix/bin"));
        root.mkpath(QStringLiteral("prefix/share/kavelon"));
        root.mkpath(QStringLiteral("home"));
        bin_ = root.filePath(QStringLiteral("prefix/bin"));
        home_ = root.filePath(QStringLiteral("home"));
        QFile::copy(QStringLiteral(KAVELON_SOURCE_DIR "/tools/launcher/kavelon-launch"),
                    bin_ + QStringLiteral("/kavelon-launch"));
        write(root.filePath(QStringLiteral("prefix/share/kavelon/СПРАВКА")), "the guide");
        // The stand-ins leave a trace in the home folder of what they were asked to do.
        writeProgram(QStringLiteral("kavelon-db"),
                     "echo \"$*\" >> \"$HOME/kavelon-db.log\"\n"
                     "[ \"$1\" = create ] && printf 'empty database' > \"$2\"\n");
        writeProgram(QStringLiteral("Kavelon"), "echo \"$(pwd)\" >> \"$HOME/Kavelon.log\"\n"
                                                "exit ${KAVELON_EXIT:-0}\n");
    }

    int run(const QString& launcher, int programExit = 0) const {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home_);
        environment.insert(QStringLiteral("KAVELON_EXIT"), QString::number(programExit));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(root_.path());
        process.start(launcher, {});
        if (!process.waitForFinished(30000))
            return -1;
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    }
    int run() const { return run(bin_ + QStringLiteral("/kavelon-launch")); }

    QString home(const QString& name) const { return QDir(home_).filePath(name); }
    QString data(const QString& name) const { return home(QStringLiteral("Кавелон/") + name); }
    QString bin(const QString& name) const { return QDir(bin_).filePath(name); }
    QString root() const { return root_.path(); }

    static QString read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    static void write(const QString& path, const QByteArray& text) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(text);
    }
    void writeProgram(const QString& name, const QByteArray& body) const {
        write(bin(name), "#!/bin/sh\n" + body);
        QFile::setPermissions(bin(name), QFile::permissions(bin(name)) | QFile::ExeOwner);
    }

private:
    QTemporaryDir root_;
    QString bin_;
    QString home_;
};

} // namespace

TEST(Launcher, FirstRunMakesTheDataFolderAndLaterRunsKeepIt) {
    Launcher launcher;
    ASSERT_EQ(launcher.run(), 0);
    const QString database = launcher.data(QStringLiteral("кавелон.mdb"));
    EXPECT_EQ(Launcher::read(launcher.home(QStringLiteral("kavelon-db.log"))),
              QStringLiteral("create ") + database + QStringLiteral("\n"));
    EXPECT_EQ(Launcher::read(database), QStringLiteral("empty database"));
    EXPECT_EQ(Launcher::read(launcher.data(QStringLiteral("СПРАВКА"))),
              QStringLiteral("the guide"));
    EXPECT_EQ(Launcher::read(launcher.home(QStringLiteral("Kavelon.log"))),
              launcher.home(QStringLiteral("Кавелон")) + QStringLiteral("\n"));

    // The dispatcher's data and own help file stay as they are; no second database is made.
    Launcher::write(database, "orders");
    Launcher::write(launcher.data(QStringLiteral("СПРАВКА")), "my notes");
    ASSERT_EQ(launcher.run(), 0);
    EXPECT_EQ(Launcher::read(database), QStringLiteral("orders"));
    EXPECT_EQ(Launcher::read(launcher.data(QStringLiteral("СПРАВКА"))), QStringLiteral("my notes"));
    EXPECT_EQ(Launcher::read(launcher.home(QStringLiteral("kavelon-db.log"))).count('\n'), 1);
    EXPECT_EQ(Launcher::read(launcher.home(QStringLiteral("Kavelon.log"))).count('\n'), 2);

    // Started through a link elsewhere, it still finds the programs beside itself; the
    // program's exit code is the launcher's.
    const QString link = QDir(launcher.root()).filePath(QStringLiteral("kavelon-link"));
    ASSERT_TRUE(QFile::link(launcher.bin(QStringLiteral("kavelon-launch")), link));
    EXPECT_EQ(launcher.run(link, 3), 3);
    EXPECT_EQ(Launcher::read(launcher.home(QStringLiteral("Kavelon.log"))).count('\n'), 3);
}

TEST(Launcher, ADatabaseThatCannotBeMadeStopsBeforeTheProgram) {
    Launcher launcher;
    launcher.writeProgram(QStringLiteral("kavelon-db"), "exit 1\n");
    EXPECT_NE(launcher.run(), 0);
    EXPECT_FALSE(QFile::exists(launcher.data(QStringLiteral("кавелон.mdb"))));
    EXPECT_FALSE(QFile::exists(launcher.home(QStringLiteral("Kavelon.log"))));
}
