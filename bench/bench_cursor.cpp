// Table cursors on journals of 10 000 and 100 000 orders against plain SQLite doing the same work:
// opening (a plain read into a compact struct), Requery, one durable Post of a new order (a plain
// INSERT with the same journal and sync settings), and the memory the rows hold.
#include "common/TempDatabase.h"
#include "data/Connection.h"
#include "data/SqliteEngine.h"
#include "data/TableCursor.h"

#include "MedianReporter.h"
#include <QDir>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <memory>

using namespace kavelon;

namespace {

// A journal of `orders` rows over a few dozen reference names, as a dispatcher's file holds.
struct Journal {
    std::unique_ptr<test::TempDatabase> db;
    explicit Journal(int orders) : db(std::make_unique<test::TempDatabase>()) {
        const char* settlements[] = {"Тверь",  "Клин",  "Торжок",   "Ржев",
                                     "Бежецк", "Кимры", "Осташков", "Конаково"};
        const char* clients[] = {"ООО Ромашка", "ИП Иванов",   "АО Вектор",
                                 "ЗАО Нива",    "ООО Лесторг", "ООО Агрокомплект"};
        const char* drivers[] = {"Петров Иван Сергеевич", "Сидоров Павел Андреевич",
                                 "Кузнецов Олег Петрович"};
        const char* vehicles[] = {"КамАЗ-65115", "МАЗ-5440", "ГАЗель Next", "Volvo FH"};
        sqlite3* h = nullptr;
        sqlite3_open_v2(db->path().toUtf8().constData(), &h, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(h, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(
            h,
            "INSERT INTO \"Журнал\" (\"Отправка\",\"Населённый пункт\",\"Клиент\",\"Водитель\","
            "\"Транспортное средство\",\"Вес груза\",\"Сумма\") VALUES (?,?,?,?,?,?,?)",
            -1, &st, nullptr);
        for (int i = 0; i < orders; ++i) {
            const QByteArray date = DateTime{45000.0 + i % 400}.toIsoText().toUtf8();
            sqlite3_bind_text(st, 1, date.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 2, settlements[i % 8], -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 3, clients[i % 6], -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 4, drivers[i % 3], -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 5, vehicles[i % 4], -1, SQLITE_STATIC);
            sqlite3_bind_int(st, 6, 100 + i % 5000);
            sqlite3_bind_int(st, 7, 1000 + i % 90000);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(h);
    }
};

Journal& journalOf(int orders) {
    static std::map<int, std::unique_ptr<Journal>> made;
    auto& j = made[orders];
    if (!j)
        j = std::make_unique<Journal>(orders);
    return *j;
}

struct Order {
    int id;
    double departure;
    QString settlement, client, driver, vehicle;
    int weight, sum;
};

std::unique_ptr<TableCursor> journalCursor(Connection& connection) {
    auto cursor = std::make_unique<TableCursor>(QStringLiteral("ADOTable1"));
    cursor->setConnection(&connection);
    cursor->setTableName(schema::journalTable);
    cursor->declareFields(schema::journal().columns);
    return cursor;
}

sqlite3* plainOpen(const QString& path) {
    sqlite3* h = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &h, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(h, 5000);
    sqlite3_exec(h, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL", nullptr, nullptr,
                 nullptr);
    return h;
}

QString text(sqlite3_stmt* st, int i) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                             sqlite3_column_bytes(st, i));
}

std::vector<Order> plainRead(sqlite3* h) {
    std::vector<Order> orders;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h,
                       "SELECT \"ID\",\"Отправка\",\"Населённый пункт\",\"Клиент\",\"Водитель\","
                       "\"Транспортное средство\",\"Вес груза\",\"Сумма\" FROM \"Журнал\"",
                       -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
        DateTime d;
        DateTime::fromIsoUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)),
                              sqlite3_column_bytes(st, 1), d);
        orders.push_back({sqlite3_column_int(st, 0), d.days, text(st, 2), text(st, 3), text(st, 4),
                          text(st, 5), sqlite3_column_int(st, 6), sqlite3_column_int(st, 7)});
    }
    sqlite3_finalize(st);
    return orders;
}

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

void OpenCursor(benchmark::State& state) {
    Journal& j = journalOf(int(state.range(0)));
    j.db->enter();
    Connection connection;
    connection.Open();
    std::size_t held = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        auto cursor = journalCursor(connection);
        cursor->Open();
        held = heapInUse() - before;
        benchmark::DoNotOptimize(cursor->RecordCount());
        state.PauseTiming();
        cursor.reset();
        state.ResumeTiming();
    }
    state.counters["heap_bytes_per_row"] = double(held) / double(state.range(0));
}

void PlainRead(benchmark::State& state) {
    Journal& j = journalOf(int(state.range(0)));
    sqlite3* h = plainOpen(j.db->path());
    std::size_t held = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        std::vector<Order> orders = plainRead(h);
        held = heapInUse() - before;
        benchmark::DoNotOptimize(orders.data());
        state.PauseTiming();
        orders = {};
        state.ResumeTiming();
    }
    sqlite3_close(h);
    state.counters["heap_bytes_per_row"] = double(held) / double(state.range(0));
}

void Requery(benchmark::State& state) {
    Journal& j = journalOf(int(state.range(0)));
    j.db->enter();
    Connection connection;
    auto cursor = journalCursor(connection);
    cursor->Open();
    // Another connection writes before each Requery: on an unchanged file the rows read last
    // would be handed out again without reading.
    sqlite3* other = plainOpen(j.db->path());
    for (auto _ : state) {
        state.PauseTiming();
        char* error = nullptr;
        if (sqlite3_exec(other, "UPDATE \"Журнал\" SET \"Сумма\" = \"Сумма\" + 1 WHERE \"ID\" = 1",
                         nullptr, nullptr, &error) != SQLITE_OK)
            state.SkipWithError(error ? error : "the other connection cannot write");
        sqlite3_free(error);
        state.ResumeTiming();
        cursor->Requery();
    }
    sqlite3_close(other);
    state.counters["heap_bytes_per_row"] = double(cursor->memoryUsage()) / double(state.range(0));
}

void PostNewOrder(benchmark::State& state) {
    Journal& j = journalOf(int(state.range(0)));
    j.db->enter();
    Connection connection;
    auto cursor = journalCursor(connection);
    cursor->Open();
    int i = 0;
    for (auto _ : state) {
        cursor->Append();
        cursor->FieldByName(QStringLiteral("Отправка")).setAsDateTime(DateTime{45000.0 + i % 400});
        cursor->FieldByName(QStringLiteral("Клиент")).setAsString(QStringLiteral("ООО Ромашка"));
        cursor->FieldByName(QStringLiteral("Вес груза")).setAsInteger(++i);
        cursor->FieldByName(QStringLiteral("Сумма")).setAsInteger(i * 10);
        cursor->Post();
    }
}

void PlainInsert(benchmark::State& state) {
    Journal& j = journalOf(int(state.range(0)));
    sqlite3* h = plainOpen(j.db->path());
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(
        h,
        "INSERT INTO \"Журнал\" (\"Отправка\",\"Клиент\",\"Вес груза\",\"Сумма\") VALUES (?,?,?,?)",
        -1, &st, nullptr);
    int i = 0;
    for (auto _ : state) {
        const QByteArray date = DateTime{45000.0 + i % 400}.toIsoText().toUtf8();
        const QString client = QStringLiteral("ООО Ромашка");
        ++i;
        sqlite3_bind_text(st, 1, date.constData(), int(date.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text16(st, 2, client.utf16(), int(client.size() * 2), SQLITE_TRANSIENT);
        sqlite3_bind_int(st, 3, i);
        sqlite3_bind_int(st, 4, i * 10);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_close(h);
}

constexpr int repetitions = 5;
BENCHMARK(OpenCursor)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(repetitions);
BENCHMARK(PlainRead)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(repetitions);
BENCHMARK(Requery)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(repetitions);
BENCHMARK(PostNewOrder)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(repetitions)
    ->Iterations(50);
BENCHMARK(PlainInsert)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(repetitions)
    ->Iterations(50);

// Prints each cursor figure's median as a ratio to its plain SQLite counterpart of the same run.
class RatioReporter : public MedianReporter {
public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const char* size : {"10000", "100000"}) {
            ratio("OpenCursor", "PlainRead", size, 1.5);
            ratio("Requery", "PlainRead", size, 1.5);
            ratio("PostNewOrder", "PlainInsert", size, 1.2);
        }
    }

private:
    void ratio(const std::string& ours, const std::string& plain, const std::string& size,
               double goal) {
        const double a = median(ours + "/" + size), b = median(plain + "/" + size);
        if (a >= 0 && b > 0)
            std::printf("%-13s / %-11s %6s orders: %.3f ms / %.3f ms = %.2fx (goal %.1fx)\n",
                        ours.c_str(), plain.c_str(), size.c_str(), a, b, a / b, goal);
    }
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
