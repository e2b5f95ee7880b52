#pragma once
// The texts of the three boxes: the application title that captions them, the final "." of the
// error box and the fatal box's report. Kept apart from the boxes so they can be checked as plain
// functions.

#include <QString>
#include <cstdint>

namespace kavelon {

// The title made from a program file's name: no folder, nothing from the first "." on, every
// letter after the first in lower case ("MYPROG.EXE" gives "Myprog").
QString applicationTitleFrom(const QString& programFile);

// The title of this run, from the running program's file (or as set below).
QString applicationTitle();
// Overrides the title (the application object sets it once at start; tests may too).
void setApplicationTitle(const QString& title);

// The program file's name without its folder ("Kavelon").
QString programFileName();

// The error box's rule: a message whose last character comes after "." in character-code order
// gets a "." appended; one ending in ".", "!", ")", a quote or a space stays as it is.
QString withErrorBoxPeriod(const QString& message);

// "Exception %s in module %s at %p.\r\n%s%s\r\n": the error's class name, the program file's
// name, the code location as eight hexadecimal digits (00000000 when unknown) and the message,
// with "." added when it is not empty and does not end in ".".
QString fatalText(const QString& className, const QString& module, std::uintptr_t address,
                  const QString& message);

} // namespace kavelon
