// Writing rows: insert, and update and delete of a row named by its identity and every value
// this cursor read of it, so that a row changed or deleted meanwhile is refused.
#include "data/Errors.h"
#include "data/Schema.h"
#include "data/SqliteEngine.h"

#include <QStringList>
#include <sqlite3.h>

namespace kavelon {

using schema::quotedIdentifier;

namespace {
// Compares a column with its value as read. Dates by the instant, so that "2024-01-05" read and
// written back as "2024-01-05 00:00:00" is still the same value, and a date another program
// stored as a number of days (read as such) still matches.
QString sameAs(const EngineColumn& c, int parameter) {
    const QString name = quotedIdentifier(c.name);
    if (c.kind == FieldKind::DateTime)
        return QStringLiteral("(CASE WHEN typeof(%1) IN ('integer','real') THEN %1 + 2415018.5 "
                              "ELSE julianday(%1) END IS julianday(?%2) OR abs(CASE WHEN "
                              "typeof(%1) IN ('integer','real') THEN %1 + 2415018.5 ELSE "
                              "julianday(%1) END - julianday(?%2)) < 0.000000006)")
            .arg(name)
            .arg(parameter);
    return QStringLiteral("%1 IS ?%2").arg(name).arg(parameter);
}

} // namespace

void SqliteEngine::write(sqlite3_stmt* st, const QString& doing) {
    const WriteTurnstile::Turn turn(*turnstile_, busyTimeout(), WriteTurnstile::Writing);
    const int rc = sqlite3_step(st);
    sqlite3_reset(st);
    if (rc != SQLITE_DONE)
        fail(rc, doing);
}

std::int64_t SqliteEngine::insert(const EngineTable& table,
                                  const std::vector<ColumnValue>& values) {
    beforeWriting();
    checkStorable(values);
    QString sql;
    if (values.empty()) {
        sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quotedIdentifier(table.name));
    } else {
        QStringList names, parameters;
        for (const ColumnValue& v : values) {
            names << quotedIdentifier(table.columns[std::size_t(v.column)].name);
            parameters << QStringLiteral("?");
        }
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(quotedIdentifier(table.name), names.join(QLatin1Char(',')),
                       parameters.join(QLatin1Char(',')));
    }
    sqlite3_stmt* st = statement(sql);
    for (std::size_t i = 0; i < values.size(); ++i)
        bind(st, int(i) + 1, values[i].value, table.columns[std::size_t(values[i].column)].kind);
    write(st, QStringLiteral("store a new row in the table \"%1\"").arg(table.name));
    return sqlite3_last_insert_rowid(db_.get());
}

namespace {
// "rowid = ?first AND <every original value>", numbering parameters from `first`.
QString rowCondition(const EngineTable& table, const std::vector<ColumnValue>& originals,
                     int first) {
    QStringList conditions;
    conditions << QStringLiteral("rowid = ?%1").arg(first);
    for (std::size_t i = 0; i < originals.size(); ++i)
        conditions << sameAs(table.columns[std::size_t(originals[i].column)], first + 1 + int(i));
    return conditions.join(QStringLiteral(" AND "));
}
} // namespace

void SqliteEngine::update(const EngineTable& table, std::int64_t rowid,
                          const std::vector<ColumnValue>& changes,
                          const std::vector<ColumnValue>& originals) {
    if (changes.empty())
        return;
    beforeWriting();
    checkStorable(changes);
    QStringList sets;
    const int n = int(changes.size());
    for (int i = 0; i < n; ++i) {
        const EngineColumn& c = table.columns[std::size_t(changes[std::size_t(i)].column)];
        sets << QStringLiteral("%1 = ?%2").arg(quotedIdentifier(c.name)).arg(i + 1);
    }
    sqlite3_stmt* st = statement(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                     .arg(quotedIdentifier(table.name), sets.join(QLatin1Char(',')),
                                          rowCondition(table, originals, n + 1)));
    for (int i = 0; i < n; ++i) {
        const ColumnValue& ch = changes[std::size_t(i)];
        bind(st, i + 1, ch.value, table.columns[std::size_t(ch.column)].kind);
    }
    sqlite3_bind_int64(st, n + 1, rowid);
    for (std::size_t i = 0; i < originals.size(); ++i)
        bind(st, n + 2 + int(i), originals[i].value,
             table.columns[std::size_t(originals[i].column)].kind);
    write(st, QStringLiteral("change a row of the table \"%1\"").arg(table.name));
    if (sqlite3_changes(db_.get()) == 0)
        refuseChangedMeanwhile();
}

void SqliteEngine::remove(const EngineTable& table, std::int64_t rowid,
                          const std::vector<ColumnValue>& originals) {
    beforeWriting();
    sqlite3_stmt* st =
        statement(QStringLiteral("DELETE FROM %1 WHERE %2")
                      .arg(quotedIdentifier(table.name), rowCondition(table, originals, 1)));
    sqlite3_bind_int64(st, 1, rowid);
    for (std::size_t i = 0; i < originals.size(); ++i)
        bind(st, int(i) + 2, originals[i].value,
             table.columns[std::size_t(originals[i].column)].kind);
    write(st, QStringLiteral("delete a row of the table \"%1\"").arg(table.name));
    if (sqlite3_changes(db_.get()) == 0)
        refuseChangedMeanwhile();
}

} // namespace kavelon
