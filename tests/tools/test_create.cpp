// kavelon-db create: the five tables as the program expects them, refusing to overwrite, and the
// demo data that other work relies on.
#include "common/SqliteReader.h"
#include "tools/ToolRun.h"

#include "data/Schema.h"
#include "tools/kavelon-db/Create.h"
#include "tools/kavelon-db/ToolError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace kavelon;
using kavelon::test::runTool;
using kavelon::test::SqliteReader;
using kavelon::test::ToolRun;

namespace {

QByteArray digest(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

using Columns = std::vector<std::pair<QString, QString>>;
Columns cols(std::initializer_list<std::pair<const char*, const char*>> list) {
    Columns c;
    for (const auto& [name, type] : list)
        c.emplace_back(QString::fromUtf8(name), QString::fromUtf8(type));
    return c;
}

} // namespace

TEST(CreateDatabase, makesTheFiveTablesAndNeverOverwrites) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("кавелон.mdb"));
    dbtool::createDatabase(file, false);

    SqliteReader db(file);
    // Written out here from the table descriptions, not from the schema code, so a drift shows.
    const std::map<QString, Columns> expected{
        {QStringLiteral("Журнал"), cols({{"ID", "INTEGER"},
                                         {"Отправка", "DATETIME"},
                                         {"Населённый пункт", "VARCHAR(30)"},
                                         {"Клиент", "VARCHAR(35)"},
                                         {"Водитель", "VARCHAR(35)"},
                                         {"Транспортное средство", "VARCHAR(20)"},
                                         {"Вес груза", "INTEGER"},
                                         {"Сумма", "INTEGER"}})},
        {QStringLiteral("Клиенты"), cols({{"Наименование", "VARCHAR(35)"},
                                          {"ФИО Директора", "VARCHAR(40)"},
                                          {"Адрес", "VARCHAR(55)"},
                                          {"Телефон", "VARCHAR(255)"}})},
        {QStringLiteral("Населённые пункты"),
         cols({{"Наименование", "VARCHAR(30)"}, {"Растояние до НП", "INTEGER"}})},
        {QStringLiteral("Транспортные ср-ва"), cols({{"Код", "INTEGER"},
                                                     {"Марка", "VARCHAR(255)"},
                                                     {"Госномер", "VARCHAR(255)"},
                                                     {"Грузоподъёмность (кг)", "VARCHAR(255)"},
                                                     {"Расход (л/100км)", "VARCHAR(255)"},
                                                     {"Цена перев 1кг/1км", "VARCHAR(255)"}})},
        {QStringLiteral("Водители"), cols({{"Код", "INTEGER"},
                                           {"ФИО", "VARCHAR(35)"},
                                           {"№ ВУ", "INTEGER"},
                                           {"Межд ВУ", "BOOLEAN"},
                                           {"Адрес прописки", "VARCHAR(40)"},
                                           {"Контактный телефон", "INTEGER"},
                                           {"Автомобиль", "VARCHAR(30)"}})},
    };
    std::set<QString> tables;
    for (const auto& row :
         db.rows(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' "
                                "AND name NOT LIKE 'sqlite_%'")))
        tables.insert(row[0].toString());
    EXPECT_EQ(tables.size(), 5u);
    for (const auto& [table, columns] : expected) {
        EXPECT_TRUE(tables.count(table)) << table.toStdString();
        EXPECT_EQ(db.columns(table), columns) << table.toStdString();
        EXPECT_TRUE(db.table(table).empty());
    }
    // The auto-numbers are counters that never hand out a number twice.
    for (const char* table : {"Журнал", "Транспортные ср-ва", "Водители"}) {
        const auto sql = db.rows(QStringLiteral("SELECT sql FROM sqlite_master WHERE name=%1")
                                     .arg(test::quotedName(QString::fromUtf8(table))
                                              .replace(QLatin1Char('"'), QLatin1Char('\''))));
        ASSERT_EQ(sql.size(), 1u);
        EXPECT_TRUE(
            sql[0][0].toString().contains(QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT")));
    }

    // A second create over the file is refused and leaves it as it was.
    const QByteArray before = digest(file);
    try {
        dbtool::createDatabase(file, true);
        ADD_FAILURE() << "an existing file was overwritten";
    } catch (const dbtool::ToolError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("already exists"))) << e.what();
        EXPECT_TRUE(e.message().contains(file));
    }
    EXPECT_EQ(digest(file), before);

    // The program: a refusal is a message and a non-zero exit; nothing but the target is left.
    const ToolRun refused = runTool({QStringLiteral("create"), file});
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("already exists")))
        << refused.err.toStdString();
    EXPECT_EQ(digest(file), before);
    const ToolRun noFolder =
        runTool({QStringLiteral("create"), dir.filePath(QStringLiteral("нет/такой.mdb"))});
    EXPECT_NE(noFolder.exitCode, 0);
    EXPECT_TRUE(noFolder.err.contains(QStringLiteral("does not exist")))
        << noFolder.err.toStdString();
    EXPECT_EQ(runTool({QStringLiteral("create")}).exitCode, 2);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("кавелон.mdb")});

    // --demo before or after the file name.
    for (const QStringList& args :
         {QStringList{QStringLiteral("create"), QStringLiteral("--demo"), dir.filePath("a.mdb")},
          QStringList{QStringLiteral("create"), dir.filePath("b.mdb"), QStringLiteral("--demo")}}) {
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        SqliteReader demo(args[1] == QLatin1String("--demo") ? args[2] : args[1]);
        EXPECT_EQ(demo.table(QStringLiteral("Журнал")).size(), 300u);
    }
}

TEST(CreateDatabase, demoDataIsConsistentAndCoversTheAwkwardCases) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("demo.mdb"));
    const QDate today(2026, 3, 15);
    dbtool::createDatabase(file, true, today);
    SqliteReader db(file);

    const auto clients = db.table(QStringLiteral("Клиенты"));
    const auto settlements = db.table(QStringLiteral("Населённые пункты"));
    const auto vehicles = db.table(QStringLiteral("Транспортные ср-ва"));
    const auto drivers = db.table(QStringLiteral("Водители"));
    const auto journal = db.table(QStringLiteral("Журнал"));
    EXPECT_EQ(clients.size(), 20u);
    EXPECT_EQ(settlements.size(), 30u);
    EXPECT_EQ(vehicles.size(), 10u);
    EXPECT_EQ(drivers.size(), 15u);
    ASSERT_EQ(journal.size(), 300u);

    // Every text within its column's width, in every table.
    for (const TableSchema& table : schema::all()) {
        const auto rows = db.table(table.name);
        for (const auto& row : rows)
            for (size_t c = 0; c < table.columns.size(); ++c)
                if (table.columns[c].kind == FieldKind::WideString) {
                    ASSERT_EQ(row[c].typeId(), QMetaType::QString);
                    EXPECT_LE(row[c].toString().size(), table.columns[c].size)
                        << table.name.toStdString() << ": " << row[c].toString().toStdString();
                    EXPECT_FALSE(row[c].toString().isEmpty());
                }
    }

    std::set<QString> clientNames, driverNames;
    for (const auto& c : clients)
        clientNames.insert(c[0].toString());
    std::map<QString, qint64> distance;
    for (const auto& s : settlements)
        distance[s[0].toString()] = s[1].toLongLong();
    std::multimap<QString, QString> tariffByOrderMake; // make cut to 20 → tariff text
    std::map<QString, int> makes;
    bool longMake = false, commaTariff = false;
    for (const auto& v : vehicles) {
        const QString make = v[1].toString();
        ++makes[make];
        longMake |= make.size() > 20;
        commaTariff |= v[5].toString().contains(QLatin1Char(','));
        tariffByOrderMake.emplace(make.left(20), v[5].toString());
    }
    EXPECT_TRUE(longMake);
    EXPECT_TRUE(commaTariff);
    EXPECT_TRUE(std::any_of(makes.begin(), makes.end(), [](auto& m) { return m.second == 2; }));
    std::set<QString> makeNames;
    for (const auto& [make, count] : makes)
        makeNames.insert(make.left(30));
    for (const auto& d : drivers) {
        driverNames.insert(d[1].toString());
        EXPECT_EQ(d[2].typeId(), QMetaType::LongLong); // "№ ВУ" an integer within 32 bits
        EXPECT_LE(d[2].toLongLong(), 2147483647);
        EXPECT_TRUE(d[3] == QVariant(qint64(0)) || d[3] == QVariant(qint64(1)));
        EXPECT_EQ(d[5].typeId(), QMetaType::LongLong);
        EXPECT_TRUE(makeNames.count(d[6].toString())) << d[6].toString().toStdString();
    }
    EXPECT_EQ(vehicles.front()[0], QVariant(qint64(1)));
    EXPECT_EQ(journal.back()[0], QVariant(qint64(300)));

    QDate first = today, last(1900, 1, 1);
    std::set<QString> usedMakes;
    for (const auto& order : journal) {
        const QDate date =
            QDate::fromString(order[1].toString(), QStringLiteral("yyyy-MM-dd 00:00:00"));
        ASSERT_TRUE(date.isValid()) << order[1].toString().toStdString();
        first = std::min(first, date);
        last = std::max(last, date);
        ASSERT_TRUE(distance.count(order[2].toString())) << order[2].toString().toStdString();
        EXPECT_TRUE(clientNames.count(order[3].toString()));
        EXPECT_TRUE(driverNames.count(order[4].toString()));
        const QString make = order[5].toString();
        usedMakes.insert(make);
        ASSERT_TRUE(tariffByOrderMake.count(make)) << make.toStdString();
        EXPECT_GT(order[6].toLongLong(), 0);
        // The sum is what the order dialog computes with the tariff of one of the make's vehicles,
        // and that tariff is a whole number.
        bool sumFits = false;
        auto [from, to] = tariffByOrderMake.equal_range(make);
        for (auto it = from; it != to; ++it) {
            bool whole = false;
            const int tariff = it->second.toInt(&whole);
            sumFits |= whole && order[7].toLongLong() == distance[order[2].toString()] * tariff;
        }
        EXPECT_TRUE(sumFits) << "order " << order[0].toLongLong();
    }
    EXPECT_LT(first, today.addMonths(-4));
    EXPECT_LT(last, today);
    EXPECT_TRUE(usedMakes.count(QStringLiteral("Mercedes-Benz Actros"))); // a long make, cut
    EXPECT_GE(usedMakes.size(), 7u);

    // The same day gives the same file contents.
    const QString again = dir.filePath(QStringLiteral("again.mdb"));
    dbtool::createDatabase(again, true, today);
    EXPECT_EQ(SqliteReader(again).table(QStringLiteral("Журнал")), journal);
}

TEST(CheckDatabase, namesTheDamageAndLeavesTheFileAsItIs) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("кавелон.mdb"));
    dbtool::createDatabase(file, true, QDate(2026, 12, 11));
    const ToolRun sound = runTool({QStringLiteral("check"), file});
    EXPECT_EQ(sound.exitCode, 0) << sound.err.toStdString();
    EXPECT_EQ(sound.out, file + QStringLiteral(": no damage found\n"));

    // A leaf page of the journal that claims more cells than it holds.
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const QByteArray header = f.read(100);
    const int pageSize = int(quint8(header[16])) << 8 | quint8(header[17]);
    const int root = SqliteReader(file)
                         .rows(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = "
                                              "'Журнал'"))
                         .at(0)
                         .at(0)
                         .toInt();
    int damagedPages = 0;
    for (qint64 page = root; page * pageSize <= f.size(); ++page) {
        f.seek((page - 1) * pageSize);
        if (f.read(1) == QByteArray(1, '\x0d')) {
            f.seek((page - 1) * pageSize + 3);
            f.write(QByteArray("\x7f\xff", 2));
            ++damagedPages;
        }
    }
    f.close();
    ASSERT_GT(damagedPages, 0);
    const QByteArray before = digest(file);
    const ToolRun damaged = runTool({QStringLiteral("check"), file});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_TRUE(damaged.err.startsWith(file + QStringLiteral(" is damaged:\n  ")))
        << damaged.err.toStdString();
    EXPECT_TRUE(damaged.err.contains(QStringLiteral("Keep a copy of the file")));
    EXPECT_EQ(digest(file), before);

    EXPECT_EQ(runTool({QStringLiteral("check"), dir.filePath(QStringLiteral("нет.mdb"))}).exitCode,
              1);
    EXPECT_EQ(runTool({QStringLiteral("check")}).exitCode, 2);
}
