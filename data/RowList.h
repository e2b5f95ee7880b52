#pragma once
// A list of row numbers that the holders of the same rows in the same order share: the cursors
// opened on one read hold its one list until each changes its own (an insert, a delete, a
// changed read row, a filter, a sort), and only then copy it. A change through one holder never
// shows in another's list.

#include <cstddef>
#include <memory>
#include <vector>

namespace kavelon {

class RowList {
public:
    RowList() = default;
    explicit RowList(std::vector<int> rows)
        : rows_(std::make_shared<std::vector<int>>(std::move(rows))) {}

    std::size_t size() const { return rows_ ? rows_->size() : 0; }
    bool empty() const { return size() == 0; }
    int operator[](std::size_t i) const { return (*rows_)[i]; }
    std::vector<int>::const_iterator begin() const { return rows().begin(); }
    std::vector<int>::const_iterator end() const { return rows().end(); }
    const std::vector<int>& rows() const { return rows_ ? *rows_ : none(); }

    // Whether both hold the one list (two empty lists count as one).
    bool sharesWith(const RowList& other) const {
        return rows_ == other.rows_ || (empty() && other.empty());
    }

    // The list to change: this holder's alone, copied first when another holds it too.
    std::vector<int>& own() {
        if (!rows_ || rows_.use_count() > 1)
            *this = RowList(rows());
        return *rows_;
    }

    std::size_t memoryUsage() const { return rows_ ? rows_->capacity() * sizeof(int) : 0; }

private:
    static const std::vector<int>& none() {
        static const std::vector<int> empty;
        return empty;
    }
    // Changed only through own(), by its one holder.
    std::shared_ptr<std::vector<int>> rows_;
};

} // namespace kavelon
