#include "data/TableCursor.h"

#include "data/Connection.h"
#include "data/TableCursorImpl.h"

#include <algorithm>
#include <limits>

namespace kavelon {

// ---- inside -----------------------------------------------------------------------------------

void TableCursor::Impl::setState(DataSetState s) {
    if (state == s)
        return;
    state = s;
    notify([](CursorObserver& o) { o.stateChanged(); });
}

void TableCursor::Impl::checkBrowseMode() {
    if (state == dsInactive)
        throw closedError();
    if (editing()) {
        notify([](CursorObserver& o) { o.writePendingChanges(); });
        if (modified)
            self->Post();
        else
            self->Cancel();
    }
}

void TableCursor::Impl::endPending() {
    pending.clear();
    changed.clear();
    modified = false;
    insertAt = -1;
}

void TableCursor::Impl::beginInsert(bool append) {
    checkBrowseMode();
    if (!table.updatable)
        throw prefixed(QStringLiteral("Cannot modify a read-only dataset"));
    pending.assign(table.columns.size(), Value());
    changed.clear();
    modified = false;
    currentBeforeInsert = current;
    appending = append;
    insertAt = append || current < 0 ? int(view.size()) : current;
    bof = eof = false;
    setState(dsInsert);
    notify([](CursorObserver& o) { o.rowsChanged(); });
}

// While the view is `order` itself, a change to `order` is the view's too: the view lets go of
// the list first, so that `order` changes it in place rather than copying it for every row.
int TableCursor::Impl::placeNewRow(int storeRow, int viewPosition) {
    if (view.sharesWith(order)) {
        view = RowList();
        std::vector<int>& ordered = order.own();
        viewPosition = std::clamp(viewPosition, 0, int(ordered.size()));
        ordered.insert(ordered.begin() + viewPosition, storeRow);
        view = order;
        return viewPosition;
    }
    const auto at = viewPosition < int(view.size())
                        ? std::find(order.begin(), order.end(), view[std::size_t(viewPosition)])
                        : order.end();
    const auto orderAt = at - order.begin();
    std::vector<int>& ordered = order.own();
    ordered.insert(ordered.begin() + orderAt, storeRow);
    viewPosition = std::clamp(viewPosition, 0, int(view.size()));
    std::vector<int>& shown = view.own();
    shown.insert(shown.begin() + viewPosition, storeRow);
    return viewPosition;
}

void TableCursor::Impl::removeRow(int viewPosition) {
    if (view.sharesWith(order)) {
        view = RowList();
        std::vector<int>& ordered = order.own();
        ordered.erase(ordered.begin() + viewPosition);
        view = order;
        return;
    }
    const int storeRow = view[std::size_t(viewPosition)];
    std::vector<int>& shown = view.own();
    shown.erase(shown.begin() + viewPosition);
    if (const auto it = std::find(order.begin(), order.end(), storeRow); it != order.end()) {
        const auto orderAt = it - order.begin();
        std::vector<int>& ordered = order.own();
        ordered.erase(ordered.begin() + orderAt);
    }
}

std::vector<ColumnValue> TableCursor::Impl::originalsOf(int storeRow) const {
    std::vector<ColumnValue> originals;
    for (int c = 0; c < int(table.columns.size()); ++c)
        if (table.columns[std::size_t(c)].kind != FieldKind::Blob)
            originals.push_back({c, rows.value(storeRow, c)});
    return originals;
}

int TableCursor::Impl::viewPositionOf(int storeRow) const {
    const auto it = std::find(view.begin(), view.end(), storeRow);
    return it == view.end() ? -1 : int(it - view.begin());
}

void TableCursor::Impl::readAll() {
    showRows(HeldRows(engine->sharedRows(table)));
}

int TableCursor::Impl::ownRowAt(int viewPosition) {
    const int row = view[std::size_t(viewPosition)];
    const int own = rows.ownCopyOf(row);
    if (own == row)
        return own;
    if (view.sharesWith(order)) {
        view = RowList();
        order.own()[std::size_t(viewPosition)] = own;
        view = order;
    } else {
        view.own()[std::size_t(viewPosition)] = own;
        std::vector<int>& ordered = order.own();
        std::replace(ordered.begin(), ordered.end(), row, own);
    }
    return own;
}

void TableCursor::Impl::showRows(HeldRows&& read) {
    rows = std::move(read);
    order = rows.allRows();
    rebuildView();
    current = view.empty() ? -1 : 0;
    bof = true;
    eof = view.empty();
}

Value TableCursor::Impl::fieldValue(const Field& f) const {
    if (f.columnIndex_ < 0)
        return {};
    if (editing())
        return pending[std::size_t(f.columnIndex_)];
    if (state == dsInactive || current < 0)
        return {};
    return rows.value(view[std::size_t(current)], f.columnIndex_);
}

void TableCursor::Impl::assign(Field& f, const Value& v) {
    if (!editing())
        throw notEditingError();
    if (f.columnIndex_ < 0) // a stand-in of a closed cursor that opened without its column
        throw prefixed(QStringLiteral("Field '%1' not found").arg(f.FieldName()));
    if (f.ReadOnly())
        throw DatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(f.FieldName()));
    const EngineColumn& column = table.columns[std::size_t(f.columnIndex_)];
    pending[std::size_t(f.columnIndex_)] =
        coerceToKind(v, column.kind, column.kind == FieldKind::WideString ? column.size : 0);
    if (std::find(changed.begin(), changed.end(), f.index_) == changed.end())
        changed.push_back(f.index_);
    modified = true;
    notify([&f](CursorObserver& o) { o.fieldChanged(f); });
}

namespace {
// Kinds that bind to one another: integers of any width, dates and times, texts of any width.
int kindFamily(FieldKind k) {
    switch (k) {
    case FieldKind::AutoInc:
    case FieldKind::Integer:
    case FieldKind::SmallInt:
        return 0;
    case FieldKind::DateTime:
        return 1;
    case FieldKind::WideString:
        return 2;
    default:
        return 10 + int(k);
    }
}
} // namespace

void TableCursor::Impl::bindFields(const EngineTable& t) {
    if (declared) {
        std::vector<int> columns;
        for (const auto& f : fields) {
            const auto it =
                std::find_if(t.columns.begin(), t.columns.end(), [&](const EngineColumn& c) {
                    return c.name.compare(f->FieldName(), Qt::CaseInsensitive) == 0;
                });
            if (it == t.columns.end())
                throw prefixed(QStringLiteral("Field '%1' not found").arg(f->FieldName()));
            if (kindFamily(it->kind) != kindFamily(f->kind()))
                throw prefixed(
                    QStringLiteral("Type mismatch for field '%1', expecting: %2 actual: %3")
                        .arg(f->FieldName(), fieldKindName(f->kind()), fieldKindName(it->kind)));
            columns.push_back(int(it - t.columns.begin()));
        }
        for (std::size_t i = 0; i < fields.size(); ++i) {
            fields[i]->columnIndex_ = columns[i];
            fields[i]->column_.size = t.columns[std::size_t(columns[i])].size;
        }
        return;
    }
    // Controls may hold fields of a cursor that was closed: the same columns keep the same fields.
    const bool same = fields.size() == t.columns.size() &&
                      std::equal(fields.begin(), fields.end(), t.columns.begin(),
                                 [](const auto& f, const EngineColumn& c) {
                                     return f->FieldName() == c.name && f->kind() == c.kind;
                                 });
    if (same) {
        for (std::size_t i = 0; i < fields.size(); ++i)
            fields[i]->columnIndex_ = int(i);
        return;
    }
    fields.clear();
    for (std::size_t i = 0; i < t.columns.size(); ++i) {
        const EngineColumn& c = t.columns[i];
        const ColumnSchema column{c.name, c.kind, c.size, defaultDisplayWidth(c.kind, c.size),
                                  c.counter || !c.updatable};
        const auto standIn = std::find_if(standIns.begin(), standIns.end(), [&](const auto& f) {
            return f->FieldName().compare(c.name, Qt::CaseInsensitive) == 0;
        });
        if (standIn != standIns.end()) {
            (*standIn)->column_ = column;
            (*standIn)->index_ = int(i);
            (*standIn)->columnIndex_ = int(i);
            fields.push_back(std::move(*standIn));
            standIns.erase(standIn);
        } else {
            fields.push_back(std::unique_ptr<Field>(new Field(self, column, int(i), int(i))));
        }
    }
}

// ---- the cursor -------------------------------------------------------------------------------

TableCursor::TableCursor(QString componentName)
    : d(std::make_unique<Impl>(this, std::move(componentName))) {}

// A pending row is dropped unwritten. Each observer leaves the list before it is told, and one
// that goes meanwhile (leaving the list itself) is not told.
TableCursor::~TableCursor() {
    while (!d->observers.empty()) {
        CursorObserver* observer = d->observers.front();
        d->observers.erase(d->observers.begin());
        observer->cursorDestroyed(*this);
    }
}

const QString& TableCursor::Name() const {
    return d->name;
}
void TableCursor::setConnection(Connection* connection) {
    d->connection = connection;
}
void TableCursor::setTableName(const QString& tableName) {
    d->tableName = tableName;
}
const QString& TableCursor::TableName() const {
    return d->tableName;
}

void TableCursor::declareFields(const std::vector<ColumnSchema>& fields) {
    d->fields.clear();
    d->declared = !fields.empty();
    for (std::size_t i = 0; i < fields.size(); ++i)
        d->fields.push_back(std::unique_ptr<Field>(new Field(this, fields[i], int(i), -1)));
}

void TableCursor::Open() {
    if (d->state != dsInactive)
        return;
    if (!d->connection)
        throw d->prefixed(QStringLiteral("Missing Connection or ConnectionString"));
    // A cursor opening on a closed connection tries the file again.
    if (!d->connection->Connected())
        d->connection->Open();
    std::shared_ptr<Engine> engine = d->connection->sharedEngine();
    EngineTable table = engine->describe(d->tableName);
    d->bindFields(table);
    HeldRows rows(engine->sharedRows(table));

    d->engine = std::move(engine);
    d->table = std::move(table);
    d->showRows(std::move(rows));
    d->endPending();
    d->setState(dsBrowse);
}

void TableCursor::setActive(bool active) {
    if (active)
        Open();
    else
        Close();
}

void TableCursor::Close() {
    if (d->state == dsInactive)
        return;
    d->endPending();
    d->forgetRowKeys();
    d->rows = HeldRows();
    d->order = RowList();
    d->view = RowList();
    d->current = -1;
    d->bof = d->eof = true;
    d->engine.reset();
    // Fields stay (controls hold them) and read as empty.
    for (auto& f : d->fields)
        f->columnIndex_ = -1;
    d->setState(dsInactive);
}

bool TableCursor::Active() const {
    return d->state != dsInactive;
}
DataSetState TableCursor::State() const {
    return d->state;
}

void TableCursor::Insert() {
    d->beginInsert(false);
}
void TableCursor::Append() {
    d->beginInsert(true);
}

void TableCursor::Edit() {
    if (d->editing())
        return;
    if (d->state == dsInactive || d->current < 0) {
        Insert();
        return;
    }
    d->checkBrowseMode();
    if (!d->table.updatable)
        throw d->prefixed(QStringLiteral("Cannot modify a read-only dataset"));
    const int row = d->view[std::size_t(d->current)];
    d->pending.resize(d->table.columns.size());
    for (int c = 0; c < int(d->pending.size()); ++c)
        d->pending[std::size_t(c)] = d->rows.value(row, c);
    d->changed.clear();
    d->modified = false;
    d->setState(dsEdit);
    d->notify([](CursorObserver& o) { o.rowChanged(); });
}

void TableCursor::Post() {
    if (!d->editing())
        throw d->notEditingError();
    d->notify([](CursorObserver& o) { o.writePendingChanges(); });

    std::vector<ColumnValue> values;
    for (int fieldIndex : d->changed) {
        const int column = d->fields[std::size_t(fieldIndex)]->columnIndex_;
        if (d->table.columns[std::size_t(column)].updatable)
            values.push_back({column, d->pending[std::size_t(column)]});
    }
    if (d->state == dsInsert) {
        const std::int64_t rowid = d->engine->insert(d->table, values);
        const int row = d->rows.append(rowid);
        for (const ColumnValue& v : values)
            d->rows.setValue(row, v.column, v.value);
        if (d->table.counterColumn >= 0 && rowid <= std::numeric_limits<std::int32_t>::max())
            d->rows.setValue(row, d->table.counterColumn, Value::integer(std::int32_t(rowid)));
        // The row as stored, with the defaults the file gave it. It is written already: a
        // failure to read it back must not turn the Post into a failure.
        if (d->table.addsToWrittenRows) {
            try {
                d->engine->readRow(d->table, rowid, d->rows.ownStore(), d->rows.ownIndex(row));
            } catch (const DatabaseError&) {
            }
        }
        d->current = d->placeNewRow(row, d->insertAt);
    } else if (!values.empty()) {
        const int row = d->view[std::size_t(d->current)];
        d->engine->update(d->table, d->rows.rowid(row), values, d->originalsOf(row));
        const int own = d->ownRowAt(d->current);
        for (const ColumnValue& v : values)
            d->rows.setValue(own, v.column, v.value);
        // Read back only when triggers may have changed it; otherwise changes made elsewhere
        // to other columns wait for Requery, as the rest of the rows do.
        if (d->table.addsToWrittenRows) {
            try {
                d->engine->readRow(d->table, d->rows.rowid(own), d->rows.ownStore(),
                                   d->rows.ownIndex(own));
            } catch (const DatabaseError&) {
            }
        }
    }
    d->endPending();
    d->forgetRowKeys();
    d->bof = d->eof = false;
    d->setState(dsBrowse);
    d->notify([](CursorObserver& o) { o.rowsChanged(); });
}

void TableCursor::Cancel() {
    if (!d->editing())
        return;
    if (d->state == dsInsert)
        d->current = d->appending ? int(d->view.size()) - 1 : d->currentBeforeInsert;
    d->endPending();
    d->bof = d->current <= 0;
    d->eof = d->view.empty();
    d->setState(dsBrowse);
    d->notify([](CursorObserver& o) { o.rowsChanged(); });
}

void TableCursor::Delete() {
    if (d->state == dsInactive)
        throw d->closedError();
    if (d->state == dsInsert) {
        Cancel();
        return;
    }
    if (d->current < 0)
        throw d->prefixed(QStringLiteral("Cannot perform this operation on an empty dataset"));
    const int row = d->view[std::size_t(d->current)];
    d->engine->remove(d->table, d->rows.rowid(row), d->originalsOf(row));

    d->removeRow(d->current);
    if (d->current >= int(d->view.size()))
        d->current = int(d->view.size()) - 1;
    d->endPending();
    d->forgetRowKeys();
    d->bof = d->current <= 0;
    d->eof = d->view.empty();
    d->setState(dsBrowse);
    d->notify([](CursorObserver& o) { o.rowsChanged(); });
}

void TableCursor::Requery() {
    d->checkBrowseMode();
    try {
        d->readAll();
    } catch (const DatabaseBusyError&) {
        throw; // another program's long write passes: the rows held stay good
    } catch (const DatabaseError&) {
        // Rows that can no longer be read at all (the table or the file is gone) close the
        // cursor; any other failure leaves the rows it had.
        if (!d->engine->tableReadable(d->table.name))
            Close();
        throw;
    }
    d->notify([](CursorObserver& o) { o.rowsChanged(); });
}

void TableCursor::CheckBrowseMode() {
    d->checkBrowseMode();
}

void TableCursor::First() {
    d->checkBrowseMode();
    d->current = d->view.empty() ? -1 : 0;
    d->bof = true;
    d->eof = d->view.empty();
    d->notify([](CursorObserver& o) { o.rowsChanged(); });
}

void TableCursor::Last() {
    d->checkBrowseMode();
    d->current = int(d->view.size()) - 1;
    d->eof = true;
    d->bof = d->view.empty();
    d->notify([](CursorObserver& o) { o.rowsChanged(); });
}

int TableCursor::MoveBy(int distance) {
    d->checkBrowseMode();
    if (distance == 0)
        return 0;
    const int last = int(d->view.size()) - 1;
    const int from = d->current;
    const int to = last < 0 ? -1 : int(std::clamp<qint64>(qint64(from) + distance, 0, last));
    const int moved = to - from;
    d->current = to;
    if (distance > 0) {
        d->eof = moved < distance;
        d->bof = false;
    } else {
        d->bof = moved > distance;
        d->eof = false;
    }
    if (moved != 0)
        d->notify([moved](CursorObserver& o) { o.scrolled(moved); });
    return moved;
}

void TableCursor::Next() {
    MoveBy(1);
}
void TableCursor::Prior() {
    MoveBy(-1);
}

bool TableCursor::CanModify() const {
    return d->state != dsInactive && d->table.updatable;
}

bool TableCursor::Modified() const {
    return d->modified;
}

int TableCursor::RecordCount() const {
    if (d->state == dsInactive)
        throw d->closedError();
    return int(d->view.size());
}

int TableCursor::RecNo() const {
    if (d->state == dsInactive || d->state == dsInsert || d->current < 0)
        return -1;
    return d->current + 1;
}

bool TableCursor::Bof() const {
    return d->bof;
}
bool TableCursor::Eof() const {
    return d->eof;
}
bool TableCursor::IsEmpty() const {
    return rowCount() == 0;
}

int TableCursor::FieldCount() const {
    return int(d->fields.size());
}
Field& TableCursor::Fields(int index) {
    return *d->fields.at(std::size_t(index));
}

Field* TableCursor::FindField(const QString& name) {
    for (const auto& f : d->fields)
        if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

Field& TableCursor::FieldByName(const QString& name) {
    if (Field* f = FindField(name))
        return *f;
    // A closed cursor that declares no fields cannot tell which names its table has: it hands
    // out a field that reads as empty and refuses assignments as every closed cursor does. The
    // field becomes the column's own if the cursor opens.
    if (d->state == dsInactive && !d->declared && d->fields.empty()) {
        for (const auto& f : d->standIns)
            if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0)
                return *f;
        d->standIns.push_back(std::unique_ptr<Field>(
            new Field(this, ColumnSchema{name, FieldKind::WideString, 0, 0, false}, -1, -1)));
        return *d->standIns.back();
    }
    throw d->prefixed(QStringLiteral("Field '%1' not found").arg(name));
}

int TableCursor::rowCount() const {
    return int(d->view.size()) + (d->state == dsInsert ? 1 : 0);
}

int TableCursor::currentIndex() const {
    return d->state == dsInsert ? d->insertAt : d->current;
}

Value TableCursor::valueAt(int row, int field) const {
    const Field& f = *d->fields.at(std::size_t(field));
    if (f.columnIndex_ < 0 || row < 0 || row >= rowCount())
        return {};
    if (d->state == dsInsert) {
        if (row == d->insertAt)
            return d->pending[std::size_t(f.columnIndex_)];
        if (row > d->insertAt)
            --row;
    } else if (d->state == dsEdit && row == d->current) {
        return d->pending[std::size_t(f.columnIndex_)];
    }
    return d->rows.value(d->view[std::size_t(row)], f.columnIndex_);
}

void TableCursor::moveTo(int row) {
    if (d->state == dsInactive)
        throw d->closedError();
    if (row == currentIndex() || row < 0 || row >= rowCount())
        return;
    // Name the target by its stored row: finishing a pending new row shifts the positions.
    const int viewRow = d->state == dsInsert && row > d->insertAt ? row - 1 : row;
    const int target = d->view[std::size_t(viewRow)];
    d->checkBrowseMode();
    const int to = d->viewPositionOf(target);
    if (to < 0)
        return;
    const int moved = to - d->current;
    d->current = to;
    d->bof = to == 0;
    d->eof = false;
    if (moved != 0)
        d->notify([moved](CursorObserver& o) { o.scrolled(moved); });
}

void TableCursor::addObserver(CursorObserver* observer) {
    if (std::find(d->observers.begin(), d->observers.end(), observer) == d->observers.end())
        d->observers.push_back(observer);
}

void TableCursor::removeObserver(CursorObserver* observer) {
    d->observers.erase(std::remove(d->observers.begin(), d->observers.end(), observer),
                       d->observers.end());
}

std::size_t TableCursor::memoryUsage() const {
    // The lists shared with the read rows are counted with them, a view that is `order` once.
    const RowList read = d->rows.readRows() ? d->rows.readRows()->rowList() : RowList();
    std::size_t bytes = d->rows.memoryUsage();
    if (!d->order.sharesWith(read))
        bytes += d->order.memoryUsage();
    if (!d->view.sharesWith(read) && !d->view.sharesWith(d->order))
        bytes += d->view.memoryUsage();
    return bytes;
}

} // namespace kavelon
