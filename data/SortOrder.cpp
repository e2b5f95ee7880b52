#include "data/SortOrder.h"

#include "data/Errors.h"
#include "data/TextRanks.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <numeric>

namespace kavelon {

namespace {

[[noreturn]] void refuse(const QString& detail) {
    throw DatabaseError(QStringLiteral("Invalid sort: ") + detail);
}

bool isDirection(const QString& word) {
    return word.compare(u"asc", Qt::CaseInsensitive) == 0 ||
           word.compare(u"desc", Qt::CaseInsensitive) == 0;
}

} // namespace

SortOrder SortOrder::parse(const QString& text, const std::vector<ColumnSchema>& fields) {
    SortOrder order;
    if (text.trimmed().isEmpty())
        return order;
    for (const QString& item : text.split(u',')) {
        QString rest = item.trimmed();
        if (rest.isEmpty())
            refuse(QStringLiteral("a column name expected in '%1'").arg(text));
        Key key;
        QString name, direction;
        if (rest.startsWith(u'[')) {
            const qsizetype close = rest.indexOf(u']');
            if (close < 0)
                refuse(QStringLiteral("missing closing bracket ']' in '%1'").arg(item.trimmed()));
            name = rest.mid(1, close - 1);
            direction = rest.mid(close + 1).trimmed();
        } else {
            // A bare name may hold blanks; the direction is its last word, when there is one.
            const qsizetype blank = rest.lastIndexOf(u' ');
            direction = blank < 0 ? QString() : rest.mid(blank + 1);
            if (isDirection(direction)) {
                name = rest.left(blank).trimmed();
            } else {
                name = rest;
                direction.clear();
            }
            if (name.contains(u']'))
                refuse(QStringLiteral("'%1' is not a column name").arg(name));
        }
        if (!direction.isEmpty() && !isDirection(direction))
            refuse(QStringLiteral("ASC or DESC expected instead of '%1'").arg(direction));
        key.descending = direction.compare(u"desc", Qt::CaseInsensitive) == 0;
        if (name.trimmed().isEmpty())
            refuse(QStringLiteral("a column name expected in '%1'").arg(text));
        key.field = fieldIndexOf(fields, name);
        if (key.field < 0)
            refuse(QStringLiteral("unknown column '%1'").arg(name));
        order.keys_.push_back(key);
    }
    return order;
}

namespace {

// Texts by their character buffer: the journal's repeated texts share one buffer, so that most
// rows are placed without reading their characters.
class BufferIndex {
public:
    explicit BufferIndex(std::size_t expected) {
        std::size_t capacity = 16;
        while (capacity < expected * 2)
            capacity *= 2;
        slots_.resize(capacity);
        mask_ = capacity - 1;
    }
    // The index stored for this text's buffer, or the given one, stored now.
    int findOrAdd(const QString& text, int index) {
        const auto address = reinterpret_cast<std::uintptr_t>(text.constData());
        std::size_t at = std::size_t((address >> 3) * 0x9E3779B97F4A7C15ull >> 20) & mask_;
        for (;; at = (at + 1) & mask_) {
            Slot& slot = slots_[at];
            if (slot.index < 0) {
                slot = {text.constData(), text.size(), index};
                return index;
            }
            if (slot.buffer == text.constData() && slot.size == text.size())
                return slot.index;
        }
    }

private:
    struct Slot {
        const QChar* buffer = nullptr;
        qsizetype size = 0;
        int index = -1;
    };
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
};

} // namespace

std::vector<double> sortKeys(const RowSource& source, int field, const std::vector<int>& rows) {
    constexpr double empty = -std::numeric_limits<double>::infinity();
    std::vector<double> keys(rows.size(), empty);
    // Texts: each text once through the collation (equal texts in other buffers are ranked
    // alike), then a number per row.
    BufferIndex buffers(rows.size());
    std::vector<QString> distinct;
    std::vector<int> textOf(rows.size(), -1);
    const QString* previous = nullptr;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (const QString* t = source.textAt(rows[i], field)) {
            if (previous && previous->constData() == t->constData() &&
                previous->size() == t->size()) {
                textOf[i] = textOf[i - 1];
            } else {
                textOf[i] = buffers.findOrAdd(*t, int(distinct.size()));
                if (textOf[i] == int(distinct.size()))
                    distinct.push_back(*t);
            }
            previous = t;
            continue;
        }
        previous = nullptr;
        const Value v = source.value(rows[i], field);
        switch (v.type()) {
        case Value::Type::Integer:
            keys[i] = v.toInteger();
            break;
        case Value::Type::DateTime:
            keys[i] = v.toDateTime().days;
            break;
        case Value::Type::Boolean:
            keys[i] = v.toBoolean() ? 1 : 0;
            break;
        default:
            break;
        }
    }
    if (!distinct.empty()) {
        const std::vector<int> rank = textRanks(distinct);
        for (size_t i = 0; i < rows.size(); ++i)
            if (textOf[i] >= 0)
                keys[i] = rank[size_t(textOf[i])];
    }
    return keys;
}

void SortOrder::sort(const RowSource& rows, std::vector<int>& order) const {
    if (keys_.empty() || order.size() < 2)
        return;
    // Keys only for the rows being sorted, placed by row number.
    const int size = *std::max_element(order.begin(), order.end()) + 1;
    std::map<int, std::vector<double>> byRow;
    for (const Key& k : keys_) {
        if (byRow.count(k.field))
            continue;
        const std::vector<double> keys = sortKeys(rows, k.field, order);
        std::vector<double>& column = byRow[k.field];
        column.resize(size_t(size));
        for (size_t i = 0; i < order.size(); ++i)
            column[size_t(order[i])] = keys[i];
    }
    sort(order, [&](int field) -> const std::vector<double>& { return byRow.at(field); });
}

void SortOrder::sort(std::vector<int>& order, const KeysByRow& keysOf) const {
    if (keys_.empty() || order.size() < 2)
        return;
    std::vector<KeyColumn> columns;
    for (const Key& k : keys_)
        columns.push_back({&keysOf(k.field), k.descending});
    stableSortByKeys(order, columns);
}

namespace {
// An unsigned number that orders as the key does (-infinity lowest; -0 and 0 alike), turned
// over for a descending key.
std::uint64_t orderedBits(double key, bool descending) {
    if (key == 0)
        key = 0.0;
    std::uint64_t bits;
    std::memcpy(&bits, &key, sizeof bits);
    bits = bits >> 63 ? ~bits : bits | (std::uint64_t(1) << 63);
    return descending ? ~bits : bits;
}
} // namespace

// A radix sort, byte by byte from the last key's lowest byte up: each pass is stable, so the
// items end in key order with equal items as they came; bytes that all items share are skipped.
void stableSortByKeys(std::vector<int>& items, const std::vector<KeyColumn>& columns) {
    const std::size_t n = items.size();
    if (n < 2 || columns.empty())
        return;
    std::vector<int> otherItems(n);
    std::vector<std::uint64_t> bits(n), otherBits(n);
    for (auto column = columns.rbegin(); column != columns.rend(); ++column) {
        const std::vector<double>& keys = *column->keys;
        for (std::size_t i = 0; i < n; ++i)
            bits[i] = orderedBits(keys[std::size_t(items[i])], column->descending);
        for (int shift = 0; shift < 64; shift += 8) {
            std::array<std::size_t, 257> start{};
            for (std::size_t i = 0; i < n; ++i)
                ++start[((bits[i] >> shift) & 0xff) + 1];
            if (std::find(start.begin(), start.end(), n) != start.end())
                continue; // every item has this byte
            for (std::size_t b = 1; b < start.size(); ++b)
                start[b] += start[b - 1];
            for (std::size_t i = 0; i < n; ++i) {
                const std::size_t to = start[(bits[i] >> shift) & 0xff]++;
                otherItems[to] = items[i];
                otherBits[to] = bits[i];
            }
            items.swap(otherItems);
            bits.swap(otherBits);
        }
    }
}

} // namespace kavelon
