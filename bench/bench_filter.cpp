// Filtering, sorting and locating on a journal cursor of 100 000 orders, against a bare loop of
// QString::contains over the same customer texts measured in the same run. Medians of several
// runs (this machine's timings vary). Two journals: a few hundred customers repeated, as a
// dispatcher's file holds, and every customer distinct, the worst case for text sorts.
#include "common/TempDatabase.h"
#include "data/Connection.h"
#include "data/TableCursor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

using namespace kavelon;

namespace {

constexpr int orders = 100000;
constexpr int runs = 15;

QString customerName(int i, bool distinct) {
    static const char* forms[] = {"ООО", "ИП", "АО", "ЗАО"};
    static const char* names[] = {"Ромашка", "Иванов", "Вектор",    "Нива",     "Лесторг",
                                  "Агроком", "Сибирь", "Ивушка",    "Северный", "Доброфлот",
                                  "Ёлочка",  "Колос",  "Приволжье", "Тверьлес", "Оптима"};
    const int n = distinct ? i : i % 300;
    return QStringLiteral("%1 %2-%3")
        .arg(QString::fromUtf8(forms[n % 4]), QString::fromUtf8(names[(n / 4) % 15]))
        .arg(n);
}

// A journal file of `orders` rows.
std::unique_ptr<test::TempDatabase> makeJournal(bool distinctCustomers) {
    auto db = std::make_unique<test::TempDatabase>();
    sqlite3* h = nullptr;
    sqlite3_open_v2(db->path().toUtf8().constData(), &h, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(h, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h,
                       "INSERT INTO \"Журнал\" (\"Отправка\",\"Населённый пункт\",\"Клиент\","
                       "\"Водитель\",\"Вес груза\",\"Сумма\") VALUES (?,?,?,?,?,?)",
                       -1, &st, nullptr);
    const char* settlements[] = {"Тверь", "Клин", "Торжок", "Ржев", "Бежецк", "Кимры"};
    const char* drivers[] = {"Петров И. С.", "Сидоров П. А.", "Кузнецов О. П.", "Ёлкин В. В."};
    for (int i = 0; i < orders; ++i) {
        const QByteArray date = DateTime{45000.0 + i % 400}.toIsoText().toUtf8();
        const QByteArray customer = customerName(i * 7919 % orders, distinctCustomers).toUtf8();
        sqlite3_bind_text(st, 1, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, settlements[i % 6], -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 3, customer.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 4, drivers[i % 4], -1, SQLITE_STATIC);
        sqlite3_bind_int(st, 5, 100 + (i * 37) % 5000);
        sqlite3_bind_int(st, 6, 1000 + (i * 7919) % 90000);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(h);
    return db;
}

// Median milliseconds of `runs` runs of measured(); prepare() runs untimed before each.
double median(const std::function<void()>& measured, const std::function<void()>& prepare = {},
              int count = runs) {
    std::vector<double> ms;
    for (int i = 0; i < count; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer t;
        t.start();
        measured();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

void line(const char* what, double ms, const char* goal) {
    std::printf("  %-58s %9.3f ms   %s\n", what, ms, goal);
}

void measure(bool distinctCustomers) {
    std::printf("\n%d orders, %s customers\n", orders,
                distinctCustomers ? "all distinct" : "300 repeated");
    auto db = makeJournal(distinctCustomers);
    db->enter();
    Connection connection;
    TableCursor journal(QStringLiteral("ADOTable1"));
    journal.setConnection(&connection);
    journal.setTableName(schema::journalTable);
    journal.declareFields(schema::journal().columns);
    journal.Open();

    const int customerField = journal.FieldByName(QStringLiteral("Клиент")).index();
    std::vector<QString> customers;
    customers.reserve(size_t(journal.rowCount()));
    for (int row = 0; row < journal.rowCount(); ++row)
        customers.push_back(journal.valueAt(row, customerField).toText());

    // The journal's own sequence for the search text "ив", timed at the switch-on.
    const QString needle = QStringLiteral("ив");
    int passed = 0;
    const double bare = median([&] {
        passed = 0;
        for (const QString& c : customers)
            passed += c.contains(needle, Qt::CaseInsensitive);
    });
    const double filterOn = median([&] { journal.setFiltered(true); },
                                   [&] {
                                       journal.setFiltered(false);
                                       journal.setFilter(QStringLiteral(" Клиент Like '*ив*'"));
                                   });
    if (journal.RecordCount() != passed)
        std::printf("  !! filter passed %d rows, the bare loop %d\n", journal.RecordCount(),
                    passed);
    line("bare QString::contains loop over Клиент", bare, "(baseline)");
    line("Filtered := true with \" Клиент Like '*ив*'\"", filterOn, "goal <= 16 ms");
    std::printf("  %-58s %9.2f x    goal <= 3x\n", "switch-on / bare loop", filterOn / bare);
    const double change = median([&] {
        static int i = 0;
        journal.setFilter(i++ % 2 ? QStringLiteral(" Клиент Like '*ив*'")
                                  : QStringLiteral(" Клиент Like '*ОО*'"));
    });
    line("Filter changed while Filtered", change, "");
    journal.setFiltered(false);

    // Cold: the rows just changed (a posted change drops the kept sort keys); warm: the keys
    // kept from the previous sort, as when the dispatcher flips the direction.
    const int weightField = journal.FieldByName(QStringLiteral("Вес груза")).index();
    const auto forgetKeys = [&] {
        journal.Edit();
        Field& weight = journal.Fields(weightField);
        weight.setAsInteger(weight.AsInteger() ^ 1);
        journal.Post();
    };
    for (const char* column : {"Клиент", "Сумма"}) {
        const QString asc = QStringLiteral("[%1] ASC").arg(QString::fromUtf8(column));
        const QString desc = QStringLiteral("[%1] DESC").arg(QString::fromUtf8(column));
        int flip = 0;
        const double cold = median([&] { journal.setSort(flip++ % 2 ? desc : asc); }, forgetKeys);
        const double warm = median([&] { journal.setSort(flip++ % 2 ? desc : asc); });
        line(QStringLiteral("Sort %1 after the rows changed").arg(asc).toUtf8().constData(), cold,
             "goal <= 100 ms");
        line(QStringLiteral("Sort %1 again (keys kept)").arg(desc).toUtf8().constData(), warm,
             "goal <= 16 ms");
    }
    journal.setSort(QString());

    // Alternating key fields makes every Locate build its search copy afresh.
    const QString driverKey = QStringLiteral("Петров И. С.");
    const QString someCustomer = customers[size_t(orders / 3)];
    const double build =
        median([&] { journal.Locate(QStringLiteral("Клиент"), Value::text(someCustomer)); },
               [&] { journal.Locate(QStringLiteral("Водитель"), Value::text(driverKey)); }, 7);
    line("search copy on Клиент built (sort keys kept), plus one Locate", build, "goal <= 50 ms");
    const double coldBuild =
        median([&] { journal.Locate(QStringLiteral("Клиент"), Value::text(someCustomer)); },
               forgetKeys, 7);
    line("the same after the rows changed", coldBuild, "goal <= 50 ms");
    const QString somePrefix = someCustomer.left(5).toLower();
    const double partialBuild = median(
        [&] {
            journal.Locate(QStringLiteral("Клиент"), Value::text(somePrefix),
                           loCaseInsensitive | loPartialKey);
        },
        [&] { journal.Locate(QStringLiteral("Водитель"), Value::text(driverKey)); }, 7);
    line("the same with a case-insensitive partial key", partialBuild, "goal <= 50 ms");
    const double coldPartialBuild = median(
        [&] {
            journal.Locate(QStringLiteral("Клиент"), Value::text(somePrefix),
                           loCaseInsensitive | loPartialKey);
        },
        forgetKeys, 7);
    line("the same after the rows changed", coldPartialBuild, "goal <= 50 ms");
    std::vector<QString> probes;
    for (int i = 0; i < 50; ++i)
        probes.push_back(customers[size_t(i * 1999 % orders)]);
    int found = 0;
    const double exact = median([&] {
                             for (const QString& p : probes)
                                 found += journal.Locate(QStringLiteral("Клиент"), Value::text(p));
                         }) /
                         double(probes.size());
    line("one Locate on Клиент, exact", exact, "goal <= 1 ms");
    const double partial =
        median([&] {
            for (const QString& p : probes)
                found += journal.Locate(QStringLiteral("Клиент"), Value::text(p.left(4).toUpper()),
                                        loCaseInsensitive | loPartialKey);
        }) /
        double(probes.size());
    line("one Locate on Клиент, case-insensitive partial key", partial, "goal <= 1 ms");
    if (found != 2 * runs * int(probes.size()))
        std::printf("  !! %d of the Locates found nothing\n",
                    2 * runs * int(probes.size()) - found);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    measure(false);
    measure(true);
    double load[3] = {};
    getloadavg(load, 3);
    std::printf("\nload average %.2f %.2f %.2f\n", load[0], load[1], load[2]);
    return 0;
}
