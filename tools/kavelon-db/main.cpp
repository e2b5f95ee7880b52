// kavelon-db: makes Kavelon database files.
//   kavelon-db create [--demo] FILE      a new database, empty or with demo data
//   kavelon-db import OLD.mdb NEW.mdb    a new database with the rows of a predecessor's file
//   kavelon-db check FILE                what is damaged in a database file, if anything
//   kavelon-db publish FILE URI          every table and row of a file into an empty PostgreSQL
//                                        database; the file is left as it is
//   kavelon-db link FILE URI             a new link file naming the database on the server
#include "tools/kavelon-db/Check.h"
#include "tools/kavelon-db/Create.h"
#include "tools/kavelon-db/Import.h"
#include "tools/kavelon-db/NewDatabase.h"
#include "tools/kavelon-db/ToolError.h"

#include "data/LinkFile.h"
#include "data/PostgresEngine.h"
#include "data/SqliteEngine.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

using namespace kavelon::dbtool;

namespace {
const char usage[] = "usage: kavelon-db create [--demo] FILE\n"
                     "       kavelon-db import OLD.mdb NEW.mdb\n"
                     "       kavelon-db check FILE\n"
                     "       kavelon-db publish FILE postgresql://HOST/DATABASE\n"
                     "       kavelon-db link FILE postgresql://HOST/DATABASE\n";

void print(std::FILE* to, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fflush(to);
}

int create(QStringList args) {
    const bool demo = args.removeAll(QStringLiteral("--demo")) > 0;
    if (args.size() != 1 || args.front().startsWith(QLatin1Char('-'))) {
        std::fputs(usage, stderr);
        return 2;
    }
    createDatabase(args.front(), demo);
    print(stdout, QStringLiteral("Created %1%2\n")
                      .arg(args.front(), demo ? QStringLiteral(" with demo data") : QString()));
    return 0;
}
int import(const QStringList& args) {
    if (args.size() != 2) {
        std::fputs(usage, stderr);
        return 2;
    }
    const ImportReport report = importLegacyDatabase(args[0], args[1]);
    print(stdout, report.text(args[0], args[1]));
    return 0;
}
int check(const QStringList& args) {
    if (args.size() != 1) {
        std::fputs(usage, stderr);
        return 2;
    }
    const CheckReport report = checkDatabase(args.front());
    print(report.problems.isEmpty() ? stdout : stderr, report.text(args.front()));
    return report.problems.isEmpty() ? 0 : 1;
}
int publish(const QStringList& args) {
    if (args.size() != 2) {
        std::fputs(usage, stderr);
        return 2;
    }
    if (const QString problem = kavelon::link::uriProblem(args[1]); !problem.isEmpty())
        throw kavelon::DatabaseError(QStringLiteral("Nothing was published: %1").arg(problem));
    kavelon::SqliteEngine source(args[0]);
    const auto copied = kavelon::PostgresEngine::publish(source, args[1]);
    QString report = QStringLiteral("Published %1 to %2\n").arg(args[0], args[1]);
    for (const auto& [table, rows] : copied)
        report += QStringLiteral("  %1: %2 rows\n").arg(table).arg(rows);
    print(stdout, report);
    return 0;
}
int link(const QStringList& args) {
    if (args.size() != 2) {
        std::fputs(usage, stderr);
        return 2;
    }
    kavelon::link::write(args[0], args[1]);
    print(stdout, QStringLiteral("Linked %1 to %2\n").arg(args[0], args[1]));
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    removeUnfinishedFileOnSignals();
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fputs(usage, stderr);
        return 2;
    }
    const QString command = args.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        std::fputs(usage, stdout);
        return 0;
    }
    try {
        if (command == QLatin1String("create"))
            return create(args);
        if (command == QLatin1String("import"))
            return import(args);
        if (command == QLatin1String("check"))
            return check(args);
        if (command == QLatin1String("publish"))
            return publish(args);
        if (command == QLatin1String("link"))
            return link(args);
    } catch (const kavelon::Error& e) {
        print(stderr, QStringLiteral("kavelon-db: %1\n").arg(e.message()));
        return 1;
    } catch (const std::exception& e) {
        print(stderr, QStringLiteral("kavelon-db: %1\n").arg(QString::fromLocal8Bit(e.what())));
        return 1;
    }
    std::fputs(usage, stderr);
    return 2;
}
