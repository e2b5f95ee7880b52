#pragma once
// The connection to the window system, made while the application object is built. When it cannot
// be made (no display, a display that refuses the connection), Qt would abort the process with a
// core dump after several lines about its plugins; the program instead says so in one plain line
// on its error stream and ends with exit code 1, as after any fatal start-up error.

#include <QString>
#include <QtGlobal>

namespace kavelon {

class WindowSystemStart {
public:
    // Watches Qt's messages until `succeeded()`; build the application object in between.
    WindowSystemStart();
    ~WindowSystemStart();
    WindowSystemStart(const WindowSystemStart&) = delete;
    WindowSystemStart& operator=(const WindowSystemStart&) = delete;

    // The window system is reached: Qt's messages held back meanwhile are passed on as usual.
    void succeeded();

    // The one line said when the window system cannot be reached, from what Qt reported.
    static QString failureLine(const QString& programName, const QStringList& reported,
                               const QString& display, const QString& platform);
};

} // namespace kavelon
