// The journal on the tests' own PostgreSQL server: opening a cursor on 100 000 orders against a
// plain libpq read of the same rows into a compact struct, and one durable Post of a new order
// against a plain INSERT of the same values. Medians of several runs, printed with their ratio.
#include "common/PgServer.h"
#include "common/TempDatabase.h"
#include "data/Connection.h"
#include "data/LinkFile.h"
#include "data/PostgresEngine.h"
#include "data/SqliteEngine.h"
#include "data/TableCursor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <libpq-fe.h>
#include <vector>

using namespace kavelon;

namespace {

double medianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Order {
    int id, weight, sum;
    double sent;
    QString settlement, client, driver, vehicle;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    test::PgServer server;
    test::TempDatabase db;
    const QString uri = server.createDatabase();
    {
        SqliteEngine file(db.path());
        PostgresEngine::publish(file, uri);
    }
    QFile::remove(db.path());
    link::write(db.path(), uri);
    db.enter();
    test::PgServer::exec(
        uri, QStringLiteral(
                 "INSERT INTO \"Журнал\" (\"Отправка\",\"Населённый пункт\",\"Клиент\","
                 "\"Водитель\",\"Транспортное средство\",\"Вес груза\",\"Сумма\") SELECT "
                 "timestamp '2023-03-15' + (i % 400) * interval '1 day', (ARRAY['Тверь','Клин',"
                 "'Торжок','Ржев'])[i % 4 + 1], (ARRAY['ООО Ромашка','ИП Иванов','АО Вектор'])"
                 "[i % 3 + 1], 'Петров Иван Сергеевич', 'КамАЗ-65115', 100 + i % 5000, 1000 + i "
                 "% 90000 FROM generate_series(1, 100000) i"));
    test::PgServer::exec(uri, QStringLiteral("VACUUM ANALYZE \"Журнал\""));

    Connection connection;
    const double cursorMs = medianMs(7, [&] {
        TableCursor journal(QStringLiteral("ADOTable1"));
        journal.setConnection(&connection);
        journal.setTableName(QStringLiteral("Журнал"));
        journal.Open();
        if (journal.RecordCount() != 100000)
            std::abort();
        // A fresh read every time, as after another dispatcher's post.
        test::PgServer::exec(uri, QStringLiteral("SELECT txid_current()"));
    });

    PGconn* pg = PQconnectdb(uri.toUtf8().constData());
    const double plainMs = medianMs(7, [&] {
        PGresult* r = PQexec(pg, "SELECT \"ID\",\"Отправка\",\"Населённый пункт\",\"Клиент\","
                                 "\"Водитель\",\"Транспортное средство\",\"Вес груза\",\"Сумма\" "
                                 "FROM \"Журнал\" ORDER BY \"ID\"");
        std::vector<Order> orders;
        orders.reserve(std::size_t(PQntuples(r)));
        for (int i = 0; i < PQntuples(r); ++i) {
            DateTime sent;
            DateTime::fromIsoUtf8(PQgetvalue(r, i, 1), PQgetlength(r, i, 1), sent);
            orders.push_back(
                {std::atoi(PQgetvalue(r, i, 0)), std::atoi(PQgetvalue(r, i, 6)),
                 std::atoi(PQgetvalue(r, i, 7)), sent.days, QString::fromUtf8(PQgetvalue(r, i, 2)),
                 QString::fromUtf8(PQgetvalue(r, i, 3)), QString::fromUtf8(PQgetvalue(r, i, 4)),
                 QString::fromUtf8(PQgetvalue(r, i, 5))});
        }
        PQclear(r);
    });

    // The least a read can cost: the rows fetched, nothing made of them.
    const double fetchMs = medianMs(7, [&] {
        PQclear(PQexec(pg, "SELECT \"ID\",\"Отправка\",\"Населённый пункт\",\"Клиент\","
                           "\"Водитель\",\"Транспортное средство\",\"Вес груза\",\"Сумма\" "
                           "FROM \"Журнал\" ORDER BY \"ID\""));
    });

    TableCursor journal(QStringLiteral("ADOTable1"));
    journal.setConnection(&connection);
    journal.setTableName(QStringLiteral("Журнал"));
    journal.Open();
    const double postMs = medianMs(201, [&] {
        journal.Append();
        journal.FieldByName(QStringLiteral("Клиент")).setAsString(QStringLiteral("ООО Ромашка"));
        journal.FieldByName(QStringLiteral("Вес груза")).setAsInteger(1200);
        journal.Post();
    });
    const char* insert = "INSERT INTO \"Журнал\" (\"Клиент\",\"Вес груза\") VALUES ($1,$2) "
                         "RETURNING \"ID\"";
    PQclear(PQprepare(pg, "plain", insert, 2, nullptr));
    const double insertMs = medianMs(201, [&] {
        const char* values[] = {"ООО Ромашка", "1200"};
        PQclear(PQexecPrepared(pg, "plain", 2, values, nullptr, nullptr, 0));
    });
    PQfinish(pg);

    std::printf("100000 orders on the server: open a cursor %.1f ms, plain libpq read %.1f ms: "
                "%.2fx (goal 1.5x)\n",
                cursorMs, plainMs, cursorMs / plainMs);
    std::printf("  the rows only fetched (PQexec, nothing made of them) %.1f ms: %.2fx\n", fetchMs,
                cursorMs / fetchMs);
    std::printf("one Post %.3f ms, plain INSERT %.3f ms: %.2fx (goal 1.2x)\n", postMs, insertMs,
                postMs / insertMs);
    return 0;
}
