// The ranks of texts by their primary weights against the collator's own sort keys: the same
// order for every text, the tricky ones above all.
#include "data/TextRanks.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <set>

using namespace kavelon;

namespace {

std::vector<QString> distinct(const std::vector<QString>& texts) {
    const std::set<QString> unique(texts.begin(), texts.end());
    return {unique.begin(), unique.end()};
}

// The texts in order of rank, for a readable difference.
std::vector<QString> ordered(const std::vector<QString>& texts, const std::vector<int>& ranks) {
    std::vector<QString> out(texts.size());
    for (size_t i = 0; i < texts.size(); ++i)
        out[size_t(ranks[i])] = texts[i];
    return out;
}

void expectSameOrder(const std::vector<QString>& texts) {
    const std::vector<QString> set = distinct(texts);
    const std::vector<QString> expected = ordered(set, textRanksBySortKeys(set));
    const std::vector<QString> actual = ordered(set, textRanks(set));
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        ASSERT_EQ(actual[i].toStdString(), expected[i].toStdString())
            << "at " << i << " of " << actual.size();
        // A search among the ranks compares texts one by one in the same order.
        if (i > 0) {
            ASSERT_LT(compareTexts(actual[i - 1], actual[i]), 0) << actual[i].toStdString();
        }
    }
}

QString commonCharacters() {
    QString all;
    for (char16_t c = 0x20; c <= 0x7e; ++c)
        all += QChar(c);
    for (char16_t c = 0x410; c <= 0x44f; ++c)
        all += QChar(c);
    all += QStringLiteral("Ёё«»–—");
    return all;
}

} // namespace

TEST(TextRanks, everyPairOfCommonCharactersInTheCollatorsOrder) {
    const QString all = commonCharacters();
    std::vector<QString> texts;
    for (const QChar a : all) {
        texts.push_back(QString(a));
        for (const QChar b : all)
            texts.push_back(QString(a) + b);
    }
    expectSameOrder(texts);
}

TEST(TextRanks, trickyNamesInTheCollatorsOrder) {
    // Ё and Е, case, hyphens, blanks, digits and Latin, in names that share long beginnings.
    const QString pieces[] = {
        QStringLiteral("е"),      QStringLiteral("ё"),      QStringLiteral("Е"),
        QStringLiteral("Ё"),      QStringLiteral("-"),      QStringLiteral(" "),
        QStringLiteral("  "),     QStringLiteral("1"),      QStringLiteral("10"),
        QStringLiteral("9"),      QStringLiteral("a"),      QStringLiteral("A"),
        QStringLiteral("ж"),      QStringLiteral("Ж"),      QStringLiteral("ООО"),
        QStringLiteral("ооо"),    QStringLiteral("Ёлочка"), QStringLiteral("елочка"),
        QStringLiteral("Елочка"), QStringLiteral("\""),     QStringLiteral("«"),
        QStringLiteral("»"),      QStringLiteral("."),      QStringLiteral("й"),
        QStringLiteral("и"),      QStringLiteral("ь"),      QStringLiteral("ъ"),
        QStringLiteral("Z"),      QStringLiteral("z"),      QStringLiteral("/"),
        QStringLiteral("–"),      QStringLiteral("'"),      QStringLiteral("("),
        QStringLiteral("_"),      QStringLiteral("Я")};
    QRandomGenerator random(20261211);
    std::vector<QString> texts;
    for (int i = 0; i < 20000; ++i) {
        QString t = i % 3 == 0 ? QStringLiteral("ООО Ромашка") : QString();
        const int parts = 1 + int(random.bounded(7));
        for (int p = 0; p < parts; ++p)
            t += pieces[random.bounded(int(std::size(pieces)))];
        texts.push_back(t);
        // The same text with one letter's case or accent changed, right beside it.
        QString twin = t;
        const int at = int(random.bounded(int(t.size())));
        twin[at] = twin[at] == u'е'     ? u'ё'
                   : twin[at].isUpper() ? twin[at].toLower()
                                        : twin[at].toUpper();
        texts.push_back(twin);
    }
    expectSameOrder(texts);
}

TEST(TextRanks, textsBeyondTheCommonCharactersStillInOrder) {
    // Ukrainian і, an accented Latin letter, a tab, №: the collator's sort keys order them all.
    expectSameOrder({QStringLiteral("№ 5"), QStringLiteral("No 5"), QStringLiteral("Nn 5"),
                     QStringLiteral("Київ"), QStringLiteral("Киев"), QStringLiteral("café"),
                     QStringLiteral("cafe"), QStringLiteral("Cafe"), QStringLiteral("a\tb"),
                     QStringLiteral("ab"), QStringLiteral("")});
    EXPECT_EQ(textRanks({QStringLiteral("Б"), QStringLiteral("а"), QStringLiteral("А")}),
              (std::vector<int>{2, 0, 1}));
}
