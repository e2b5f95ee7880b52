#pragma once
// A desktop of the tests' own: an X server (Xvfb) that chose a free display itself, with a real
// window manager (openbox) on it, so that the program can be run as a user runs it and the window
// manager's view of its windows read back. Everything waits on conditions: the server's display
// number on its output, the manager's check window on the root, a property that changed.

#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct xcb_connection_t;
using XWindow = unsigned int;

namespace kavelon::test {

class DesktopSession {
public:
    DesktopSession();
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    // Empty when the desktop is up; else what failed.
    QString failure() const { return failure_; }
    QString display() const { return display_; }
    QSize screenSize() const;

    // Environment for a program on this desktop.
    QProcessEnvironment environment() const;

    // The managed, shown windows of the process, bottom to top.
    std::vector<XWindow> stackingOf(qint64 pid) const;
    // The shown window of the process with this title, or 0.
    XWindow windowNamed(qint64 pid, const QString& title) const;
    QString title(XWindow window) const;
    XWindow transientFor(XWindow window) const;
    QStringList states(XWindow window) const; // atom names of _NET_WM_STATE
    XWindow activeWindow() const;
    // The client area in screen coordinates, and the frame the manager put around it.
    QRect clientArea(XWindow window) const;
    QRect frame(XWindow window) const;

    // A close request as the window's close box makes it (through the window manager).
    void closeBox(XWindow window) const;
    // Real input through the X server (xdotool): a key, or a click at a screen position.
    void key(const QString& keys) const;
    void click(QPoint screenPosition) const;
    // Returns once the window manager has handled every request and event sent before.
    bool settle() const;

private:
    unsigned int atom(const char* name) const;
    std::vector<unsigned int> property32(XWindow window, const char* name, unsigned int type) const;
    bool run(const QString& program, const QStringList& arguments) const;

    std::unique_ptr<QProcess> server_;
    std::unique_ptr<QProcess> manager_;
    QString display_;
    QString failure_;
    xcb_connection_t* connection_ = nullptr;
    XWindow root_ = 0;
    XWindow probe_ = 0;
};

} // namespace kavelon::test
