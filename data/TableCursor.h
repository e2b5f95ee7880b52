#pragma once
// A table cursor: an open view of all rows of one table, held in memory, with a current row, a
// state and, while inserting or editing, a pending row. Windows own their cursors
// (Form2->ADOTable1); data sources observe them.

#include "data/Errors.h"
#include "data/Locate.h"
#include "data/Schema.h"
#include "data/Value.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace kavelon {

class Connection;
class TableCursor;

enum DataSetState { dsInactive, dsBrowse, dsInsert, dsEdit };

// Receives a cursor's notifications (the data source implements it). Exceptions thrown from
// writePendingChanges travel back out of the operation that asked for it (Post).
class CursorObserver {
public:
    virtual ~CursorObserver() = default;
    virtual void fieldChanged(class Field& field) = 0;
    virtual void rowChanged() = 0;
    virtual void rowsChanged() = 0;
    virtual void scrolled(int distance) = 0;
    virtual void writePendingChanges() = 0;
    virtual void stateChanged() = 0;
    // The cursor is being destroyed: it must not be used from here on. Observers are told
    // last, after the cursor left their list.
    virtual void cursorDestroyed(TableCursor& cursor) { (void)cursor; }
};

// One field of a cursor: a column of its table, bound by name.
class Field {
public:
    const QString& FieldName() const;
    FieldKind kind() const;
    int Size() const;         // text(N): N
    int DisplayWidth() const; // in characters
    bool ReadOnly() const;
    int index() const; // position among the cursor's fields

    // The value in the current row (the pending row while inserting or editing).
    Value value() const;
    bool IsNull() const;
    std::int32_t AsInteger() const;
    DateTime AsDateTime() const;
    bool AsBoolean() const;
    QString AsString() const; // text of a text field; empty otherwise

    // Assignments to the pending row (the not-editing and read-only checks apply).
    void setValue(const Value& v);
    void setAsInteger(std::int32_t v);
    void setAsDateTime(DateTime v);
    void setAsBoolean(bool v);
    void setAsString(const QString& v); // text fields; cut to the field's width
    void Clear();                       // an empty value

private:
    friend class TableCursor;
    Field(TableCursor* cursor, ColumnSchema column, int index, int columnIndex);
    TableCursor* cursor_;
    ColumnSchema column_;
    int index_;
    int columnIndex_; // the engine column it is bound to
};

class TableCursor {
public:
    // componentName: "ADOTable1" … the prefix of every cursor message.
    explicit TableCursor(QString componentName);
    ~TableCursor(); // tells each observer that is still observing
    TableCursor(const TableCursor&) = delete;
    TableCursor& operator=(const TableCursor&) = delete;

    const QString& Name() const;

    // Settings, made before Open.
    void setConnection(Connection* connection);
    void setTableName(const QString& tableName);
    const QString& TableName() const;
    // The fields a window declares (name, kind, display width, read-only); none: every column.
    void declareFields(const std::vector<ColumnSchema>& fields);

    // Opens the cursor (Active = true); throws on failure and stays closed.
    void Open();
    void setActive(bool active); // true opens; false closes, dropping a pending row
    void Close();
    bool Active() const;
    DataSetState State() const;

    void Insert();
    void Append();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    void Requery();
    // The step every move runs first: a pending row is posted if any field was assigned, else
    // dropped (a window finishing its row on closing).
    void CheckBrowseMode();
    void First();
    void Last();
    int MoveBy(int distance);
    void Next();
    void Prior();

    bool Modified() const;
    // Whether the rows can be changed at all (an open cursor on a table the file lets us write).
    bool CanModify() const;
    int RecordCount() const;
    int RecNo() const; // 1-based; -1 with no row or in dsInsert
    bool Bof() const;
    bool Eof() const;
    bool IsEmpty() const;

    // Filtering, sorting and finding rows (TableCursorFilter.cpp).
    const QString& Filter() const;
    void setFilter(const QString& text);
    bool Filtered() const;
    void setFiltered(bool filtered);
    const QString& Sort() const;
    void setSort(const QString& text);
    // Key field names separated by ";", one value per key field.
    bool Locate(const QString& keyFields, const std::vector<Value>& keyValues,
                LocateOptions options = {});
    bool Locate(const QString& keyFields, const Value& keyValue, LocateOptions options = {});

    int FieldCount() const;
    Field& Fields(int index);
    Field& FieldByName(const QString& name);
    Field* FindField(const QString& name); // nullptr when no field has the name

    // Rows as they stand in the cursor's view (filtered and sorted), for grids and reports, which
    // show many rows at once. The pending row of dsInsert stands at its position among them.
    int rowCount() const;     // rows in view, the pending new row included
    int currentIndex() const; // 0-based position of the current row in view; -1 with none
    Value valueAt(int row, int field) const;
    // Makes the row at this position of the view current (browse-mode check first when it moves).
    void moveTo(int row);

    void addObserver(CursorObserver* observer);
    void removeObserver(CursorObserver* observer);

    // Bytes held for the rows (for measurements).
    std::size_t memoryUsage() const;

private:
    friend class Field;
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace kavelon
