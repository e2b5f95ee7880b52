#pragma once
// The rows a cursor holds, stored by column: a journal of 100 000 orders is a few vectors, not
// 800 000 variants. Rows are only appended; a cursor orders and hides them through its own lists
// of row numbers, so an insert or a delete never moves stored rows. A store read once for many
// cursors keeps the list of all its rows in stored order, which they share until one changes its
// own.

#include "data/RowList.h"
#include "data/Schema.h"
#include "data/Value.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kavelon {

class RowStore {
public:
    RowStore() = default;
    explicit RowStore(const std::vector<FieldKind>& kinds);

    int rowCount() const { return int(rowids_.size()); }
    int columnCount() const { return int(columns_.size()); }
    FieldKind kind(int column) const { return columns_[std::size_t(column)].kind; }

    void reserve(int rows);
    // A new row with every cell empty; returns its number.
    int append(std::int64_t rowid);
    std::int64_t rowid(int row) const { return rowids_[std::size_t(row)]; }

    Value value(int row, int column) const;
    bool isNull(int row, int column) const;
    // The text of a text cell without copying it; nullptr when the cell is empty or the column
    // holds no texts (filters read 100 000 rows through this).
    const QString* textAt(int row, int column) const {
        const Column& c = columns_[std::size_t(column)];
        if (c.storage != Storage::Text || c.texts[std::size_t(row)].isNull())
            return nullptr;
        return &c.texts[std::size_t(row)];
    }
    // The value must already be of the column's kind (see coerceToKind).
    void setValue(int row, int column, const Value& v);

    // Loading, without building a Value per cell.
    void setNull(int row, int column);
    void setInteger(int row, int column, std::int32_t v);
    void setDays(int row, int column, double days);
    void setText(int row, int column, QString text);

    // Makes the list of every row in stored order, once the rows are all in; empty until then.
    void listRows();
    const RowList& rowList() const { return rowList_; }

    // Bytes held (vectors and text buffers, shared texts counted once per distinct buffer).
    std::size_t memoryUsage() const;

private:
    enum class Storage { Integer, Days, Text };
    struct Column {
        FieldKind kind;
        Storage storage;
        std::vector<std::int32_t> integers;
        std::vector<double> days;
        std::vector<QString> texts; // a null QString is an empty cell
        std::vector<bool> nulls;    // integers and days only
    };
    static Storage storageOf(FieldKind kind);
    std::vector<std::int64_t> rowids_;
    std::vector<Column> columns_;
    RowList rowList_;
};

// Shares one text buffer among equal texts read from one column: the journal repeats the same few
// customers, drivers and settlements thousands of times. Gives up on columns of mostly distinct
// texts.
class TextInterner {
public:
    QString get(const char* utf8, int bytes);

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    std::unordered_map<std::string, QString, Hash, std::equal_to<>> texts_;
    int lookups_ = 0;
    bool enabled_ = true;
};

// Converts a value into one that a field of this kind holds; throws ConversionError when it cannot.
// Texts longer than size (when size > 0) are cut to size characters.
Value coerceToKind(const Value& v, FieldKind kind, int size);

} // namespace kavelon
