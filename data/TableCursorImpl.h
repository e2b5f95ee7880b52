#pragma once
// The inside of a table cursor, shared by the files that implement it (rows and moves, fields,
// filtering and sorting). Not for the cursor's users.

#include "data/Engine.h"
#include "data/Filter.h"
#include "data/HeldRows.h"
#include "data/Locate.h"
#include "data/RowList.h"
#include "data/RowStore.h"
#include "data/SortOrder.h"
#include "data/TableCursor.h"

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace kavelon {

struct TableCursor::Impl {
    explicit Impl(TableCursor* owner, QString componentName)
        : self(owner), name(std::move(componentName)) {}

    TableCursor* self;
    QString name;
    Connection* connection = nullptr;
    QString tableName;
    bool declared = false;
    std::vector<std::unique_ptr<Field>> fields;
    // Fields handed out by name while closed without declared fields (FieldByName).
    std::vector<std::unique_ptr<Field>> standIns;

    std::shared_ptr<Engine> engine;
    EngineTable table;
    HeldRows rows;
    // Stored rows held by the cursor, in its own order (the engine's, with rows it inserted at
    // the places they were inserted). Deleted rows leave it; the store keeps them until Requery.
    // Shared with the read rows and the other cursors on them until this cursor changes a row.
    RowList order;
    // The rows shown: `order` narrowed by the filter and sorted. Positions (current row, RecNo,
    // the grid's rows) count in here. Unfiltered and unsorted, it is `order` itself.
    RowList view;
    int current = -1; // position in view; -1 with no row
    DataSetState state = dsInactive;
    bool bof = true;
    bool eof = true;

    // The pending row of dsInsert and dsEdit, by engine column, and the fields assigned since it
    // began, in the order of their first assignment.
    std::vector<Value> pending;
    std::vector<int> changed;
    bool modified = false;
    int insertAt = -1;            // view position where the pending new row stands
    int currentBeforeInsert = -1; // restored by Cancel after Insert
    bool appending = false;

    std::vector<CursorObserver*> observers;

    // Filter, sort and the search copy of Locate (TableCursorFilter.cpp). The view is `order`
    // narrowed by `filter` while `filtered`, then put in the order of `sort`.
    QString filterText;
    bool filtered = false;
    std::optional<RowFilter> filter; // filterText compiled; empty until first applied
    QString sortText;
    SortOrder sort;
    std::unique_ptr<SearchCopy> searchCopy; // dropped whenever the rows held change
    // Sort keys of a field by stored row, kept until the rows change (TableCursorFilter.cpp).
    std::map<int, std::vector<double>> sortKeyCache;
    const std::vector<double>& sortKeysOf(int field);
    void forgetRowKeys(); // the rows changed: search copy and sort keys go
    void applyView();     // the filter and the sort over `order`, as they stand
    std::vector<ColumnSchema> fieldSchemas() const;
    std::vector<int> fieldColumns() const; // engine column of each field
    void moveToFirst();

    // Messages.
    DatabaseError prefixed(const QString& text) const {
        return DatabaseError(name + QStringLiteral(": ") + text);
    }
    DatabaseError closedError() const {
        return prefixed(QStringLiteral("Cannot perform this operation on a closed dataset"));
    }
    DatabaseError notEditingError() const {
        return prefixed(QStringLiteral("Dataset not in edit or insert mode"));
    }

    // Notifications, to a copy of the list: an observer may come or go while being told.
    template <typename F> void notify(F&& tell) {
        const std::vector<CursorObserver*> now = observers;
        for (CursorObserver* o : now)
            tell(*o);
    }
    void setState(DataSetState s);

    bool editing() const { return state == dsEdit || state == dsInsert; }
    void checkBrowseMode();
    void beginInsert(bool append);
    void endPending();

    // View upkeep: the one place that decides which stored rows are shown and in what order.
    void rebuildView();
    // Shows a newly stored row at this view position; returns where it stands.
    int placeNewRow(int storeRow, int viewPosition);
    // Drops the row at this view position from the rows held.
    void removeRow(int viewPosition);
    int viewPositionOf(int storeRow) const;
    // Every value of a stored row as read, naming it for an update or delete.
    std::vector<ColumnValue> originalsOf(int storeRow) const;

    void readAll(); // replaces the rows with the engine's; throws, leaving them as they were
    void showRows(HeldRows&& read); // holds these rows, all in view, the first one current
    // The row at this view position made the cursor's own, so that it can be changed.
    int ownRowAt(int viewPosition);
    Value fieldValue(const Field& f) const;
    void assign(Field& f, const Value& v);
    void bindFields(const EngineTable& t);
};

} // namespace kavelon
