// The orders report with 100 000 orders (4 000 pages): from "Печать заказа" to page 1 on the
// screen with the journal re-read, page 1 alone once the rows are read, the whole run in pages
// per second, saving and loading the page file, and the memory the pages take.

#include "common/TempDatabase.h"
#include "data/Connection.h"
#include "data/TableCursor.h"
#include "report/PageFile.h"
#include "report/PreviewWindow.h"
#include "report/Report.h"
#include "report/ReportRun.h"
#include "windows/journal/Unit4.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace kavelon;
using namespace kavelon::report;

namespace {

constexpr int orders = 100000;

struct Journal {
    test::TempDatabase db;
    Connection connection;
    TableCursor cursor{QStringLiteral("ADOTable1")};
    Report report{QStringLiteral("Report1"), TForm4::Report1Definition()};

    Journal() {
        db.exec(
            QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                "INSERT INTO \"Журнал\" (\"Отправка\", \"Населённый пункт\", \"Клиент\", "
                "\"Водитель\", "
                "\"Транспортное средство\", \"Вес груза\", \"Сумма\") "
                "SELECT printf('2024-%02d-%02d %s', i % 12 + 1, i % 28 + 1, CASE WHEN i % 3 = 0 "
                "THEN '00:00:00' "
                "ELSE '14:30:00' END), 'Населённый пункт ' || (i % 700), 'ООО Клиент ' || (i % "
                "3000), "
                "'Водитель ' || (i % 90), 'КАМАЗ ' || (i % 40), i % 20000, 100000 + i * 7 FROM n")
                .arg(orders));
        db.enter();
        cursor.setConnection(&connection);
        cursor.setTableName(QStringLiteral("Журнал"));
        cursor.Open();
        report.setDataSet(&cursor);
    }
};

Journal& journal() {
    static Journal j;
    return j;
}

// "Печать заказа" to page 1 on the screen: the cursor re-read, the preview opened, page 1 made
// and shown; the preview is then closed, which stops the run.
void BM_PressToFirstPage(benchmark::State& state) {
    Journal& j = journal();
    for (auto _ : state) {
        QElapsedTimer clock;
        qint64 firstPage = -1;
        auto opened = QObject::connect(&j.report, &Report::previewOpened, [&](PreviewWindow* w) {
            QObject::connect(w, &PreviewWindow::firstPageShown, w, [&, w] {
                firstPage = clock.nsecsElapsed();
                w->close();
            });
        });
        clock.start();
        j.report.ShowPreview();
        QObject::disconnect(opened);
        state.SetIterationTime(firstPage / 1e9);
    }
    state.counters["rows"] = j.cursor.RecordCount();
}
BENCHMARK(BM_PressToFirstPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(7);

// Re-reading the journal's 100 000 rows, the part of the above that is not the report's.
void BM_Requery(benchmark::State& state) {
    Journal& j = journal();
    for (auto _ : state)
        j.cursor.Requery();
}
BENCHMARK(BM_Requery)->Unit(benchmark::kMillisecond)->Iterations(7);

// Page 1 alone, the rows already read.
void BM_FirstPageOnly(benchmark::State& state) {
    Journal& j = journal();
    for (auto _ : state) {
        ReportRun run(j.report.definition(), Orientation::Portrait, &j.cursor);
        bool made = false;
        run.pageMade = [&](int) { made = true; };
        run.beforeRow = [&](int, int) {
            return made ? ReportRun::Stop::DropPage : ReportRun::Stop::No;
        };
        run.run();
        benchmark::DoNotOptimize(made);
    }
}
BENCHMARK(BM_FirstPageOnly)->Unit(benchmark::kMillisecond)->Iterations(50);

// The whole run as the preview makes it (window messages processed before each row).
void BM_WholeRun(benchmark::State& state) {
    Journal& j = journal();
    std::size_t pages = 0, bytes = 0;
    for (auto _ : state) {
        ReportRun run(j.report.definition(), Orientation::Portrait, &j.cursor);
        run.beforeRow = [](int, int) {
            QCoreApplication::processEvents();
            return ReportRun::Stop::No;
        };
        run.run();
        pages = run.pages().pages.size();
        bytes = run.pages().memoryUsage();
    }
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["pages/s"] = benchmark::Counter(static_cast<double>(pages),
                                                   benchmark::Counter::kIsIterationInvariantRate);
    state.counters["page MiB"] = static_cast<double>(bytes) / (1 << 20);
}
BENCHMARK(BM_WholeRun)->Unit(benchmark::kMillisecond)->Iterations(3);

const PageSet& allPages() {
    static const PageSet pages = [] {
        ReportRun run(journal().report.definition(), Orientation::Portrait, &journal().cursor);
        run.run();
        return run.takePages();
    }();
    return pages;
}

void BM_SavePageFile(benchmark::State& state) {
    const PageSet& pages = allPages();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("заказы.kvpages"));
    for (auto _ : state)
        savePageFile(file, pages);
    state.counters["file MiB"] = static_cast<double>(QFileInfo(file).size()) / (1 << 20);
}
BENCHMARK(BM_SavePageFile)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LoadPageFile(benchmark::State& state) {
    const PageSet& pages = allPages();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("заказы.kvpages"));
    savePageFile(file, pages);
    for (auto _ : state) {
        PageSet loaded = loadPageFile(file);
        benchmark::DoNotOptimize(loaded.pages.data());
    }
}
BENCHMARK(BM_LoadPageFile)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LC_ALL", "ru_RU.UTF-8");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
