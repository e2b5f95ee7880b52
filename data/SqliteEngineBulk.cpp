// Writing many rows in one transaction: a new database's tables and rows (the database tool's
// create and import), all of them or none.
#include "data/Errors.h"
#include "data/Schema.h"
#include "data/SqliteEngine.h"

#include <QDir>
#include <QStringList>
#include <sqlite3.h>

namespace kavelon {

using schema::quotedIdentifier;

SqliteEngine::Bulk::Bulk(SqliteEngine& engine) : engine_(engine) {
    engine_.beforeWriting();
    const WriteTurnstile::Turn turn(*engine_.turnstile_, busyTimeout(), WriteTurnstile::Writing);
    // The write lock at once: a bulk that would have to wait for it fails here, before any row.
    engine_.exec("BEGIN IMMEDIATE", QStringLiteral("begin writing"));
    open_ = true;
    engine_.bulk_ = this;
}

SqliteEngine::Bulk::~Bulk() {
    if (open_)
        rollback();
}

void SqliteEngine::Bulk::rollback() {
    open_ = false;
    engine_.bulk_ = nullptr;
    if (!sqlite3_get_autocommit(engine_.db_.get()))
        sqlite3_exec(engine_.db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
}

template <typename F> void SqliteEngine::Bulk::step(F&& work) {
    if (!open_)
        throw DatabaseError(
            QStringLiteral("The database file \"%1\" is no longer written in one transaction: "
                           "the transaction has ended")
                .arg(QDir::toNativeSeparators(engine_.path_)));
    try {
        work();
    } catch (...) {
        rollback();
        throw;
    }
}

EngineTable SqliteEngine::Bulk::createTable(const TableSchema& table) {
    EngineTable described;
    step([&] {
        const QByteArray sql = schema::createStatement(table).toUtf8();
        engine_.exec(sql.constData(), QStringLiteral("create the table \"%1\"").arg(table.name));
        described = engine_.describe(table.name);
    });
    return described;
}

void SqliteEngine::Bulk::insert(const EngineTable& table, const std::vector<Value>& row) {
    step([&] {
        if (row.size() != table.columns.size())
            throw DatabaseError(QStringLiteral("A row of the table \"%1\" has %2 values instead "
                                               "of %3")
                                    .arg(table.name)
                                    .arg(row.size())
                                    .arg(table.columns.size()));
        for (const Value& v : row)
            checkStorable(v);

        sqlite3_stmt*& st = inserts_[table.name];
        if (!st) {
            QStringList names, parameters;
            for (const EngineColumn& c : table.columns) {
                names << quotedIdentifier(c.name);
                parameters << QStringLiteral("?");
            }
            st = engine_.statement(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                       .arg(quotedIdentifier(table.name),
                                            names.join(QLatin1Char(',')),
                                            parameters.join(QLatin1Char(','))));
        }
        for (std::size_t i = 0; i < row.size(); ++i)
            engine_.bind(st, int(i) + 1, row[i], table.columns[i].kind);
        const int rc = sqlite3_step(st);
        sqlite3_reset(st);
        if (rc != SQLITE_DONE)
            engine_.fail(rc, QStringLiteral("store a new row in the table \"%1\"").arg(table.name));
    });
}

void SqliteEngine::Bulk::commit() {
    step([&] {
        const WriteTurnstile::Turn turn(*engine_.turnstile_, busyTimeout(),
                                        WriteTurnstile::Writing);
        engine_.exec("COMMIT", QStringLiteral("write the new rows"));
    });
    open_ = false;
    engine_.bulk_ = nullptr;
}

} // namespace kavelon
