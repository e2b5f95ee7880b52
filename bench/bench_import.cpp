// Importing a predecessor's journal: seconds per 10 000 orders, for journals of 20 000 and 100 000
// orders, against mdb-export reading the same table (libmdb alone, no child, no SQLite) as the
// baseline measured in the same run.
//
// The large Jet files are made from the sample: its journal's data page (4 orders) is appended
// again and again with fresh order numbers, each copy marked in the table's page map, and the
// row count in the table's definition set to match.
#include "tools/kavelon-db/Import.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>

namespace {

constexpr qsizetype page = 4096;
// Places in kavelon-sample.mdb: the journal's definition, its one data page and its page map.
constexpr qsizetype journalDefinition = 24, journalData = 45, journalMap = 46;

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

QString legacyJournal(int orders) {
    static std::map<int, QString> made;
    if (made.count(orders))
        return made[orders];
    QFile sample(QStringLiteral(KAVELON_SOURCE_DIR "/tests/data/legacy-jet/kavelon-sample.mdb"));
    if (!sample.open(QIODevice::ReadOnly))
        std::abort();
    QByteArray file = sample.readAll();
    const QByteArray data = file.mid(journalData * page, page);
    quint16 rows = 0;
    std::memcpy(&rows, data.constData() + 12, 2);
    std::int32_t nextId = 1000;
    std::uint32_t total = rows;
    while (total + rows <= std::uint32_t(orders)) {
        QByteArray copy = data;
        for (int r = 0; r < rows; ++r) {
            quint16 offset = 0;
            std::memcpy(&offset, copy.constData() + 14 + 2 * r, 2);
            std::memcpy(copy.data() + (offset & 0x1fff) + 2, &nextId, 4); // "ID" leads the row
            ++nextId;
        }
        const qsizetype number = file.size() / page;
        file.append(copy);
        file[journalMap * page + 4 + number / 8] =
            char(file[journalMap * page + 4 + number / 8] | (1 << (number % 8)));
        total += rows;
    }
    std::memcpy(file.data() + journalDefinition * page + 16, &total, 4);
    const QString path = folder().filePath(QStringLiteral("journal-%1.mdb").arg(orders));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size())
        std::abort();
    return made[orders] = path;
}

void BM_Import(benchmark::State& state) {
    const int orders = int(state.range(0));
    const QString old = legacyJournal(orders);
    int run = 0;
    std::uint32_t imported = 0;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const QString target =
            folder().filePath(QStringLiteral("new-%1-%2.mdb").arg(orders).arg(run++));
        const auto report = kavelon::dbtool::importLegacyDatabase(old, target);
        imported = report.tables.front().written;
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        QFile::remove(target);
        state.ResumeTiming();
    }
    state.counters["orders"] = imported;
    state.counters["s_per_10000"] = seconds / double(state.iterations()) * 10000.0 / imported;
}

void BM_MdbExportBaseline(benchmark::State& state) {
    const QString old = legacyJournal(int(state.range(0)));
    const QByteArray command =
        QStringLiteral("mdb-export '%1' 'Журнал' > /dev/null").arg(old).toUtf8();
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.constData()) != 0)
            state.SkipWithError("mdb-export failed");
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["s_per_10000"] =
        seconds / double(state.iterations()) * 10000.0 / double(state.range(0));
}

} // namespace

BENCHMARK(BM_Import)
    ->Arg(20000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_MdbExportBaseline)
    ->Arg(20000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
