// kavelon-help FILE TOPIC: shows the help file at the topic. The program starts it for its menu
// "Справка" and ends it before starting it anew.
// With KAVELON_HELP_REPORT set, the viewer prints what its window shows and quits, for tests.

#include "HelpWindow.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    kavelon::help::HelpWindow window(arguments.value(1), arguments.value(2));
    window.show();
    window.showTopic();
    if (qEnvironmentVariableIsSet("KAVELON_HELP_REPORT")) {
        QTimer::singleShot(0, &app, [&window] {
            std::fputs(window.stateReport().toUtf8().constData(), stdout);
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    }
    return app.exec();
}
