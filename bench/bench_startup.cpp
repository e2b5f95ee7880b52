// Start-up, from creating the thirteen windows (every cursor opening its table) to the main
// window shown, offscreen, with journals of 10 000 and 100 000 orders; against one plain SQLite
// read of every table measured in the same run, and an empty journal (the windows alone).
// Heap held: by the windows with all sixteen cursors open, and by one journal cursor alone.

#include "app/ModalShowing.h"
#include "common/RecordingMessages.h"
#include "common/TempDatabase.h"
#include "data/Connection.h"
#include "data/TableCursor.h"
#include "windows/shell/Startup.h"
#include "windows/shell/Unit1.h"

#include "MedianReporter.h"
#include <QApplication>
#include <QWindow>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <memory>

using namespace kavelon;

namespace {

void fillDatabase(const test::TempDatabase& db, int orders) {
    db.exec(QStringLiteral(
                "BEGIN;"
                "INSERT INTO \"Журнал\"(\"Отправка\",\"Населённый пункт\",\"Клиент\",\"Водитель\","
                "\"Транспортное средство\",\"Вес груза\",\"Сумма\") "
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i < %1) "
                "SELECT printf('2024-%02d-%02d 08:30:00', i%12+1, i%28+1), 'Пункт ' || (i%50), "
                "'ООО Клиент ' || (i%200), 'Водитель ' || (i%40), 'Машина ' || (i%30), i%5000, "
                "i*7 FROM n WHERE %1 > 0;"
                "INSERT INTO \"Клиенты\" WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 "
                "FROM n WHERE i < 200) SELECT 'ООО Клиент ' || i, 'Директор ' || i, 'Адрес ' || i, "
                "'555-' || i FROM n;"
                "INSERT INTO \"Населённые пункты\" WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                "SELECT i+1 FROM n WHERE i < 50) SELECT 'Пункт ' || i, i*10 FROM n;"
                "COMMIT;")
                .arg(orders));
}

test::TempDatabase& databaseOf(int orders) {
    static std::map<int, std::unique_ptr<test::TempDatabase>> made;
    auto& db = made[orders];
    if (!db) {
        db = std::make_unique<test::TempDatabase>();
        fillDatabase(*db, orders);
    }
    return *db;
}

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

std::map<std::string, double> heldBytes;   // by benchmark name and size
std::map<std::string, double> sqliteBytes; // the part of heldBytes that SQLite holds

void BM_Startup(benchmark::State& state) {
    test::TempDatabase& db = databaseOf(int(state.range(0)));
    db.enter();
    test::RecordingMessages boxes;
    std::size_t held = 0;
    std::int64_t bySqlite = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        const std::int64_t sqliteBefore = sqlite3_memory_used();
        createForms();
        showMainWindow(Form1);
        while (!Form1->windowHandle() || !Form1->windowHandle()->isExposed())
            QCoreApplication::processEvents();
        state.PauseTiming();
        held = heapInUse() - before;
        bySqlite = sqlite3_memory_used() - sqliteBefore;
        destroyForms();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    if (!boxes.boxes().empty())
        state.SkipWithError("a box was shown during the start-up");
    heldBytes["BM_Startup/" + std::to_string(state.range(0))] = double(held);
    sqliteBytes["BM_Startup/" + std::to_string(state.range(0))] = double(bySqlite);
}

// Every row of every table once, each cell into a plain QString or number.
struct PlainRows {
    std::vector<qint64> numbers;
    std::vector<QString> texts;
};

void plainReadTable(sqlite3* h, const QString& table, PlainRows& into) {
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = QStringLiteral("SELECT * FROM \"%1\"").arg(table).toUtf8();
    sqlite3_prepare_v2(h, sql.constData(), -1, &st, nullptr);
    const int columns = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int c = 0; c < columns; ++c) {
            if (sqlite3_column_type(st, c) == SQLITE_TEXT)
                into.texts.push_back(
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                      sqlite3_column_bytes(st, c)));
            else
                into.numbers.push_back(sqlite3_column_int64(st, c));
        }
    sqlite3_finalize(st);
}

void BM_PlainReadOfEveryTable(benchmark::State& state) {
    test::TempDatabase& db = databaseOf(int(state.range(0)));
    sqlite3* h = nullptr;
    sqlite3_open_v2(db.path().toUtf8().constData(), &h, SQLITE_OPEN_READWRITE, nullptr);
    for (auto _ : state) {
        PlainRows rows;
        for (const QString& table :
             {schema::journalTable, schema::clientsTable, schema::settlementsTable,
              schema::vehiclesTable, schema::driversTable})
            plainReadTable(h, table, rows);
        benchmark::DoNotOptimize(rows.texts.data());
        state.PauseTiming();
        rows = {};
        state.ResumeTiming();
    }
    sqlite3_close(h);
}

// The heap one journal cursor holds, as the journal window opens it. The connection has read a
// table before, so that what SQLite's cache holds after reading (the pages of the file checked
// on opening, or nothing once released) counts in neither figure.
void BM_OneJournalCursor(benchmark::State& state) {
    test::TempDatabase& db = databaseOf(int(state.range(0)));
    db.enter();
    Connection connection;
    connection.Open();
    {
        TableCursor settlements(QStringLiteral("ADOTable2"));
        settlements.setConnection(&connection);
        settlements.setTableName(schema::settlementsTable);
        settlements.Open();
    }
    std::size_t held = 0;
    std::int64_t bySqlite = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        const std::int64_t sqliteBefore = sqlite3_memory_used();
        auto cursor = std::make_unique<TableCursor>(QStringLiteral("ADOTable1"));
        cursor->setConnection(&connection);
        cursor->setTableName(schema::journalTable);
        cursor->declareFields(schema::journal().columns);
        cursor->Open();
        state.PauseTiming();
        held = heapInUse() - before;
        bySqlite = sqlite3_memory_used() - sqliteBefore;
        cursor.reset();
        state.ResumeTiming();
    }
    heldBytes["BM_OneJournalCursor/" + std::to_string(state.range(0))] = double(held);
    sqliteBytes["BM_OneJournalCursor/" + std::to_string(state.range(0))] = double(bySqlite);
}

BENCHMARK(BM_Startup)
    ->Arg(0)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PlainReadOfEveryTable)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_OneJournalCursor)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// Start-up beside the plain read of the same run: the whole start-up, and the start-up less the
// windows alone (what the sixteen cursors add); the heap of all windows beside one cursor's.
class RatioReporter : public MedianReporter {
public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        double load[3] = {};
        getloadavg(load, 3);
        std::printf("load average %.2f %.2f %.2f\n", load[0], load[1], load[2]);
        for (const std::string size : {"10000", "100000"}) {
            const double startup = median("BM_Startup/" + size), windows = median("BM_Startup/0"),
                         plain = median("BM_PlainReadOfEveryTable/" + size);
            if (startup < 0 || plain <= 0)
                continue;
            std::printf("%6s orders: start-up %.1f ms, plain read of every table %.1f ms: "
                        "%.2fx (goal 1.5x)\n",
                        size.c_str(), startup, plain, startup / plain);
            if (windows >= 0)
                std::printf("%6s orders: start-up less the windows alone (%.1f ms) %.1f ms: "
                            "%.2fx the plain read\n",
                            size.c_str(), windows, startup - windows, (startup - windows) / plain);
        }
        const auto all = heldBytes.find("BM_Startup/100000"),
                   empty = heldBytes.find("BM_Startup/0"),
                   one = heldBytes.find("BM_OneJournalCursor/100000");
        if (all != heldBytes.end() && one != heldBytes.end() && one->second > 0) {
            std::printf("100000 orders: heap held by the windows %.1f MB, one journal cursor "
                        "%.1f MB: %.2fx\n",
                        all->second / 1e6, one->second / 1e6, all->second / one->second);
            if (empty != heldBytes.end())
                std::printf("100000 orders: less the windows over an empty journal (%.1f MB): "
                            "%.2fx one cursor\n",
                            empty->second / 1e6, (all->second - empty->second) / one->second);
            std::printf("100000 orders: of the heap, SQLite's own (page cache, statements): "
                        "windows %.1f MB, over an empty journal %.1f MB, one cursor %.1f MB\n",
                        sqliteBytes["BM_Startup/100000"] / 1e6, sqliteBytes["BM_Startup/0"] / 1e6,
                        sqliteBytes["BM_OneJournalCursor/100000"] / 1e6);
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    applyFontSubstitutions();
    applyLocale();
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
