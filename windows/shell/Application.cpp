#include "windows/shell/Application.h"

#include "app/Guard.h"
#include "app/MessageText.h"
#include "app/ModalShowing.h"
#include "windows/shell/Startup.h"

#include <QIcon>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QWindow>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace kavelon {

namespace {
// The signal handler only writes a byte; the message loop ends the program in its own time.
int terminationPipe[2] = {-1, -1};

void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(terminationPipe[1], &byte, 1);
}
} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationTitle(applicationTitleFrom(applicationFilePath()));
    setWindowIcon(QIcon(QStringLiteral(":/kavelon.png")));
    // Only the main window's closing ends the program; hiding the last shown window does not.
    setQuitOnLastWindowClosed(false);
    applyFontSubstitutions();
    applyLocale();
    watchTermination();
    connect(this, &QGuiApplication::commitDataRequest, this,
            [](QSessionManager&) { endProgram(0); });
    // For the tests that drive the program from outside: which window takes the keys now.
    if (qEnvironmentVariableIntValue("KAVELON_REPORT_FOCUS") == 1)
        connect(this, &QGuiApplication::focusWindowChanged, this, [](QWindow* window) {
            std::fprintf(stderr, "[focus] %s\n",
                         window ? window->title().toUtf8().constData() : "");
            std::fflush(stderr);
        });
}

Application::~Application() {
    if (terminationPipe[0] >= 0) {
        std::signal(SIGTERM, SIG_DFL);
        std::signal(SIGHUP, SIG_DFL);
        ::close(terminationPipe[0]);
        ::close(terminationPipe[1]);
        terminationPipe[0] = terminationPipe[1] = -1;
    }
}

void Application::watchTermination() {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, terminationPipe) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    termination_ = new QSocketNotifier(terminationPipe[0], QSocketNotifier::Read, this);
    connect(termination_, &QSocketNotifier::activated, this, [] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(terminationPipe[0], &byte, 1);
        endProgram(0);
    });
}

int Application::run() {
    return runProgram();
}

bool Application::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    guard([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace kavelon
