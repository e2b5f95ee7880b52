#pragma once
// The filter language of a cursor, parsed by our own small parser and evaluated in memory.
//
//   filter     := [ or ]
//   or         := and { OR and }
//   and        := not { AND not }
//   not        := NOT not | "(" or ")" | condition
//   condition  := column ( [NOT] LIKE 'pattern' | IS [NOT] NULL | op value )
//   op         := = | <> | != | < | > | <= | >=
//   value      := 'text' | number | #date# | NULL | TRUE | FALSE
//   column     := bare name | [name in brackets]  (names with blanks need the brackets)
//
// Words are matched ignoring case; texts are quoted with ' and a quote inside is doubled.
// Like ignores letter case in every alphabet; "*" or "%" as the first or the last character of
// a pattern stands for any text, and every other character, "*", "%", "_", "?" and "[" inside
// included, stands for itself: a dispatcher searching for "50%" finds exactly "50%".
// Text comparisons ignore letter case and follow the system collation.
//
// A row without a value in a column passes no comparison and no Like on that column, negated
// or not; only IS NULL (or "= Null") selects it.
//
// Anything that does not parse, an unknown column or a value that cannot be compared with its
// column is refused by parse() with a DatabaseError, before the cursor changes anything.

#include "data/RowSource.h"
#include "data/Schema.h"

#include <QString>
#include <memory>
#include <vector>

namespace kavelon {

namespace filter {
struct Node;
}

class RowFilter {
public:
    RowFilter(); // lets every row pass
    ~RowFilter();
    RowFilter(const RowFilter&);
    RowFilter& operator=(const RowFilter&);

    // Column names are resolved against fields once, here.
    static RowFilter parse(const QString& text, const std::vector<ColumnSchema>& fields);

    bool passesEveryRow() const { return !root_; }
    bool passes(const RowSource& rows, int row) const;
    // The candidates that pass, in their order.
    std::vector<int> select(const RowSource& rows, const std::vector<int>& candidates) const;
    // Every row number of rows that passes, in delivered order.
    std::vector<int> select(const RowSource& rows) const;

private:
    std::shared_ptr<const filter::Node> root_;
};

} // namespace kavelon
