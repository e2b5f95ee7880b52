// The files the tool makes, opened as the program opens them. The way a dispatcher moves to
// Kavelon: the program refuses the old file and says how to convert it; following that advice
// gives a file the program opens with every order in place.
#include "common/PgServer.h"
#include "data/Connection.h"
#include "data/TableCursor.h"
#include "tools/ToolRun.h"
#include "tools/kavelon-db/Create.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kavelon;

namespace {
struct EnterFolder {
    QString previous = QDir::currentPath();
    explicit EnterFolder(const QString& folder) { QDir::setCurrent(folder); }
    ~EnterFolder() { QDir::setCurrent(previous); }
};

// The tables of the demo database and the rows each holds.
std::vector<std::pair<const TableSchema*, int>> demoTables() {
    return {{&schema::journal(), 300},
            {&schema::clients(), 20},
            {&schema::settlements(), 30},
            {&schema::vehicles(), 10},
            {&schema::drivers(), 15}};
}
} // namespace

TEST(DemoDatabase, everyWindowsCursorOpensOnIt) {
    QTemporaryDir dir;
    EnterFolder inside(dir.path());
    dbtool::createDatabase(QStringLiteral("кавелон.mdb"), true, QDate(2026, 3, 15));
    Connection connection;
    connection.Open();
    for (const auto& [table, rows] : demoTables()) {
        TableCursor cursor(QStringLiteral("ADOTable1"));
        cursor.setConnection(&connection);
        cursor.setTableName(table->name);
        cursor.declareFields(table->columns); // kinds checked against the file
        cursor.Open();
        EXPECT_EQ(cursor.RecordCount(), rows) << table->name.toStdString();
    }
    TableCursor vehicles(QStringLiteral("ADOTable1"));
    vehicles.setConnection(&connection);
    vehicles.setTableName(QStringLiteral("Транспортные ср-ва"));
    vehicles.Open();
    vehicles.MoveBy(3);
    EXPECT_EQ(vehicles.FieldByName(QStringLiteral("Марка")).AsString(),
              QStringLiteral("Mercedes-Benz Actros 1845 LS"));
    EXPECT_EQ(vehicles.FieldByName(QStringLiteral("Код")).AsInteger(), 4);
}

TEST(DemoDatabase, publishedToAServerAndLinkedItOpensThereWithEveryRow) {
    QTemporaryDir dir;
    EnterFolder inside(dir.path());
    dbtool::createDatabase(QStringLiteral("demo.mdb"), true, QDate(2026, 3, 15));
    QFile demo(QStringLiteral("demo.mdb"));
    ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
    const QByteArray before = demo.readAll();
    demo.close();
    const QString uri = test::PgServer::shared().createDatabase();

    const test::ToolRun published = test::runTool({"publish", "demo.mdb", uri});
    EXPECT_EQ(published.exitCode, 0) << published.err.toStdString();
    EXPECT_TRUE(published.out.contains(QStringLiteral("Журнал: 300 rows")))
        << published.out.toStdString();
    ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
    EXPECT_EQ(demo.readAll(), before); // the file is left as it was
    demo.close();
    // Publishing twice would mix two journals: refused.
    EXPECT_EQ(test::runTool({"publish", "demo.mdb", uri}).exitCode, 1);

    EXPECT_EQ(test::runTool({"link", "кавелон.mdb", uri}).exitCode, 0);
    const test::ToolRun again = test::runTool({"link", "кавелон.mdb", uri});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("exists"))) << again.err.toStdString();

    Connection connection;
    connection.Open();
    for (const auto& [table, rows] : demoTables()) {
        TableCursor cursor(QStringLiteral("ADOTable1"));
        cursor.setConnection(&connection);
        cursor.setTableName(table->name);
        cursor.declareFields(table->columns); // the server's kinds are the file's
        cursor.Open();
        EXPECT_EQ(cursor.RecordCount(), rows) << table->name.toStdString();
    }
    TableCursor journal(QStringLiteral("ADOTable1"));
    journal.setConnection(&connection);
    journal.setTableName(schema::journalTable);
    journal.Open();
    const int last = [&] {
        journal.Last();
        return journal.FieldByName(QStringLiteral("ID")).AsInteger();
    }();
    journal.Append();
    journal.FieldByName(QStringLiteral("Клиент")).setAsString(QStringLiteral("ООО Ромашка"));
    journal.Post();
    EXPECT_EQ(journal.FieldByName(QStringLiteral("ID")).AsInteger(), last + 1);
}

TEST(ImportLegacy, theProgramOpensTheImportedFileWithTheOrders) {
    QTemporaryDir dir;
    EnterFolder inside(dir.path());
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(KAVELON_SOURCE_DIR "/tests/data/legacy-jet/kavelon-sample.mdb"),
                    QStringLiteral("кавелон.mdb")));

    Connection connection;
    QString advice;
    try {
        connection.Open();
    } catch (const Error& e) {
        advice = e.message();
    }
    const auto rename =
        QRegularExpression(QStringLiteral("Rename the file to (\\S+)")).match(advice);
    const auto run =
        QRegularExpression(QStringLiteral("Run: kavelon-db (import \\S+ \\S+)")).match(advice);
    ASSERT_TRUE(rename.hasMatch() && run.hasMatch()) << advice.toStdString();
    ASSERT_TRUE(QFile::rename(QStringLiteral("кавелон.mdb"), rename.captured(1)));
    QProcess tool;
    tool.start(QStringLiteral(KAVELON_BUILD_DIR "/kavelon-db"),
               run.captured(1).split(QLatin1Char(' ')));
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();

    connection.Open();
    TableCursor journal(QStringLiteral("ADOTable1"));
    journal.setConnection(&connection);
    journal.setTableName(QStringLiteral("Журнал"));
    journal.declareFields(schema::journal().columns);
    journal.Open();
    ASSERT_EQ(journal.RecordCount(), 4);
    journal.First();
    EXPECT_EQ(journal.FieldByName(QStringLiteral("id")).AsInteger(), 1);
    EXPECT_EQ(journal.FieldByName(QStringLiteral("Отправка")).AsDateTime().toQDateTime(),
              QDateTime(QDate(2004, 3, 15), QTime(9, 30), Qt::UTC));
    EXPECT_EQ(journal.FieldByName(QStringLiteral("клиент")).AsString(),
              QStringLiteral("ООО «Северный ветер»"));
    EXPECT_EQ(journal.FieldByName(QStringLiteral("Сумма")).AsInteger(), 3120);
    journal.Last();
    EXPECT_EQ(journal.FieldByName(QStringLiteral("ID")).AsInteger(), 4);
    EXPECT_TRUE(journal.FieldByName(QStringLiteral("Отправка")).IsNull());
    EXPECT_TRUE(journal.FieldByName(QStringLiteral("Водитель")).IsNull());

    // A new order continues the numbering of the old journal.
    journal.Insert();
    journal.FieldByName(QStringLiteral("Клиент")).setAsString(QStringLiteral("ЗАО «Ёлка»"));
    journal.Post();
    EXPECT_EQ(journal.FieldByName(QStringLiteral("ID")).AsInteger(), 5);

    TableCursor drivers(QStringLiteral("ADOTable1"));
    drivers.setConnection(&connection);
    drivers.setTableName(QStringLiteral("Водители"));
    drivers.Open();
    drivers.First();
    EXPECT_TRUE(drivers.FieldByName(QStringLiteral("Межд ВУ")).AsBoolean());
    drivers.Next();
    EXPECT_FALSE(drivers.FieldByName(QStringLiteral("Межд ВУ")).AsBoolean());
    EXPECT_EQ(drivers.FieldByName(QStringLiteral("Контактный телефон")).AsInteger(), -1);
}
