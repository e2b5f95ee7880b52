#include "data/TextRanks.h"

#include "data/SystemLocale.h"
#include "data/TwoThreadSort.h"

#include <QCollator>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <optional>

namespace kavelon {

namespace {

// Ranks from the texts in order: equal texts, side by side there, share one.
std::vector<int> ranksOf(const std::vector<int>& byOrder, const std::vector<QString>& texts) {
    std::vector<int> rank(byOrder.size());
    int next = -1;
    for (size_t i = 0; i < byOrder.size(); ++i) {
        if (i == 0 || texts[size_t(byOrder[i])] != texts[size_t(byOrder[i - 1])])
            ++next;
        rank[size_t(byOrder[i])] = next;
    }
    return rank;
}

// The characters whose primary weights are read from the collator: each is one collation
// element with a primary weight of its own or shared (е and ё, a letter and its capital), and
// none forms a contraction with another in the Russian collation.
bool common(char16_t c) {
    return (c >= 0x20 && c <= 0x7e) || (c >= 0x410 && c <= 0x44f) || c == 0x401 || c == 0x451 ||
           c == 0xab || c == 0xbb || c == 0x2013 || c == 0x2014;
}

// Primary weight classes of the common characters, 1 … n in collation order; 0 for the rest.
class PrimaryWeights {
public:
    PrimaryWeights() {
        const QCollator& collator = systemCollator();
        usable_ = collator.locale().language() == QLocale::Russian;
        if (!usable_)
            return;
        std::vector<char16_t> chars;
        for (char16_t c = 0; c < 0x2200; ++c)
            if (common(c))
                chars.push_back(c);
        // With equal primaries "xб" follows "yа"; with x's primary below y's it comes first.
        const auto primaryBelow = [&](char16_t x, char16_t y) {
            return collator.compare(QString(QChar(x)) + u'б', QString(QChar(y)) + u'а') < 0;
        };
        std::stable_sort(chars.begin(), chars.end(), primaryBelow);
        std::uint8_t weight = 0;
        for (size_t i = 0; i < chars.size(); ++i) {
            if (i == 0 || primaryBelow(chars[i - 1], chars[i]))
                ++weight;
            weights_[chars[i]] = weight;
        }
    }
    bool usable() const { return usable_; }
    std::uint8_t of(char16_t c) const { return c < weights_.size() ? weights_[c] : 0; }

private:
    bool usable_ = false;
    std::array<std::uint8_t, 0x2200> weights_{};
};

const PrimaryWeights& primaryWeights() {
    static const PrimaryWeights weights;
    return weights;
}

// Each text's primary weights as bytes, one per character, end to end; false when a text has
// a character outside the common ones.
bool primaryKeys(const std::vector<QString>& texts, std::vector<std::uint8_t>& bytes,
                 std::vector<std::uint32_t>& start) {
    const PrimaryWeights& weights = primaryWeights();
    if (!weights.usable())
        return false;
    std::size_t total = 0;
    for (const QString& t : texts)
        total += std::size_t(t.size());
    bytes.resize(total + 8); // room for a whole word read at the last key's end
    start.resize(texts.size() + 1);
    std::size_t at = 0;
    for (size_t i = 0; i < texts.size(); ++i) {
        start[i] = std::uint32_t(at);
        for (const QChar c : texts[i]) {
            const std::uint8_t w = weights.of(c.unicode());
            if (w == 0)
                return false;
            bytes[at++] = w;
        }
    }
    start[texts.size()] = std::uint32_t(at);
    return true;
}

// The first eight weights of a key as one number that orders as the bytes do.
std::uint64_t leadOf(const std::uint8_t* key, std::uint32_t length) {
    std::uint64_t lead = 0;
    for (std::uint32_t i = 0; i < 8; ++i)
        lead = (lead << 8) | (i < length ? key[i] : 0);
    return lead;
}

} // namespace

int compareTexts(const QString& a, const QString& b) {
    const int c = systemCollator().compare(a, b);
    return c != 0 ? c : a < b ? -1 : b < a ? 1 : 0;
}

std::vector<int> textRanksBySortKeys(const std::vector<QString>& texts) {
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
    return ranksOf(byOrder, texts);
}

std::vector<int> textRanks(const std::vector<QString>& texts) {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint32_t> start;
    if (texts.size() < 2 || !primaryKeys(texts, bytes, start))
        return textRanksBySortKeys(texts);

    struct Entry {
        std::uint64_t lead;
        int text;
    };
    std::vector<Entry> entries(texts.size());
    for (size_t i = 0; i < texts.size(); ++i)
        entries[i] = {leadOf(&bytes[start[i]], start[i + 1] - start[i]), int(i)};
    // A collator of its own for the second thread.
    std::optional<QCollator> second;
    sortOnTwoThreads(entries, [&](bool onSecondThread) {
        const QCollator* collator = &systemCollator();
        if (onSecondThread)
            collator = &second.emplace(systemLocale());
        return [&texts, &bytes, &start, collator](const Entry& a, const Entry& b) {
            if (a.lead != b.lead)
                return a.lead < b.lead;
            const std::uint32_t la = start[size_t(a.text) + 1] - start[size_t(a.text)],
                                lb = start[size_t(b.text) + 1] - start[size_t(b.text)];
            if (la > 8 && lb > 8) {
                const int c = std::memcmp(&bytes[start[size_t(a.text)] + 8],
                                          &bytes[start[size_t(b.text)] + 8], std::min(la, lb) - 8);
                if (c != 0)
                    return c < 0;
            }
            if (la != lb)
                return la < lb;
            // The same letters but for accents or case: the collator decides, then the
            // characters, then (equal texts) their places, for an order that is total.
            const QString &x = texts[size_t(a.text)], &y = texts[size_t(b.text)];
            const int c = collator->compare(x, y);
            if (c != 0)
                return c < 0;
            if (x != y)
                return x < y;
            return a.text < b.text;
        };
    });
    std::vector<int> byOrder(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        byOrder[i] = entries[i].text;
    return ranksOf(byOrder, texts);
}

} // namespace kavelon
