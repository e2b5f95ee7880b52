#include "data/SortOrder.h"

#include "data/Errors.h"
#include "data/SystemLocale.h"

#include <QHash>
#include <algorithm>
#include <limits>
#include <numeric>

namespace kavelon {

namespace {

[[noreturn]] void refuse(const QString& detail) {
    throw DatabaseError(QStringLiteral("Invalid sort: ") + detail);
}

// Ranks the distinct texts by the collation; texts the collation calls equal are told apart by
// their characters, so that a rank names one text.
std::vector<int> collationRanks(const std::vector<QString>& texts) {
    const QCollator& collator = systemCollator();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(texts.size());
    for (const QString& t : texts)
        keys.push_back(collator.sortKey(t));
    std::vector<int> byOrder(texts.size());
    std::iota(byOrder.begin(), byOrder.end(), 0);
    std::sort(byOrder.begin(), byOrder.end(), [&](int a, int b) {
        const int c = keys[size_t(a)].compare(keys[size_t(b)]);
        return c != 0 ? c < 0 : texts[size_t(a)] < texts[size_t(b)];
    });
    std::vector<int> rank(texts.size());
    for (size_t i = 0; i < byOrder.size(); ++i)
        rank[size_t(byOrder[i])] = int(i);
    return rank;
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

std::vector<double> sortKeys(const RowSource& source, int field, const std::vector<int>& rows) {
    constexpr double empty = -std::numeric_limits<double>::infinity();
    std::vector<double> keys(rows.size(), empty);
    // Texts: each distinct text once through the collator, then a number per row.
    QHash<QString, int> distinctIndex;
    std::vector<QString> distinct;
    std::vector<int> textOf(rows.size(), -1);
    const QString* previous = nullptr;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (const QString* t = source.textAt(rows[i], field)) {
            // The journal repeats a customer row after row; its texts often share one buffer.
            if (previous && previous->constData() == t->constData() &&
                previous->size() == t->size()) {
                textOf[i] = textOf[i - 1];
            } else {
                const auto it = distinctIndex.constFind(*t);
                if (it != distinctIndex.constEnd()) {
                    textOf[i] = *it;
                } else {
                    textOf[i] = int(distinct.size());
                    distinctIndex.insert(*t, textOf[i]);
                    distinct.push_back(*t);
                }
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
        const std::vector<int> rank = collationRanks(distinct);
        for (size_t i = 0; i < rows.size(); ++i)
            if (textOf[i] >= 0)
                keys[i] = rank[size_t(textOf[i])];
    }
    return keys;
}

void SortOrder::sort(const RowSource& rows, std::vector<int>& order) const {
    if (keys_.empty() || order.size() < 2)
        return;
    std::vector<std::vector<double>> columns;
    for (const Key& k : keys_)
        columns.push_back(sortKeys(rows, k.field, order));
    std::vector<int> positions(order.size());
    std::iota(positions.begin(), positions.end(), 0);
    if (keys_.size() == 1) {
        const std::vector<double>& c = columns.front();
        if (keys_.front().descending)
            std::stable_sort(positions.begin(), positions.end(),
                             [&](int a, int b) { return c[size_t(a)] > c[size_t(b)]; });
        else
            std::stable_sort(positions.begin(), positions.end(),
                             [&](int a, int b) { return c[size_t(a)] < c[size_t(b)]; });
    } else {
        std::stable_sort(positions.begin(), positions.end(), [&](int a, int b) {
            for (size_t k = 0; k < keys_.size(); ++k) {
                const double x = columns[k][size_t(a)], y = columns[k][size_t(b)];
                if (x != y)
                    return keys_[k].descending ? x > y : x < y;
            }
            return false;
        });
    }
    std::vector<int> sorted(order.size());
    for (size_t i = 0; i < positions.size(); ++i)
        sorted[i] = order[size_t(positions[i])];
    order = std::move(sorted);
}

} // namespace kavelon
