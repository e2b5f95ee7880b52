// Fault trials, each run many times over: a writer killed at a random moment, two programs
// writing one file without pause, mutated database and Jet files. Short by default; the full
// counts run with KAVELON_TRIALS=full.
#include "common/ChildProcess.h"
#include "common/FileBytes.h"
#include "common/SqliteReader.h"
#include "common/TempDatabase.h"
#include "data/Connection.h"
#include "data/SqliteEngine.h"
#include "data/TableCursor.h"
#include "tools/kavelon-db/Create.h"
#include "tools/kavelon-db/Import.h"
#include "tools/kavelon-db/ToolError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>

using namespace kavelon;
using namespace kavelon::test;

namespace {

int trials(int short_, int full) {
    return qgetenv("KAVELON_TRIALS") == "full" ? full : short_;
}

// "ok", or what SQLite's full check (or its failure) says; read-only, so the file stays as it was.
QString integrity(const QString& path) {
    try {
        return SqliteReader(path).column(QStringLiteral("PRAGMA integrity_check")).join(QString());
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
}

struct Report {
    std::map<int, int> posted; // ID -> weight
    std::map<int, int> edited; // ID -> sum
    int lines = 0;
    QByteArray partial;
    void read(QProcess& child) {
        for (const QByteArray& line : readLines(child, partial)) {
            const QList<QByteArray> parts = line.split(' ');
            ++lines;
            if (parts.size() == 3 && parts[0] == "posted")
                posted[parts[1].toInt()] = parts[2].toInt();
            else if (parts.size() == 3 && parts[0] == "edited")
                edited[parts[1].toInt()] = parts[2].toInt();
        }
    }
};

} // namespace

// Every Post and every change whose Post returned is in the file after a kill -9, and the file
// is sound.
TEST(Trials, killedWriterLosesNoConfirmedPostOrEdit) {
    std::mt19937 dice(20261211);
    std::size_t posts = 0, changes = 0;
    const int count = trials(4, 320);
    for (int trial = 0; trial < count; ++trial) {
        TempDatabase db;
        auto child = startChild(QStringLiteral("append-edit"), db.folder());
        Report report;
        const int before = 1 + int(dice() % 40);
        while (report.lines < before && child->waitForReadyRead(30000))
            report.read(*child);
        ASSERT_GE(report.lines, before) << "the writer stopped reporting";
        child->kill();
        child->waitForFinished(30000);
        report.read(*child);

        // Opened for writing, as the next program opens it: a journal left by the kill is rolled
        // back first.
        ASSERT_EQ(db.query(QStringLiteral("PRAGMA integrity_check")),
                  QStringList{QStringLiteral("ok")})
            << "trial " << trial;
        std::map<int, std::pair<int, int>> stored;
        for (const QString& row : db.query(QStringLiteral(
                 "SELECT \"ID\" || ' ' || \"Вес груза\" || ' ' || \"Сумма\" FROM \"Журнал\""))) {
            const QStringList v = row.split(QLatin1Char(' '));
            stored[v[0].toInt()] = {v[1].toInt(), v[2].toInt()};
        }
        for (const auto& [id, weight] : report.posted) {
            ASSERT_TRUE(stored.count(id)) << "order " << id << " was posted but is gone";
            EXPECT_EQ(stored[id].first, weight);
            const auto edit = report.edited.find(id);
            if (edit != report.edited.end())
                EXPECT_EQ(stored[id].second, edit->second) << "order " << id;
            else // the change under way when the kill came: either value, nothing else
                EXPECT_TRUE(stored[id].second == weight * 10 ||
                            stored[id].second == weight * 10 + 1);
        }
        EXPECT_LE(stored.size(), report.posted.size() + 1);
        posts += report.posted.size();
        changes += report.edited.size();
    }
    RecordProperty("confirmed", QStringLiteral("%1 kills, %2 posts and %3 changes confirmed")
                                    .arg(count)
                                    .arg(posts)
                                    .arg(changes)
                                    .toStdString());
}

// A writer of plain orders killed a thousand times over, every fifth time while it opens the
// file, the others after a random number of posts: every post it reported is in the file, and
// the file is sound.
TEST(Trials, writerKilledWhileOpeningOrPostingLosesNoReportedPost) {
    std::mt19937 dice(20260107);
    const int count = trials(6, 1000);
    int posted = 0, early = 0;
    for (int trial = 0; trial < count; ++trial) {
        TempDatabase db;
        const int postsBeforeKill = trial % 5 == 0 ? 0 : 1 + int(dice() % 40);
        early += postsBeforeKill == 0;
        int reported = 0;
        EXPECT_EQ(killedWriterProblem(db, postsBeforeKill, &reported), QString())
            << "trial " << trial << ", killed after " << postsBeforeKill << " posts";
        posted += reported;
    }
    RecordProperty("confirmed", QStringLiteral("%1 kills (%2 while opening), %3 posts confirmed")
                                    .arg(count)
                                    .arg(early)
                                    .arg(posted)
                                    .toStdString());
}

// Two programs posting without pause: neither waits out its busy timeout, no row is lost and no
// ID given twice. The short form gives the writers a short timeout, so that one that had to
// wait for the other's whole run shows at once.
TEST(Trials, twoWritersPostingWithoutPauseNeitherWaitsOut) {
    const bool full = qgetenv("KAVELON_TRIALS") == "full";
    const int each = full ? 5000 : 300;
    const int busyTimeout = full ? 0 : 1500; // 0: the program's own
    TempDatabase db;
    auto first = startChild(QStringLiteral("append"), db.folder(), each, {}, busyTimeout);
    auto second = startChild(QStringLiteral("append"), db.folder(), each, {}, busyTimeout);
    std::set<int> ids;
    for (QProcess* child : {first.get(), second.get()}) {
        std::vector<PostedOrder> posted;
        QByteArray partial;
        child->waitForFinished(each * 200);
        readPosted(*child, posted, partial);
        EXPECT_EQ(child->exitCode(), 0) << partial.toStdString();
        EXPECT_EQ(int(posted.size()), each);
        for (const PostedOrder& o : posted)
            ids.insert(o.id);
    }
    EXPECT_EQ(int(ids.size()), 2 * each);
    EXPECT_EQ(db.query(QStringLiteral("SELECT count(DISTINCT \"ID\") FROM \"Журнал\"")).value(0),
              QString::number(2 * each));
}

// A mutated copy of a demo database either opens, and then SQLite finds nothing wrong with it,
// or is refused with one of the engine's own messages; nothing is written into a damaged one.
TEST(Trials, mutatedDatabaseFilesOpenSoundOrAreRefused) {
    QTemporaryDir demoFolder;
    const QString demoPath = demoFolder.filePath(QStringLiteral("demo.mdb"));
    dbtool::createDatabase(demoPath, true, QDate(2026, 12, 11));
    const QByteArray demo = readAll(demoPath);
    int opened = 0;
    for (int copy = 0, count = trials(24, 200); copy < count; ++copy) {
        std::mt19937 dice{std::uint32_t(copy)};
        QByteArray bytes = demo;
        const int flips = 1 << (dice() % 6);
        for (int n = 0; n < flips; ++n)
            bytes[qsizetype(dice() % std::uint32_t(bytes.size()))] = char(dice());
        TempDatabase db(false);
        ASSERT_TRUE(writeAll(db.path(), bytes));
        const QString found = integrity(db.path());
        db.enter();
        Connection connection;
        QString refusal;
        try {
            connection.Open();
        } catch (const DatabaseError& e) {
            refusal = e.message();
        }
        if (!refusal.isEmpty()) {
            EXPECT_TRUE(refusal.startsWith(QStringLiteral("The file \"")) ||
                        refusal.startsWith(QStringLiteral("The database file \"")))
                << "copy " << copy << ": " << refusal.toStdString();
            EXPECT_EQ(readAll(db.path()), bytes) << "copy " << copy;
            continue;
        }
        ++opened;
        EXPECT_EQ(found, QStringLiteral("ok")) << "copy " << copy << " opened without a word";
        for (const TableSchema& table : schema::all()) {
            TableCursor cursor(QStringLiteral("ADOTable1"));
            cursor.setConnection(&connection);
            cursor.setTableName(table.name);
            try {
                cursor.Open();
                cursor.Last();
                cursor.Append();
                cursor.Fields(cursor.FieldCount() - 1).Clear();
                cursor.Post();
                cursor.Requery();
            } catch (const Error&) {
                // a renamed table or column is refused with a message; that is all
            }
        }
        EXPECT_EQ(integrity(db.path()), QStringLiteral("ok")) << "copy " << copy;
    }
    EXPECT_GT(opened, 0); // some mutations land where nothing is read
}

// A mutated copy of the legacy sample imports with every row of every table, or not at all.
TEST(Trials, mutatedJetFilesImportWholeOrNotAtAll) {
    const QString sample =
        QStringLiteral(KAVELON_SOURCE_DIR "/tests/data/legacy-jet/kavelon-sample.mdb");
    const QByteArray original = readAll(sample);
    ASSERT_FALSE(original.isEmpty());
    QTemporaryDir dir;
    const QString clean = dir.filePath(QStringLiteral("clean.mdb"));
    const dbtool::ImportReport expected = dbtool::importLegacyDatabase(sample, clean);
    const QString old = dir.filePath(QStringLiteral("old.mdb"));
    const QString target = dir.filePath(QStringLiteral("new.mdb"));
    for (int copy = 0, count = trials(16, 56); copy < count; ++copy) {
        std::mt19937 dice{std::uint32_t(1000 + copy)};
        QByteArray bytes = original;
        const int flips = 1 << (dice() % 7);
        for (int n = 0; n < flips; ++n)
            bytes[qsizetype(4096 + dice() % std::uint32_t(bytes.size() - 4096))] = char(dice());
        ASSERT_TRUE(writeAll(old, bytes));
        QFile::remove(target);
        try {
            const dbtool::ImportReport report = dbtool::importLegacyDatabase(old, target, {5000});
            ASSERT_EQ(report.tables.size(), expected.tables.size());
            for (std::size_t t = 0; t < report.tables.size(); ++t)
                EXPECT_EQ(report.tables[t].written, expected.tables[t].written)
                    << "copy " << copy << ", " << report.tables[t].name.toStdString();
        } catch (const dbtool::ToolError& e) {
            EXPECT_TRUE(e.message().startsWith(old + QStringLiteral(" cannot be imported: ")))
                << "copy " << copy << ": " << e.message().toStdString();
            EXPECT_FALSE(QFile::exists(target)) << "copy " << copy;
        }
    }
}
