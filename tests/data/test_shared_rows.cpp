// Cursors opened on an unchanged file share the rows read once; each still sees only the rows it
// read and the changes made through itself until its own Requery.
#include "CursorFixture.h"
#include "data/Engine.h"

using namespace kavelon;
using namespace kavelon::test;

using SharedRows = CursorTest;

namespace {
const QString name = QStringLiteral("Наименование");

QStringList names(TableCursor& cursor) {
    QStringList out;
    const int field = cursor.FieldByName(name).index();
    for (int row = 0; row < cursor.rowCount(); ++row)
        out << cursor.valueAt(row, field).toText();
    return out;
}
} // namespace

TEST_F(SharedRows, aReadIsSharedOnlyWhileTheFileIsUnchanged) {
    addClient(QStringLiteral("А"));
    connection.Open();
    Engine& engine = connection.engine();
    const EngineTable clients = engine.describe(schema::clientsTable);
    const auto first = engine.sharedRows(clients);
    EXPECT_EQ(engine.sharedRows(clients), first);
    EXPECT_EQ(first->rowCount(), 1);

    // A change committed by another connection: read again.
    addClient(QStringLiteral("Б"));
    const auto afterTheirs = engine.sharedRows(clients);
    EXPECT_NE(afterTheirs, first);
    EXPECT_EQ(afterTheirs->rowCount(), 2);
    EXPECT_EQ(engine.sharedRows(clients), afterTheirs);

    // A change of this connection's own: read again too.
    engine.insert(clients, {{0, Value::text(QStringLiteral("В"))}});
    const auto afterOurs = engine.sharedRows(clients);
    EXPECT_NE(afterOurs, afterTheirs);
    EXPECT_EQ(afterOurs->rowCount(), 3);

    // A write that stores nothing leaves the file, and so the shared rows, as they were.
    EXPECT_THROW(engine.update(clients, 999, {{0, Value::text(QStringLiteral("Г"))}},
                               {{0, Value::text(QStringLiteral("В"))}}),
                 DatabaseError);
    EXPECT_EQ(engine.sharedRows(clients), afterOurs);
}

TEST_F(SharedRows, postsShowOnlyInTheirCursorAndInCursorsOpenedLater) {
    addClient(QStringLiteral("Б"));
    auto list = open(schema::clientsTable, schema::clients().columns);
    auto dialog = open(schema::clientsTable, {}, QStringLiteral("ADOTable2"));

    dialog->Append();
    dialog->FieldByName(name).setAsString(QStringLiteral("А"));
    dialog->Post();
    dialog->First();
    dialog->Edit();
    dialog->FieldByName(name).setAsString(QStringLiteral("Б1"));
    dialog->Post();
    EXPECT_EQ(names(*dialog), (QStringList{QStringLiteral("Б1"), QStringLiteral("А")}));
    EXPECT_EQ(names(*list), QStringList{QStringLiteral("Б")});

    auto later = open(schema::clientsTable, {}, QStringLiteral("ADOTable3"));
    EXPECT_EQ(names(*later), (QStringList{QStringLiteral("Б1"), QStringLiteral("А")}));

    // Deleting through one cursor leaves the row in the others.
    later->Last();
    later->Delete();
    EXPECT_EQ(names(*later), QStringList{QStringLiteral("Б1")});
    EXPECT_EQ(names(*dialog), (QStringList{QStringLiteral("Б1"), QStringLiteral("А")}));
    EXPECT_EQ(names(*list), QStringList{QStringLiteral("Б")});

    list->Requery();
    EXPECT_EQ(names(*list), QStringList{QStringLiteral("Б1")});
    EXPECT_EQ(names(*dialog), (QStringList{QStringLiteral("Б1"), QStringLiteral("А")}));
}

TEST_F(SharedRows, rowsWrittenByAnotherConnectionShowInCursorsOpenedAfterThem) {
    addClient(QStringLiteral("А"));
    auto before = open(schema::clientsTable);
    db.exec(QStringLiteral("UPDATE \"Клиенты\" SET \"Наименование\" = 'А1'"));
    addClient(QStringLiteral("Б"));
    auto after = open(schema::clientsTable, {}, QStringLiteral("ADOTable2"));
    EXPECT_EQ(names(*before), QStringList{QStringLiteral("А")});
    EXPECT_EQ(names(*after), (QStringList{QStringLiteral("А1"), QStringLiteral("Б")}));

    // The cursor that read the old row still names it by what it read.
    before->Edit();
    before->FieldByName(name).setAsString(QStringLiteral("А2"));
    EXPECT_TRUE(errorOf([&] { before->Post(); }).contains(QStringLiteral("changed or deleted")));
    before->Cancel();
    before->Requery();
    EXPECT_EQ(names(*before), names(*after));
}

TEST_F(SharedRows, pendingChangesStayInTheirCursorAndAreDroppedAtTheEnd) {
    addClient(QStringLiteral("А"));
    addClient(QStringLiteral("Б"));
    auto other = open(schema::clientsTable, {}, QStringLiteral("ADOTable2"));
    {
        auto editing = open(schema::clientsTable);
        editing->Edit();
        editing->FieldByName(name).setAsString(QStringLiteral("изменён"));
        auto inserting = open(schema::clientsTable, {}, QStringLiteral("ADOTable3"));
        inserting->Insert();
        inserting->FieldByName(name).setAsString(QStringLiteral("новый"));
        EXPECT_EQ(inserting->rowCount(), 3);
        EXPECT_EQ(names(*other), (QStringList{QStringLiteral("А"), QStringLiteral("Б")}));
        EXPECT_EQ(other->FieldByName(name).AsString(), QStringLiteral("А"));
    }
    EXPECT_EQ(names(*other), (QStringList{QStringLiteral("А"), QStringLiteral("Б")}));
    EXPECT_EQ(db.query(QStringLiteral("SELECT \"Наименование\" FROM \"Клиенты\"")),
              (QStringList{QStringLiteral("А"), QStringLiteral("Б")}));
    EXPECT_EQ(names(*open(schema::clientsTable)),
              (QStringList{QStringLiteral("А"), QStringLiteral("Б")}));
}

TEST_F(SharedRows, sortFilterAndLocateWorkOverReadAndOwnRowsAlike) {
    for (const char* n : {"Г", "А", "В"})
        addClient(QString::fromUtf8(n));
    auto shared = open(schema::clientsTable, {}, QStringLiteral("ADOTable2"));
    auto clients = open(schema::clientsTable);
    clients->Append();
    clients->FieldByName(name).setAsString(QStringLiteral("Б"));
    clients->Post();
    clients->First(); // "Г", a read row, changed: it becomes the cursor's own
    clients->Edit();
    clients->FieldByName(name).setAsString(QStringLiteral("Д"));
    clients->Post();
    clients->setSort(QStringLiteral("[Наименование] DESC"));
    EXPECT_EQ(names(*clients), (QStringList{QStringLiteral("Д"), QStringLiteral("В"),
                                            QStringLiteral("Б"), QStringLiteral("А")}));
    EXPECT_EQ(clients->FieldByName(name).AsString(), QStringLiteral("Д"));
    EXPECT_TRUE(clients->Locate(name, Value::text(QStringLiteral("Б"))));
    EXPECT_EQ(clients->RecNo(), 3);
    EXPECT_FALSE(clients->Locate(name, Value::text(QStringLiteral("Г"))));
    clients->setFilter(QStringLiteral(" Наименование Like '*Д*'"));
    clients->setFiltered(true);
    EXPECT_EQ(names(*clients), QStringList{QStringLiteral("Д")});

    shared->setSort(QStringLiteral("[Наименование] DESC"));
    EXPECT_EQ(names(*shared),
              (QStringList{QStringLiteral("Г"), QStringLiteral("В"), QStringLiteral("А")}));
    EXPECT_TRUE(shared->Locate(name, Value::text(QStringLiteral("Г"))));
}
