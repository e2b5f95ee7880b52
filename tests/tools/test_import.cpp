// kavelon-db import: a predecessor's Jet 4 file into a new Kavelon database, compared value by
// value with an independent reading, and the files it must refuse.
#include "MdbExport.h"
#include "common/FileBytes.h"
#include "common/SqliteReader.h"

#include "data/Schema.h"
#include "tools/kavelon-db/Import.h"
#include "tools/kavelon-db/ToolError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <thread>

using namespace kavelon;
using kavelon::dbtool::LegacyValue;
using kavelon::test::readAll;
using kavelon::test::SqliteReader;
using kavelon::test::writeAll;

namespace {

const QString legacyFolder = QStringLiteral(KAVELON_SOURCE_DIR "/tests/data/legacy-jet/");
const QString sample = legacyFolder + QStringLiteral("kavelon-sample.mdb");

QByteArray doubleBytes(double v) {
    QByteArray b(8, '\0');
    std::memcpy(b.data(), &v, 8);
    return b;
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

// The error message of an import that must fail, or "" when it did not fail.
QString failure(const QString& oldPath, const QString& newPath, int stallMilliseconds = 20000) {
    try {
        dbtool::importLegacyDatabase(oldPath, newPath, {stallMilliseconds});
    } catch (const dbtool::ToolError& e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST(ImportLegacy, everyValueOfTheSampleArrivesAsMdbExportReadsIt) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("кавелон.mdb"));
    const QByteArray before = readAll(sample);
    // libmdb would hand out texts in this character set; the import must not let it.
    qputenv("MDBICONV", "ISO-8859-1");
    const dbtool::ImportReport report = dbtool::importLegacyDatabase(sample, target);
    qunsetenv("MDBICONV");
    EXPECT_EQ(readAll(sample), before); // the old file is only read

    SqliteReader db(target);
    ASSERT_EQ(report.tables.size(), 5u);
    for (size_t t = 0; t < schema::all().size(); ++t) {
        const TableSchema& table = schema::all()[t];
        const auto expected = test::mdbExport(sample, table.name);
        const auto actual = db.table(table.name);
        ASSERT_FALSE(expected.empty()) << table.name.toStdString();
        ASSERT_EQ(actual.size(), expected.size()) << table.name.toStdString();
        EXPECT_EQ(report.tables[t].name, table.name);
        EXPECT_EQ(report.tables[t].read, expected.size());
        EXPECT_EQ(report.tables[t].written, expected.size());
        for (size_t r = 0; r < actual.size(); ++r) {
            ASSERT_EQ(actual[r].size(), expected[r].size());
            for (size_t c = 0; c < actual[r].size(); ++c) {
                const auto where = table.name.toStdString() + " row " + std::to_string(r + 1) +
                                   " " + table.columns[c].name.toStdString();
                EXPECT_EQ(actual[r][c].isValid(), expected[r][c].isValid()) << where;
                EXPECT_EQ(actual[r][c].toString(), expected[r][c].toString()) << where;
                if (table.columns[c].kind == FieldKind::Integer && actual[r][c].isValid()) {
                    EXPECT_EQ(actual[r][c].typeId(), QMetaType::LongLong) << where;
                }
            }
        }
    }
    // Spot checks that do not depend on mdb-export: times of day, the extremes of a long, NULLs.
    const auto journal = db.table(QStringLiteral("Журнал"));
    EXPECT_EQ(journal[0][1].toString(), QStringLiteral("2004-03-15 09:30:00"));
    EXPECT_EQ(journal[1][1].toString(), QStringLiteral("2005-12-31 23:59:59"));
    EXPECT_FALSE(journal[3][1].isValid());
    const auto drivers = db.table(QStringLiteral("Водители"));
    EXPECT_EQ(drivers[1][2], QVariant(qint64(2147483647)));
    EXPECT_EQ(drivers[1][5], QVariant(qint64(-1)));
    EXPECT_EQ(drivers[0][3], QVariant(qint64(1)));
    EXPECT_EQ(drivers[1][3], QVariant(qint64(0)));
    EXPECT_TRUE(report.changes.isEmpty());
    EXPECT_TRUE(report.skippedColumns.isEmpty());

    // Order numbers stay, and the next new order continues after the largest.
    EXPECT_EQ(db.rows(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name='Журнал'")),
              (std::vector<std::vector<QVariant>>{{QVariant(qint64(4))}}));

    // The program prints the report and refuses to overwrite what it made.
    QProcess tool;
    const QString second = dir.filePath(QStringLiteral("второй.mdb"));
    tool.start(QStringLiteral(KAVELON_BUILD_DIR "/kavelon-db"),
               {QStringLiteral("import"), sample, second});
    ASSERT_TRUE(tool.waitForFinished(60000));
    const QString out = QString::fromLocal8Bit(tool.readAllStandardOutput());
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("\"Населённые пункты\": 5 rows read, 5 written")))
        << out.toStdString();
    const QByteArray made = readAll(target);
    EXPECT_TRUE(failure(sample, target).contains(QStringLiteral("already exists")));
    EXPECT_EQ(readAll(target), made);
}

TEST(ImportLegacy, datesOutsideTheUsualRangeAndEmptyTextsAgainstNull) {
    // A copy of the sample with other stored dates and one NULL turned into an empty text, made
    // by changing the bytes in place (offsets of the sample's data pages, checked first).
    QByteArray bytes = readAll(sample);
    struct Patch {
        qsizetype offset;
        QByteArray was, becomes;
    };
    const double early = -73046.75;  // 1700-01-01 18:00, before the zero date
    const double late = 2958465.5;   // 9999-12-31 12:00
    const double impossible = 1.0e7; // beyond year 9999
    const Patch patches[] = {
        {188261, doubleBytes(38061.395833333336), doubleBytes(early)},
        {188122, doubleBytes(38717.99998842592), doubleBytes(late)},
        {188024, doubleBytes(36161.0), doubleBytes(impossible)},
        // "Клиенты", third row: the null mask's bit of "Адрес" set, its length staying 0.
        {37 * 4096 + 3698 + 92 - 1, QByteArray(1, '\x0b'), QByteArray(1, '\x0f')},
    };
    for (const Patch& p : patches) {
        ASSERT_EQ(bytes.mid(p.offset, p.was.size()), p.was) << "the sample changed at " << p.offset;
        bytes.replace(p.offset, p.becomes.size(), p.becomes);
    }
    QTemporaryDir dir;
    const QString old = dir.filePath(QStringLiteral("old.mdb"));
    ASSERT_TRUE(writeAll(old, bytes));
    const QString target = dir.filePath(QStringLiteral("new.mdb"));
    const dbtool::ImportReport report = dbtool::importLegacyDatabase(old, target);

    SqliteReader db(target);
    const auto journal = db.table(QStringLiteral("Журнал"));
    EXPECT_EQ(journal[0][1].toString(), QStringLiteral("1700-01-01 18:00:00"));
    EXPECT_EQ(journal[1][1].toString(), QStringLiteral("9999-12-31 12:00:00"));
    EXPECT_FALSE(journal[2][1].isValid());
    ASSERT_EQ(report.changes.size(), 1);
    EXPECT_TRUE(report.changes[0].startsWith(QStringLiteral("\"Журнал\", ID 3, \"Отправка\"")))
        << report.changes[0].toStdString();
    EXPECT_TRUE(report.changes[0].contains(QStringLiteral("outside the years 100–9999")));

    const auto clients = db.table(QStringLiteral("Клиенты"));
    EXPECT_EQ(clients[2][2], QVariant(QString())); // "" stays a text …
    EXPECT_TRUE(clients[2][2].isValid());
    EXPECT_FALSE(clients[1][3].isValid()); // … and NULL stays NULL
    EXPECT_EQ(
        db.rows(QStringLiteral("SELECT count(*) FROM \"Клиенты\" WHERE \"Адрес\" = ''"))[0][0],
        QVariant(qint64(1)));
}

TEST(ImportLegacy, filesOfOtherProgramsAreNotPredecessorDatabases) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("new.mdb"));
    const QString sqlite = dir.filePath(QStringLiteral("already.mdb"));
    ASSERT_EQ(failure(sample, sqlite), QString()); // a Kavelon file, to be refused as input
    const QString garbage = dir.filePath(QStringLiteral("garbage.mdb"));
    ASSERT_TRUE(writeAll(garbage, QByteArray(8192, 'x')));
    const QString empty = dir.filePath(QStringLiteral("empty.mdb"));
    ASSERT_TRUE(writeAll(empty, {}));

    const std::pair<QString, QString> cases[] = {
        {legacyFolder + QStringLiteral("testV1997.mdb"), QStringLiteral("Access 97 (Jet 3)")},
        {legacyFolder + QStringLiteral("testV2007.accdb"), QStringLiteral(".accdb")},
        {legacyFolder + QStringLiteral("test2V2003.mdb"), QStringLiteral("none of the tables")},
        {legacyFolder + QStringLiteral("compIndexTestV2003.mdb"), QStringLiteral("\"Журнал\"")},
        {garbage, QStringLiteral("not a Jet/Access database file")},
        {empty, QStringLiteral("not a Jet/Access database file")},
    };
    for (const auto& [file, reason] : cases) {
        const QString message = failure(file, target);
        EXPECT_TRUE(message.contains(QStringLiteral("not a predecessor database")))
            << message.toStdString();
        EXPECT_TRUE(message.contains(reason)) << message.toStdString();
        EXPECT_TRUE(message.startsWith(file)) << message.toStdString();
    }
    EXPECT_TRUE(failure(sqlite, target).contains(QStringLiteral("already a Kavelon database")));
    EXPECT_TRUE(failure(dir.filePath(QStringLiteral("нет.mdb")), target)
                    .contains(QStringLiteral("does not exist")));
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_EQ(entries(dir.path()).size(), 3); // already, garbage, empty: nothing else left
}

TEST(ImportLegacy, damagedCopiesEndInAPlainErrorAndLeaveNoFile) {
    QTemporaryDir dir;
    const QByteArray original = readAll(sample);
    const QString old = dir.filePath(QStringLiteral("old.mdb"));
    const QString target = dir.filePath(QStringLiteral("new.mdb"));
    std::vector<QByteArray> copies;
    // Cut at page boundaries through every part of the file, and once inside a page.
    for (qsizetype size :
         {qsizetype(4096), qsizetype(12 * 4096), qsizetype(16 * 4096), qsizetype(30 * 4096),
          qsizetype(36 * 4096), qsizetype(46 * 4096), original.size() - 1000})
        copies.push_back(original.left(size));
    std::mt19937 dice(7);
    for (int copy = 0; copy < 12; ++copy) {
        QByteArray flipped = original;
        for (int n = 0; n < 200; ++n)
            flipped[qsizetype(0x100 + dice() % std::uint32_t(original.size() - 0x100))] ^=
                char(1 << (dice() % 8));
        copies.push_back(flipped);
    }
    for (size_t i = 0; i < copies.size(); ++i) {
        ASSERT_TRUE(writeAll(old, copies[i]));
        const QString message = failure(old, target, 5000);
        EXPECT_TRUE(message.startsWith(old + QStringLiteral(" cannot be imported: ")))
            << "copy " << i << ": " << message.toStdString();
        EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("old.mdb")}) << "copy " << i;
        EXPECT_EQ(readAll(old), copies[i]);
    }
}

// Jet pages have no checksums: a damaged byte of a text reads as another character. One that the
// old program's code pages do not have gives the damage away.
TEST(ImportLegacy, textsWithCharactersTheOldProgramCouldNotWriteAreRefused) {
    QTemporaryDir dir;
    const QByteArray original = readAll(sample);
    const QString old = dir.filePath(QStringLiteral("old.mdb"));
    const QString target = dir.filePath(QStringLiteral("new.mdb"));
    const QByteArray utf16(reinterpret_cast<const char*>(QStringLiteral("Смирнов").utf16()), 2 * 7);
    const qsizetype at = original.indexOf(utf16);
    ASSERT_GT(at, 0);
    for (const char high : {'\x32', '\xac', '\x14'}) { // С becomes a CJK sign, a Hangul, a syllabic
        QByteArray damaged = original;
        damaged[at + 1] = high;
        ASSERT_TRUE(writeAll(old, damaged));
        const QString message = failure(old, target);
        EXPECT_TRUE(message.startsWith(old + QStringLiteral(" cannot be imported: \"")))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("\"ФИО\"")) ||
                    message.contains(QStringLiteral("\"Водитель\"")))
            << message.toStdString();
        EXPECT_TRUE(message.contains(
            QStringLiteral("U+%1").arg(QString::number(quint8(high) << 8 | 0x21, 16)
                                           .toUpper()
                                           .rightJustified(4, QLatin1Char('0')))))
            << message.toStdString();
        EXPECT_TRUE(message.endsWith(QStringLiteral("the file is damaged")));
        EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("old.mdb")});
    }
    // Letters of the old code pages all pass: Ё, Ґ, ў, №, «», the euro and the dashes.
    QByteArray fine = original;
    const QString letters = QStringLiteral("Ёґў№«€–");
    fine.replace(at, 2 * letters.size(),
                 QByteArray(reinterpret_cast<const char*>(letters.utf16()), 2 * letters.size()));
    ASSERT_TRUE(writeAll(old, fine));
    EXPECT_EQ(failure(old, target), QString());
}

TEST(ImportLegacy, aReaderThatStopsMakingProgressIsStoppedInTime) {
    // A named pipe that gives a Jet 4 header once and then nothing: the reading child waits for
    // ever, as libmdb does when it loops on a damaged file.
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("old.mdb"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QByteArray header = readAll(sample).left(0x20);
    std::thread writer([&] {
        QFile f(fifo);
        if (f.open(QIODevice::WriteOnly))
            f.write(header);
    });
    const QString target = dir.filePath(QStringLiteral("new.mdb"));
    const QString message = failure(fifo, target, 1500);
    writer.join();
    EXPECT_TRUE(message.contains(QStringLiteral("stopped making progress for 1.5 s")))
        << message.toStdString();
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("old.mdb")});
}

TEST(ImportLegacy, columnsAreFoundIgnoringCaseAndAMissingOneIsNamed) {
    // The journal's column "Сумма" renamed in the table definition (UTF-16 in the file).
    const qsizetype nameAt = 24 * 4096 + 431;
    const QByteArray original = readAll(sample);
    auto renamed = [&](const QString& name) {
        QByteArray bytes = original;
        const QByteArray was(reinterpret_cast<const char*>(QStringLiteral("Сумма").utf16()), 10);
        EXPECT_EQ(bytes.mid(nameAt, 10), was);
        bytes.replace(nameAt, 10, QByteArray(reinterpret_cast<const char*>(name.utf16()), 10));
        return bytes;
    };
    QTemporaryDir dir;
    const QString old = dir.filePath(QStringLiteral("old.mdb"));
    const QString target = dir.filePath(QStringLiteral("new.mdb"));

    ASSERT_TRUE(writeAll(old, renamed(QStringLiteral("СУММА"))));
    dbtool::importLegacyDatabase(old, target);
    EXPECT_EQ(
        SqliteReader(target).rows(QStringLiteral("SELECT \"Сумма\" FROM \"Журнал\" WHERE ID=2")),
        (std::vector<std::vector<QVariant>>{{QVariant(qint64(33750))}}));
    QFile::remove(target);

    ASSERT_TRUE(writeAll(old, renamed(QStringLiteral("Цумма"))));
    const QString message = failure(old, target);
    EXPECT_TRUE(message.contains(QStringLiteral("the table \"Журнал\" has no column \"Сумма\"")))
        << message.toStdString();
    EXPECT_FALSE(QFile::exists(target));
}

TEST(ImportLegacy, valuesThatDoNotFitAreChangedAndSaySo) {
    using K = LegacyValue::Kind;
    const ColumnSchema make = schema::journal().columns[5]; // "Транспортное средство", text(20)
    QString why;
    LegacyValue text{K::Text, 0, 0, QStringLiteral("Mercedes-Benz Actros 1845 LS"), false};
    EXPECT_EQ(dbtool::fitLegacyValue(make, text, why),
              Value::text(QStringLiteral("Mercedes-Benz Actros")));
    EXPECT_EQ(why,
              QStringLiteral("text of 28 characters cut to the column's width 20: \"Mercedes-Benz "
                             "Actros 1845 LS\" became \"Mercedes-Benz Actros\""));
    // A cut never leaves half of a character outside the basic plane.
    why.clear();
    text.text = QStringLiteral("Грузовик № 1234567 🚚 и прицеп");
    EXPECT_EQ(dbtool::fitLegacyValue(make, text, why).toText(),
              QStringLiteral("Грузовик № 1234567 "));
    why.clear();
    text.text = QString(20, QLatin1Char('x'));
    EXPECT_EQ(dbtool::fitLegacyValue(make, text, why).toText(), text.text);
    EXPECT_TRUE(why.isEmpty());
    text.text.clear();
    EXPECT_EQ(dbtool::fitLegacyValue(make, text, why), Value::text(QString()));
    EXPECT_TRUE(dbtool::fitLegacyValue(make, LegacyValue{}, why).isNull());
    EXPECT_TRUE(why.isEmpty());

    const ColumnSchema weight = schema::journal().columns[6];
    EXPECT_EQ(dbtool::fitLegacyValue(weight, {K::Integer, -2147483648LL, 0, {}, false}, why),
              Value::integer(INT32_MIN));
    EXPECT_TRUE(why.isEmpty());
    EXPECT_TRUE(
        dbtool::fitLegacyValue(weight, {K::Integer, 2147483648LL, 0, {}, false}, why).isNull());
    EXPECT_EQ(why, QStringLiteral("2147483648 is outside the 32-bit integer range; left empty"));

    const ColumnSchema departure = schema::journal().columns[1];
    why.clear();
    EXPECT_TRUE(
        dbtool::fitLegacyValue(departure, {K::Date, 0, std::nan(""), {}, false}, why).isNull());
    EXPECT_FALSE(why.isEmpty());
    why.clear();
    EXPECT_EQ(dbtool::fitLegacyValue(departure, {K::Date, 0, -657434.0, {}, false}, why)
                  .toDateTime()
                  .toIsoText(),
              QStringLiteral("0100-01-01 00:00:00"));
    EXPECT_TRUE(why.isEmpty());

    const ColumnSchema number = schema::journal().columns[0];
    EXPECT_TRUE(dbtool::fitLegacyValue(number, LegacyValue{}, why).isNull());
    EXPECT_EQ(why, QStringLiteral("empty number; a new one is given"));
}
