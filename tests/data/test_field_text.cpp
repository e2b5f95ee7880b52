// The field text rules: each kind shown and read back, the characters taken, the messages.
#include "data/Errors.h"
#include "data/FieldText.h"

#include <gtest/gtest.h>

using namespace kavelon;
using namespace kavelon::fieldtext;

namespace {

const QString distance = QStringLiteral("Растояние до НП");
const QString international = QStringLiteral("Межд ВУ");

// The message typed text raises, or "(accepted)".
QString message(const QString& typed, FieldKind kind, const QString& field) {
    try {
        parse(typed, kind, field);
    } catch (const ConversionError& e) {
        return e.message();
    }
    return QStringLiteral("(accepted)");
}

Value integerOf(const char* typed) {
    return parse(QString::fromUtf8(typed), FieldKind::Integer, distance);
}

Value at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return Value::dateTime(
        DateTime::fromQDateTime(QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC)));
}

} // namespace

TEST(FieldText, ShowingEachKind) {
    EXPECT_EQ(display(Value::integer(1234567), FieldKind::Integer), "1234567");
    EXPECT_EQ(display(Value::integer(-2147483647 - 1), FieldKind::AutoInc), "-2147483648");
    EXPECT_EQ(display(Value(), FieldKind::Integer), "");
    EXPECT_EQ(display(at(2024, 3, 5), FieldKind::DateTime), "05.03.2024");
    EXPECT_EQ(display(at(2024, 3, 5, 7, 8, 9), FieldKind::DateTime), "05.03.2024 07:08:09");
    EXPECT_EQ(display(at(1899, 12, 30), FieldKind::DateTime), "30.12.1899");
    EXPECT_EQ(display(Value::text(QStringLiteral("  Орёл ")), FieldKind::WideString), "  Орёл ");
    EXPECT_EQ(display(Value::boolean(true), FieldKind::Boolean), "True");
    EXPECT_EQ(display(Value::boolean(false), FieldKind::Boolean), "False");
    EXPECT_EQ(display(Value(), FieldKind::Boolean), "");

    EXPECT_EQ(alignment(FieldKind::Integer) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(alignment(FieldKind::AutoInc) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    for (const FieldKind k : {FieldKind::DateTime, FieldKind::WideString, FieldKind::Boolean})
        EXPECT_EQ(alignment(k) & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

TEST(FieldText, CharactersEachKindTakes) {
    for (const QChar c : QStringLiteral("+-0123456789"))
        EXPECT_TRUE(accepts(FieldKind::Integer, c)) << int(c.unicode());
    for (const QChar c : QStringLiteral("a $x. е"))
        EXPECT_FALSE(accepts(FieldKind::Integer, c)) << int(c.unicode());
    EXPECT_FALSE(accepts(FieldKind::AutoInc, u'1'));
    for (const FieldKind k : {FieldKind::DateTime, FieldKind::WideString, FieldKind::Boolean})
        for (const QChar c : QStringLiteral("a1 .:Ё'"))
            EXPECT_TRUE(accepts(k, c));
}

TEST(FieldText, TypedIntegers) {
    EXPECT_EQ(integerOf(""), Value());
    EXPECT_EQ(integerOf("2147483647"), Value::integer(2147483647));
    EXPECT_EQ(integerOf("-2147483648"), Value::integer(-2147483647 - 1));
    EXPECT_EQ(integerOf(" 12"), Value::integer(12));
    EXPECT_EQ(integerOf("   +7"), Value::integer(7));
    EXPECT_EQ(integerOf("-0"), Value::integer(0));
    EXPECT_EQ(integerOf("007"), Value::integer(7));
    EXPECT_EQ(integerOf("$7FFFFFFF"), Value::integer(2147483647));
    EXPECT_EQ(integerOf("$ff"), Value::integer(255));
    EXPECT_EQ(integerOf("x10"), Value::integer(16));
    EXPECT_EQ(integerOf("X1a"), Value::integer(26));
    EXPECT_EQ(integerOf("0x10"), Value::integer(16));
    EXPECT_EQ(integerOf("0XfF"), Value::integer(255));
    EXPECT_EQ(integerOf("-$80000000"), Value::integer(-2147483647 - 1));
    EXPECT_EQ(integerOf(" -x1"), Value::integer(-1));

    const auto refused = [](const char* typed) {
        const QString t = QString::fromUtf8(typed);
        return message(t, FieldKind::Integer, distance) ==
               QStringLiteral("'%1' is not a valid integer value for field 'Растояние до НП'")
                   .arg(t);
    };
    for (const char* bad : {"2147483648", "-2147483649", "99999999999999999999",
                            "-",          "+",           " ",
                            "12 ",        "1 2",         "a",
                            "1a",         "$",           "x",
                            "0x",         "$80000000",   "$FFFFFFFF",
                            "$100000000", "0x-1",        "--1",
                            "+-1",        "1.5",         "1e3",
                            "٣"})
        EXPECT_TRUE(refused(bad)) << bad;
    // The message quotes the text exactly, even one with a % sign in it.
    EXPECT_EQ(message(QStringLiteral("50%1"), FieldKind::Integer, distance),
              "'50%1' is not a valid integer value for field 'Растояние до НП'");
}

TEST(FieldText, TypedDatesAndTimes) {
    const auto read = [](const char* typed) {
        return parse(QString::fromUtf8(typed), FieldKind::DateTime, QStringLiteral("Отправка"));
    };
    EXPECT_EQ(read(""), Value());
    EXPECT_EQ(read("05.03.2024"), at(2024, 3, 5));
    EXPECT_EQ(read("5.3.2024"), at(2024, 3, 5));
    EXPECT_EQ(read(" 05.03.2024 "), at(2024, 3, 5));
    EXPECT_EQ(read("05.03.24"), at(2024, 3, 5));
    EXPECT_EQ(read("05.03.2024 7:08:09"), at(2024, 3, 5, 7, 8, 9));
    EXPECT_EQ(read("05.03.2024 17:08"), at(2024, 3, 5, 17, 8));
    EXPECT_EQ(read("29.02.2024"), at(2024, 2, 29));
    EXPECT_EQ(read("12:30"), at(1899, 12, 30, 12, 30));
    EXPECT_EQ(read("31.12.9999"), at(9999, 12, 31));
    EXPECT_EQ(read("01.01.0001"), at(1, 1, 1));
    // What is shown reads back as the same value.
    const Value v = at(2023, 12, 31, 23, 59, 58);
    EXPECT_EQ(read(display(v, FieldKind::DateTime).toUtf8().constData()), v);

    for (const char* bad : {"31.02.2024", "2024-03-05", "05/03/2024", "завтра", "05.03.2024 25:00",
                            "05.03.2024 12", "05..2024", "05.03.2024 12:30 x", " ",
                            // the database stores years 1 to 9999 only
                            "01.01.10000", "31.12.99999 10:00", "01.01.0000"})
        EXPECT_EQ(message(QString::fromUtf8(bad), FieldKind::DateTime, QStringLiteral("Отправка")),
                  QStringLiteral("'%1' is not a valid date and time").arg(QString::fromUtf8(bad)))
            << bad;
}

TEST(FieldText, TypedBooleansAndTexts) {
    const auto read = [](const char* typed) {
        return parse(QString::fromUtf8(typed), FieldKind::Boolean, international);
    };
    EXPECT_EQ(read(""), Value());
    EXPECT_EQ(read("t"), Value::boolean(true));
    EXPECT_EQ(read("f"), Value::boolean(false));
    EXPECT_EQ(read("tru"), Value::boolean(true));
    EXPECT_EQ(read("TRUE"), Value::boolean(true));
    EXPECT_EQ(read("fAlSe"), Value::boolean(false));
    for (const char* bad : {"x", "truth", "falsey", " t", "yes", "1", "да"})
        EXPECT_EQ(message(QString::fromUtf8(bad), FieldKind::Boolean, international),
                  QStringLiteral("'%1' is not a valid boolean value for field 'Межд ВУ'")
                      .arg(QString::fromUtf8(bad)))
            << bad;

    EXPECT_EQ(parse(QStringLiteral(" Иванов  "), FieldKind::WideString, QStringLiteral("ФИО")),
              Value::text(QStringLiteral(" Иванов  ")));
}
