// What the grid tells accessibility tools as its cells change: the current cell moving (a row
// move, a column move, a row added or dropped), the current cell's text changing, and rows coming
// and going. The interface the tools read is GridAccessible (ControlAccessibility.cpp).

#include "controls/GridEditor.h"
#include "controls/ItemViewAccessible.h"
#include "controls/TDBGrid.h"

#include <QAccessible>

namespace kavelon {

void TDBGrid::announceChanges() {
    if (!accessibility::listening())
        return;
    const TableCursor* c = cursor();
    Announced now;
    now.rows = rowCount();
    now.columns = columnCount();
    now.row = active() ? c->currentIndex() : -1;
    now.column = currentColumn();
    now.text = cellText(now.row, now.column);
    const bool reset = now.rows != announced_.rows || now.columns != announced_.columns;
    const bool moved = now.row != announced_.row || now.column != announced_.column;
    const bool retyped = now.text != announced_.text;
    announced_ = now;
    if (reset)
        accessibility::itemsReset(this);
    if (moved || reset)
        accessibility::currentItemMoved(this, now.row, now.column,
                                        hasFocus() || editor_->hasFocus());
    else if (retyped)
        accessibility::itemValueChanged(this, now.row, now.column, now.text);
}

} // namespace kavelon
