// Finding rows by key values through the search copy.
#include "data/Errors.h"
#include "data/Locate.h"
#include "data/SortOrder.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <numeric>

using namespace kavelon;

namespace {

const std::vector<ColumnSchema>& fields() {
    return schema::settlements().columns;
}

Value text(const char* s) {
    return Value::text(QString::fromUtf8(s));
}

VectorRows settlements() {
    VectorRows rows;
    const auto add = [&](Value name, int distance) {
        rows.append({name, Value::integer(distance)});
    };
    add(text("Калуга"), 180); // 0
    add(text("казань"), 800); // 1
    add(text("Кашира"), 110); // 2
    add(text("Москва"), 0);   // 3
    add(text("КАЗАНЬ"), 800); // 4
    add(text("Казань"), 820); // 5
    add(Value(), 5);          // 6
    add(text(""), 7);         // 7
    add(text("ёлки"), 50);    // 8
    add(text("Елец"), 400);   // 9
    return rows;
}

struct Fixture {
    VectorRows rows = settlements();
    int find(const char* keyFields, std::vector<Value> values, LocateOptions options = {}) const {
        const SearchCopy copy(rows, keyFieldsOf(QString::fromUtf8(keyFields), fields()));
        return copy.find(rows, values, options);
    }
};

} // namespace

TEST(Locate, OneTextKeyExactCaseInsensitiveAndPartial) {
    const Fixture f;
    const char* name = "Наименование";
    EXPECT_EQ(f.find(name, {text("Казань")}), 5);
    EXPECT_EQ(f.find(name, {text("казань")}), 1);
    EXPECT_EQ(f.find(name, {text("КАЗАНЬ")}), 4);
    EXPECT_EQ(f.find(name, {text("Казан")}), -1);
    EXPECT_EQ(f.find(name, {text("Тверь")}), -1);
    // Ignoring case: the first in ascending order (lower case first among equal letters).
    EXPECT_EQ(f.find(name, {text("КАЗАНЬ")}, loCaseInsensitive), 1);
    EXPECT_EQ(f.find(name, {text("ка")}, loCaseInsensitive | loPartialKey), 1);
    EXPECT_EQ(f.find(name, {text("кал")}, loCaseInsensitive | loPartialKey), 0);
    EXPECT_EQ(f.find(name, {text("Ка")}, loPartialKey), 5);
    EXPECT_EQ(f.find(name, {text("КА")}, loPartialKey), 4);
    EXPECT_EQ(f.find(name, {text("ка")}, loPartialKey), 1);
    EXPECT_EQ(f.find(name, {text("Каз")}, loCaseInsensitive), -1);
    // Ё is a letter of its own when searching, not a case of Е.
    EXPECT_EQ(f.find(name, {text("Ё")}, loCaseInsensitive | loPartialKey), 8);
    EXPECT_EQ(f.find(name, {text("е")}, loCaseInsensitive | loPartialKey), 9);
    // An empty text is compared for equality even with the partial key; empty matches empty.
    EXPECT_EQ(f.find(name, {text("")}, loCaseInsensitive | loPartialKey), 7);
    EXPECT_EQ(f.find(name, {text("")}), 7);
    EXPECT_EQ(f.find(name, {Value()}), 6);
    EXPECT_EQ(f.find("НАИМЕНОВАНИЕ", {text("Москва")}), 3);
}

TEST(Locate, NumbersSeveralKeysAndMisfits) {
    const Fixture f;
    const char* distance = "Растояние до НП";
    EXPECT_EQ(f.find(distance, {Value::integer(800)}), 1); // equal keys: delivered order
    EXPECT_EQ(f.find(distance, {Value::integer(820)}), 5);
    EXPECT_EQ(f.find(distance, {Value::integer(999)}), -1);
    EXPECT_EQ(f.find(distance, {text("110")}), 2);
    EXPECT_EQ(f.find(distance, {text("сто")}), -1);
    EXPECT_EQ(f.find("Наименование;Растояние до НП", {text("казань"), Value::integer(820)},
                     loCaseInsensitive),
              5);
    EXPECT_EQ(f.find("Наименование; Растояние до НП", {text("КАЗАНЬ"), Value::integer(800)}), 4);
    EXPECT_EQ(f.find("Растояние до НП;Наименование", {Value::integer(800), text("КА")},
                     loCaseInsensitive | loPartialKey),
              1);
    EXPECT_EQ(
        f.find("Растояние до НП;Наименование", {Value::integer(800), text("КА")}, loPartialKey), 4);
    EXPECT_EQ(f.find("Растояние до НП;Наименование", {Value::integer(800)}), -1);
    EXPECT_EQ(f.find("Наименование", {Value::boolean(true)}), -1);
    EXPECT_EQ(f.find("Наименование", {text("Москва"), text("Тула")}), -1);
    try {
        keyFieldsOf(QStringLiteral("Наименование;Район"), fields());
        ADD_FAILURE() << "an unknown key field was accepted";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.message(), "Field 'Район' not found");
    }
    const VectorRows none;
    EXPECT_EQ(SearchCopy(none, {0}).find(none, {text("Москва")}, {}), -1);
}

// The binary searches against a plain pass over the rows in sort order, on texts built to
// trouble them: mixed case, Ё/Е, Latin among Cyrillic, empty and missing values.
TEST(Locate, AgreesWithAPlainPassInSortOrder) {
    const QString alphabet = QStringLiteral("аАбБеЕёЁaAbB 1");
    QRandomGenerator random(20240605);
    const auto randomText = [&](int maxLength) {
        QString s;
        const int length = int(random.bounded(maxLength + 1));
        for (int i = 0; i < length; ++i)
            s += alphabet[qsizetype(random.bounded(int(alphabet.size())))];
        return s;
    };
    VectorRows rows;
    for (int i = 0; i < 400; ++i)
        rows.append(
            {random.bounded(20) == 0 ? Value() : Value::text(randomText(4)), Value::integer(i)});
    std::vector<int> order(400);
    std::iota(order.begin(), order.end(), 0);
    SortOrder::parse(QStringLiteral("[Наименование]"), fields()).sort(rows, order);
    const SearchCopy copy(rows, {0});
    for (int q = 0; q < 600; ++q) {
        const QString given = randomText(3);
        for (const LocateOptions options :
             {LocateOptions(), LocateOptions(loCaseInsensitive), LocateOptions(loPartialKey),
              loCaseInsensitive | loPartialKey}) {
            const Qt::CaseSensitivity cs =
                options & loCaseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
            int expected = -1;
            for (const int row : order) {
                const QString* t = rows.textAt(row, 0);
                if (t &&
                    ((options & loPartialKey) && !given.isEmpty() ? t->startsWith(given, cs)
                                                                  : t->compare(given, cs) == 0)) {
                    expected = row;
                    break;
                }
            }
            ASSERT_EQ(copy.find(rows, {Value::text(given)}, options), expected)
                << given.toStdString() << " options " << int(options);
        }
    }
}

TEST(Locate, CaseFoldingAgreesWithQString) {
    // Every character below U+0530 alone and among others, and texts with characters beyond.
    QString all;
    for (char16_t c = 1; c < 0x530; ++c)
        all += QChar(c);
    const QString texts[] = {all,
                             QStringLiteral("ǅǄǆ ŉ İ ß ΐ"),
                             QStringLiteral("ООО «Ёлочка»"),
                             QStringLiteral("Straße ﬁ Ⅻ"),
                             QString(),
                             QStringLiteral("𐐀𐐨")};
    for (const QString& t : texts) {
        QString folded = QStringLiteral("x");
        appendCaseFolded(t, folded);
        EXPECT_EQ(folded, QStringLiteral("x") + t.toCaseFolded()) << t.toStdString();
    }
    for (const QChar c : all) {
        QString folded;
        appendCaseFolded(QString(c), folded);
        ASSERT_EQ(folded, QString(c).toCaseFolded()) << int(c.unicode());
    }
}

// Enough distinct texts that they are folded on two threads: through the table alone, and with
// one text (late in the order, so in the second thread's part) with a character beyond the common
// ones.
TEST(Locate, ManyTextsFoldedAsOne) {
    for (const bool beyondCommon : {false, true}) {
        VectorRows rows;
        const int count = 30000;
        for (int i = 0; i < count; ++i)
            rows.append({Value::text(QStringLiteral("%1 ЁлКа-%2 Ab")
                                         .arg(i % 3 ? QStringLiteral("ООО") : QStringLiteral("ип"))
                                         .arg(i)),
                         Value::integer(i)});
        if (beyondCommon)
            rows.append({Value::text(QStringLiteral("яяя Ⅻ век")), Value::integer(count)});
        std::vector<int> order(size_t(rows.rowCount()));
        std::iota(order.begin(), order.end(), 0);
        SortOrder::parse(QStringLiteral("[Наименование]"), fields()).sort(rows, order);
        const SearchCopy copy(rows, {0});
        // No two texts are alike but for case: each is found by its upper-case form.
        for (int row = 0; row < rows.rowCount(); ++row)
            ASSERT_EQ(
                copy.find(rows, {Value::text(rows.textAt(row, 0)->toUpper())}, loCaseInsensitive),
                row);
        std::vector<QString> probes = {
            QStringLiteral("ИП ёлка-2"), QStringLiteral("ооо ЁЛКА-29999"),
            QStringLiteral("ООО ЁЛКА-1 AB"), QStringLiteral("ип ёлка-x")};
        if (beyondCommon)
            probes.push_back(QStringLiteral("ЯЯЯ ⅻ"));
        for (int i = 1; i < count; i += 997)
            probes.push_back(rows.textAt(i, 0)->toUpper().left(12));
        for (const QString& given : probes)
            for (const LocateOptions options :
                 {LocateOptions(loCaseInsensitive), loCaseInsensitive | loPartialKey}) {
                int expected = -1;
                for (const int row : order) {
                    const QString& t = *rows.textAt(row, 0);
                    if (options & loPartialKey ? t.startsWith(given, Qt::CaseInsensitive)
                                               : t.compare(given, Qt::CaseInsensitive) == 0) {
                        expected = row;
                        break;
                    }
                }
                EXPECT_EQ(copy.find(rows, {Value::text(given)}, options), expected)
                    << given.toStdString() << " options " << int(options);
            }
    }
}
