// The connection against real files on disk: what the user reads when the file is not usable.
#include "CursorFixture.h"
#include "data/SqliteEngine.h"

#include <QDir>
#include <QFile>

using namespace kavelon;
using namespace kavelon::test;

namespace {

QString openError(Connection& connection) {
    try {
        connection.Open();
    } catch (const DatabaseError& e) {
        return e.message();
    }
    return {};
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

TEST(EngineFiles, unusableFilesAreNamedAndNeverCreated) {
    TempDatabase db(false);
    db.enter();
    Connection connection;
    EXPECT_EQ(connection.dataSource(), QStringLiteral("кавелон.mdb"));

    const QString missing = openError(connection);
    EXPECT_EQ(missing, QStringLiteral("The database file \"%1\" was not found").arg(db.path()));
    EXPECT_FALSE(QFile::exists(db.path()));
    EXPECT_FALSE(connection.Connected());

    const QString notADatabase = QStringLiteral("The file \"%1\" is not a database of this program "
                                                "(it is empty, damaged or of another kind)")
                                     .arg(db.path());
    writeFile(db.path(), {});
    EXPECT_EQ(openError(connection), notADatabase);
    EXPECT_EQ(QFileInfo(db.path()).size(), 0); // SQLite would have made it a database

    QByteArray garbage;
    for (int i = 0; i < 8192; ++i)
        garbage.append(char((i * 7919) % 251));
    writeFile(db.path(), garbage);
    EXPECT_EQ(openError(connection), notADatabase);

    writeFile(db.path(), QByteArrayLiteral("SQLite format 3\0 but nothing else"));
    EXPECT_EQ(openError(connection), notADatabase);

    // The first bytes of a real Jet file carry its signature.
    QFile sample(QStringLiteral(KAVELON_SOURCE_DIR "/tests/data/legacy-jet/kavelon-sample.mdb"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly)) << sample.fileName().toStdString();
    const QByteArray jet = sample.read(4096);
    writeFile(db.path(), jet);
    const QString legacy = openError(connection);
    EXPECT_TRUE(legacy.contains(QStringLiteral("old Microsoft Access (Jet) format")))
        << legacy.toStdString();
    EXPECT_TRUE(legacy.contains(QStringLiteral("kavelon-db import кавелон-old.mdb кавелон.mdb")));
    EXPECT_TRUE(legacy.contains(db.path()));
    writeFile(db.path(),
              QByteArrayLiteral("\x00\x01\x00\x00Standard ACE DB\x00").leftJustified(4096, '\0'));
    EXPECT_TRUE(openError(connection).contains(QStringLiteral("(Jet) format")));

    QDir().mkdir(db.folder() + QStringLiteral("/папка.mdb"));
    connection.ConnectionString = QStringLiteral(
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=папка.mdb;Persist Security Info=False");
    EXPECT_TRUE(openError(connection).contains(QStringLiteral("is a folder")));
}

TEST(EngineFiles, truncatedFileIsRefused) {
    TempDatabase db;
    db.enter();
    QString values;
    for (int i = 0; i < 2000; ++i)
        values += QStringLiteral("%1('Клиент номер %2 с довольно длинным названием', 'Адрес %2')")
                      .arg(i ? "," : "")
                      .arg(i);
    db.exec(QStringLiteral("INSERT INTO \"Клиенты\" (\"Наименование\", \"Адрес\") VALUES ") +
            values);
    QFile file(db.path());
    ASSERT_TRUE(file.resize(file.size() / 2));
    Connection connection;
    const QString message = openError(connection);
    EXPECT_TRUE(message.contains(QStringLiteral("is not a database of this program")))
        << message.toStdString();
}

TEST(EngineFiles, dataSourceIsTakenFromTheWorkingFolderWhenOpening) {
    TempDatabase first;
    TempDatabase second;
    second.exec(QStringLiteral("INSERT INTO \"Клиенты\" (\"Наименование\") VALUES ('из второй')"));
    Connection connection;
    connection.ConnectionString =
        QStringLiteral(" Provider = Microsoft.Jet.OLEDB.4.0 ; data source = кавелон.mdb ");
    EXPECT_EQ(connection.dataSource(), QStringLiteral("кавелон.mdb"));
    first.enter();
    second.enter();
    TableCursor clients(QStringLiteral("ADOTable1"));
    clients.setConnection(&connection);
    clients.setTableName(schema::clientsTable);
    clients.Open(); // a cursor opens a closed connection itself
    EXPECT_TRUE(connection.Connected());
    EXPECT_EQ(clients.RecordCount(), 1);
    // The cursor keeps its file when the connection closes under it.
    connection.Close();
    clients.Requery();
    EXPECT_EQ(clients.RecordCount(), 1);
}

TEST(EngineFiles, messagesAndKindsOfDeclaredTypes) {
    EXPECT_EQ(engineMessage(QStringLiteral("Disk full. \r\n.. ")), QStringLiteral("Disk full"));
    EXPECT_EQ(engineMessage(QStringLiteral("a.b")), QStringLiteral("a.b"));

    const auto kind = [](const char* type) {
        return columnFromDeclaredType(QStringLiteral("c"), QString::fromLatin1(type), false);
    };
    EXPECT_EQ(kind("VARCHAR(35)").kind, FieldKind::WideString);
    EXPECT_EQ(kind("varchar ( 255 )").size, 255);
    EXPECT_EQ(kind("INTEGER").kind, FieldKind::Integer);
    EXPECT_EQ(kind("DATETIME").kind, FieldKind::DateTime);
    EXPECT_EQ(kind("BOOLEAN").kind, FieldKind::Boolean);
    EXPECT_EQ(kind("SMALLINT").kind, FieldKind::SmallInt);
    EXPECT_EQ(kind("DOUBLE PRECISION").kind, FieldKind::Float);
    EXPECT_EQ(kind("NUMERIC(10,2)").kind, FieldKind::Currency);
    EXPECT_EQ(kind("TEXT").kind, FieldKind::Memo);
    EXPECT_EQ(kind("").kind, FieldKind::Blob);
    EXPECT_FALSE(kind("BLOB").updatable);
    const EngineColumn counter =
        columnFromDeclaredType(QStringLiteral("ID"), QStringLiteral("INTEGER"), true);
    EXPECT_EQ(counter.kind, FieldKind::AutoInc);
    EXPECT_TRUE(counter.counter);
    EXPECT_FALSE(counter.updatable);

    EXPECT_TRUE(SqliteEngine::libraryUsable(3040001, 3040001));
    EXPECT_FALSE(SqliteEngine::libraryUsable(3039004, 3040001));
}

TEST(EngineFiles, datesAreStoredAsIsoText) {
    TempDatabase db;
    db.enter();
    Connection connection;
    TableCursor journal(QStringLiteral("ADOTable1"));
    journal.setConnection(&connection);
    journal.setTableName(schema::journalTable);
    journal.Open();
    journal.Insert();
    journal.FieldByName(QStringLiteral("Отправка")).setAsDateTime(DateTime{45000.5});
    journal.Post();
    Engine& engine = connection.engine();
    EngineTable table = engine.describe(schema::journalTable);
    RowStore rows(table.kinds());
    engine.readRows(table, rows);
    ASSERT_EQ(rows.rowCount(), 1);
    EXPECT_EQ(rows.value(0, 1).toDateTime(), DateTime{45000.5});
    db.exec(QStringLiteral("CREATE TABLE t AS SELECT \"Отправка\" AS d FROM \"Журнал\""));
    // The stored text, read back through the engine as a text column.
    db.exec(QStringLiteral(
        "CREATE TABLE check_text (d VARCHAR(30)); INSERT INTO check_text SELECT d FROM t"));
    EngineTable text = engine.describe(QStringLiteral("check_text"));
    RowStore texts(text.kinds());
    engine.readRows(text, texts);
    EXPECT_EQ(texts.value(0, 0).toText(), QStringLiteral("2023-03-15 12:00:00"));

    DateTime parsed;
    ASSERT_TRUE(DateTime::fromIsoUtf8("2023-03-15 12:00:00.250", 23, parsed));
    DateTime expected;
    ASSERT_TRUE(DateTime::fromIsoText(QStringLiteral("2023-03-15 12:00:00.250"), expected));
    EXPECT_EQ(parsed, expected);
    EXPECT_FALSE(DateTime::fromIsoUtf8("2023-02-30", 10, parsed));
    EXPECT_FALSE(DateTime::fromIsoUtf8("15.03.2023", 10, parsed));
}

namespace {

quint32 bigEndian32(const QByteArray& bytes, int at) {
    return quint32(quint8(bytes[at])) << 24 | quint32(quint8(bytes[at + 1])) << 16 |
           quint32(quint8(bytes[at + 2])) << 8 | quint32(quint8(bytes[at + 3]));
}

void fillClients(TempDatabase& db, int count) {
    QString values;
    for (int i = 0; i < count; ++i)
        values += QStringLiteral("%1('Клиент %2', 'Адрес %2')").arg(i ? "," : "").arg(i);
    db.exec(QStringLiteral("INSERT INTO \"Клиенты\" (\"Наименование\", \"Адрес\") VALUES ") +
            values);
}

} // namespace

TEST(EngineFiles, damagedFileIsNamedAndNotWritten) {
    TempDatabase db;
    fillClients(db, 300);
    db.enter();
    QFile file(db.path());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const int pageSize = int(quint8(bytes[16])) << 8 | quint8(bytes[17]);
    const quint32 pages = bigEndian32(bytes, 28);
    // One page more than anything uses: every row still reads, SQLite opens it without a word.
    const quint32 more = pages + 1;
    bytes[28] = char(more >> 24), bytes[29] = char(more >> 16), bytes[30] = char(more >> 8),
    bytes[31] = char(more);
    bytes.append(QByteArray(pageSize, '\0'));
    file.seek(0);
    file.write(bytes);
    file.close();

    Connection connection;
    const QString message = openError(connection);
    EXPECT_TRUE(message.startsWith(
        QStringLiteral("The database file \"%1\" is damaged (Page %2 is never used)")
            .arg(db.path())
            .arg(more)))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("Keep a copy of the file")));
    EXPECT_TRUE(message.contains(QStringLiteral("kavelon-db check %1").arg(db.path())));
    EXPECT_FALSE(connection.Connected());
    EXPECT_EQ(QFileInfo(db.path()).size(), bytes.size());
}

using EngineDamage = CursorTest;

TEST_F(EngineDamage, damageFoundWhileWorkingStopsTheWrites) {
    fillClients(db, 300);
    const auto cursor = open(schema::clientsTable);
    TableCursor& clients = *cursor;
    ASSERT_EQ(clients.RecordCount(), 300);

    // Another program ruins a page of the customers: the cell count of every leaf page.
    const int root = db.query(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = "
                                             "'Клиенты'"))
                         .value(0)
                         .toInt();
    QFile file(db.path());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray header = file.read(100);
    const int pageSize = int(quint8(header[16])) << 8 | quint8(header[17]);
    for (qint64 page = root; page * pageSize <= file.size(); ++page) {
        file.seek((page - 1) * pageSize);
        if (file.read(1) == QByteArray(1, '\x0d')) {
            file.seek((page - 1) * pageSize + 3);
            file.write(QByteArray("\xff\xff", 2));
        }
    }
    // A new change counter, as any writer leaves: the pages this process holds are stale.
    for (const int at : {24, 92}) {
        file.seek(at);
        file.write(QByteArray("\x7f\x00\x00\x01", 4));
    }
    file.close();

    const QString reading = errorOf([&] { clients.Requery(); });
    EXPECT_TRUE(reading.contains(QStringLiteral("is damaged"))) << reading.toStdString();
    EXPECT_EQ(clients.RecordCount(), 300); // what was read stays shown
    const QByteArray before = [&] {
        QFile f(db.path());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    clients.Append();
    clients.FieldByName(QStringLiteral("Наименование")).setAsString(QStringLiteral("Новый"));
    EXPECT_TRUE(
        errorOf([&] { clients.Post(); }).contains(QStringLiteral("nothing more is written")));
    EXPECT_EQ(clients.State(), dsInsert);
    clients.Cancel();
    EXPECT_TRUE(errorOf([&] { clients.Delete(); }).contains(QStringLiteral("is damaged")));
    QFile after(db.path());
    after.open(QIODevice::ReadOnly);
    EXPECT_EQ(after.readAll(), before);
}
