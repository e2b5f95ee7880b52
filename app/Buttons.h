#pragma once
// What every push button of the program's windows shares: Enter presses the button that has the
// focus (none of them is a default button, so Enter in an edit presses nothing), and a caption
// wider than the button in the face standing in for the designed one is set in a narrower
// stretch of that face, the button keeping its designed size.

class QPushButton;

namespace kavelon {

// From now on Enter or keypad Enter on a focused push button of a window presses it. Dialog
// boxes (QDialog) keep their own default-button rules.
void pressFocusedButtonsOnEnter();

// The width a caption may take inside the button: its contents less three pixels of air each
// side, so that the text keeps clear of the button's frame and its rounded corners.
int captionRoom(const QPushButton* button);
// The width the caption's letters cover in the button's font, overhanging serifs included.
int captionWidth(const QPushButton* button);

// Sets the button's font narrower, in steps of the same face, until its caption fits the room.
// Call it once the button has its font and size.
void fitCaption(QPushButton* button);

} // namespace kavelon
