#pragma once
// A control that refused to give up the focus (its text did not convert, the error box said so)
// has taken the focus back. When a press on a button was taking the focus, that press is still on
// its way to the button: it is dropped, so the button neither acts nor stays drawn pressed after
// the box.

namespace kavelon {

// Drops the mouse press being delivered now, if any; a press that comes later is left alone.
void dropPressOnItsWay();

} // namespace kavelon
