#include "CursorFixture.h"

using namespace kavelon;
using namespace kavelon::test;

using CursorBasics = CursorTest;

TEST_F(CursorBasics, opensReadsAndPostsNewRows) {
    addClient(QStringLiteral("ООО Ромашка"));
    addClient(QStringLiteral("ИП Иванов"));
    auto clients = open(schema::clientsTable);
    EXPECT_EQ(clients->State(), dsBrowse);
    EXPECT_EQ(clients->RecordCount(), 2);
    EXPECT_EQ(clients->FieldByName(QStringLiteral("НАИМЕНОВАНИЕ")).AsString(),
              QStringLiteral("ООО Ромашка"));

    clients->Append();
    clients->FieldByName(QStringLiteral("Наименование")).setAsString(QStringLiteral("АО Вектор"));
    clients->Post();
    EXPECT_EQ(clients->RecNo(), 3);

    auto again = open(schema::clientsTable);
    EXPECT_EQ(again->RecordCount(), 3);
    again->Last();
    EXPECT_EQ(again->FieldByName(QStringLiteral("Наименование")).AsString(),
              QStringLiteral("АО Вектор"));
}
