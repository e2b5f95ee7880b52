// Start-up, from creating the thirteen windows (every cursor reading its table) to the main
// window shown, offscreen, with journals of 10 000 and 100 000 orders.

#include "common/RecordingMessages.h"
#include "common/TempDatabase.h"
#include "controls/ModalShowing.h"
#include "shell/Startup.h"
#include "shell/Unit1.h"

#include <QApplication>
#include <QWindow>
#include <benchmark/benchmark.h>

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
                "i*7 FROM n;"
                "INSERT INTO \"Клиенты\" WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 "
                "FROM n WHERE i < 200) SELECT 'ООО Клиент ' || i, 'Директор ' || i, 'Адрес ' || i, "
                "'555-' || i FROM n;"
                "INSERT INTO \"Населённые пункты\" WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                "SELECT i+1 FROM n WHERE i < 50) SELECT 'Пункт ' || i, i*10 FROM n;"
                "COMMIT;")
                .arg(orders));
}

void BM_Startup(benchmark::State& state) {
    test::TempDatabase db;
    fillDatabase(db, int(state.range(0)));
    db.enter();
    test::RecordingMessages boxes;
    for (auto _ : state) {
        createForms();
        showMainWindow(Form1);
        while (!Form1->windowHandle() || !Form1->windowHandle()->isExposed())
            QCoreApplication::processEvents();
        state.PauseTiming();
        destroyForms();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    if (!boxes.boxes().empty())
        state.SkipWithError("a box was shown during the start-up");
}
BENCHMARK(BM_Startup)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    applyFontSubstitutions();
    applyLocale();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
