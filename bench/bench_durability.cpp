// The long durability loop: a process posting orders is killed with SIGKILL at a random moment,
// a thousand times over (or as many as the first argument says). After every kill each order
// whose Post had returned must be in the file with its values, and the file must pass
// PRAGMA integrity_check. Exit code 0 when every trial holds.
#include "common/ChildProcess.h"
#include "common/TempDatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <cstdio>
#include <map>

using namespace kavelon::test;

namespace {

// One trial; returns an empty text when it holds, else what went wrong.
QString trial(int& postedCount) {
    TempDatabase db;
    auto child = startChild(QStringLiteral("append"), db.folder());
    std::vector<PostedOrder> posted;
    QByteArray partial;
    auto* random = QRandomGenerator::global();
    // Mostly killed while posting; now and then while it is still opening the file.
    const bool early = random->bounded(5) == 0;
    if (!early)
        while (posted.empty() && child->waitForReadyRead(10000))
            readPosted(*child, posted, partial);
    const int delay = int(random->bounded(early ? 60 : 300));
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < delay) {
        child->waitForReadyRead(std::max(1, delay - int(waited.elapsed())));
        readPosted(*child, posted, partial);
    }
    child->kill();
    child->waitForFinished(10000);
    readPosted(*child, posted, partial);
    postedCount = int(posted.size());

    try {
        const QStringList integrity = db.query(QStringLiteral("PRAGMA integrity_check"));
        if (integrity != QStringList{QStringLiteral("ok")})
            return QStringLiteral("integrity check: ") + integrity.join(QLatin1Char(' '));
        std::map<int, int> stored;
        for (const QString& r :
             db.query(QStringLiteral("SELECT \"ID\" || ' ' || \"Вес груза\" FROM \"Журнал\"")))
            stored[r.section(QLatin1Char(' '), 0, 0).toInt()] =
                r.section(QLatin1Char(' '), 1, 1).toInt();
        for (const PostedOrder& o : posted)
            if (!stored.count(o.id) || stored[o.id] != o.weight)
                return QStringLiteral("order %1 was posted but is not in the file as posted")
                    .arg(o.id);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int trials = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    int failures = 0;
    long long posted = 0;
    QElapsedTimer clock;
    clock.start();
    for (int t = 1; t <= trials; ++t) {
        int count = 0;
        const QString problem = trial(count);
        posted += count;
        if (!problem.isEmpty()) {
            ++failures;
            std::printf("trial %d: %s\n", t, problem.toUtf8().constData());
        }
        if (t % 50 == 0 || t == trials) {
            std::printf("%d trials, %lld orders posted before the kills, %d failures, %.0f s\n", t,
                        posted, failures, clock.elapsed() / 1000.0);
            std::fflush(stdout);
        }
    }
    return failures == 0 ? 0 : 1;
}
