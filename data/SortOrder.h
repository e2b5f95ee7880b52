#pragma once
// The sort language of a cursor: a comma-separated list of columns, each bare or in [brackets],
// each followed by ASC (the default) or DESC, for example "[Сумма] DESC" or "Клиент, [ID] DESC".
//
// Text follows the system locale's collation (Russian order for Russian text); integers and
// dates go by value, false before true. Rows without a value come first ascending and last
// descending. Rows with equal keys keep the order they had: the sort is stable.

#include "data/RowSource.h"
#include "data/Schema.h"

#include <QString>
#include <functional>
#include <vector>

namespace kavelon {

class SortOrder {
public:
    struct Key {
        int field = 0;
        bool descending = false;
    };

    SortOrder() = default; // no sort: rows stay in delivered order

    // Column names are resolved against fields; a text that does not read is refused with a
    // DatabaseError.
    static SortOrder parse(const QString& text, const std::vector<ColumnSchema>& fields);

    bool isEmpty() const { return keys_.empty(); }
    const std::vector<Key>& keys() const { return keys_; }

    // Puts the row numbers in order, stably.
    void sort(const RowSource& rows, std::vector<int>& order) const;
    // The same with the keys of a field by row number (sortKeys over every row), which a cursor
    // keeps between sorts: ranking 100 000 distinct texts by the collation is the costly part.
    using KeysByRow = std::function<const std::vector<double>&(int field)>;
    void sort(std::vector<int>& order, const KeysByRow& keysOf) const;

private:
    std::vector<Key> keys_;
};

// Puts items in ascending order of the keys (each indexed by item; descending turns one over),
// stably. Deterministic, and linear in the number of items.
struct KeyColumn {
    const std::vector<double>* keys;
    bool descending = false;
};
void stableSortByKeys(std::vector<int>& items, const std::vector<KeyColumn>& columns);

// One number per row that orders the rows by a field as the sort does: texts become their rank
// in the collation (distinct texts, distinct ranks), integers and dates their value, booleans
// 0/1, and an empty value -infinity. Entry i belongs to rows[i].
std::vector<double> sortKeys(const RowSource& source, int field, const std::vector<int>& rows);

} // namespace kavelon
