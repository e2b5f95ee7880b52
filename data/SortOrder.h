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

private:
    std::vector<Key> keys_;
};

// One number per row that orders the rows by a field as the sort does: texts become their rank
// in the collation (distinct texts, distinct ranks), integers and dates their value, booleans
// 0/1, and an empty value -infinity. Entry i belongs to rows[i].
std::vector<double> sortKeys(const RowSource& source, int field, const std::vector<int>& rows);

} // namespace kavelon
