// The tests' own PostgreSQL server: databases of their own, and a server stopped and started.
#include "common/PgServer.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>

using namespace kavelon::test;

namespace {

bool accepts(const QString& uri) {
    PGconn* pg = PQconnectdb(uri.toUtf8().constData());
    const bool ok = PQstatus(pg) == CONNECTION_OK;
    PQfinish(pg);
    return ok;
}

} // namespace

TEST(PgServer, madeDatabaseIsEmptyUsableAndReachedOnlyByItsSocket) {
    PgServer& server = PgServer::shared();
    const QString uri = server.createDatabase();
    ASSERT_TRUE(accepts(uri));
    EXPECT_EQ(PgServer::query(uri, QStringLiteral("SELECT count(*) FROM pg_class c JOIN "
                                                  "pg_namespace n ON n.oid = c.relnamespace "
                                                  "WHERE n.nspname = 'public'")),
              QStringList{QStringLiteral("0")});
    EXPECT_EQ(PgServer::query(uri, QStringLiteral("SHOW listen_addresses")),
              QStringList{QString()});
    EXPECT_EQ(PgServer::query(uri, QStringLiteral("SHOW unix_socket_directories")),
              QStringList{server.host()});

    PgServer::exec(uri, QStringLiteral("CREATE TABLE t (id int PRIMARY KEY, name text);"
                                       "INSERT INTO t VALUES (1, 'Иванов'), (2, NULL), (3, '')"));
    const QStringList names =
        PgServer::query(uri, QStringLiteral("SELECT name FROM t ORDER BY id"));
    ASSERT_EQ(names.size(), 3);
    EXPECT_EQ(names[0], QStringLiteral("Иванов"));
    EXPECT_TRUE(names[1].isNull());
    EXPECT_FALSE(names[2].isNull());
    EXPECT_TRUE(names[2].isEmpty());
}

TEST(PgServer, databasesAreSeparateAndErrorsCarryTheServersMessage) {
    PgServer& server = PgServer::shared();
    const QString first = server.createDatabase();
    const QString second = server.createDatabase();
    ASSERT_NE(first, second);
    PgServer::exec(first, QStringLiteral("CREATE TABLE only_here (x int)"));
    try {
        PgServer::query(second, QStringLiteral("SELECT x FROM only_here"));
        ADD_FAILURE() << "the table of one database is seen in another";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("\"only_here\" does not exist"), std::string::npos)
            << e.what();
    }
    EXPECT_TRUE(PgServer::query(first, QStringLiteral("SELECT x FROM only_here")).isEmpty());
}

TEST(PgServer, stoppedServerRefusesConnectionsAndKeepsItsDataWhenStartedAgain) {
    PgServer server;
    ASSERT_NE(server.host(), PgServer::shared().host());
    const QString uri = server.createDatabase();
    PgServer::exec(uri, QStringLiteral("CREATE TABLE kept (x int); INSERT INTO kept VALUES (7)"));

    server.stop();
    EXPECT_FALSE(server.running());
    EXPECT_FALSE(accepts(uri));
    EXPECT_THROW(PgServer::query(uri, QStringLiteral("SELECT 1")), std::runtime_error);

    server.start();
    EXPECT_TRUE(server.running());
    ASSERT_TRUE(accepts(uri));
    EXPECT_EQ(PgServer::query(uri, QStringLiteral("SELECT x FROM kept")),
              QStringList{QStringLiteral("7")});
}
