// Which row an update or a delete lands on when another program has changed the table since the
// cursor read it, and which dates make the round trip through the file.
#include "CursorFixture.h"

using namespace kavelon;
using namespace kavelon::test;

using RowIdentity = CursorTest;

namespace {

const QString name = QStringLiteral("Наименование");
const QString distance = QStringLiteral("Растояние до НП");

// A cursor of another program: its own connection, so its own hold on the file.
struct OtherProgram {
    Connection connection;
    TableCursor cursor{QStringLiteral("ADOTable1")};
    explicit OtherProgram(const QString& table) {
        cursor.setConnection(&connection);
        cursor.setTableName(table);
        cursor.Open();
    }
};

} // namespace

// Settlements and customers have no counter column: SQLite gives the rowid of the last row, once
// deleted, to the next row stored.
TEST_F(RowIdentity, rowidGivenToAnotherRowDoesNotTakeMyChange) {
    db.exec(QStringLiteral("INSERT INTO \"Населённые пункты\" VALUES ('Омск', 900), "
                           "('Томск', 1200)"));
    auto mine = open(schema::settlementsTable);
    const QString tomskRowid =
        db.query(QStringLiteral("SELECT rowid FROM \"Населённые пункты\" WHERE "
                                "\"Наименование\" = 'Томск'"))
            .value(0);

    OtherProgram other(schema::settlementsTable);
    other.cursor.Last();
    other.cursor.Delete();
    other.cursor.Append();
    other.cursor.FieldByName(name).setAsString(QStringLiteral("Тара"));
    other.cursor.FieldByName(distance).setAsInteger(1200); // the same distance, by chance
    other.cursor.Post();
    ASSERT_EQ(db.query(QStringLiteral("SELECT rowid FROM \"Населённые пункты\" WHERE "
                                      "\"Наименование\" = 'Тара'"))
                  .value(0),
              tomskRowid);

    mine->Last();
    ASSERT_EQ(mine->FieldByName(name).AsString(), QStringLiteral("Томск"));
    mine->Edit();
    mine->FieldByName(distance).setAsInteger(1250);
    const QString refusal = errorOf([&] { mine->Post(); });
    EXPECT_TRUE(refusal.contains(QStringLiteral("changed or deleted by another user")))
        << refusal.toStdString();
    EXPECT_EQ(mine->State(), dsEdit);
    mine->Cancel();
    EXPECT_TRUE(errorOf([&] { mine->Delete(); }).contains(QStringLiteral("changed or deleted")));
    EXPECT_EQ(db.query(QStringLiteral("SELECT \"Наименование\" || ' ' || \"Растояние до НП\" "
                                      "FROM \"Населённые пункты\" ORDER BY rowid")),
              (QStringList{QStringLiteral("Омск 900"), QStringLiteral("Тара 1200")}));

    // Read again, the row is the one in the file and takes the change.
    mine->Requery();
    mine->Last();
    mine->Edit();
    mine->FieldByName(distance).setAsInteger(1250);
    mine->Post();
    EXPECT_EQ(db.query(QStringLiteral("SELECT \"Растояние до НП\" FROM \"Населённые пункты\" "
                                      "WHERE \"Наименование\" = 'Тара'")),
              QStringList{QStringLiteral("1250")});
}

TEST_F(RowIdentity, customerInTheFreedRowidKeepsItsValues) {
    addClient(QStringLiteral("ООО Ромашка"));
    addClient(QStringLiteral("ООО Василёк"));
    auto mine = open(schema::clientsTable);
    OtherProgram other(schema::clientsTable);
    other.cursor.Last();
    other.cursor.Delete();
    other.cursor.Append();
    other.cursor.FieldByName(name).setAsString(QStringLiteral("ЗАО Лютик"));
    other.cursor.Post();

    // The telephone was empty in both rows: only the name tells them apart.
    mine->Last();
    mine->Edit();
    mine->FieldByName(QStringLiteral("Телефон")).setAsString(QStringLiteral("22-33-44"));
    EXPECT_TRUE(errorOf([&] { mine->Post(); }).contains(QStringLiteral("changed or deleted")));
    EXPECT_EQ(db.query(QStringLiteral("SELECT \"Телефон\" FROM \"Клиенты\" WHERE "
                                      "\"Наименование\" = 'ЗАО Лютик'")),
              QStringList{QString()});
}

TEST_F(RowIdentity, rowsWrittenByThisCursorStayNamedByTheirValues) {
    // Emptied and never assigned columns, dates and booleans: the row as held matches the file,
    // so later changes through the same cursor go through.
    auto drivers = open(schema::driversTable);
    drivers->Append();
    drivers->FieldByName(QStringLiteral("ФИО")).setAsString(QStringLiteral("Иванов"));
    drivers->FieldByName(QStringLiteral("Адрес прописки")).setAsString(QString());
    drivers->FieldByName(QStringLiteral("Межд ВУ")).setAsBoolean(true);
    drivers->Post();
    drivers->Edit();
    drivers->FieldByName(QStringLiteral("№ ВУ")).setAsInteger(123);
    drivers->Post();
    auto journal = open(schema::journalTable);
    journal->Append();
    journal->FieldByName(QStringLiteral("Отправка")).setAsDateTime(DateTime{45000.25});
    journal->Post();
    journal->Edit();
    journal->FieldByName(QStringLiteral("Сумма")).setAsInteger(7);
    journal->Post();
    journal->Delete();
    drivers->Delete();
    EXPECT_EQ(db.query(QStringLiteral("SELECT count(*) FROM \"Водители\"")).value(0),
              QStringLiteral("0"));
    EXPECT_EQ(db.query(QStringLiteral("SELECT count(*) FROM \"Журнал\"")).value(0),
              QStringLiteral("0"));

    // A date another program stored as a number of days still names its row.
    db.exec(QStringLiteral("INSERT INTO \"Журнал\" (\"Отправка\") VALUES (45000.5)"));
    journal->Requery();
    EXPECT_EQ(journal->FieldByName(QStringLiteral("Отправка")).AsDateTime(), DateTime{45000.5});
    journal->Edit();
    journal->FieldByName(QStringLiteral("Сумма")).setAsInteger(1);
    journal->Post();
}

TEST_F(RowIdentity, everyStorableDateReadsBackAndNoOtherIsStored) {
    const QString departure = QStringLiteral("Отправка");
    const std::vector<QDateTime> dates{
        QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC),
        QDateTime(QDate(99, 12, 31), QTime(23, 59, 59, 999), Qt::UTC),
        QDateTime(QDate(1899, 12, 29), QTime(6, 0), Qt::UTC),
        QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC),
        QDateTime(QDate(2026, 12, 11), QTime(0, 0, 0, 1), Qt::UTC),
        QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999), Qt::UTC)};
    auto journal = open(schema::journalTable);
    for (const QDateTime& d : dates) {
        journal->Append();
        journal->FieldByName(departure).setAsDateTime(DateTime::fromQDateTime(d));
        journal->Post();
    }
    journal->Requery();
    ASSERT_EQ(journal->RecordCount(), int(dates.size()));
    for (const QDateTime& d : dates) {
        EXPECT_EQ(journal->FieldByName(departure).AsDateTime().toQDateTime(), d)
            << d.toString(Qt::ISODateWithMs).toStdString();
        journal->Next();
    }

    // Past 9999 (or before the year 1) the text would not read back: refused before writing.
    for (const QDate& d : {QDate(10000, 1, 1), QDate(-1, 12, 31)}) {
        journal->Append();
        journal->FieldByName(departure).setAsDateTime(DateTime::fromQDate(d));
        journal->FieldByName(QStringLiteral("Сумма")).setAsInteger(5);
        EXPECT_EQ(errorOf([&] { journal->Post(); }),
                  QStringLiteral("The date cannot be stored: the database holds dates of the "
                                 "years 1 to 9999 only"));
        EXPECT_EQ(journal->State(), dsInsert);
        journal->Cancel();
    }
    journal->First();
    journal->Edit();
    journal->FieldByName(departure).setAsDateTime(DateTime{1e12});
    EXPECT_FALSE(errorOf([&] { journal->Post(); }).isEmpty());
    journal->Cancel();
    EXPECT_EQ(db.query(QStringLiteral("SELECT count(*) FROM \"Журнал\"")).value(0),
              QString::number(dates.size()));
    EXPECT_EQ(db.query(QStringLiteral("SELECT \"Отправка\" FROM \"Журнал\" ORDER BY rowid "
                                      "LIMIT 1")),
              QStringList{QStringLiteral("0001-01-01 00:00:00")});
}
