#pragma once
// What a window manager needs to know of a window shown modally: the window it belongs to
// (transient for its owner) and that it is modal. The program blocks its other windows itself
// (see ModalShowing.h), so Qt's own modality, which would give these hints, is not used.

#include <QMargins>

class QWidget;

namespace kavelon {

// Call before each showing: the hints go with the window when it is mapped. Does nothing on a
// window system without such hints (offscreen, for instance).
void hintModalTo(QWidget* window, QWidget* owner);

// Call right after the window is shown. Qt writes WM_TRANSIENT_FOR only for windows of the dialog
// kind, and clears it at mapping for the others; the program's windows are ordinary windows
// (they keep their minimise box), so the owner is named once the window is mapped.
void hintOwnerOfShown(QWidget* window, QWidget* owner);

// The frame the window manager will put around the window, asked for before the window is first
// mapped, so that the window can be placed by its frame; empty when no manager says.
QMargins frameBeforeMapping(QWidget* window);

} // namespace kavelon
