// Cursors that cannot open, closed cursors, and writes that the file refuses.
#include "CursorFixture.h"
#include "data/SqliteEngine.h"

#include <QFile>
#include <fcntl.h>
#include <linux/fs.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace kavelon;
using namespace kavelon::test;

using CursorFailures = CursorTest;

namespace {
const QString name = QStringLiteral("Наименование");
}

TEST_F(CursorFailures, closedCursorRefusesEveryOperation) {
    db.exec(QStringLiteral("DROP TABLE \"Журнал\""));
    auto journal = std::make_unique<TableCursor>(QStringLiteral("ADOTable1"));
    journal->setConnection(&connection);
    journal->setTableName(schema::journalTable);
    journal->declareFields(schema::journal().columns);
    const QString opening = errorOf([&] { journal->Open(); });
    EXPECT_TRUE(opening.contains(QStringLiteral("no table \"Журнал\""))) << opening.toStdString();
    EXPECT_TRUE(opening.contains(db.path()));
    EXPECT_FALSE(opening.startsWith(QStringLiteral("ADOTable1")));
    EXPECT_EQ(journal->State(), dsInactive);

    const QString closed =
        QStringLiteral("ADOTable1: Cannot perform this operation on a closed dataset");
    for (auto op : std::vector<std::function<void()>>{
             [&] { journal->Insert(); }, [&] { journal->Append(); }, [&] { journal->Edit(); },
             [&] { journal->Delete(); }, [&] { journal->Requery(); }, [&] { journal->First(); },
             [&] { journal->Last(); }, [&] { journal->MoveBy(2); }, [&] { journal->Next(); },
             [&] { journal->Prior(); }, [&] { journal->RecordCount(); }})
        EXPECT_EQ(errorOf(op), closed);
    EXPECT_EQ(errorOf([&] { journal->Post(); }),
              QStringLiteral("ADOTable1: Dataset not in edit or insert mode"));
    EXPECT_EQ(errorOf([&] { journal->FieldByName(QStringLiteral("Сумма")).setAsInteger(1); }),
              QStringLiteral("ADOTable1: Dataset not in edit or insert mode"));
    EXPECT_EQ(errorOf([&] { journal->Cancel(); }), QString());
    EXPECT_TRUE(journal->FieldByName(QStringLiteral("Сумма")).IsNull());
    EXPECT_EQ(journal->RecNo(), -1);
    EXPECT_EQ(journal->rowCount(), 0);
}

TEST_F(CursorFailures, declaredFieldsMustMatchTheTable) {
    db.exec(QStringLiteral("DROP TABLE \"Водители\"; CREATE TABLE \"Водители\" (\"Код\" INTEGER "
                           "PRIMARY KEY AUTOINCREMENT, "
                           "\"ФИО\" VARCHAR(50), \"№ ВУ\" SMALLINT, \"Межд ВУ\" SMALLINT, \"Адрес "
                           "прописки\" VARCHAR(40), "
                           "\"Контактный телефон\" INTEGER)"));
    auto cursor = std::make_unique<TableCursor>(QStringLiteral("ADOTable1"));
    cursor->setConnection(&connection);
    cursor->setTableName(schema::driversTable);
    std::vector<ColumnSchema> declared = schema::drivers().columns;
    declared.pop_back(); // "Автомобиль" is missing from this file
    cursor->declareFields(declared);
    // Integers of another width bind; a boolean over a small integer does not.
    EXPECT_EQ(
        errorOf([&] { cursor->Open(); }),
        QStringLiteral(
            "ADOTable1: Type mismatch for field 'Межд ВУ', expecting: Boolean actual: SmallInt"));
    cursor->declareFields(schema::drivers().columns);
    declared = schema::drivers().columns;
    declared.erase(declared.begin() + 3);
    cursor->declareFields(declared);
    EXPECT_EQ(errorOf([&] { cursor->Open(); }),
              QStringLiteral("ADOTable1: Field 'Автомобиль' not found"));
    EXPECT_FALSE(cursor->Active());

    db.exec(QStringLiteral("CREATE TABLE \"Прочее\" (\"Сумма\" REAL, \"Вес\" CURRENCY, \"Заметки\" "
                           "TEXT, \"Фото\" BLOB, \"Дата\" DATE)"));
    auto other = std::make_unique<TableCursor>(QStringLiteral("ADOTable2"));
    other->setConnection(&connection);
    other->setTableName(QStringLiteral("Прочее"));
    other->declareFields({{QStringLiteral("Сумма"), FieldKind::Integer, 0, 10, false}});
    EXPECT_EQ(errorOf([&] { other->Open(); }),
              QStringLiteral(
                  "ADOTable2: Type mismatch for field 'Сумма', expecting: Integer actual: Float"));
    other->declareFields({{QStringLiteral("Вес"), FieldKind::Integer, 0, 10, false}});
    EXPECT_TRUE(errorOf([&] { other->Open(); }).endsWith(QStringLiteral("actual: Currency")));
    other->declareFields({{QStringLiteral("заметки"), FieldKind::WideString, 20, 20, false}});
    EXPECT_TRUE(errorOf([&] {
                    other->Open();
                }).endsWith(QStringLiteral("expecting: WideString actual: Memo")));
    other->declareFields({{QStringLiteral("Фото"), FieldKind::Boolean, 0, 5, false}});
    EXPECT_TRUE(errorOf([&] { other->Open(); }).endsWith(QStringLiteral("actual: Blob")));
    other->declareFields({{QStringLiteral("ДАТА"), FieldKind::DateTime, 0, 10, false}});
    EXPECT_EQ(errorOf([&] { other->Open(); }), QString());
}

TEST_F(CursorFailures, rowChangedOrDeletedElsewhereIsNotOverwritten) {
    addClient(QStringLiteral("А"));
    addClient(QStringLiteral("Б"));
    auto mine = open(schema::clientsTable);
    auto theirs = open(schema::clientsTable, {}, QStringLiteral("ADOTable2"));

    // They change another column of the row: the row is no longer the one I read, and my change
    // of the name is refused too; after reading the rows again it goes through.
    theirs->Edit();
    theirs->FieldByName(QStringLiteral("Адрес")).setAsString(QStringLiteral("Омск"));
    theirs->Post();
    mine->Edit();
    mine->FieldByName(name).setAsString(QStringLiteral("А1"));
    EXPECT_TRUE(errorOf([&] { mine->Post(); }).contains(QStringLiteral("changed or deleted")));
    mine->Cancel();
    mine->Requery();
    mine->Edit();
    mine->FieldByName(name).setAsString(QStringLiteral("А1"));
    mine->Post();

    // They, having seen my change, change the name again, while I still change the one I read.
    EXPECT_TRUE(errorOf([&] {
                    theirs->Edit(), theirs->FieldByName(name).setAsString(QStringLiteral("А0")),
                        theirs->Post();
                }).contains(QStringLiteral("changed or deleted")));
    theirs->Cancel();
    theirs->Requery();
    theirs->Edit();
    theirs->FieldByName(name).setAsString(QStringLiteral("А2"));
    theirs->Post();
    mine->Edit();
    EXPECT_EQ(mine->FieldByName(name).AsString(), QStringLiteral("А1"));
    mine->FieldByName(name).setAsString(QStringLiteral("А3"));
    const QString refusal = errorOf([&] { mine->Post(); });
    EXPECT_TRUE(refusal.contains(QStringLiteral("changed or deleted by another user")))
        << refusal.toStdString();
    EXPECT_EQ(mine->State(), dsEdit);
    EXPECT_EQ(mine->FieldByName(name).AsString(), QStringLiteral("А3"));
    mine->Cancel();
    mine->Requery();
    EXPECT_EQ(mine->FieldByName(name).AsString(), QStringLiteral("А2"));
    EXPECT_EQ(mine->FieldByName(QStringLiteral("Адрес")).AsString(), QStringLiteral("Омск"));

    // A row deleted elsewhere can be neither changed nor deleted again; the state stays.
    theirs->Last();
    mine->Last();
    theirs->Delete();
    mine->Edit();
    mine->FieldByName(name).setAsString(QStringLiteral("Б1"));
    EXPECT_TRUE(errorOf([&] { mine->Post(); }).contains(QStringLiteral("changed or deleted")));
    EXPECT_TRUE(errorOf([&] { mine->Delete(); }).contains(QStringLiteral("changed or deleted")));
    EXPECT_EQ(mine->State(), dsEdit);
    EXPECT_EQ(mine->RecordCount(), 2);
    mine->Cancel();
    // A row changed elsewhere since it was read is not deleted either.
    theirs->First();
    theirs->Edit();
    theirs->FieldByName(QStringLiteral("Телефон")).setAsString(QStringLiteral("112"));
    theirs->Post();
    mine->First();
    EXPECT_TRUE(errorOf([&] { mine->Delete(); }).contains(QStringLiteral("changed or deleted")));
    EXPECT_EQ(open(schema::clientsTable)->RecordCount(), 1);
}

TEST_F(CursorFailures, datesWrittenDifferentlyStillMatchTheirRow) {
    // A date written by another program without the time of day is the same instant.
    db.exec(QStringLiteral(
        "INSERT INTO \"Журнал\" (\"Отправка\", \"Сумма\") VALUES ('2024-01-05', 10)"));
    auto journal = open(schema::journalTable);
    EXPECT_EQ(journal->FieldByName(QStringLiteral("Отправка")).AsDateTime().date(),
              QDate(2024, 1, 5));
    journal->Edit();
    journal->FieldByName(QStringLiteral("Отправка"))
        .setAsDateTime(DateTime::fromQDate(QDate(2024, 1, 6)));
    journal->Post();
    journal->Delete();
    EXPECT_EQ(open(schema::journalTable)->RecordCount(), 0);
}

TEST_F(CursorFailures, requeryOfVanishedTableClosesTheCursor) {
    addClient(QStringLiteral("А"));
    auto clients = open(schema::clientsTable);
    db.exec(QStringLiteral("DROP TABLE \"Клиенты\""));
    const QString message = errorOf([&] { clients->Requery(); });
    EXPECT_FALSE(message.isEmpty());
    EXPECT_FALSE(message.endsWith(QLatin1Char('.')));
    EXPECT_EQ(clients->State(), dsInactive);
    EXPECT_EQ(errorOf([&] { clients->First(); }),
              QStringLiteral("ADOTable1: Cannot perform this operation on a closed dataset"));
}

TEST_F(CursorFailures, rowsThatCannotBeChangedRefuseEditing) {
    addClient(QStringLiteral("А"));
    db.exec(QStringLiteral("CREATE VIEW \"Клиенты на А\" AS SELECT * FROM \"Клиенты\" WHERE "
                           "\"Наименование\" LIKE 'А%'"));
    auto clients = open(QStringLiteral("Клиенты на А"));
    EXPECT_EQ(clients->RecordCount(), 1);
    EXPECT_FALSE(clients->CanModify());
    EXPECT_EQ(errorOf([&] { clients->Insert(); }),
              QStringLiteral("ADOTable1: Cannot modify a read-only dataset"));
    EXPECT_EQ(errorOf([&] { clients->Append(); }),
              QStringLiteral("ADOTable1: Cannot modify a read-only dataset"));
    EXPECT_EQ(errorOf([&] { clients->Edit(); }),
              QStringLiteral("ADOTable1: Cannot modify a read-only dataset"));
    EXPECT_EQ(clients->State(), dsBrowse);
    EXPECT_TRUE(clients->FieldByName(name).ReadOnly());
}

namespace {
// Makes a file unwritable even for root (who is not bound by its permissions): the file
// system's immutable flag; false where the file system or the process cannot set it.
bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}
} // namespace

TEST_F(CursorFailures, readOnlyFileRefusesChanges) {
    addClient(QStringLiteral("А"));
    QFile::setPermissions(db.path(), QFile::ReadOwner);
    struct Writable {
        QString path;
        bool immutable;
        ~Writable() {
            if (immutable)
                setImmutable(path, false);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        }
    } writableAgain{db.path(), geteuid() == 0 && setImmutable(db.path(), true)};
    if (geteuid() == 0 && !writableAgain.immutable)
        GTEST_SKIP() << "file permissions do not bind root, and this file system cannot make "
                        "the file immutable";
    auto clients = open(schema::clientsTable);
    EXPECT_EQ(clients->RecordCount(), 1);
    EXPECT_EQ(errorOf([&] { clients->Insert(); }),
              QStringLiteral("ADOTable1: Cannot modify a read-only dataset"));
    EXPECT_EQ(errorOf([&] { clients->Edit(); }),
              QStringLiteral("ADOTable1: Cannot modify a read-only dataset"));
    EXPECT_EQ(clients->State(), dsBrowse);
}

TEST_F(CursorFailures, closedCursorWithoutDeclaredFieldsRefusesAssignmentsAsClosed) {
    db.exec(QStringLiteral("DROP TABLE \"Водители\""));
    TableCursor drivers(QStringLiteral("ADOTable1"));
    drivers.setConnection(&connection);
    drivers.setTableName(schema::driversTable);
    EXPECT_FALSE(errorOf([&] { drivers.Open(); }).isEmpty());
    const QString notEditing = QStringLiteral("ADOTable1: Dataset not in edit or insert mode");
    EXPECT_EQ(errorOf([&] { drivers.FieldByName(QStringLiteral("Межд ВУ")).setAsBoolean(true); }),
              notEditing);
    EXPECT_EQ(errorOf([&] { drivers.FieldByName(QStringLiteral("ФИО")).Clear(); }), notEditing);
    EXPECT_TRUE(drivers.FieldByName(QStringLiteral("межд ву")).IsNull());
    EXPECT_EQ(&drivers.FieldByName(QStringLiteral("межд ву")),
              &drivers.FieldByName(QStringLiteral("Межд ВУ")));
    EXPECT_EQ(drivers.FieldCount(), 0);

    // Should it open after all, a field handed out is the column's own; a name the table lacks
    // is not found.
    Field& licence = drivers.FieldByName(QStringLiteral("Межд ВУ"));
    Field& unknown = drivers.FieldByName(QStringLiteral("Нет такого"));
    db.exec(schema::createStatement(schema::drivers()));
    drivers.Open();
    EXPECT_EQ(&drivers.FieldByName(QStringLiteral("Межд ВУ")), &licence);
    EXPECT_EQ(licence.kind(), FieldKind::Boolean);
    drivers.Append();
    licence.setAsBoolean(true);
    EXPECT_EQ(errorOf([&] { unknown.setAsInteger(1); }),
              QStringLiteral("ADOTable1: Field 'Нет такого' not found"));
    drivers.Post();
    EXPECT_TRUE(drivers.FieldByName(QStringLiteral("Межд ВУ")).AsBoolean());
    EXPECT_EQ(errorOf([&] { drivers.FieldByName(QStringLiteral("Нет такого")); }),
              QStringLiteral("ADOTable1: Field 'Нет такого' not found"));
}

TEST_F(CursorFailures, requeryWhileAnotherProgramHoldsTheFileKeepsTheRows) {
    const int usual = SqliteEngine::busyTimeout();
    SqliteEngine::setBusyTimeout(100);
    addClient(QStringLiteral("А"));
    addClient(QStringLiteral("Б"));
    auto clients = open(schema::clientsTable);
    clients->Next();
    SqliteEngine::setBusyTimeout(usual);
    addClient(QStringLiteral("В"));

    sqlite3* other = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(db.path().toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr),
        SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const QString busy = errorOf([&] { clients->Requery(); });
    EXPECT_EQ(busy, QStringLiteral("The database file \"%1\" is busy: another program has been "
                                   "writing it for too long; try again")
                        .arg(db.path()));
    EXPECT_EQ(clients->State(), dsBrowse);
    EXPECT_EQ(clients->RecordCount(), 2);
    EXPECT_EQ(clients->FieldByName(name).AsString(), QStringLiteral("Б"));
    // A change made meanwhile waits for the file as well, and stays pending.
    clients->Edit();
    clients->FieldByName(name).setAsString(QStringLiteral("Б1"));
    EXPECT_EQ(errorOf([&] { clients->Post(); }), busy);
    EXPECT_EQ(clients->State(), dsEdit);

    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    clients->Post();
    clients->Requery();
    EXPECT_EQ(clients->RecordCount(), 3);
    EXPECT_EQ(db.query(QStringLiteral("SELECT \"Наименование\" FROM \"Клиенты\" ORDER BY 1")),
              (QStringList{QStringLiteral("А"), QStringLiteral("Б1"), QStringLiteral("В")}));
}
