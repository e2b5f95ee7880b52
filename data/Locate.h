#pragma once
// Finding a row by key values: the first row, in ascending order of the key fields (the order
// of SortOrder, equal keys in delivered order), whose keys equal the given values.
//
// Without CaseInsensitive texts must be equal character for character; with it letter case is
// ignored in every alphabet. With PartialKey a text key (the last one, when there are several)
// matches when it begins with the given text; an empty given text still has to be equal. An
// empty given value matches an empty key. Non-text keys compare by value.

#include "data/RowSource.h"
#include "data/Schema.h"
#include "data/SortOrder.h"

#include <QFlags>
#include <QString>
#include <vector>

namespace kavelon {

enum LocateOption { loCaseInsensitive = 0x1, loPartialKey = 0x2 };
Q_DECLARE_FLAGS(LocateOptions, LocateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(LocateOptions)

// Appends the case-folded text (QString::toCaseFolded) to out, without a string of its own for
// the common characters.
void appendCaseFolded(const QString& text, QString& out);

// Field indices of key field names separated by ";" (letter case ignored); a name no field has
// is refused with the DatabaseError "Field '%s' not found" (without a cursor prefix).
std::vector<int> keyFieldsOf(const QString& names, const std::vector<ColumnSchema>& fields);

// A read-only copy of the row numbers sorted by the key fields, built once and searched many
// times: with one key field a search takes a few binary searches, not a pass over the rows.
// It stays valid while the rows it was built from do not change.
class SearchCopy {
public:
    // Over the given row numbers (every row of rows when none are given).
    SearchCopy(const RowSource& rows, std::vector<int> keyFields);
    SearchCopy(const RowSource& rows, std::vector<int> keyFields, std::vector<int> rowsHeld,
               const SortOrder::KeysByRow& keysOf = {});

    // The folded texts point into the copy's own buffer.
    SearchCopy(const SearchCopy&) = delete;
    SearchCopy& operator=(const SearchCopy&) = delete;

    const std::vector<int>& keyFields() const { return keyFields_; }

    // The row number of the first match, or -1. values holds one value per key field (a single
    // value serves a single key field). Never throws for values of an unexpected kind: they
    // simply match nothing.
    int find(const RowSource& rows, const std::vector<Value>& values, LocateOptions options) const;

private:
    int findByText(const Value& value, LocateOptions options) const;
    int findByNumber(const Value& value) const;
    int scan(const RowSource& rows, const std::vector<Value>& values, LocateOptions options) const;
    int firstRowWithKey(double key) const;

    std::vector<int> keyFields_;
    std::vector<int> order_;                // row numbers in ascending key order
    std::vector<std::vector<double>> keys_; // per key field, per position in order_
    bool textKey_ = false;                  // one key field, holding texts
    // Text keys: each distinct text by rank, its case-folded form, the ranks ordered by the
    // folded form (so that the texts matching a given one, or beginning with it, are one
    // stretch), and the lowest rank of every block of that order (the first match in key order
    // is the lowest rank in the stretch).
    int lowestRank(size_t from, size_t to) const;
    void foldTexts() const;
    bool foldSimply(std::vector<qsizetype>& start, qsizetype total) const;
    std::vector<QString> distinct_;
    std::vector<int> heldRanks_; // ascending
    mutable QString foldedChars_;
    mutable std::vector<QStringView> folded_; // into foldedChars_
    mutable std::vector<int> byFolded_;
    mutable std::vector<int> blockLowest_;
};

} // namespace kavelon
