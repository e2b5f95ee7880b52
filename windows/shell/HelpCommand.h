#pragma once
// The help command of the menu "Справка". Our viewer, kavelon-help, is a process of its own, as
// the original viewer was: every request quits the running viewer, waits a second without
// handling any message, and starts it again on the file and topic.

#include <QString>

namespace kavelon {

// The application's help file name: empty until the help command sets it to "СПРАВКА".
QString helpFileName();

// Sets the help file name to "СПРАВКА" and asks the viewer for the topic. The outcome is not
// checked: when the viewer or the file is missing the program shows nothing of its own.
void helpCommand(const QString& topic);

// Tells a viewer still running to quit: it goes with the program.
void quitHelpViewer();

// The viewer program; kavelon-help beside the program unless set (tests use a stand-in).
QString helpViewerProgram();
void setHelpViewerProgram(const QString& path);

} // namespace kavelon
