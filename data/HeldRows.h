#pragma once
// The rows a cursor holds: the rows as read, which cursors opened on an unchanged file share and
// never change, and below them the rows this cursor stored or changed itself. Row numbers run
// through the read rows first, then the cursor's own; a changed read row is copied into the
// cursor's own rows and takes a new number, so that no other cursor ever sees the change.

#include "data/RowStore.h"

#include <memory>

namespace kavelon {

class HeldRows {
public:
    HeldRows() = default;
    explicit HeldRows(std::shared_ptr<const RowStore> read);

    int rowCount() const { return readCount_ + own_.rowCount(); }
    std::int64_t rowid(int row) const {
        return row < readCount_ ? read_->rowid(row) : own_.rowid(row - readCount_);
    }
    Value value(int row, int column) const {
        return row < readCount_ ? read_->value(row, column) : own_.value(row - readCount_, column);
    }
    const QString* textAt(int row, int column) const {
        return row < readCount_ ? read_->textAt(row, column)
                                : own_.textAt(row - readCount_, column);
    }

    // Every row held, by number: while the holder has no rows of its own, the list that every
    // holder of the read rows shares.
    RowList allRows() const;

    // A new row of the cursor's own, every cell empty; returns its number.
    int append(std::int64_t rowid);
    // The number under which this row can be changed: itself for a row of the cursor's own, a
    // fresh copy of its values for a read row.
    int ownCopyOf(int row);
    // Changes a row of the cursor's own (see ownCopyOf); the value fits the column's kind.
    void setValue(int row, int column, const Value& v) { own_.setValue(ownIndex(row), column, v); }
    // The store and the row number in it of a row of the cursor's own, for reading it back.
    RowStore& ownStore() { return own_; }
    int ownIndex(int row) const { return row - readCount_; }

    // Whether these rows are shared with another holder (what a measurement counts once).
    bool readShared() const { return read_ && read_.use_count() > 1; }
    const RowStore* readRows() const { return read_.get(); }
    std::size_t memoryUsage() const;

private:
    std::shared_ptr<const RowStore> read_;
    int readCount_ = 0;
    RowStore own_;
};

} // namespace kavelon
