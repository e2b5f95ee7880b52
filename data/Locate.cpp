#include "data/Locate.h"

#include "data/Errors.h"
#include "data/SortOrder.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <optional>

namespace kavelon {

namespace {

constexpr double emptyKey = -std::numeric_limits<double>::infinity();

// The number a non-text key of the given value sorts by (see sortKeys); nothing when the value
// cannot be one.
std::optional<double> numericKey(const Value& v) {
    switch (v.type()) {
    case Value::Type::Null:
        return emptyKey;
    case Value::Type::Integer:
        return double(v.toInteger());
    case Value::Type::DateTime:
        return v.toDateTime().days;
    case Value::Type::Boolean:
        return v.toBoolean() ? 1.0 : 0.0;
    case Value::Type::Text: {
        bool ok = false;
        const double n = v.toText().trimmed().toDouble(&ok);
        if (ok)
            return n;
        DateTime d;
        if (DateTime::fromIsoText(v.toText(), d))
            return d.days;
        return std::nullopt;
    }
    }
    return std::nullopt;
}

bool textMatches(const QString& given, const QString& key, bool partial, LocateOptions options) {
    const Qt::CaseSensitivity cs =
        options.testFlag(loCaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    if (partial && !given.isEmpty())
        return key.startsWith(given, cs);
    return key.compare(given, cs) == 0;
}

bool keyMatches(const Value& given, const Value& key, bool partial, LocateOptions options) {
    if (given.isNull() || key.isNull())
        return given.isNull() && key.isNull();
    if (key.type() == Value::Type::Text) {
        const QString text = given.type() == Value::Type::Text ? given.toText()
                             : given.type() == Value::Type::Integer
                                 ? QString::number(given.toInteger())
                                 : QString();
        return (given.type() == Value::Type::Text || given.type() == Value::Type::Integer) &&
               textMatches(text, key.toText(), partial, options);
    }
    const std::optional<double> g = numericKey(given), k = numericKey(key);
    return g && k && *g == *k;
}

} // namespace

std::vector<int> keyFieldsOf(const QString& names, const std::vector<ColumnSchema>& fields) {
    std::vector<int> out;
    for (const QString& part : names.split(u';')) {
        const QString name = part.trimmed();
        const int index = fieldIndexOf(fields, name);
        if (index < 0)
            throw DatabaseError(QStringLiteral("Field '%1' not found").arg(name));
        out.push_back(index);
    }
    return out;
}

namespace {
std::vector<int> everyRow(const RowSource& rows) {
    std::vector<int> all(static_cast<size_t>(rows.rowCount()));
    std::iota(all.begin(), all.end(), 0);
    return all;
}
} // namespace

SearchCopy::SearchCopy(const RowSource& rows, std::vector<int> keyFields)
    : SearchCopy(rows, std::move(keyFields), everyRow(rows)) {}

SearchCopy::SearchCopy(const RowSource& rows, std::vector<int> keyFields, std::vector<int> rowsHeld)
    : keyFields_(std::move(keyFields)) {
    // Keys by position in rowsHeld; positions sorted, then turned into row numbers.
    std::vector<std::vector<double>> byPosition;
    for (const int field : keyFields_)
        byPosition.push_back(sortKeys(rows, field, rowsHeld));
    std::vector<int> positions(rowsHeld.size());
    std::iota(positions.begin(), positions.end(), 0);
    std::stable_sort(positions.begin(), positions.end(), [&](int a, int b) {
        for (const std::vector<double>& k : byPosition)
            if (k[size_t(a)] != k[size_t(b)])
                return k[size_t(a)] < k[size_t(b)];
        return false;
    });
    order_.reserve(positions.size());
    for (const int p : positions)
        order_.push_back(rowsHeld[size_t(p)]);
    for (const std::vector<double>& k : byPosition) {
        std::vector<double> inOrder(positions.size());
        for (size_t i = 0; i < positions.size(); ++i)
            inOrder[i] = k[size_t(positions[i])];
        keys_.push_back(std::move(inOrder));
    }
    if (keyFields_.size() != 1)
        return;
    // One text key: remember each distinct text under its rank.
    for (size_t p = 0; p < rowsHeld.size(); ++p) {
        const QString* t = rows.textAt(rowsHeld[p], keyFields_.front());
        if (!t)
            continue;
        const size_t rank = size_t(byPosition.front()[p]);
        if (rank >= distinct_.size())
            distinct_.resize(rank + 1);
        if (distinct_[rank].isNull())
            distinct_[rank] = *t;
        textKey_ = true;
    }
    folded_.reserve(distinct_.size());
    for (const QString& t : distinct_)
        folded_.push_back(t.toCaseFolded());
    byFolded_.resize(distinct_.size());
    std::iota(byFolded_.begin(), byFolded_.end(), 0);
    std::sort(byFolded_.begin(), byFolded_.end(),
              [&](int a, int b) { return folded_[size_t(a)] < folded_[size_t(b)]; });
    rankOf_.reserve(qsizetype(distinct_.size()));
    for (size_t rank = 0; rank < distinct_.size(); ++rank)
        rankOf_.insert(distinct_[rank], int(rank));
}

int SearchCopy::firstRowWithKey(double key) const {
    const std::vector<double>& k = keys_.front();
    const auto it = std::lower_bound(k.begin(), k.end(), key);
    return it != k.end() && *it == key ? order_[size_t(it - k.begin())] : -1;
}

int SearchCopy::find(const RowSource& rows, const std::vector<Value>& values,
                     LocateOptions options) const {
    if (values.size() != keyFields_.size() || order_.empty())
        return -1;
    if (keyFields_.size() > 1)
        return scan(rows, values, options);
    const Value& value = values.front();
    if (textKey_ && value.type() != Value::Type::Null)
        return findByText(value, options);
    return findByNumber(value);
}

int SearchCopy::findByText(const Value& value, LocateOptions options) const {
    QString given;
    if (value.type() == Value::Type::Text)
        given = value.toText();
    else if (value.type() == Value::Type::Integer)
        given = QString::number(value.toInteger());
    else
        return -1;
    const bool caseInsensitive = options.testFlag(loCaseInsensitive);
    const bool partial = options.testFlag(loPartialKey) && !given.isEmpty();
    if (!caseInsensitive && !partial) {
        const int rank = rankOf_.value(given, -1);
        return rank < 0 ? -1 : firstRowWithKey(rank);
    }
    // Every text that matches lies in one stretch of the folded order; the first in collation
    // order among them is the one with the lowest rank.
    const QString folded = given.toCaseFolded();
    auto it =
        std::lower_bound(byFolded_.begin(), byFolded_.end(), folded,
                         [&](int rank, const QString& f) { return folded_[size_t(rank)] < f; });
    int best = -1;
    for (; it != byFolded_.end(); ++it) {
        const QString& candidate = folded_[size_t(*it)];
        if (partial ? !candidate.startsWith(folded) : candidate != folded)
            break;
        if (!caseInsensitive && !distinct_[size_t(*it)].startsWith(given))
            continue;
        if (best < 0 || *it < best)
            best = *it;
    }
    return best < 0 ? -1 : firstRowWithKey(best);
}

int SearchCopy::findByNumber(const Value& value) const {
    const std::optional<double> key = numericKey(value);
    return key ? firstRowWithKey(*key) : -1;
}

int SearchCopy::scan(const RowSource& rows, const std::vector<Value>& values,
                     LocateOptions options) const {
    const bool partial = options.testFlag(loPartialKey);
    for (const int row : order_) {
        bool all = true;
        for (size_t k = 0; k < keyFields_.size() && all; ++k)
            all = keyMatches(values[k], rows.value(row, keyFields_[k]),
                             partial && k + 1 == keyFields_.size(), options);
        if (all)
            return row;
    }
    return -1;
}

} // namespace kavelon
