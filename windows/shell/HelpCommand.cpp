#include "windows/shell/HelpCommand.h"

#include <QCoreApplication>
#include <QPointer>
#include <QProcess>
#include <chrono>
#include <thread>

namespace kavelon {

namespace {
QString fileName;
QString viewerOverride;
// Parented to the application, so a viewer still running is ended with the program.
QPointer<QProcess> viewer;

// The wait blocks the user-interface thread on purpose: no message is handled meanwhile.
void waitWithoutMessages(std::chrono::milliseconds wait) {
    const auto end = std::chrono::steady_clock::now() + wait;
    for (auto now = std::chrono::steady_clock::now(); now < end;
         now = std::chrono::steady_clock::now())
        std::this_thread::sleep_for(end - now);
}
} // namespace

QString helpFileName() {
    return fileName;
}

QString helpViewerProgram() {
    return viewerOverride.isEmpty()
               ? QCoreApplication::applicationDirPath() + QStringLiteral("/kavelon-help")
               : viewerOverride;
}

void setHelpViewerProgram(const QString& path) {
    viewerOverride = path;
}

void quitHelpViewer() {
    if (!viewer)
        return;
    if (viewer->state() != QProcess::NotRunning) {
        viewer->terminate();
        if (!viewer->waitForFinished(1000)) {
            viewer->kill();
            viewer->waitForFinished(1000);
        }
    }
    delete viewer.data();
}

void helpCommand(const QString& topic) {
    fileName = QStringLiteral("СПРАВКА");

    // Tell the running viewer to quit, then give it the second before starting it anew.
    if (viewer && viewer->state() != QProcess::NotRunning)
        viewer->terminate();
    waitWithoutMessages(std::chrono::milliseconds(1001));
    if (viewer) {
        if (viewer->state() != QProcess::NotRunning) {
            viewer->kill();
            viewer->waitForFinished(1000);
        }
        delete viewer.data();
    }

    viewer = new QProcess(QCoreApplication::instance());
    viewer->setProgram(helpViewerProgram());
    viewer->setArguments({fileName, topic});
    viewer->setProcessChannelMode(QProcess::ForwardedChannels);
    viewer->start();
}

} // namespace kavelon
