// What a window sees of a cursor: states, positions, messages and the rows in the file.
#include "CursorFixture.h"

using namespace kavelon;
using namespace kavelon::test;

using CursorBasics = CursorTest;

namespace {
const QString name = QStringLiteral("Наименование");
}

TEST_F(CursorBasics, opensReadsAndPostsNewRows) {
    addClient(QStringLiteral("ООО Ромашка"));
    addClient(QStringLiteral("ИП Иванов"));
    auto clients = open(schema::clientsTable);
    EXPECT_EQ(clients->State(), dsBrowse);
    EXPECT_EQ(clients->RecordCount(), 2);
    EXPECT_TRUE(clients->CanModify());
    EXPECT_EQ(clients->RecNo(), 1);
    EXPECT_EQ(clients->FieldByName(QStringLiteral("НАИМЕНОВАНИЕ")).AsString(),
              QStringLiteral("ООО Ромашка"));

    clients->Append();
    EXPECT_EQ(clients->RecNo(), -1);
    EXPECT_FALSE(clients->Modified());
    clients->FieldByName(name).setAsString(QStringLiteral("АО Вектор"));
    EXPECT_TRUE(clients->Modified());
    clients->Post();
    EXPECT_EQ(clients->RecNo(), 3);
    EXPECT_FALSE(clients->Modified());

    auto again = open(schema::clientsTable);
    EXPECT_EQ(again->RecordCount(), 3);
    again->Last();
    EXPECT_EQ(again->FieldByName(name).AsString(), QStringLiteral("АО Вектор"));
}

TEST_F(CursorBasics, emptyTextIsNotAnEmptyField) {
    db.exec(
        QStringLiteral("INSERT INTO \"Клиенты\" (\"Наименование\", \"Адрес\") VALUES ('А', '')"));
    auto clients = open(schema::clientsTable);
    EXPECT_FALSE(clients->FieldByName(QStringLiteral("Адрес")).IsNull());
    EXPECT_TRUE(clients->FieldByName(QStringLiteral("Телефон")).IsNull());
    clients->Edit();
    clients->FieldByName(QStringLiteral("Адрес")).Clear(); // emptied: written as empty
    clients->FieldByName(QStringLiteral("Телефон")).setAsString(QString());
    clients->Post();
    EXPECT_EQ(db.query(QStringLiteral(
                  "SELECT coalesce(\"Адрес\", 'NULL') || '|' || \"Телефон\" FROM \"Клиенты\"")),
              QStringList{QStringLiteral("NULL|")});
}

TEST_F(CursorBasics, insertStandsBeforeTheCurrentRowAndCancelRestoresIt) {
    for (const char* n : {"А", "Б", "В"})
        addClient(QString::fromUtf8(n));
    auto clients = open(schema::clientsTable);
    clients->Next();
    clients->Insert();
    EXPECT_EQ(clients->State(), dsInsert);
    EXPECT_EQ(clients->currentIndex(), 1);
    EXPECT_EQ(clients->rowCount(), 4);
    EXPECT_TRUE(clients->valueAt(1, 0).isNull());
    EXPECT_EQ(clients->valueAt(2, 0).toText(), QStringLiteral("Б"));
    clients->Cancel();
    EXPECT_EQ(clients->State(), dsBrowse);
    EXPECT_EQ(clients->RecNo(), 2);
    EXPECT_EQ(clients->FieldByName(name).AsString(), QStringLiteral("Б"));

    clients->Insert();
    clients->FieldByName(name).setAsString(QStringLiteral("Аа"));
    clients->Post();
    EXPECT_EQ(clients->RecNo(), 2);
    EXPECT_EQ(clients->FieldByName(name).AsString(), QStringLiteral("Аа"));
    clients->Next();
    EXPECT_EQ(clients->FieldByName(name).AsString(), QStringLiteral("Б"));

    clients->First();
    clients->Append();
    clients->Cancel();
    EXPECT_EQ(clients->RecNo(), 4); // after Append, Cancel leaves the last row current
}

TEST_F(CursorBasics, gridMovesAroundAPendingNewRow) {
    for (const char* n : {"А", "Б", "В", "Г"})
        addClient(QString::fromUtf8(n));
    auto clients = open(schema::clientsTable);
    clients->Next();
    clients->Insert(); // stands at position 1
    clients->FieldByName(name).setAsString(QStringLiteral("Новый"));
    EXPECT_EQ(clients->valueAt(1, 0).toText(), QStringLiteral("Новый"));
    clients->moveTo(3); // the row shown at 3 is "В": the new row is posted, then "В" is current
    EXPECT_EQ(clients->State(), dsBrowse);
    EXPECT_EQ(clients->FieldByName(name).AsString(), QStringLiteral("В"));
    EXPECT_EQ(clients->RecNo(), 4);
    EXPECT_EQ(clients->valueAt(1, 0).toText(), QStringLiteral("Новый"));

    clients->Insert(); // untouched: dropped, the rows after it move back up
    clients->moveTo(5);
    EXPECT_EQ(clients->FieldByName(name).AsString(), QStringLiteral("Г"));
    EXPECT_EQ(clients->RecNo(), 5);
    clients->Edit();
    clients->FieldByName(name).setAsString(QStringLiteral("Г1"));
    EXPECT_EQ(clients->valueAt(4, 0).toText(), QStringLiteral("Г1"));
    EXPECT_EQ(clients->MoveBy(-10), -4);
    EXPECT_TRUE(clients->Bof());
    EXPECT_EQ(clients->RecordCount(), 5);
    EXPECT_EQ(open(schema::clientsTable)->RecordCount(), 5);
}

TEST_F(CursorBasics, editOnEmptyCursorInsertsAndDeleteInInsertDeletesNothing) {
    auto clients = open(schema::clientsTable);
    EXPECT_TRUE(clients->IsEmpty());
    EXPECT_EQ(clients->RecNo(), -1);
    EXPECT_EQ(errorOf([&] { clients->Delete(); }),
              QStringLiteral("ADOTable1: Cannot perform this operation on an empty dataset"));
    clients->Edit();
    EXPECT_EQ(clients->State(), dsInsert);
    clients->FieldByName(name).setAsString(QStringLiteral("Новый"));
    clients->Delete();
    EXPECT_EQ(clients->State(), dsBrowse);
    EXPECT_EQ(clients->RecordCount(), 0);
    EXPECT_EQ(open(schema::clientsTable)->RecordCount(), 0);
}

TEST_F(CursorBasics, deletingLastAndOnlyRows) {
    for (const char* n : {"А", "Б", "В"})
        addClient(QString::fromUtf8(n));
    auto clients = open(schema::clientsTable);
    clients->Last();
    clients->Delete();
    EXPECT_EQ(clients->RecordCount(), 2);
    EXPECT_EQ(clients->RecNo(), 2);
    EXPECT_EQ(clients->FieldByName(name).AsString(), QStringLiteral("Б"));
    clients->First();
    clients->Delete(); // the next row becomes current
    EXPECT_EQ(clients->FieldByName(name).AsString(), QStringLiteral("Б"));
    clients->Delete();
    EXPECT_EQ(clients->RecordCount(), 0);
    EXPECT_EQ(clients->RecNo(), -1);
    EXPECT_TRUE(clients->FieldByName(name).IsNull());
    EXPECT_EQ(open(schema::clientsTable)->RecordCount(), 0);

    // Delete while editing deletes the row as read and drops the change.
    addClient(QStringLiteral("Г"));
    clients->Requery();
    clients->Edit();
    clients->FieldByName(name).setAsString(QStringLiteral("изменён"));
    clients->Delete();
    EXPECT_EQ(clients->State(), dsBrowse);
    EXPECT_EQ(open(schema::clientsTable)->RecordCount(), 0);
}

TEST_F(CursorBasics, browseModeCheckPostsTypedRowsAndDropsUntouchedOnes) {
    auto clients = open(schema::clientsTable);
    clients->Insert();
    clients->Insert(); // nothing typed: dropped
    EXPECT_EQ(clients->rowCount(), 1);
    clients->FieldByName(name).setAsString(QStringLiteral("Первый"));
    clients->Insert(); // typed: written first
    EXPECT_EQ(clients->State(), dsInsert);
    EXPECT_EQ(clients->RecordCount(), 1);
    EXPECT_EQ(open(schema::clientsTable)->RecordCount(), 1);
    clients->Cancel();

    // Requery writes a pending change first, then shows the first row.
    addClient(QStringLiteral("Второй"));
    clients->Edit();
    clients->FieldByName(name).setAsString(QStringLiteral("Первый исправлен"));
    clients->Requery();
    EXPECT_EQ(clients->State(), dsBrowse);
    EXPECT_EQ(clients->RecordCount(), 2);
    EXPECT_EQ(clients->RecNo(), 1);
    EXPECT_EQ(clients->FieldByName(name).AsString(), QStringLiteral("Первый исправлен"));

    // Moves run the check too; an Edit without a change is simply dropped.
    clients->Edit();
    clients->Next();
    EXPECT_EQ(clients->State(), dsBrowse);
    EXPECT_EQ(clients->RecNo(), 2);
}

TEST_F(CursorBasics, postOutsideEditingAndRefusedPostKeepingThePendingRow) {
    db.exec(QStringLiteral(
        "DROP TABLE \"Клиенты\"; CREATE TABLE \"Клиенты\" (\"Наименование\" VARCHAR(35) NOT NULL, "
        "\"ФИО Директора\" VARCHAR(40), \"Адрес\" VARCHAR(55), \"Телефон\" VARCHAR(255) DEFAULT "
        "'нет')"));
    auto clients = open(schema::clientsTable);
    EXPECT_EQ(errorOf([&] { clients->Post(); }),
              QStringLiteral("ADOTable1: Dataset not in edit or insert mode"));
    EXPECT_EQ(errorOf([&] { clients->FieldByName(name).setAsString(QStringLiteral("x")); }),
              QStringLiteral("ADOTable1: Dataset not in edit or insert mode"));

    clients->Insert();
    clients->FieldByName(QStringLiteral("Адрес")).setAsString(QStringLiteral("Тверь"));
    const QString refusal = errorOf([&] { clients->Post(); });
    EXPECT_TRUE(refusal.contains(QStringLiteral("NOT NULL"))) << refusal.toStdString();
    EXPECT_FALSE(refusal.startsWith(QStringLiteral("ADOTable1")));
    EXPECT_FALSE(refusal.endsWith(QLatin1Char('.')));
    EXPECT_EQ(clients->State(), dsInsert);
    EXPECT_TRUE(clients->Modified());
    EXPECT_EQ(clients->FieldByName(QStringLiteral("Адрес")).AsString(), QStringLiteral("Тверь"));

    clients->FieldByName(name).setAsString(QStringLiteral("ЗАО Нива"));
    clients->Post();
    EXPECT_EQ(clients->State(), dsBrowse);
    // The default the file gives an unassigned column is seen at once.
    EXPECT_EQ(clients->FieldByName(QStringLiteral("Телефон")).AsString(), QStringLiteral("нет"));
    EXPECT_EQ(open(schema::clientsTable)->FieldByName(QStringLiteral("Адрес")).AsString(),
              QStringLiteral("Тверь"));
}

TEST_F(CursorBasics, newOrderGetsItsNumberAndEditChangesThatRow) {
    auto journal = open(schema::journalTable, schema::journal().columns);
    journal->Insert();
    journal->FieldByName(QStringLiteral("Клиент")).setAsString(QStringLiteral("ООО Ромашка"));
    journal->FieldByName(QStringLiteral("Вес груза")).setAsInteger(1200);
    journal->FieldByName(QStringLiteral("Отправка"))
        .setAsDateTime(DateTime::fromQDate(QDate(2024, 3, 1)));
    // A make of 25 characters is cut to the column's 20.
    journal->FieldByName(QStringLiteral("Транспортное средство"))
        .setAsString(QStringLiteral("Мерседес-Бенц Актрос 1845"));
    EXPECT_EQ(journal->FieldByName(QStringLiteral("Транспортное средство")).AsString(),
              QStringLiteral("Мерседес-Бенц Актрос"));
    EXPECT_EQ(errorOf([&] { journal->FieldByName(QStringLiteral("ID")).setAsInteger(5); }),
              QStringLiteral("Field 'ID' cannot be modified"));
    journal->Post();
    const int id = journal->FieldByName(QStringLiteral("ID")).AsInteger();
    EXPECT_GT(id, 0);

    journal->Edit();
    journal->FieldByName(QStringLiteral("Сумма")).setAsInteger(54000);
    journal->Post();

    auto reread = open(schema::journalTable);
    ASSERT_EQ(reread->RecordCount(), 1);
    EXPECT_EQ(reread->FieldByName(QStringLiteral("ID")).AsInteger(), id);
    EXPECT_EQ(reread->FieldByName(QStringLiteral("Сумма")).AsInteger(), 54000);
    EXPECT_EQ(reread->FieldByName(QStringLiteral("Вес груза")).AsInteger(), 1200);
    EXPECT_EQ(reread->FieldByName(QStringLiteral("Отправка")).AsDateTime().date(),
              QDate(2024, 3, 1));
    EXPECT_EQ(reread->FieldByName(QStringLiteral("Транспортное средство")).AsString().size(), 20);
    EXPECT_TRUE(reread->FieldByName(QStringLiteral("Водитель")).IsNull());
    EXPECT_TRUE(reread->FieldByName(QStringLiteral("ID")).ReadOnly()); // a counter, undeclared
}

TEST_F(CursorBasics, twoCursorsSeeEachOthersRowsOnlyAfterRequery) {
    addClient(QStringLiteral("Б"));
    auto list = open(schema::clientsTable, schema::clients().columns);
    auto dialog = open(schema::clientsTable);
    dialog->Insert();
    dialog->FieldByName(name).setAsString(QStringLiteral("А"));
    dialog->Post();
    EXPECT_EQ(list->RecordCount(), 1);
    list->Last();
    list->Requery();
    EXPECT_EQ(list->RecordCount(), 2);
    EXPECT_EQ(list->RecNo(), 1);
    EXPECT_EQ(dialog->RecordCount(), 2);
}

TEST_F(CursorBasics, fieldsFoundByNameIgnoringCase) {
    auto drivers = open(schema::driversTable, schema::drivers().columns);
    EXPECT_EQ(drivers->FieldByName(QStringLiteral("межд ву")).FieldName(),
              QStringLiteral("Межд ВУ"));
    EXPECT_EQ(drivers->FieldByName(QStringLiteral("фио")).DisplayWidth(), 19);
    EXPECT_EQ(errorOf([&] { drivers->FieldByName(QStringLiteral("Стаж")); }),
              QStringLiteral("ADOTable1: Field 'Стаж' not found"));
    drivers->Insert();
    drivers->FieldByName(QStringLiteral("МЕЖД ВУ")).setAsBoolean(true);
    drivers->Post();
    EXPECT_TRUE(open(schema::driversTable)->FieldByName(QStringLiteral("Межд ВУ")).AsBoolean());
}

TEST_F(CursorBasics, notificationsInOrder) {
    addClient(QStringLiteral("А"));
    addClient(QStringLiteral("Б"));
    auto clients = std::make_unique<TableCursor>(QStringLiteral("ADOTable1"));
    RecordingObserver seen;
    clients->addObserver(&seen);
    clients->setConnection(&connection);
    clients->setTableName(schema::clientsTable);
    clients->Open();
    EXPECT_EQ(seen.take(), QStringLiteral("state"));
    clients->Next();
    EXPECT_EQ(seen.take(), QStringLiteral("scrolled:1"));
    clients->Next(); // at the end: nothing moved
    EXPECT_EQ(seen.take(), QString());
    EXPECT_TRUE(clients->Eof());
    clients->Edit();
    EXPECT_EQ(seen.take(), QStringLiteral("state row"));
    clients->FieldByName(QStringLiteral("адрес")).setAsString(QStringLiteral("Омск"));
    EXPECT_EQ(seen.take(), QStringLiteral("field:Адрес"));
    clients->Post();
    EXPECT_EQ(seen.take(), QStringLiteral("write state rows"));
    clients->Insert();
    EXPECT_EQ(seen.take(), QStringLiteral("state rows"));
    clients->First(); // untouched new row: dropped by the check
    EXPECT_EQ(seen.take(), QStringLiteral("write state rows rows"));
    clients->Append();
    seen.take();
    // A control writing its text when asked: the browse-mode check then posts the row.
    seen.onWritePending = [&] { clients->FieldByName(name).setAsString(QStringLiteral("В")); };
    clients->Requery();
    EXPECT_EQ(seen.take(),
              QStringLiteral("write field:Наименование write field:Наименование state rows rows"));
    EXPECT_EQ(clients->RecordCount(), 3);
    seen.onWritePending = [] {
        throw ConversionError(QStringLiteral("'x' is not a valid integer value"));
    };
    clients->Edit();
    EXPECT_EQ(errorOf([&] { clients->Post(); }),
              QStringLiteral("'x' is not a valid integer value"));
    EXPECT_EQ(clients->State(), dsEdit);
    seen.onWritePending = nullptr;
    clients->Cancel();
    seen.take();
    clients->Delete();
    EXPECT_EQ(seen.take(), QStringLiteral("rows"));
    clients->removeObserver(&seen);
}

TEST_F(CursorBasics, unpostedChangesAreNotWritten) {
    addClient(QStringLiteral("А"));
    {
        auto clients = open(schema::clientsTable);
        clients->Edit();
        clients->FieldByName(name).setAsString(QStringLiteral("изменён"));
        auto other = open(schema::clientsTable, {}, QStringLiteral("ADOTable2"));
        other->Append();
        other->FieldByName(name).setAsString(QStringLiteral("новый"));
    }
    auto clients = open(schema::clientsTable);
    EXPECT_EQ(clients->RecordCount(), 1);
    EXPECT_EQ(clients->FieldByName(name).AsString(), QStringLiteral("А"));
}
