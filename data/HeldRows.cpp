#include "data/HeldRows.h"

#include <numeric>

namespace kavelon {

namespace {
std::vector<FieldKind> kindsOf(const RowStore& rows) {
    std::vector<FieldKind> kinds;
    for (int c = 0; c < rows.columnCount(); ++c)
        kinds.push_back(rows.kind(c));
    return kinds;
}
} // namespace

HeldRows::HeldRows(std::shared_ptr<const RowStore> read)
    : read_(std::move(read)), readCount_(read_ ? read_->rowCount() : 0),
      own_(read_ ? kindsOf(*read_) : std::vector<FieldKind>{}) {}

RowList HeldRows::allRows() const {
    if (read_ && own_.rowCount() == 0 && read_->rowList().size() == std::size_t(readCount_))
        return read_->rowList();
    std::vector<int> rows(static_cast<std::size_t>(rowCount()));
    std::iota(rows.begin(), rows.end(), 0);
    return RowList(std::move(rows));
}

int HeldRows::append(std::int64_t rowid) {
    return readCount_ + own_.append(rowid);
}

int HeldRows::ownCopyOf(int row) {
    if (row >= readCount_)
        return row;
    const int copy = own_.append(read_->rowid(row));
    for (int c = 0; c < own_.columnCount(); ++c)
        own_.setValue(copy, c, read_->value(row, c));
    return readCount_ + copy;
}

std::size_t HeldRows::memoryUsage() const {
    return (read_ ? read_->memoryUsage() : 0) + own_.memoryUsage();
}

} // namespace kavelon
