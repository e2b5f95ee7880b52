#pragma once
// Showing a window modally, the one way every window other than the main one is shown, and the
// end of the program.
//
// The other windows are disabled by swallowing their input rather than by Qt's own modality:
// Qt refuses a close request to a window blocked by a modal one, and the main window must close
// (ending the program) whatever is shown.

#include <QPoint>

class QWidget;

namespace kavelon {

// The program's main window: blocked while any window is shown modally; closing it ends the
// program.
void setMainWindow(QWidget* window);

// Shows the main window centred on the screen and active.
void showMainWindow(QWidget* window);

// Shows the window in front and returns when it is hidden (its close box or its own close
// command). Meanwhile every other window of the program takes no input; afterwards the window
// that was active is active again. The first showing centres the window on the screen (or puts
// it at its fixed place); later showings leave it where it last stood. Returns at once once the
// program is ending; handlers that resume after a showing check programEnding().
void showModal(QWidget* window);

// A window that stands at a fixed screen position when first shown instead of in the centre.
void setFixedPlace(QWidget* window, QPoint topLeft);

// The window shown modally innermost, or nullptr.
QWidget* modalWindow();

// True from the moment the program began to end.
bool programEnding();

// Ends the program: the modally shown windows close innermost first through their own closing,
// every showing returns, and the message loop stops with exitCode.
void endProgram(int exitCode = 0);

} // namespace kavelon
