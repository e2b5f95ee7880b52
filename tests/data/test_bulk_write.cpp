// The engine's bulk write: a new database made in an empty file, every value read back as it was
// written, and a failure anywhere leaving the file exactly as it was.
#include "common/FileBytes.h"
#include "common/TempDatabase.h"
#include "data/SqliteEngine.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <limits>

using namespace kavelon;
using namespace kavelon::test;

namespace {

using Rows = std::vector<std::vector<Value>>;

Rows readBack(Engine& engine, const QString& table) {
    const EngineTable described = engine.describe(table);
    RowStore store(described.kinds());
    engine.readRows(described, store);
    Rows rows(std::size_t(store.rowCount()));
    for (int r = 0; r < store.rowCount(); ++r)
        for (int c = 0; c < store.columnCount(); ++c)
            rows[std::size_t(r)].push_back(store.value(r, c));
    return rows;
}

Value day(int year, int month, int dayOfMonth, QTime time = QTime(0, 0)) {
    return Value::dateTime(
        DateTime::fromQDateTime(QDateTime(QDate(year, month, dayOfMonth), time, Qt::UTC)));
}

Value text(const char* utf8) {
    return Value::text(QString::fromUtf8(utf8));
}

constexpr std::int32_t largest = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t smallest = std::numeric_limits<std::int32_t>::min();

// Journal rows as the import hands them over: numbers kept, one left to the engine.
Rows journalRows() {
    return {
        {Value::integer(7), day(2004, 3, 15, QTime(9, 30)), text("Берёзовский"),
         text("ООО «Уралснабкомплект»"), text("Сорокин Андрей Викторович"), text("КамАЗ 65115"),
         Value::integer(largest), Value::integer(smallest)},
        {Value::integer(3), day(1, 1, 1), Value::text(QString()), Value(), Value(), Value(),
         Value(), Value()},
        {Value(), day(9999, 12, 31, QTime(23, 59, 59, 250)), text("Ёлкино"), text(""), text("Щ"),
         text("ГАЗель Next"), Value::integer(0), Value::integer(-1)},
    };
}

} // namespace

TEST(BulkWrite, aNewFileGetsItsTablesAndEveryValueReadsBackAsWritten) {
    TempDatabase db(false);
    ASSERT_TRUE(writeAll(db.path(), {}));
    {
        SqliteEngine engine(db.path(), SqliteEngine::NewFile);
        SqliteEngine::Bulk bulk(engine);
        std::map<QString, EngineTable> tables;
        for (const TableSchema& t : schema::all())
            tables.emplace(t.name, bulk.createTable(t));
        const EngineTable& journal = tables.at(schema::journalTable);
        EXPECT_EQ(journal.counterColumn, 0);
        ASSERT_EQ(journal.columns.size(), schema::journal().columns.size());
        for (const auto& row : journalRows())
            bulk.insert(journal, row);
        const EngineTable& drivers = tables.at(schema::driversTable);
        bulk.insert(drivers, {Value(), text("Кузнецова Елена"), Value::integer(largest),
                              Value::boolean(true), text("г. Реж"), Value::integer(smallest),
                              text("Mercedes-Benz Actros")});
        bulk.insert(drivers, {Value(), text("Белов"), Value(), Value::boolean(false), Value(),
                              Value(), Value()});
        bulk.insert(drivers,
                    {Value(), text("Пустой"), Value(), Value(), Value(), Value(), Value()});
        bulk.commit();
    }
    EXPECT_FALSE(QFile::exists(db.path() + QStringLiteral("-journal")));

    // A file the program opens as it opens any: the integrity check passes.
    SqliteEngine engine(db.path());
    Rows expected = journalRows();
    expected[2][0] = Value::integer(8); // after the largest number given
    std::sort(expected.begin(), expected.end(),
              [](const auto& a, const auto& b) { return a[0].toInteger() < b[0].toInteger(); });
    EXPECT_EQ(readBack(engine, schema::journalTable), expected);
    const Rows drivers = readBack(engine, schema::driversTable);
    ASSERT_EQ(drivers.size(), 3u);
    EXPECT_EQ(drivers[0],
              (std::vector<Value>{Value::integer(1), text("Кузнецова Елена"),
                                  Value::integer(largest), Value::boolean(true), text("г. Реж"),
                                  Value::integer(smallest), text("Mercedes-Benz Actros")}));
    EXPECT_EQ(drivers[1][3], Value::boolean(false));
    EXPECT_EQ(drivers[2][3], Value());
    for (const TableSchema& t : {schema::clients(), schema::settlements(), schema::vehicles()})
        EXPECT_TRUE(readBack(engine, t.name).empty()) << t.name.toStdString();

    // The numbers kept count for the orders stored later.
    const EngineTable journal = engine.describe(schema::journalTable);
    EXPECT_EQ(engine.insert(journal, {{1, day(2026, 1, 5)}}), 9);
    EXPECT_EQ(db.query(QStringLiteral("SELECT typeof(\"Отправка\") || ' ' || \"Отправка\" FROM "
                                      "\"Журнал\" ORDER BY ID")),
              (QStringList{QStringLiteral("text 0001-01-01 00:00:00"),
                           QStringLiteral("text 2004-03-15 09:30:00"),
                           QStringLiteral("text 9999-12-31 23:59:59.250"),
                           QStringLiteral("text 2026-01-05 00:00:00")}));
}

TEST(BulkWrite, onlyAnEmptyFileBecomesANewDatabase) {
    TempDatabase db;
    const QByteArray before = readAll(db.path());
    ASSERT_FALSE(before.isEmpty());
    try {
        SqliteEngine engine(db.path(), SqliteEngine::NewFile);
        ADD_FAILURE() << "a database was taken for a new file";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("is not an empty file")))
            << e.message().toStdString();
    }
    EXPECT_EQ(readAll(db.path()), before);
    const QString missing = db.folder() + QStringLiteral("/нет.mdb");
    EXPECT_THROW(SqliteEngine(missing, SqliteEngine::NewFile), DatabaseError);
    EXPECT_FALSE(QFile::exists(missing));
}

TEST(BulkWrite, aFailureAnywhereLeavesTheFileAsItWas) {
    TempDatabase db;
    db.exec(QStringLiteral("INSERT INTO \"Журнал\" (ID, \"Клиент\") VALUES (5, 'Прежний')"));
    const QByteArray before = readAll(db.path());
    SqliteEngine engine(db.path());
    const EngineTable journal = engine.describe(schema::journalTable);
    const std::vector<Value> good = {
        Value(), day(2025, 6, 1), text("Реж"),        text("Новый"),
        Value(), Value(),         Value::integer(10), Value::integer(20)};

    struct Failing {
        const char* what;
        std::vector<Value> row;
        QString says;
    };
    std::vector<Value> taken = good, unstorable = good, tooShort = good;
    taken[0] = Value::integer(5);
    unstorable[1] = Value::dateTime(DateTime{-700000.0}); // before the year 1
    tooShort.pop_back();
    const Failing failing[] = {
        {"a number already taken", taken, QStringLiteral("UNIQUE constraint failed")},
        {"a date the file cannot hold", unstorable, QStringLiteral("years 1 to 9999")},
        {"a value short", tooShort, QStringLiteral("7 values instead of 8")},
    };
    for (const Failing& f : failing) {
        SCOPED_TRACE(f.what);
        SqliteEngine::Bulk bulk(engine);
        bulk.insert(journal, good);
        bulk.insert(journal, good);
        try {
            bulk.insert(journal, f.row);
            ADD_FAILURE() << "the row was stored";
        } catch (const DatabaseError& e) {
            const auto* failure = dynamic_cast<const EngineFailure*>(&e);
            const QString said =
                failure ? failure->detail() + QLatin1Char(' ') + e.message() : e.message();
            EXPECT_TRUE(said.contains(f.says)) << said.toStdString();
        }
        // The bulk has ended: neither another row nor a commit brings the first ones back.
        EXPECT_THROW(bulk.insert(journal, good), DatabaseError);
        EXPECT_THROW(bulk.commit(), DatabaseError);
        EXPECT_EQ(readAll(db.path()), before);
    }

    {
        // Ended without commit: nothing was written either; single writes wait for its end.
        SqliteEngine::Bulk bulk(engine);
        bulk.insert(journal, good);
        EXPECT_THROW(engine.insert(journal, {{3, text("Между")}}), DatabaseError);
        EXPECT_THROW(SqliteEngine::Bulk{engine}, DatabaseError);
    }
    EXPECT_EQ(readAll(db.path()), before);
    EXPECT_FALSE(QFile::exists(db.path() + QStringLiteral("-journal")));
    EXPECT_EQ(db.query(QStringLiteral("SELECT \"Клиент\" FROM \"Журнал\"")),
              QStringList{QStringLiteral("Прежний")});

    // The engine goes on as before, and a bulk after the failed ones is written whole.
    EXPECT_EQ(engine.insert(journal, {{3, text("Одиночный")}}), 6);
    SqliteEngine::Bulk bulk(engine);
    bulk.insert(journal, good);
    bulk.insert(journal, good);
    bulk.commit();
    EXPECT_EQ(db.query(QStringLiteral("SELECT ID FROM \"Журнал\" ORDER BY ID")),
              (QStringList{QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"),
                           QStringLiteral("8")}));
}

TEST(IntegrityCheck, namesWhatIsWrongAndNeverChangesTheFile) {
    TempDatabase db;
    QString values;
    for (int i = 0; i < 400; ++i)
        values += QStringLiteral("%1('Клиент %2', 'Адрес %2')").arg(i ? "," : "").arg(i);
    db.exec(QStringLiteral("INSERT INTO \"Клиенты\" (\"Наименование\", \"Адрес\") VALUES ") +
            values);
    EXPECT_EQ(SqliteEngine::integrityProblems(db.path(), 100), QStringList());

    // Every leaf page of the table claims more cells than it holds.
    QByteArray bytes = readAll(db.path());
    const int pageSize = int(quint8(bytes[16])) << 8 | quint8(bytes[17]);
    const int root = db.query(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = "
                                             "'Клиенты'"))
                         .at(0)
                         .toInt();
    for (qsizetype page = root; page * pageSize <= bytes.size(); ++page)
        if (bytes[(page - 1) * pageSize] == '\x0d')
            bytes.replace((page - 1) * pageSize + 3, 2, QByteArray("\x7f\xff", 2));
    ASSERT_TRUE(writeAll(db.path(), bytes));
    const QStringList problems = SqliteEngine::integrityProblems(db.path(), 3);
    EXPECT_FALSE(problems.isEmpty());
    EXPECT_LE(problems.size(), 4); // the limit, and the error that may stop the check
    EXPECT_EQ(readAll(db.path()), bytes);

    try {
        SqliteEngine::integrityProblems(db.folder() + QStringLiteral("/нет.mdb"), 100);
        ADD_FAILURE() << "a missing file was checked";
    } catch (const EngineFailure& e) {
        EXPECT_FALSE(e.detail().isEmpty());
    }
    EXPECT_FALSE(QFile::exists(db.folder() + QStringLiteral("/нет.mdb")));
}
