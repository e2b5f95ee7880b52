// Rows held by column, shared texts, and values made to fit a field's kind.
#include "data/Errors.h"
#include "data/RowStore.h"

#include <gtest/gtest.h>

using namespace kavelon;

TEST(RowStore, holdsValuesOfEveryKindAndSharesRepeatedTexts) {
    RowStore rows(
        {FieldKind::AutoInc, FieldKind::DateTime, FieldKind::WideString, FieldKind::Boolean});
    const int r = rows.append(7);
    EXPECT_EQ(rows.rowid(r), 7);
    for (int c = 0; c < 4; ++c)
        EXPECT_TRUE(rows.value(r, c).isNull());
    rows.setValue(r, 0, Value::integer(-5));
    rows.setValue(r, 1, Value::dateTime(DateTime{45000.25}));
    rows.setValue(r, 2, Value::text(QStringLiteral("Тверь")));
    rows.setValue(r, 3, Value::boolean(true));
    EXPECT_EQ(rows.value(r, 0), Value::integer(-5));
    EXPECT_EQ(rows.value(r, 1), Value::dateTime(DateTime{45000.25}));
    EXPECT_EQ(rows.value(r, 2), Value::text(QStringLiteral("Тверь")));
    EXPECT_EQ(rows.value(r, 3), Value::boolean(true));
    rows.setValue(r, 1, Value());
    EXPECT_TRUE(rows.isNull(r, 1));

    TextInterner interner;
    const QByteArray name = QStringLiteral("ООО Ромашка").toUtf8();
    const QString a = interner.get(name.constData(), int(name.size()));
    const QString b = interner.get(name.constData(), int(name.size()));
    EXPECT_EQ(a.constData(), b.constData());
    EXPECT_FALSE(interner.get("", 0).isNull());
    // Past a few thousand mostly distinct texts sharing stops; the texts stay right.
    for (int i = 0; i < 10000; ++i) {
        const QByteArray t = QByteArray::number(i);
        ASSERT_EQ(interner.get(t.constData(), int(t.size())), QString::number(i));
    }
}

TEST(RowStore, valuesAreMadeToFitTheFieldKind) {
    EXPECT_EQ(coerceToKind(Value::text(QStringLiteral("Мерседес-Бенц Актрос 1845")),
                           FieldKind::WideString, 20),
              Value::text(QStringLiteral("Мерседес-Бенц Актрос")));
    EXPECT_EQ(coerceToKind(Value::integer(42), FieldKind::WideString, 255),
              Value::text(QStringLiteral("42")));
    EXPECT_EQ(coerceToKind(Value::text(QStringLiteral(" 17")), FieldKind::Integer, 0),
              Value::integer(17));
    EXPECT_EQ(coerceToKind(Value::integer(0), FieldKind::Boolean, 0), Value::boolean(false));
    EXPECT_EQ(coerceToKind(Value::integer(2), FieldKind::DateTime, 0),
              Value::dateTime(DateTime{2.0}));
    EXPECT_TRUE(coerceToKind(Value(), FieldKind::Integer, 0).isNull());
    try {
        coerceToKind(Value::text(QStringLiteral("12a")), FieldKind::Integer, 0);
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'12a' is not a valid integer value"));
    }
}
