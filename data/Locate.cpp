#include "data/Locate.h"

#include "data/Errors.h"
#include "data/SortOrder.h"
#include "data/TextRanks.h"
#include "data/TwoThreadSort.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <numeric>
#include <optional>
#include <thread>

namespace kavelon {

namespace {

constexpr double emptyKey = -std::numeric_limits<double>::infinity();
constexpr size_t block = 128;

// The number a non-text key of the given value sorts by (see sortKeys); nothing when the value
// cannot be one.
std::optional<double> numericKey(const Value& v) {
    if (v.isNull())
        return emptyKey;
    if (v.type() != Value::Type::Text)
        return numberOf(v);
    bool ok = false;
    const double n = v.toText().trimmed().toDouble(&ok);
    if (ok)
        return n;
    DateTime d;
    if (DateTime::fromIsoText(v.toText(), d))
        return d.days;
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

SearchCopy::SearchCopy(const RowSource& rows, std::vector<int> keyFields, std::vector<int> rowsHeld,
                       const SortOrder::KeysByRow& keysOf)
    : keyFields_(std::move(keyFields)) {
    // Keys by position in rowsHeld; positions sorted, then turned into row numbers.
    std::vector<std::vector<double>> byPosition;
    for (const int field : keyFields_) {
        if (!keysOf) {
            byPosition.push_back(sortKeys(rows, field, rowsHeld));
            continue;
        }
        const std::vector<double>& byRow = keysOf(field);
        std::vector<double> keys(rowsHeld.size());
        for (size_t i = 0; i < rowsHeld.size(); ++i)
            keys[i] = byRow[size_t(rowsHeld[i])];
        byPosition.push_back(std::move(keys));
    }
    std::vector<int> positions(rowsHeld.size());
    std::iota(positions.begin(), positions.end(), 0);
    std::vector<KeyColumn> columns;
    for (const std::vector<double>& k : byPosition)
        columns.push_back({&k, false});
    stableSortByKeys(positions, columns);
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
    // One text key: remember each distinct text under its rank. Ranks may leave gaps (keys kept
    // by a cursor also rank rows it no longer holds); only ranks of rows held are searched.
    std::vector<char> held;
    for (size_t p = 0; p < rowsHeld.size(); ++p) {
        const QString* t = rows.textAt(rowsHeld[p], keyFields_.front());
        if (!t)
            continue;
        const size_t rank = size_t(byPosition.front()[p]);
        if (rank >= distinct_.size()) {
            distinct_.resize(rank + 1);
            held.resize(rank + 1, 0);
        }
        if (!held[rank])
            distinct_[rank] = *t;
        held[rank] = 1;
        textKey_ = true;
    }
    for (size_t rank = 0; rank < distinct_.size(); ++rank)
        if (held[rank])
            heldRanks_.push_back(int(rank));
}

namespace {

// The case-folded form of each character below U+0530 (Latin, Greek, Cyrillic) that folds to one
// character, as QString::toCaseFolded gives it; 0 for those that fold to several.
class SimpleFolding {
public:
    SimpleFolding() {
        for (char16_t c = 0; c < folded_.size(); ++c) {
            const QString f = QString(QChar(c)).toCaseFolded();
            folded_[c] = f.size() == 1 ? f.at(0).unicode() : 0;
        }
    }
    // Appends the folded text; false (nothing appended) when a character is not in the table.
    bool append(const QString& text, QString& out) const {
        const qsizetype from = out.size();
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            const char16_t f = u < folded_.size() ? folded_[u] : 0;
            if (f == 0) {
                out.truncate(from);
                return false;
            }
            out.append(QChar(f));
        }
        return true;
    }
    // Writes the folded text, as long as the text, to out; false when a character is not in the
    // table.
    bool fold(QStringView text, char16_t* out) const {
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            const char16_t f = u < folded_.size() ? folded_[u] : 0;
            if (f == 0)
                return false;
            *out++ = f;
        }
        return true;
    }

private:
    std::array<char16_t, 0x530> folded_{};
};

const SimpleFolding& simpleFolding() {
    static const SimpleFolding folding;
    return folding;
}

} // namespace

void appendCaseFolded(const QString& text, QString& out) {
    if (!simpleFolding().append(text, out))
        out.append(text.toCaseFolded());
}

// Folds the held texts into foldedChars_ through the table alone, where every text's folded form
// is as long as the text: many texts on two threads, each writing its own part of the buffer.
// False when a text has a character outside the table.
bool SearchCopy::foldSimply(std::vector<qsizetype>& start, qsizetype total) const {
    const size_t n = heldRanks_.size();
    qsizetype at = 0;
    for (size_t i = 0; i < n; ++i) {
        start[i] = at;
        at += distinct_[size_t(heldRanks_[i])].size();
    }
    start[n] = at;
    foldedChars_.resize(total);
    char16_t* out = reinterpret_cast<char16_t*>(foldedChars_.data());
    const SimpleFolding& folding = simpleFolding();
    const auto foldPart = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i)
            if (!folding.fold(distinct_[size_t(heldRanks_[i])], out + start[i]))
                return false;
        return true;
    };
    constexpr size_t worthIt = 20000;
    if (n < worthIt || std::thread::hardware_concurrency() < 2)
        return foldPart(0, n);
    bool secondFolded = false;
    std::thread second([&] { secondFolded = foldPart(n / 2, n); });
    const bool firstFolded = foldPart(0, n / 2);
    second.join();
    return firstFolded && secondFolded;
}

// The texts by their case-folded form, made at the first search that ignores case or takes a
// partial key: an exact search needs only the ranks. The folded texts stand end to end in one
// buffer rather than one allocation each.
void SearchCopy::foldTexts() const {
    if (!byFolded_.empty() || heldRanks_.empty())
        return;
    struct Entry {
        // The first eight characters, ordered as the texts are.
        std::uint64_t lead;
        std::uint64_t next;
        int rank;
    };
    std::vector<qsizetype> start(heldRanks_.size() + 1);
    qsizetype total = 0;
    for (const int rank : heldRanks_)
        total += distinct_[size_t(rank)].size();
    if (!foldSimply(start, total)) {
        foldedChars_.clear();
        foldedChars_.reserve(total);
        for (size_t i = 0; i < heldRanks_.size(); ++i) {
            start[i] = foldedChars_.size();
            appendCaseFolded(distinct_[size_t(heldRanks_[i])], foldedChars_);
        }
        start[heldRanks_.size()] = foldedChars_.size();
    }
    folded_.assign(distinct_.size(), QStringView());
    std::vector<Entry> entries(heldRanks_.size());
    for (size_t i = 0; i < heldRanks_.size(); ++i) {
        const int rank = heldRanks_[i];
        const QStringView f = QStringView(foldedChars_).mid(start[i], start[i + 1] - start[i]);
        folded_[size_t(rank)] = f;
        std::uint64_t lead[2] = {0, 0};
        for (qsizetype c = 0; c < 8; ++c)
            lead[c / 4] = (lead[c / 4] << 16) | (c < f.size() ? f.at(c).unicode() : 0);
        entries[i] = {lead[0], lead[1], rank};
    }
    sortOnTwoThreads(entries, [&](bool) {
        return [this](const Entry& a, const Entry& b) {
            if (a.lead != b.lead)
                return a.lead < b.lead;
            if (a.next != b.next)
                return a.next < b.next;
            const QStringView x = folded_[size_t(a.rank)], y = folded_[size_t(b.rank)];
            const int c = x.compare(y);
            return c != 0 ? c < 0 : a.rank < b.rank;
        };
    });
    byFolded_.reserve(entries.size());
    for (const Entry& e : entries)
        byFolded_.push_back(e.rank);
    for (size_t i = 0; i < byFolded_.size(); i += block)
        blockLowest_.push_back(*std::min_element(
            byFolded_.begin() + qsizetype(i),
            byFolded_.begin() + qsizetype(std::min(i + block, byFolded_.size()))));
}

int SearchCopy::lowestRank(size_t from, size_t to) const {
    int lowest = std::numeric_limits<int>::max();
    for (; from < to && from % block; ++from)
        lowest = std::min(lowest, byFolded_[from]);
    for (; from + block <= to; from += block)
        lowest = std::min(lowest, blockLowest_[from / block]);
    for (; from < to; ++from)
        lowest = std::min(lowest, byFolded_[from]);
    return lowest == std::numeric_limits<int>::max() ? -1 : lowest;
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
        // The ranks follow the collation: the given text has its place among them.
        const auto at = std::lower_bound(heldRanks_.begin(), heldRanks_.end(), given,
                                         [&](int rank, const QString& t) {
                                             return compareTexts(distinct_[size_t(rank)], t) < 0;
                                         });
        return at != heldRanks_.end() && distinct_[size_t(*at)] == given ? firstRowWithKey(*at)
                                                                         : -1;
    }
    foldTexts();
    // Every text that matches lies in one stretch of the folded order.
    QString folded;
    appendCaseFolded(given, folded);
    const auto begin = std::lower_bound(
        byFolded_.begin(), byFolded_.end(), folded,
        [&](int rank, const QString& f) { return folded_[size_t(rank)].compare(f) < 0; });
    const auto end = std::partition_point(begin, byFolded_.end(), [&](int rank) {
        const QStringView candidate = folded_[size_t(rank)];
        return partial ? candidate.startsWith(folded) : candidate == folded;
    });
    int best = -1;
    if (caseInsensitive) {
        best = lowestRank(size_t(begin - byFolded_.begin()), size_t(end - byFolded_.begin()));
    } else {
        for (auto it = begin; it != end; ++it) {
            const QString& text = distinct_[size_t(*it)];
            if ((partial ? text.startsWith(given) : text == given) && (best < 0 || *it < best))
                best = *it;
        }
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
