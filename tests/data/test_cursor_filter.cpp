// Filter, Filtered, Sort and Locate on an open cursor: the rows a window sees, the current row,
// the notifications and the refusals.
#include "CursorFixture.h"

using namespace kavelon;
using namespace kavelon::test;

namespace {

const QString client = QStringLiteral("Клиент");
const QString likeIv = QStringLiteral(" Клиент Like '*ив*'");

class CursorFilter : public CursorTest {
protected:
    RecordingObserver observer; // outlives the cursor, which tells it when it goes
    std::unique_ptr<TableCursor> journal;

    void SetUp() override {
        CursorTest::SetUp();
        addOrder("Иванов", "Петров", 5000);    // ID 1
        addOrder("ООО Ива", "Сидоров", 70000); // 2
        addOrder("it''s ours", "Ёлкин", 300);  // 3
        addOrder("Яблоко", "Петров", 999);     // 4
        addOrder("ивушка", "ким", 1000);       // 5
        addOrder("Альфа", "Абрамов", 300);     // 6
        journal = open(schema::journalTable, schema::journal().columns);
        journal->addObserver(&observer);
    }

    void addOrder(const char* customer, const char* driver, int sum) {
        db.exec(QStringLiteral("INSERT INTO \"Журнал\" (\"Отправка\", \"Клиент\", \"Водитель\", "
                               "\"Сумма\") VALUES ('2024-05-01 00:00:00', '%1', '%2', %3)")
                    .arg(QString::fromUtf8(customer), QString::fromUtf8(driver))
                    .arg(sum));
    }

    // The IDs of the rows shown, in order.
    std::vector<int> ids() const {
        std::vector<int> out;
        for (int row = 0; row < journal->rowCount(); ++row)
            out.push_back(journal->valueAt(row, 0).toInteger());
        return out;
    }
    int currentId() { return journal->FieldByName(QStringLiteral("ID")).AsInteger(); }
    void filterAsTheJournalDoes(const QString& text) {
        journal->setFiltered(false);
        journal->setFilter(text);
        journal->setFiltered(true);
    }
};

using V = std::vector<int>;

} // namespace

TEST_F(CursorFilter, filterAndFilteredNarrowTheRowsAndMoveToTheFirst) {
    journal->MoveBy(3);
    journal->setFilter(likeIv); // kept only while Filtered is false
    EXPECT_EQ(journal->Filter(), likeIv);
    EXPECT_EQ(journal->RecordCount(), 6);
    EXPECT_EQ(journal->RecNo(), 4);
    observer.take();

    journal->setFiltered(true);
    EXPECT_EQ(observer.take(), "rows");
    EXPECT_EQ(ids(), (V{1, 2, 5}));
    EXPECT_EQ(journal->RecordCount(), 3);
    EXPECT_EQ(journal->RecNo(), 1);
    journal->Last();
    EXPECT_EQ(currentId(), 5);
    EXPECT_EQ(journal->RecNo(), 3);
    EXPECT_EQ(journal->MoveBy(5), 0);
    EXPECT_TRUE(journal->Eof());

    // The same text again: nothing happens, the row stays.
    observer.take();
    journal->setFilter(likeIv);
    journal->setFiltered(true);
    EXPECT_EQ(journal->RecNo(), 3);
    EXPECT_EQ(observer.take(), "");

    // The quote doubled; Cyrillic case ignored.
    filterAsTheJournalDoes(QStringLiteral(" Клиент Like '*IT''S*'"));
    EXPECT_EQ(ids(), (V{3}));
    filterAsTheJournalDoes(QStringLiteral(" Водитель Like '*ПЕТР*'"));
    EXPECT_EQ(ids(), (V{1, 4}));
    // An empty filter lets every row pass; switching off shows every row from the first.
    filterAsTheJournalDoes(QString());
    EXPECT_TRUE(journal->Filtered());
    EXPECT_EQ(journal->RecordCount(), 6);
    journal->setFilter(QStringLiteral("Сумма > 999"));
    EXPECT_EQ(ids(), (V{1, 2, 5}));
    journal->Next();
    journal->setFiltered(false);
    EXPECT_EQ(ids(), (V{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(journal->RecNo(), 1);
}

TEST_F(CursorFilter, refusedFiltersChangeNothing) {
    journal->MoveBy(2);
    journal->setFiltered(false);
    journal->setFilter(QStringLiteral(" Клиент Like '*ив"));
    observer.take();
    EXPECT_EQ(errorOf([&] { journal->setFiltered(true); }),
              "Invalid filter: missing closing quote");
    EXPECT_FALSE(journal->Filtered());
    EXPECT_EQ(journal->RecordCount(), 6);
    EXPECT_EQ(journal->RecNo(), 3);
    EXPECT_EQ(observer.take(), "");

    filterAsTheJournalDoes(likeIv);
    journal->Next();
    observer.take();
    EXPECT_EQ(errorOf([&] { journal->setFilter(QStringLiteral(" Заказчик Like '*ив*'")); }),
              "Invalid filter: unknown column 'Заказчик'");
    EXPECT_EQ(errorOf([&] { journal->setFilter(QStringLiteral("Сумма >")); }),
              "Invalid filter: a value expected after the operator instead of end of the text");
    EXPECT_EQ(journal->Filter(), likeIv);
    EXPECT_EQ(ids(), (V{1, 2, 5}));
    EXPECT_EQ(journal->RecNo(), 2);
    EXPECT_EQ(observer.take(), "");

    // A refused text leaves a pending change pending: nothing was stored or dropped.
    journal->Edit();
    journal->FieldByName(QStringLiteral("Сумма")).setAsInteger(1);
    EXPECT_FALSE(errorOf([&] { journal->setFilter(QStringLiteral("(")); }).isEmpty());
    EXPECT_EQ(journal->State(), dsEdit);
    journal->Cancel();

    // A closed cursor only keeps the text and the flag.
    TableCursor closed(QStringLiteral("ADOTable1"));
    closed.setFilter(QStringLiteral("Клиент Like"));
    closed.setFiltered(true);
    EXPECT_TRUE(closed.Filtered());
    EXPECT_EQ(closed.Filter(), "Клиент Like");
}

TEST_F(CursorFilter, browseModeCheckAndPostedRowsThatNoLongerPass) {
    filterAsTheJournalDoes(likeIv);
    // Changing the filter posts a changed row first.
    journal->Edit();
    journal->FieldByName(client).setAsString(QStringLiteral("Ивановы"));
    journal->setFilter(QStringLiteral(" Клиент Like '*ов*'"));
    EXPECT_EQ(journal->State(), dsBrowse);
    EXPECT_EQ(ids(), (V{1}));
    // Edited so that it no longer passes: it stays until the filter is next applied.
    journal->Edit();
    journal->FieldByName(client).setAsString(QStringLiteral("Петрова"));
    journal->Post();
    EXPECT_EQ(ids(), (V{1}));
    EXPECT_EQ(journal->FieldByName(client).AsString(), "Петрова");
    journal->setFilter(QStringLiteral(" Клиент Like '*ова*'"));
    EXPECT_EQ(ids(), (V{1}));
    journal->setFilter(QStringLiteral(" Клиент Like '*ив*'"));
    EXPECT_EQ(ids(), (V{2, 5}));
}

TEST_F(CursorFilter, requeryReappliesFilterAndSort) {
    filterAsTheJournalDoes(likeIv);
    journal->setSort(QStringLiteral("[Сумма] DESC"));
    journal->Last();
    addOrder("Ивантеевка", "Ким", 80000); // 7, written elsewhere
    addOrder("Вектор", "Ким", 90000);     // 8, does not pass
    EXPECT_EQ(ids(), (V{2, 1, 5}));
    observer.take();
    journal->Requery();
    EXPECT_EQ(observer.take(), "rows");
    EXPECT_TRUE(journal->Filtered());
    EXPECT_EQ(journal->Filter(), likeIv);
    EXPECT_EQ(journal->Sort(), "[Сумма] DESC");
    EXPECT_EQ(ids(), (V{7, 2, 1, 5}));
    EXPECT_EQ(journal->RecNo(), 1);
}

TEST_F(CursorFilter, sortOrdersByEachKindAndKeepsTheCurrentRow) {
    journal->MoveBy(3); // ID 4
    observer.take();
    journal->setSort(QStringLiteral("[Сумма] DESC"));
    EXPECT_EQ(observer.take(), "rows");
    EXPECT_EQ(ids(), (V{2, 1, 5, 4, 3, 6}));
    EXPECT_EQ(currentId(), 4);
    EXPECT_EQ(journal->RecNo(), 4);
    EXPECT_EQ(journal->Sort(), "[Сумма] DESC");
    journal->setSort(QStringLiteral("[Сумма] ASC"));
    EXPECT_EQ(ids(), (V{3, 6, 4, 5, 1, 2}));
    // Russian order; Latin after Cyrillic.
    journal->setSort(QStringLiteral("[Клиент] ASC"));
    EXPECT_EQ(ids(), (V{6, 1, 5, 2, 4, 3}));
    journal->setSort(QStringLiteral("[Водитель] DESC, [ID] ASC"));
    EXPECT_EQ(ids(), (V{2, 1, 4, 5, 3, 6}));
    EXPECT_EQ(currentId(), 4);
    // The filtered view is sorted too, and the empty sort brings back the delivered order.
    filterAsTheJournalDoes(likeIv);
    EXPECT_EQ(ids(), (V{2, 1, 5}));
    journal->setSort(QString());
    EXPECT_EQ(ids(), (V{1, 2, 5}));

    // Refused: sort and rows as they were.
    journal->setSort(QStringLiteral("[ID] DESC"));
    EXPECT_EQ(errorOf([&] { journal->setSort(QStringLiteral("[Сумм] DESC")); }),
              "Invalid sort: unknown column 'Сумм'");
    EXPECT_EQ(journal->Sort(), "[ID] DESC");
    EXPECT_EQ(ids(), (V{5, 2, 1}));

    TableCursor closed(QStringLiteral("ADOTable1"));
    EXPECT_EQ(errorOf([&] { closed.setSort(QStringLiteral("[ID] ASC")); }),
              "ADOTable1: Cannot perform this operation on a closed dataset");
}

TEST_F(CursorFilter, sortLeavesAPendingRowPendingAndCurrent) {
    journal->MoveBy(1); // ID 2
    journal->Insert();
    journal->FieldByName(client).setAsString(QStringLiteral("Борей"));
    journal->setSort(QStringLiteral("[Сумма] ASC"));
    EXPECT_EQ(journal->State(), dsInsert);
    EXPECT_EQ(journal->FieldByName(client).AsString(), "Борей");
    // The new row still stands before the row it was inserted at (ID 2, now last).
    EXPECT_EQ(journal->currentIndex(), 5);
    journal->Post();
    EXPECT_EQ(journal->FieldByName(client).AsString(), "Борей");
    EXPECT_EQ(journal->RecordCount(), 7);

    journal->First();
    journal->Edit();
    journal->FieldByName(QStringLiteral("Сумма")).setAsInteger(123456);
    journal->setSort(QStringLiteral("[Сумма] DESC"));
    EXPECT_EQ(journal->State(), dsEdit);
    EXPECT_EQ(currentId(), 3);
    EXPECT_EQ(journal->FieldByName(QStringLiteral("Сумма")).AsInteger(), 123456);
    journal->Cancel();
    EXPECT_EQ(currentId(), 3);
}

TEST_F(CursorFilter, locateFindsHeldRowsAndShowsOnlyThoseThatPass) {
    journal->Next();
    observer.take();
    EXPECT_FALSE(journal->Locate(client, Value::text(QStringLiteral("Вектор"))));
    EXPECT_EQ(currentId(), 2);
    EXPECT_EQ(observer.take(), "");
    EXPECT_TRUE(journal->Locate(client, Value::text(QStringLiteral("Яблоко"))));
    EXPECT_EQ(currentId(), 4);
    EXPECT_EQ(observer.take(), "rows");
    // Exact without the option, any case with it; partial key.
    EXPECT_FALSE(journal->Locate(client, Value::text(QStringLiteral("яблоко"))));
    EXPECT_TRUE(journal->Locate(client, Value::text(QStringLiteral("ИВУШКА")), loCaseInsensitive));
    EXPECT_EQ(currentId(), 5);
    EXPECT_TRUE(journal->Locate(client, Value::text(QStringLiteral("ив")),
                                loCaseInsensitive | loPartialKey));
    EXPECT_EQ(currentId(), 1); // "Иванов" before "ивушка" in key order
    EXPECT_TRUE(journal->Locate(QStringLiteral("Водитель;Сумма"),
                                {Value::text(QStringLiteral("Петров")), Value::integer(999)}));
    EXPECT_EQ(currentId(), 4);
    EXPECT_TRUE(journal->Locate(QStringLiteral("сумма"), Value::integer(300)));
    EXPECT_EQ(currentId(), 3);
    EXPECT_FALSE(
        journal->Locate(client, {Value::text(QStringLiteral("Иванов")), Value::integer(1)}));

    // A row that the filter hides is found but not shown: false, the row stays.
    filterAsTheJournalDoes(likeIv);
    journal->Last();
    EXPECT_FALSE(journal->Locate(client, Value::text(QStringLiteral("Яблоко"))));
    EXPECT_EQ(currentId(), 5);
    EXPECT_TRUE(journal->Locate(client, Value::text(QStringLiteral("ООО Ива"))));
    EXPECT_EQ(journal->RecNo(), 2);

    EXPECT_EQ(errorOf([&] { journal->Locate(QStringLiteral("Заказчик"), Value()); }),
              "ADOTable1: Field 'Заказчик' not found");
    TableCursor closed(QStringLiteral("ADOTable1"));
    EXPECT_EQ(errorOf([&] { closed.Locate(client, Value()); }),
              "ADOTable1: Cannot perform this operation on a closed dataset");
}

TEST_F(CursorFilter, searchCopyFollowsRequeryAndChanges) {
    const Value vector = Value::text(QStringLiteral("Вектор"));
    EXPECT_FALSE(journal->Locate(client, vector));
    addOrder("Вектор", "Ким", 1); // 7, written elsewhere: not seen before Requery
    EXPECT_FALSE(journal->Locate(client, vector));
    journal->Requery();
    EXPECT_TRUE(journal->Locate(client, vector));
    EXPECT_EQ(currentId(), 7);

    // Rows changed through the cursor itself are searched as they now stand.
    journal->Edit();
    journal->FieldByName(client).setAsString(QStringLiteral("Вектор-2"));
    journal->Post();
    EXPECT_FALSE(journal->Locate(client, vector));
    journal->Delete();
    EXPECT_FALSE(journal->Locate(client, Value::text(QStringLiteral("Вектор-2"))));
    journal->Append();
    journal->FieldByName(client).setAsString(QStringLiteral("Вектор"));
    // The browse-mode check of Locate posts the pending row, which is then found.
    EXPECT_TRUE(journal->Locate(client, vector));
    EXPECT_EQ(journal->State(), dsBrowse);
    EXPECT_EQ(journal->RecordCount(), 7);
}

TEST_F(CursorFilter, sortFollowsChangedRows) {
    journal->setSort(QStringLiteral("[Сумма] DESC"));
    EXPECT_EQ(ids(), (V{2, 1, 5, 4, 3, 6}));
    // A changed sum and a new order: the next sort sees them.
    journal->Last();
    journal->Edit();
    journal->FieldByName(QStringLiteral("Сумма")).setAsInteger(1000000);
    journal->Post();
    journal->Append();
    journal->FieldByName(QStringLiteral("Сумма")).setAsInteger(2000);
    journal->FieldByName(client).setAsString(QStringLiteral("Абвгд"));
    journal->Post();
    journal->setSort(QStringLiteral("[Сумма] ASC"));
    EXPECT_EQ(ids(), (V{3, 4, 5, 7, 1, 2, 6}));
    journal->setSort(QStringLiteral("[Клиент] ASC"));
    EXPECT_EQ(ids(), (V{7, 6, 1, 5, 2, 4, 3}));
    // Rows written elsewhere and read by Requery.
    addOrder("Ааа", "Ким", 1); // 8
    journal->Requery();
    EXPECT_EQ(ids(), (V{8, 7, 6, 1, 5, 2, 4, 3}));
    journal->First();
    journal->Delete();
    journal->setSort(QStringLiteral("[Клиент] DESC"));
    EXPECT_EQ(ids(), (V{3, 4, 2, 5, 1, 6, 7}));
}
