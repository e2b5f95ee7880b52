#pragma once
// The database tool run as a program of its own, with its exit code and both its streams.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace kavelon::test {

struct ToolRun {
    int exitCode;
    QString out, err;
};

inline ToolRun runTool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(KAVELON_BUILD_DIR "/kavelon-db"), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

} // namespace kavelon::test
