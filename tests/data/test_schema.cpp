#include "data/Schema.h"
#include "data/Value.h"

#include <gtest/gtest.h>

using namespace kavelon;

TEST(Schema, createStatementsQuoteNamesAndDeclareKinds) {
    EXPECT_EQ(schema::createStatement(schema::settlements()),
              QStringLiteral("CREATE TABLE \"Населённые пункты\" (\"Наименование\" VARCHAR(30), "
                             "\"Растояние до НП\" INTEGER)"));
    const QString drivers = schema::createStatement(schema::drivers());
    EXPECT_TRUE(drivers.startsWith(
        QStringLiteral("CREATE TABLE \"Водители\" (\"Код\" INTEGER PRIMARY KEY AUTOINCREMENT, ")));
    EXPECT_TRUE(drivers.contains(QStringLiteral("\"Межд ВУ\" BOOLEAN")));
    EXPECT_EQ(schema::all().size(), 5u);
}

TEST(DateTimeValue, daysSinceZeroDateBothWays) {
    EXPECT_EQ(DateTime::fromQDate(QDate(1899, 12, 30)).days, 0.0);
    EXPECT_EQ(DateTime::fromQDate(QDate(1900, 1, 1)).days, 2.0);
    const DateTime noon{45000.5};
    EXPECT_EQ(noon.time(), QTime(12, 0));
    EXPECT_EQ(noon.toIsoText(), QStringLiteral("2023-03-15 12:00:00"));
    DateTime back;
    ASSERT_TRUE(DateTime::fromIsoText(QStringLiteral("2023-03-15 12:00:00"), back));
    EXPECT_EQ(back, noon);
    // Before the zero date the fraction still counts forward in the day.
    const DateTime early{-1.25};
    EXPECT_EQ(early.date(), QDate(1899, 12, 29));
    EXPECT_EQ(early.time(), QTime(6, 0));
    ASSERT_TRUE(DateTime::fromIsoText(early.toIsoText(), back));
    EXPECT_EQ(back, early);
    EXPECT_FALSE(DateTime::fromIsoText(QStringLiteral("вчера"), back));
}
