#pragma once
// The start-up of the program and its end, apart from the application object so that tests can
// run them in their own process.

namespace kavelon {

// One table of font substitutions, so that every family the windows name lands on a face that
// has Cyrillic letters.
void applyFontSubstitutions();

// Field texts follow the system's locale; with none set (C/POSIX) the program speaks Russian.
void applyLocale();

// Creates the thirteen windows, hidden, in their order (TForm1 … TForm13), each opening its
// connection or cursors as it is made. An error escaping a window's creation is passed on.
void createForms();

// Destroys the windows that exist, the thirteenth first and the main window with the
// connection last; pending rows are dropped.
void destroyForms();

// Creates the windows, shows the main window and runs the message loop until the program ends.
// Returns the exit code: 0, or 1 after the fatal error box.
int runProgram();

} // namespace kavelon
