#include "windows/shell/WindowSystemStart.h"

#include <QByteArray>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace kavelon {

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray file;
    int line;
    QByteArray function;
    QByteArray category;
    QString text;
};

QtMessageHandler previousHandler = nullptr;
std::vector<HeldMessage>* held = nullptr;
std::mutex heldLock;

QString programName() {
    // The application object is not built yet: the name comes from the process itself.
    const QString path = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return path.isEmpty() ? QStringLiteral("Kavelon") : QFileInfo(path).fileName();
}

void holdOrEnd(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        QStringList reported;
        {
            std::lock_guard lock(heldLock);
            if (held)
                for (const HeldMessage& m : *held)
                    reported << m.text;
        }
        reported << text;
        const QString line =
            WindowSystemStart::failureLine(programName(), reported, qEnvironmentVariable("DISPLAY"),
                                           qEnvironmentVariable("QT_QPA_PLATFORM"));
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
        std::fflush(stderr);
        // Qt is half built: nothing of it may run on the way out.
        std::_Exit(1);
    }
    std::lock_guard lock(heldLock);
    if (!held)
        return;
    held->push_back({type, QByteArray(context.file), context.line, QByteArray(context.function),
                     QByteArray(context.category), text});
}

} // namespace

WindowSystemStart::WindowSystemStart() {
    std::lock_guard lock(heldLock);
    held = new std::vector<HeldMessage>;
    previousHandler = qInstallMessageHandler(holdOrEnd);
}

void WindowSystemStart::succeeded() {
    std::vector<HeldMessage> messages;
    {
        std::lock_guard lock(heldLock);
        if (!held)
            return;
        messages = std::move(*held);
        delete held;
        held = nullptr;
        qInstallMessageHandler(previousHandler);
    }
    for (const HeldMessage& m : messages) {
        const QMessageLogContext context(m.file.isNull() ? nullptr : m.file.constData(), m.line,
                                         m.function.isNull() ? nullptr : m.function.constData(),
                                         m.category.isNull() ? nullptr : m.category.constData());
        if (previousHandler)
            previousHandler(m.type, context, m.text);
        else
            qt_message_output(m.type, context, m.text);
    }
}

WindowSystemStart::~WindowSystemStart() {
    succeeded();
}

QString WindowSystemStart::failureLine(const QString& programName, const QStringList& reported,
                                       const QString& display, const QString& platform) {
    const bool refused = std::any_of(reported.begin(), reported.end(), [](const QString& m) {
        return m.contains(QLatin1String("could not connect to display"));
    });
    const QString windowSystem = platform.isEmpty() ? QStringLiteral("xcb") : platform;
    if (refused || windowSystem == QLatin1String("xcb")) {
        if (display.isEmpty())
            return QStringLiteral("%1: no display to show the windows on (DISPLAY is not set)")
                .arg(programName);
        return QStringLiteral(
                   "%1: cannot connect to the display \"%2\"; the windows cannot be shown")
            .arg(programName, display);
    }
    return QStringLiteral(
               "%1: the window system \"%2\" cannot be started; the windows cannot be shown")
        .arg(programName, windowSystem);
}

} // namespace kavelon
