#pragma once
// What a window does with a row left pending in its cursor when it closes, and how a dialog's
// lookup boxes catch up with rows added elsewhere since it was last shown.

#include <initializer_list>

namespace kavelon {

class TableCursor;
class TDBLookupComboBox;

// A grid window closing: the row in editing is finished as a move would finish it, posted when
// changed, dropped when untouched. Returns false (the window should stay open) when posting
// failed; the error has then been shown in the error box.
bool finishRowOnClosing(TableCursor& cursor);

// A dialog closing by its close box: the row it was filling is dropped, as "Отмена" drops it.
void dropRowOnClosing(TableCursor& cursor);

// Reads each open list cursor again and has each box locate its value in the fresh list.
void rereadLookupLists(std::initializer_list<TableCursor*> lists,
                       std::initializer_list<TDBLookupComboBox*> boxes);

} // namespace kavelon
