// Cursors opened on an unchanged file share the rows read once and the list of them; each still
// sees only the rows it read and the changes made through itself until its own Requery.
#include "CursorFixture.h"
#include "data/Engine.h"
#include "data/HeldRows.h"
#include "data/RowList.h"

#include <random>

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

// ---- the lists of row numbers the cursors on one read share -----------------------------------

TEST(RowLists, aListIsCopiedForTheHolderThatChangesItWhileAnotherHoldsIt) {
    RowList read(std::vector<int>{0, 1, 2});
    RowList mine = read;
    EXPECT_TRUE(mine.sharesWith(read));
    mine.own().push_back(3);
    EXPECT_FALSE(mine.sharesWith(read));
    EXPECT_EQ(read.rows(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(mine.rows(), (std::vector<int>{0, 1, 2, 3}));
    // Held alone, a list changes in place: a cursor's second insert copies nothing.
    const int* alone = mine.own().data();
    mine.own()[0] = 7;
    EXPECT_EQ(mine.own().data(), alone);
    RowList none;
    none.own().push_back(5);
    EXPECT_EQ(none.rows(), std::vector<int>{5});
}

TEST_F(SharedRows, holdersOfOneReadShareItsListUntilTheyHoldRowsOfTheirOwn) {
    for (const char* n : {"А", "Б", "В"})
        addClient(QString::fromUtf8(n));
    connection.Open();
    Engine& engine = connection.engine();
    const auto read = engine.sharedRows(engine.describe(schema::clientsTable));
    HeldRows first(read), second(read);
    EXPECT_TRUE(first.allRows().sharesWith(second.allRows()));
    EXPECT_EQ(first.allRows().rows(), (std::vector<int>{0, 1, 2}));
    first.append(99);
    EXPECT_EQ(first.allRows().rows(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(second.allRows().sharesWith(read->rowList()));
    EXPECT_EQ(read->rowList().size(), 3u);
    EXPECT_TRUE(
        HeldRows(engine.sharedRows(engine.describe(schema::driversTable))).allRows().empty());
}

namespace {
QStringList list(const char* spaced) {
    return QString::fromUtf8(spaced).split(u' ', Qt::SkipEmptyParts);
}

// Four clients and three cursors on them, as the windows open them at start-up.
class ThreeCursors : public CursorTest {
protected:
    std::unique_ptr<TableCursor> a, b, c;
    const QStringList read = list("А Б В Г");

    void SetUp() override {
        CursorTest::SetUp();
        for (const QString& n : read)
            addClient(n);
        a = open(schema::clientsTable);
        b = open(schema::clientsTable, {}, QStringLiteral("ADOTable2"));
        c = open(schema::clientsTable, {}, QStringLiteral("ADOTable3"));
    }
    static QString at(TableCursor& cursor) { return cursor.FieldByName(name).AsString(); }
    static void post(TableCursor& cursor, void (TableCursor::*begin)(), const char* value) {
        (cursor.*begin)();
        cursor.FieldByName(name).setAsString(QString::fromUtf8(value));
        cursor.Post();
    }
    QStringList inFile() const {
        return db.query(QStringLiteral("SELECT \"Наименование\" FROM \"Клиенты\" ORDER BY rowid"));
    }
};
} // namespace

TEST_F(ThreeCursors, insertEditAndDeleteShowOnlyInTheirCursorUntilTheOthersRequery) {
    b->moveTo(2);
    a->moveTo(1);
    post(*a, &TableCursor::Insert, "Аа");
    EXPECT_EQ(names(*a), list("А Аа Б В Г"));
    EXPECT_EQ(a->RecNo(), 2);
    EXPECT_EQ(at(*a), QStringLiteral("Аа"));
    a->moveTo(3);
    post(*a, &TableCursor::Edit, "В2");
    EXPECT_EQ(a->RecNo(), 4);
    a->Last();
    a->Delete();
    EXPECT_EQ(names(*a), list("А Аа Б В2"));
    EXPECT_EQ(at(*a), QStringLiteral("В2"));
    EXPECT_EQ(names(*b), read);
    EXPECT_EQ(b->RecNo(), 3);
    EXPECT_EQ(at(*b), QStringLiteral("В"));

    b->moveTo(1);
    post(*b, &TableCursor::Edit, "Б2");
    EXPECT_EQ(names(*b), list("А Б2 В Г"));
    EXPECT_EQ(names(*a), list("А Аа Б В2"));
    EXPECT_EQ(names(*c), read);
    c->Requery();
    EXPECT_EQ(names(*c), list("А Б2 В2 Аа"));
    EXPECT_EQ(c->RecNo(), 1);
}

TEST_F(ThreeCursors, oneCursorsSortAndFilterLeaveTheOthersOrderAndPositions) {
    b->Last();
    a->setSort(QStringLiteral("[Наименование] DESC"));
    a->setFilter(QStringLiteral(" Наименование <> 'В'"));
    a->setFiltered(true);
    EXPECT_EQ(names(*a), list("Г Б А"));
    EXPECT_EQ(names(*b), read);
    EXPECT_EQ(at(*b), QStringLiteral("Г"));
    post(*b, &TableCursor::Append, "Д");
    c->Delete();
    EXPECT_EQ(names(*a), list("Г Б А"));

    // Back to no sort and no filter, a's own changes go where they belong.
    a->setSort(QString());
    EXPECT_EQ(names(*a), list("А Б Г"));
    a->setFiltered(false);
    EXPECT_EQ(names(*a), read);
    a->moveTo(2);
    post(*a, &TableCursor::Insert, "Бб");
    a->setSort(QStringLiteral("[Наименование] DESC"));
    a->setSort(QString());
    EXPECT_EQ(names(*a), list("А Б Бб В Г"));
    EXPECT_EQ(at(*a), QStringLiteral("Бб"));
    EXPECT_EQ(names(*b), list("А Б В Г Д"));
    EXPECT_EQ(names(*c), list("Б В Г"));
}

TEST_F(ThreeCursors, anEmptiedCursorAndCursorsOnAnEmptyTableKeepTheirRowsApart) {
    for (int i = 0; i < 4; ++i) {
        a->Last();
        a->Delete();
    }
    EXPECT_TRUE(a->IsEmpty());
    EXPECT_EQ(a->RecNo(), -1);
    EXPECT_TRUE(a->Bof() && a->Eof());
    EXPECT_EQ(names(*b), read);
    EXPECT_EQ(at(*b), QStringLiteral("А"));

    // The table is empty now: cursors opened on it share an empty read.
    auto d = open(schema::clientsTable, {}, QStringLiteral("ADOTable4"));
    auto e = open(schema::clientsTable, {}, QStringLiteral("ADOTable5"));
    post(*d, &TableCursor::Append, "Е");
    post(*d, &TableCursor::Insert, "Ж");
    EXPECT_EQ(names(*d), list("Ж Е"));
    EXPECT_TRUE(e->IsEmpty());
    EXPECT_TRUE(a->IsEmpty());
    e->Requery();
    EXPECT_EQ(names(*e), list("Е Ж"));
    EXPECT_EQ(names(*c), read);
}

TEST_F(ThreeCursors, aRequeryAfterAnothersPostSharesTheNewReadWithCursorsOpenedAfterIt) {
    post(*a, &TableCursor::Append, "Д");
    b->Last();
    b->Requery();
    EXPECT_EQ(names(*b), list("А Б В Г Д"));
    EXPECT_EQ(b->RecNo(), 1);
    auto later = open(schema::clientsTable, {}, QStringLiteral("ADOTable4"));
    b->Last();
    post(*b, &TableCursor::Edit, "Д2");
    b->First();
    b->Delete();
    EXPECT_EQ(names(*b), list("Б В Г Д2"));
    EXPECT_EQ(names(*later), list("А Б В Г Д"));
    EXPECT_EQ(names(*c), read);
}

TEST_F(ThreeCursors, endingWithoutPostDropsThePendingRowAndLeavesTheOthersAsTheyWere) {
    a->moveTo(1);
    a->Insert();
    a->FieldByName(name).setAsString(QStringLiteral("новый"));
    a->Close();
    b->Edit();
    b->FieldByName(name).setAsString(QStringLiteral("изменён"));
    b->setActive(false);
    c->moveTo(2);
    c->Insert();
    c->FieldByName(name).setAsString(QStringLiteral("ещё"));
    c->Cancel();
    EXPECT_EQ(names(*c), read);
    EXPECT_EQ(at(*c), QStringLiteral("В"));
    EXPECT_EQ(inFile(), read);
    a->Open();
    EXPECT_EQ(names(*a), read);
}

// Many changes through one cursor, unsorted, sorted and filtered in turn: it always holds what
// the file holds, and the cursors beside it what they read.
TEST_F(ThreeCursors, aLongRunOfChangesThroughOneCursorKeepsItsRowsTheFilesAndTheOthersAsRead) {
    std::mt19937 random(20240611);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    int made = 0;
    for (int step = 0; step < 200; ++step) {
        const int rows = a->rowCount();
        if (rows > 0)
            a->moveTo(pick(rows));
        const QString value = QStringLiteral("з%1").arg(++made);
        switch (pick(6)) {
        case 0:
        case 1:
            post(*a, pick(2) ? &TableCursor::Insert : &TableCursor::Append,
                 value.toUtf8().constData());
            EXPECT_EQ(at(*a), value);
            break;
        case 2:
            post(*a, &TableCursor::Edit, value.toUtf8().constData());
            EXPECT_EQ(at(*a), value);
            break;
        case 3:
            if (rows > 0)
                a->Delete();
            EXPECT_EQ(a->rowCount(), std::max(rows - 1, 0));
            break;
        case 4:
            a->setSort(pick(2) ? QString() : QStringLiteral("[Наименование] DESC"));
            break;
        case 5:
            a->setFilter(QStringLiteral(" Наименование Like '*%1*'").arg(pick(10)));
            a->setFiltered(pick(3) == 0);
            break;
        }
        if (!a->Filtered()) {
            QStringList held = names(*a), file = inFile();
            held.sort();
            file.sort();
            ASSERT_EQ(held, file) << "step " << step;
        }
    }
    a->setFiltered(false);
    a->setSort(QString());
    a->Requery();
    EXPECT_EQ(names(*a), inFile());
    EXPECT_EQ(names(*b), read);
    EXPECT_EQ(names(*c), read);
}
