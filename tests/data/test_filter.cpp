// The filter language: what passes, what is refused.
#include "data/Errors.h"
#include "data/Filter.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace kavelon;

namespace {

const std::vector<ColumnSchema>& fields() {
    return schema::journal().columns;
}

Value text(const char* s) {
    return Value::text(QString::fromUtf8(s));
}

// ID, Отправка, Населённый пункт, Клиент, Водитель, Транспортное средство, Вес груза, Сумма
VectorRows journal() {
    VectorRows rows;
    const auto day = [](int y, int m, int d) {
        return Value::dateTime(DateTime::fromQDate(QDate(y, m, d)));
    };
    rows.append({Value::integer(1), day(2024, 1, 10), text("Тула"), text("Иванов и К"),
                 text("Петров"), text("ГАЗель"), Value::integer(100), Value::integer(5000)});
    rows.append({Value::integer(2), day(2024, 2, 1), text("Орёл"), text("ИВОЛГА"), text("Сидоров"),
                 text("КамАЗ"), Value::integer(2000), Value::integer(70000)});
    rows.append({Value::integer(3), day(2024, 3, 5), text("Тверь"), text("it's ours"),
                 text("Ёлкин"), text("MAN"), Value::integer(50), Value::integer(300)});
    rows.append(
        {Value::integer(4), Value(), Value(), Value(), text("Петров"), Value(), Value(), Value()});
    rows.append({Value::integer(5), day(2024, 3, 5), text("Тула"), text("скидка 50% и а*б"),
                 text("Ким"), text("ГАЗель"), Value::integer(10), Value::integer(999)});
    rows.append({Value::integer(6), day(2024, 4, 1), text("Тула"), text("Ива_нов [50]"),
                 text("ким"), text("КамАЗ"), Value::integer(10), Value::integer(1000)});
    return rows;
}

// IDs of the rows that pass.
std::vector<int> ids(const QString& filterText) {
    const VectorRows rows = journal();
    std::vector<int> out;
    for (const int row : RowFilter::parse(filterText, fields()).select(rows))
        out.push_back(rows.value(row, 0).toInteger());
    return out;
}

std::vector<int> ids(const char* filterText) {
    return ids(QString::fromUtf8(filterText));
}

QString refusal(const QString& filterText) {
    try {
        RowFilter::parse(filterText, fields());
    } catch (const DatabaseError& e) {
        return e.message();
    }
    return QStringLiteral("(accepted)");
}
QString refusal(const char* filterText) {
    return refusal(QString::fromUtf8(filterText));
}

using V = std::vector<int>;

} // namespace

TEST(Filter, EmptyTextAndTheJournalsLikeForm) {
    EXPECT_EQ(ids(""), (V{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(ids("   "), (V{1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(RowFilter::parse(QString(), fields()).passesEveryRow());
    // Case ignored for Cyrillic in both directions; the row without a customer never passes.
    EXPECT_EQ(ids(" Клиент Like '*ив*'"), (V{1, 2, 6}));
    EXPECT_EQ(ids(" Клиент Like '*ИВ*'"), (V{1, 2, 6}));
    EXPECT_EQ(ids(" клиент LIKE '*иволга*'"), (V{2}));
    EXPECT_EQ(ids(" Водитель Like '*ёлк*'"), (V{3}));
    EXPECT_EQ(ids(" Водитель Like '*КИМ*'"), (V{5, 6}));
    // The quote of "it's" arrives doubled.
    EXPECT_EQ(ids(" Клиент Like '*it''s*'"), (V{3}));
    // Nothing typed: every row with a customer.
    EXPECT_EQ(ids(" Клиент Like '**'"), (V{1, 2, 3, 5, 6}));
}

TEST(Filter, WildcardsOnlyAtTheEnds) {
    EXPECT_EQ(ids(" Клиент Like '*50%*'"), (V{5}));
    EXPECT_EQ(ids(" Клиент Like '*а*б*'"), (V{5}));
    EXPECT_EQ(ids(" Клиент Like '*а_б*'"), (V{}));
    EXPECT_EQ(ids(" Клиент Like '*ва_н*'"), (V{6}));
    EXPECT_EQ(ids(" Клиент Like '*[50]*'"), (V{6}));
    EXPECT_EQ(ids(" Клиент Like '*?*'"), (V{}));
    EXPECT_EQ(ids(" Клиент Like '*%*'"), (V{5}));
    EXPECT_EQ(ids(" Клиент Like '***'"), (V{5}));
    // Start, end, whole text; % as a wildcard at the ends.
    EXPECT_EQ(ids("Клиент Like 'ив*'"), (V{1, 2, 6}));
    EXPECT_EQ(ids("Клиент Like '%ours'"), (V{3}));
    EXPECT_EQ(ids("Клиент Like 'иволга'"), (V{2}));
    EXPECT_EQ(ids("Клиент Like 'ивол'"), (V{}));
}

TEST(Filter, ComparisonsNullAndLogic) {
    EXPECT_EQ(ids("Сумма > 999"), (V{1, 2, 6}));
    EXPECT_EQ(ids("[Сумма]>=1000 AND [Вес груза] < 1000"), (V{1, 6}));
    EXPECT_EQ(ids("Сумма <= 300 or Сумма = 70000"), (V{2, 3}));
    EXPECT_EQ(ids("Сумма <> 5000"), (V{2, 3, 5, 6}));
    EXPECT_EQ(ids("Сумма = '300'"), (V{3}));
    EXPECT_EQ(ids("ID > -1 and ID < 2.5"), (V{1, 2}));
    EXPECT_EQ(ids("Клиент = 'иволга'"), (V{2}));
    EXPECT_EQ(ids("Клиент > 'И' AND Клиент < 'К'"), (V{1, 2, 6}));
    EXPECT_EQ(ids("[Населённый пункт] = 'Тула' AND (Водитель = 'Ким' OR Сумма > 4000)"),
              (V{1, 5, 6}));
    EXPECT_EQ(ids("NOT (Сумма > 999)"), (V{3, 5}));
    EXPECT_EQ(ids("Клиент NOT LIKE '*ив*'"), (V{3, 5}));
    // Rows without a value: only Is Null / = Null selects them.
    EXPECT_EQ(ids("Клиент Is Null"), (V{4}));
    EXPECT_EQ(ids("Клиент = Null"), (V{4}));
    EXPECT_EQ(ids("Сумма is not null"), (V{1, 2, 3, 5, 6}));
    EXPECT_EQ(ids("Сумма <> NULL"), (V{1, 2, 3, 5, 6}));
    EXPECT_EQ(ids("Отправка = #2024-03-05#"), (V{3, 5}));
    EXPECT_EQ(ids("Отправка >= #05.03.2024# and Отправка < #4/1/2024#"), (V{3, 5}));
    EXPECT_EQ(ids("Отправка > '2024-03-31'"), (V{6}));
}

TEST(Filter, TextComparisonsFollowCollationIgnoringCase) {
    // Russian order puts Ё with Е, before Ж; "ким" and "Ким" are equal here.
    EXPECT_EQ(ids("Водитель < 'Ж'"), (V{3}));
    EXPECT_EQ(ids("Водитель >= 'к' AND Водитель < 'П'"), (V{5, 6}));
}

TEST(Filter, RefusedTextsSayWhy) {
    EXPECT_EQ(refusal(" Клиент Like '*ив*"), "Invalid filter: missing closing quote");
    EXPECT_EQ(refusal(" Заказчик Like '*ив*'"), "Invalid filter: unknown column 'Заказчик'");
    EXPECT_EQ(refusal("Клиент Like"),
              "Invalid filter: a quoted pattern expected after Like instead of end of the text");
    EXPECT_EQ(refusal("Сумма >"),
              "Invalid filter: a value expected after the operator instead of end of the text");
    EXPECT_EQ(refusal("Сумма > 5 AND"),
              "Invalid filter: a column name expected instead of end of the text");
    EXPECT_EQ(refusal("(Сумма > 5"), "Invalid filter: ')' expected instead of end of the text");
    EXPECT_EQ(refusal("Сумма > 5)"), "Invalid filter: unexpected ')'");
    EXPECT_EQ(refusal("[Вес груза > 5"), "Invalid filter: missing closing bracket ']'");
    EXPECT_EQ(refusal("Вес груза > 5"), "Invalid filter: unknown column 'Вес'");
    EXPECT_EQ(refusal("Отправка = #2024-01-01"), "Invalid filter: missing closing '#' of a date");
    EXPECT_EQ(refusal("Отправка = #31.02.2024#"),
              "Invalid filter: '31.02.2024' is not a valid date");
    EXPECT_EQ(
        refusal("Сумма = 'много'"),
        "Invalid filter: text 'много' cannot be compared with column 'Сумма' of kind Integer");
    EXPECT_EQ(refusal("Сумма Like '*5*'"),
              "Invalid filter: Like needs a text column, 'Сумма' is not one");
    EXPECT_EQ(refusal("Сумма > Null"), "Invalid filter: Null can only be compared with = or <>");
    EXPECT_EQ(refusal("Сумма => 5"), "Invalid filter: unknown operator '=>'");
    EXPECT_EQ(
        refusal("Клиент"),
        "Invalid filter: an operator expected after column 'Клиент' instead of end of the text");
    EXPECT_EQ(refusal("Сумма is 5"), "Invalid filter: Null expected after Is instead of '5'");
}

TEST(Filter, DepthAndLengthAreBounded) {
    // Deep enough to run the parser out of stack if nothing stopped it.
    const QString deep = QString(30000, u'(') + QStringLiteral("Сумма > 5") + QString(30000, u')');
    EXPECT_EQ(refusal(deep), "Invalid filter: parentheses and Not nested more than 100 deep");
    QString nots;
    for (int i = 0; i < 30000; ++i)
        nots += QStringLiteral("Not ");
    EXPECT_EQ(refusal(nots + QStringLiteral("Сумма > 5")),
              "Invalid filter: parentheses and Not nested more than 100 deep");
    QStringList chain(30000, QStringLiteral("Сумма > 5"));
    EXPECT_EQ(refusal(chain.join(QStringLiteral(" AND "))),
              "Invalid filter: more than 1000 conditions");
    // Within the bounds everything still reads.
    EXPECT_EQ(refusal(QString(100, u'(') + QStringLiteral("Not Сумма > 5") + QString(100, u')')),
              "Invalid filter: parentheses and Not nested more than 100 deep");
    EXPECT_EQ(refusal(QString(99, u'(') + QStringLiteral("Сумма > 5") + QString(99, u')')),
              "(accepted)");
    EXPECT_EQ(refusal(QStringList(1000, QStringLiteral("Сумма > 5")).join(QStringLiteral(" OR "))),
              "(accepted)");
}

// The journal's Like agrees with QString::contains ignoring case, for letters whose case is
// tricky (ß/ẞ, dotless i, the Kelvin sign, final sigma, Ё) and letters beyond the BMP.
TEST(Filter, LikeAgreesWithQtCaseInsensitiveContains) {
    const QString alphabet =
        QStringLiteral("aAßẞiIİıkKKsSſσΣςёЁеЕ%*_ ") + QString::fromUcs4(U"\U00010400\U00010428");
    QRandomGenerator random(7);
    const auto randomText = [&](int maxLength) {
        QString s;
        const int length = int(random.bounded(maxLength + 1));
        for (int i = 0; i < length; ++i)
            s += alphabet[qsizetype(random.bounded(int(alphabet.size())))];
        return s;
    };
    const std::vector<ColumnSchema> oneColumn{
        {QStringLiteral("Клиент"), FieldKind::WideString, 35}};
    VectorRows rows;
    for (int i = 0; i < 300; ++i)
        rows.append({Value::text(randomText(8))});
    for (int q = 0; q < 300; ++q) {
        QString needle = randomText(3);
        needle.remove(u'\''); // not in the alphabet; quotes are covered elsewhere
        const RowFilter filter =
            RowFilter::parse(QStringLiteral("Клиент Like '*%1*'").arg(needle), oneColumn);
        for (int row = 0; row < rows.rowCount(); ++row)
            ASSERT_EQ(filter.passes(rows, row),
                      rows.textAt(row, 0)->contains(needle, Qt::CaseInsensitive))
                << rows.textAt(row, 0)->toStdString() << " / " << needle.toStdString();
    }
}
