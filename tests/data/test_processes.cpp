// Two processes on one database file, and a process killed while it writes.
#include "CursorFixture.h"
#include "common/ChildProcess.h"

#include <QRandomGenerator>
#include <set>
#include <sqlite3.h>

using namespace kavelon;
using namespace kavelon::test;

namespace {

std::vector<PostedOrder> collectUntilFinished(QProcess& child) {
    std::vector<PostedOrder> posted;
    QByteArray partial;
    // A bound for a writer that hangs, not a measure: two thousand posts on a server with a slow
    // disk take a while.
    child.waitForFinished(300000);
    readPosted(child, posted, partial);
    return posted;
}

} // namespace

TEST(TwoProcesses, writersOnOneFileLoseNoRow) {
    TempDatabase db;
    // This process writes at the same time through its own cursor, opened before the others
    // start so that it holds none of their rows until its Requery.
    db.enter();
    Connection connection;
    TableCursor journal(QStringLiteral("ADOTable1"));
    journal.setConnection(&connection);
    journal.setTableName(schema::journalTable);
    journal.Open();
    ASSERT_EQ(journal.RecordCount(), 0);
    // A server takes many writers at once: there they write longer.
    const int posts = db.onServer() ? 2000 : 60;
    auto first = startChild(QStringLiteral("append"), db.folder(), posts);
    auto second = startChild(QStringLiteral("append"), db.folder(), posts);
    for (int i = 0; i < 20; ++i) {
        journal.Append();
        journal.FieldByName(QStringLiteral("Вес груза")).setAsInteger(-i);
        journal.Post();
    }
    const std::vector<PostedOrder> a = collectUntilFinished(*first);
    const std::vector<PostedOrder> b = collectUntilFinished(*second);
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_EQ(second->exitCode(), 0);
    ASSERT_EQ(a.size(), std::size_t(posts));
    ASSERT_EQ(b.size(), std::size_t(posts));
    std::set<int> ids;
    for (const auto* list : {&a, &b})
        for (const PostedOrder& o : *list)
            ids.insert(o.id);
    EXPECT_EQ(ids.size(), std::size_t(2 * posts));

    EXPECT_EQ(journal.RecordCount(), 20); // the others' rows only after Requery
    journal.Requery();
    EXPECT_EQ(journal.RecordCount(), 2 * posts + 20);
    EXPECT_EQ(db.query(QStringLiteral("SELECT count(DISTINCT \"ID\") FROM \"Журнал\"")).value(0),
              QString::number(2 * posts + 20));
}

TEST(TwoProcesses, writerWaitsWhileAnotherHoldsTheFile) {
    TempDatabase db;
    sqlite3* other = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(db.path().toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr),
        SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    auto child = startChild(QStringLiteral("append"), db.folder(), 1);
    EXPECT_FALSE(child->waitForFinished(1500)); // waiting, not failing
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    const std::vector<PostedOrder> posted = collectUntilFinished(*child);
    EXPECT_EQ(child->exitCode(), 0);
    EXPECT_EQ(posted.size(), 1u);
}

TEST(TwoProcesses, changeMadeByAnotherProcessRefusesMine) {
    TempDatabase db;
    db.exec(QStringLiteral(
        "INSERT INTO \"Клиенты\" (\"Наименование\", \"Адрес\") VALUES ('ООО Ромашка', 'Омск')"));
    db.enter();
    Connection connection;
    TableCursor clients(QStringLiteral("ADOTable1"));
    clients.setConnection(&connection);
    clients.setTableName(schema::clientsTable);
    clients.Open();
    clients.Edit();
    clients.FieldByName(QStringLiteral("Наименование"))
        .setAsString(QStringLiteral("ООО Ромашка и К"));

    auto other =
        startChild(QStringLiteral("rename"), db.folder(), 0, QStringLiteral("ЗАО Ромашка"));
    other->waitForFinished(30000);
    EXPECT_EQ(other->readAllStandardOutput().trimmed(), QByteArray("done"));

    QString refusal;
    try {
        clients.Post();
    } catch (const DatabaseError& e) {
        refusal = e.message();
    }
    EXPECT_TRUE(refusal.contains(QStringLiteral("changed or deleted by another user")))
        << refusal.toStdString();
    EXPECT_EQ(clients.State(), dsEdit);
    EXPECT_EQ(db.query(QStringLiteral("SELECT \"Наименование\" FROM \"Клиенты\"")),
              QStringList{QStringLiteral("ЗАО Ромашка")});
    // After reading the rows again the change goes through.
    clients.Cancel();
    clients.Requery();
    clients.Edit();
    clients.FieldByName(QStringLiteral("Адрес")).setAsString(QStringLiteral("Томск"));
    clients.Post();
    EXPECT_EQ(
        db.query(QStringLiteral("SELECT \"Наименование\" || ', ' || \"Адрес\" FROM \"Клиенты\"")),
        QStringList{QStringLiteral("ЗАО Ромашка, Томск")});
}

// Every row whose Post returned is in the file after the writer is killed at a random moment,
// and the file is sound. (The fault trials run this a thousand times, early kills among them.)
TEST(Durability, rowsPostedBeforeKillSurviveIt) {
    for (int trial = 0; trial < 3; ++trial) {
        TempDatabase db;
        // The kill comes as soon as the writer has reported this many posts, while it goes on
        // with the next.
        const int postsBeforeKill = 1 + int(QRandomGenerator::global()->bounded(40));
        EXPECT_EQ(killedWriterProblem(db, postsBeforeKill), QString()) << "trial " << trial;
    }
}
