#include "windows/common/PendingRow.h"

#include "app/Guard.h"
#include "app/ModalShowing.h"
#include "controls/TDBLookupComboBox.h"
#include "data/TableCursor.h"

namespace kavelon {

bool finishRowOnClosing(TableCursor& cursor) {
    bool finished = false;
    guard([&] {
        const DataSetState state = cursor.State();
        // At the program's end an unsaved row is not saved.
        if (!programEnding() && (state == dsEdit || state == dsInsert))
            cursor.CheckBrowseMode();
        finished = true;
    });
    return finished;
}

void dropRowOnClosing(TableCursor& cursor) {
    if (cursor.State() == dsInsert || cursor.State() == dsEdit)
        cursor.Cancel();
}

void rereadLookupLists(std::initializer_list<TableCursor*> lists,
                       std::initializer_list<TDBLookupComboBox*> boxes) {
    for (TableCursor* list : lists)
        if (list->Active())
            list->Requery();
    // Setting the key field again makes each box locate the row's value in its fresh list.
    for (TDBLookupComboBox* box : boxes)
        box->setKeyField(box->KeyField());
}

} // namespace kavelon
