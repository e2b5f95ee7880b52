#pragma once
// What the program's boxes share, whichever kind they are (its own message box, the error box, the
// fatal box, the grid's question): they stand centred on the screen, and Ctrl+C beeps and copies
// the box as dashed text.

#include <QMargins>
#include <QString>
#include <QStringList>

class QKeyEvent;
class QWidget;

namespace kavelon {

// Centres the window on the screen by its frame: the frame it has once mapped; before that the
// frame the window manager announced for it (WindowHints.h), or, without one, its client area.
void centreOnScreen(QWidget* window, QMargins announcedFrame = {});

// A line of 27 "-", the caption, a line, the text, a line, each button's caption followed by three
// spaces, a line; every line ends in a line break.
QString boxClipboardText(const QString& caption, const QString& text, const QStringList& buttons);

// Ctrl+C in a box: beeps, puts the text on the clipboard and returns true; false for other keys.
bool copyBoxOnCtrlC(const QKeyEvent* event, const QString& clipboardText);

} // namespace kavelon
