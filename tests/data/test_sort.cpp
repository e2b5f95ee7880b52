// The sort language and the order it gives.
#include "data/Errors.h"
#include "data/SortOrder.h"

#include <gtest/gtest.h>
#include <numeric>

using namespace kavelon;

namespace {

// Код, ФИО, № ВУ, Межд ВУ, … as in "Водители", plus a date column borrowed from the journal.
std::vector<ColumnSchema> fields() {
    return {{QStringLiteral("Код"), FieldKind::AutoInc},
            {QStringLiteral("ФИО"), FieldKind::WideString, 35},
            {QStringLiteral("№ ВУ"), FieldKind::Integer},
            {QStringLiteral("Межд ВУ"), FieldKind::Boolean},
            {QStringLiteral("Отправка"), FieldKind::DateTime}};
}

Value day(int d) {
    return Value::dateTime(DateTime::fromQDate(QDate(2024, 5, d)));
}

VectorRows drivers() {
    VectorRows rows;
    const auto add = [&](int id, const char* name, Value licence, Value intl, Value date) {
        rows.append({Value::integer(id), name ? Value::text(QString::fromUtf8(name)) : Value(),
                     licence, intl, date});
    };
    add(1, "Яковлев", Value::integer(30), Value::boolean(true), day(3));
    add(2, "ёлкин", Value::integer(-5), Value::boolean(false), Value());
    add(3, "Андреев", Value(), Value(), day(1));
    add(4, "Ершов", Value::integer(30), Value::boolean(true), day(2));
    add(5, nullptr, Value::integer(7), Value::boolean(false), day(3));
    add(6, "Zimmer", Value::integer(7), Value::boolean(true), day(1));
    add(7, "Елисеев", Value::integer(100), Value::boolean(false), day(2));
    add(8, "андреев", Value::integer(7), Value::boolean(false), day(2));
    return rows;
}

std::vector<int> sortedIds(const char* sortText) {
    const VectorRows rows = drivers();
    std::vector<int> order(size_t(rows.rowCount()));
    std::iota(order.begin(), order.end(), 0);
    SortOrder::parse(QString::fromUtf8(sortText), fields()).sort(rows, order);
    std::vector<int> out;
    for (const int row : order)
        out.push_back(rows.value(row, 0).toInteger());
    return out;
}

QString refusal(const char* sortText) {
    try {
        SortOrder::parse(QString::fromUtf8(sortText), fields());
    } catch (const DatabaseError& e) {
        return e.message();
    }
    return QStringLiteral("(accepted)");
}

using V = std::vector<int>;

} // namespace

TEST(Sort, TextInRussianOrderEmptyFirst) {
    // Cyrillic before Latin, Ё beside Е (not after Я), lower case before upper among equals.
    EXPECT_EQ(sortedIds("[ФИО] ASC"), (V{5, 8, 3, 7, 2, 4, 1, 6}));
    EXPECT_EQ(sortedIds("[ФИО] DESC"), (V{6, 1, 4, 2, 7, 3, 8, 5}));
    EXPECT_EQ(sortedIds("фио"), sortedIds("[ФИО] ASC"));
}

TEST(Sort, NumbersDatesBooleansStable) {
    // Equal values keep the delivered order in both directions.
    EXPECT_EQ(sortedIds("[№ ВУ] ASC"), (V{3, 2, 5, 6, 8, 1, 4, 7}));
    EXPECT_EQ(sortedIds("[№ ВУ] DESC"), (V{7, 1, 4, 5, 6, 8, 2, 3}));
    EXPECT_EQ(sortedIds("[Отправка] ASC"), (V{2, 3, 6, 4, 7, 8, 1, 5}));
    EXPECT_EQ(sortedIds("[Межд ВУ] DESC"), (V{1, 4, 6, 2, 5, 7, 8, 3}));
    EXPECT_EQ(sortedIds("[Код] DESC"), (V{8, 7, 6, 5, 4, 3, 2, 1}));
    // Lists: the second key orders rows equal in the first.
    EXPECT_EQ(sortedIds("[№ ВУ] ASC, [Отправка] DESC"), (V{3, 2, 5, 8, 6, 1, 4, 7}));
    EXPECT_EQ(sortedIds("Межд ВУ, ФИО desc"), (V{3, 2, 7, 8, 5, 6, 1, 4}));
    EXPECT_EQ(sortedIds(""), (V{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(Sort, RefusedTexts) {
    EXPECT_EQ(refusal("[Сумма] DESC"), "Invalid sort: unknown column 'Сумма'");
    EXPECT_EQ(refusal("[ФИО DESC"), "Invalid sort: missing closing bracket ']' in '[ФИО DESC'");
    EXPECT_EQ(refusal("[ФИО] DOWN"), "Invalid sort: ASC or DESC expected instead of 'DOWN'");
    EXPECT_EQ(refusal("[ФИО],"), "Invalid sort: a column name expected in '[ФИО],'");
    EXPECT_EQ(refusal("[] ASC"), "Invalid sort: a column name expected in '[] ASC'");
    EXPECT_EQ(refusal("ФИО]"), "Invalid sort: 'ФИО]' is not a column name");
}
