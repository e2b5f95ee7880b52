#pragma once
// The application object: the title from the program file's name, the font substitutions, the
// locale, the last-resort catch of errors, and the end of the program on SIGTERM or at the end
// of the desktop session.

#include <QApplication>

class QSocketNotifier;

namespace kavelon {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    ~Application() override;

    // Start-up, message loop and end; the exit code.
    int run();

    // An error that escaped a handler's own guard still ends in the error box.
    bool notify(QObject* receiver, QEvent* event) override;

private:
    void watchTermination();
    QSocketNotifier* termination_ = nullptr;
};

} // namespace kavelon
