// The journal over 100 000 orders, offscreen: a keystroke in the client search until the grid is
// repainted, a page down in the grid with its repaint, and each sort. A bare repaint of the grid
// is the baseline measured in the same run.

#include "app/ModalShowing.h"
#include "common/RecordingMessages.h"
#include "common/TempDatabase.h"
#include "controls/TDBGrid.h"
#include "controls/TRadioGroup.h"
#include "windows/journal/Unit2.h"
#include "windows/shell/Startup.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <benchmark/benchmark.h>
#include <memory>

using namespace kavelon;

namespace {

const int orders = 100000;

// The journal window made by the start-up over a filled file, shown and active.
struct Journal {
    test::TempDatabase db;
    std::unique_ptr<test::RecordingMessages> boxes;

    Journal() {
        db.exec(QStringLiteral(
                    "BEGIN;"
                    "INSERT INTO \"Журнал\"(\"Отправка\",\"Населённый пункт\",\"Клиент\","
                    "\"Водитель\",\"Транспортное средство\",\"Вес груза\",\"Сумма\") "
                    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i < %1) "
                    "SELECT printf('2024-%02d-%02d 00:00:00', i%12+1, i%28+1), 'Пункт ' || (i%50), "
                    "'ООО Клиент ' || ((i*7919)%2000), 'Водитель ' || ((i*31)%400), "
                    "'Машина ' || (i%30), i%5000, (i*7919)%100000 FROM n;"
                    "COMMIT;")
                    .arg(orders));
        db.enter();
        boxes = std::make_unique<test::RecordingMessages>();
        createForms();
        Form2->show();
        Form2->activateWindow();
        (void)QTest::qWaitForWindowExposed(Form2);
    }
    ~Journal() {
        Form2->hide();
        destroyForms();
    }
};

std::unique_ptr<Journal> theJournal; // made by the first benchmark, gone before the application

Journal& journal() {
    if (!theJournal)
        theJournal = std::make_unique<Journal>();
    return *theJournal;
}

void repaintGrid() {
    Form2->DBGrid1->viewport()->repaint();
}

void BM_RepaintBaseline(benchmark::State& state) {
    journal();
    for (auto _ : state)
        repaintGrid();
}

// Alternately a letter and Backspace: each is one keystroke that changes the filter.
void BM_ClientSearchKeystroke(benchmark::State& state) {
    journal();
    QLineEdit* edit = Form2->Edit1;
    edit->setFocus();
    edit->setText(QStringLiteral("Клиент 1"));
    bool typeLetter = true;
    for (auto _ : state) {
        if (typeLetter)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_1, QStringLiteral("1"), Qt::NoModifier);
        else
            QTest::keyClick(edit, Qt::Key_Backspace);
        repaintGrid();
        typeLetter = !typeLetter;
    }
    state.counters["rows"] = Form2->ADOTable1->RecordCount();
    edit->clear();
}

// Page down through the journal, back to the top when the end is reached.
void BM_PageDown(benchmark::State& state) {
    journal();
    TDBGrid* grid = Form2->DBGrid1;
    grid->setFocus();
    for (auto _ : state) {
        QTest::keyClick(grid, Qt::Key_PageDown);
        repaintGrid();
        if (Form2->ADOTable1->currentIndex() >= Form2->ADOTable1->rowCount() - 1) {
            state.PauseTiming();
            QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
            state.ResumeTiming();
        }
    }
}

// One sort column (the argument is its item); each iteration flips the direction, a new sort.
void BM_Sort(benchmark::State& state) {
    journal();
    Form2->RadioGroup1->button(int(state.range(0)))->click();
    int direction = 0;
    for (auto _ : state) {
        direction = 1 - direction;
        Form2->RadioGroup2->button(direction)->click();
        repaintGrid();
    }
    state.SetLabel(Form2->ADOTable1->Sort().toStdString());
}

BENCHMARK(BM_RepaintBaseline)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ClientSearchKeystroke)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PageDown)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_Sort)
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(6)
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
    theJournal.reset();
    return 0;
}
