// Filter, Filtered, Sort and Locate of a table cursor: the view over its rows and the search copy.
#include "data/TableCursor.h"
#include "data/TableCursorImpl.h"

#include <algorithm>
#include <numeric>

namespace kavelon {

namespace {

// The cursor's stored rows as its fields see them.
class CursorRows final : public RowSource {
public:
    CursorRows(const HeldRows& rows, std::vector<int> columns)
        : rows_(rows), columns_(std::move(columns)) {}
    int rowCount() const override { return rows_.rowCount(); }
    Value value(int row, int field) const override {
        return rows_.value(row, columns_[size_t(field)]);
    }
    const QString* textAt(int row, int field) const override {
        return rows_.textAt(row, columns_[size_t(field)]);
    }

private:
    const HeldRows& rows_;
    std::vector<int> columns_;
};

} // namespace

std::vector<ColumnSchema> TableCursor::Impl::fieldSchemas() const {
    std::vector<ColumnSchema> out;
    out.reserve(fields.size());
    for (const auto& f : fields)
        out.push_back(f->column_);
    return out;
}

std::vector<int> TableCursor::Impl::fieldColumns() const {
    std::vector<int> out;
    out.reserve(fields.size());
    for (const auto& f : fields)
        out.push_back(f->columnIndex_);
    return out;
}

void TableCursor::Impl::moveToFirst() {
    current = view.empty() ? -1 : 0;
    bof = true;
    eof = view.empty();
}

void TableCursor::Impl::forgetRowKeys() {
    searchCopy.reset();
    sortKeyCache.clear();
}

const std::vector<double>& TableCursor::Impl::sortKeysOf(int field) {
    auto it = sortKeyCache.find(field);
    if (it == sortKeyCache.end()) {
        std::vector<int> every(size_t(rows.rowCount()));
        std::iota(every.begin(), every.end(), 0);
        it = sortKeyCache.emplace(field, sortKeys(CursorRows(rows, fieldColumns()), field, every))
                 .first;
    }
    return it->second;
}

// Opening and Requery come here: new rows, so the search copy and the sort keys go too.
void TableCursor::Impl::rebuildView() {
    forgetRowKeys();
    if (filtered)
        filter.reset(); // compiled again against the fields as they are bound now
    applyView();
}

// The filter and the sort apply afresh to every row held.
void TableCursor::Impl::applyView() {
    if (filtered && !filter) {
        // Switched on while the cursor was closed, or the cursor reopened: a text that does not
        // read lets every row pass.
        try {
            filter = RowFilter::parse(filterText, fieldSchemas());
        } catch (const DatabaseError&) {
            filter = RowFilter();
        }
    }
    if (filtered && filter)
        view = RowList(filter->select(CursorRows(rows, fieldColumns()), order.rows()));
    else
        view = order;
    if (!sort.isEmpty() && view.size() > 1)
        sort.sort(view.own(),
                  [this](int field) -> const std::vector<double>& { return sortKeysOf(field); });
}

const QString& TableCursor::Filter() const {
    return d->filterText;
}

bool TableCursor::Filtered() const {
    return d->filtered;
}

void TableCursor::setFilter(const QString& text) {
    if (text == d->filterText)
        return;
    if (d->state == dsInactive || !d->filtered) {
        d->filterText = text;
        d->filter.reset();
        return;
    }
    // A refused text fails here, before the pending row, the rows or the text change.
    RowFilter compiled = RowFilter::parse(text, d->fieldSchemas());
    d->checkBrowseMode();
    d->filter = std::move(compiled);
    d->filterText = text;
    d->searchCopy.reset();
    d->applyView();
    d->moveToFirst();
    d->notify([](CursorObserver& o) { o.rowsChanged(); });
}

void TableCursor::setFiltered(bool filtered) {
    if (filtered == d->filtered)
        return;
    if (d->state == dsInactive) {
        d->filtered = filtered;
        return;
    }
    std::optional<RowFilter> compiled;
    if (filtered)
        compiled = RowFilter::parse(d->filterText, d->fieldSchemas());
    d->checkBrowseMode();
    d->filter = std::move(compiled);
    d->filtered = filtered;
    d->searchCopy.reset();
    d->applyView();
    d->moveToFirst();
    d->notify([](CursorObserver& o) { o.rowsChanged(); });
}

const QString& TableCursor::Sort() const {
    return d->sortText;
}

// No browse-mode check: a pending row stays pending, and the row that was current (or the row a
// new row stands before) stays current.
void TableCursor::setSort(const QString& text) {
    if (d->state == dsInactive)
        throw d->closedError();
    SortOrder sort = SortOrder::parse(text, d->fieldSchemas());
    const auto storeRowAt = [&](int position) {
        return position >= 0 && position < int(d->view.size()) ? d->view[size_t(position)] : -1;
    };
    const int currentRow = storeRowAt(d->current);
    const int insertBefore = d->state == dsInsert && !d->appending ? storeRowAt(d->insertAt) : -1;
    const int beforeInsert = d->state == dsInsert ? storeRowAt(d->currentBeforeInsert) : -1;

    // The rows shown stay the same (a posted row that no longer passes the filter included);
    // the sort starts from the order in which they were delivered, so equal rows keep it.
    std::vector<char> shown(size_t(d->rows.rowCount()), 0);
    for (const int row : d->view)
        shown[size_t(row)] = 1;
    std::vector<int> view;
    view.reserve(d->view.size());
    for (const int row : d->order)
        if (shown[size_t(row)])
            view.push_back(row);
    sort.sort(view,
              [this](int field) -> const std::vector<double>& { return d->sortKeysOf(field); });

    // Every row shown and no sort: the view is `order` again, and shares its list.
    if (sort.isEmpty() && view.size() == d->order.size())
        d->view = d->order;
    else
        d->view = RowList(std::move(view));
    d->sort = std::move(sort);
    d->sortText = text;
    if (currentRow >= 0)
        d->current = d->viewPositionOf(currentRow);
    if (d->state == dsInsert) {
        d->insertAt = insertBefore >= 0 ? d->viewPositionOf(insertBefore) : int(d->view.size());
        d->currentBeforeInsert = beforeInsert >= 0 ? d->viewPositionOf(beforeInsert) : -1;
    }
    d->notify([](CursorObserver& o) { o.rowsChanged(); });
}

bool TableCursor::Locate(const QString& keyFields, const Value& keyValue, LocateOptions options) {
    return Locate(keyFields, std::vector<Value>{keyValue}, options);
}

// Searches every row held, shown or filtered out; only a found row that is shown becomes current.
bool TableCursor::Locate(const QString& keyFields, const std::vector<Value>& keyValues,
                         LocateOptions options) {
    d->checkBrowseMode();
    std::vector<int> keys;
    try {
        keys = keyFieldsOf(keyFields, d->fieldSchemas());
    } catch (const DatabaseError& e) {
        throw d->prefixed(e.message());
    }
    int found = -1;
    try {
        const CursorRows source(d->rows, d->fieldColumns());
        if (!d->searchCopy || d->searchCopy->keyFields() != keys)
            d->searchCopy = std::make_unique<SearchCopy>(
                source, keys, d->order.rows(),
                [this](int field) -> const std::vector<double>& { return d->sortKeysOf(field); });
        found = d->searchCopy->find(source, keyValues, options);
    } catch (const std::exception&) {
        return false;
    }
    const int position = found < 0 ? -1 : d->viewPositionOf(found);
    if (position < 0)
        return false;
    d->current = position;
    d->bof = d->eof = false;
    d->notify([](CursorObserver& o) { o.rowsChanged(); });
    return true;
}

} // namespace kavelon
