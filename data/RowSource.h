#pragma once
// Read access to the rows a cursor holds, by row number and field index: what filters, sorts and
// key searches look at. The cursor adapts its own storage; tests use VectorRows.

#include "data/Schema.h"
#include "data/Value.h"

#include <vector>

namespace kavelon {

class RowSource {
public:
    virtual ~RowSource() = default;
    virtual int rowCount() const = 0;
    virtual Value value(int row, int field) const = 0;
    // The text of a text cell without copying it; nullptr when the cell is empty or holds no
    // text. Filters run over 100 000 rows through this.
    virtual const QString* textAt(int row, int field) const = 0;
};

// Rows held as values, one vector per row.
class VectorRows : public RowSource {
public:
    VectorRows() = default;
    explicit VectorRows(std::vector<std::vector<Value>> rows) : rows_(std::move(rows)) {}
    void append(std::vector<Value> row) { rows_.push_back(std::move(row)); }

    int rowCount() const override { return int(rows_.size()); }
    Value value(int row, int field) const override { return cell(row, field); }
    const QString* textAt(int row, int field) const override {
        const Value& v = cell(row, field);
        return v.type() == Value::Type::Text ? &v.toText() : nullptr;
    }

private:
    const Value& cell(int row, int field) const { return rows_[size_t(row)][size_t(field)]; }
    std::vector<std::vector<Value>> rows_;
};

// The index of the field of this name, letter case ignored in every alphabet; -1 when none.
inline int fieldIndexOf(const std::vector<ColumnSchema>& fields, QStringView name) {
    for (size_t i = 0; i < fields.size(); ++i)
        if (QStringView(fields[i].name).compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

} // namespace kavelon
