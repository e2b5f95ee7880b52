#include "data/Engine.h"
#include "data/Schema.h"

#include <QStringList>
#include <algorithm>

namespace kavelon {

namespace {
const QString changedMeanwhile = QStringLiteral(
    "The row cannot be written: it was changed or deleted by another user since it was read. "
    "Cancel the change and read the rows again");

// Years one to 9999: what the stored text "YYYY-MM-DD" holds and reads back.
const QString unstorableDate = QStringLiteral(
    "The date cannot be stored: the database holds dates of the years 1 to 9999 only");
} // namespace

std::vector<FieldKind> EngineTable::kinds() const {
    std::vector<FieldKind> k;
    k.reserve(columns.size());
    for (const EngineColumn& c : columns)
        k.push_back(c.kind);
    return k;
}

QString engineMessage(QString text) {
    qsizetype end = text.size();
    while (end > 0) {
        const QChar c = text.at(end - 1);
        if (c == QLatin1Char(' ') || c == QLatin1Char('\n') || c == QLatin1Char('\r') ||
            c == QLatin1Char('.') || c == QLatin1Char('\t'))
            --end;
        else
            break;
    }
    text.truncate(end);
    return text;
}

bool Engine::tableReadable(const QString& tableName) {
    try {
        describe(tableName);
        return true;
    } catch (const DatabaseBusyError&) {
        return true;
    } catch (const DatabaseError&) {
        return false;
    }
}

void Engine::checkStorable(const Value& value) {
    if (value.type() == Value::Type::DateTime && !value.toDateTime().isStorable())
        throw DatabaseError(engineMessage(unstorableDate));
}

void Engine::checkStorable(const std::vector<ColumnValue>& values) {
    for (const ColumnValue& v : values)
        checkStorable(v.value);
}

void Engine::refuseChangedMeanwhile() {
    throw DatabaseError(engineMessage(changedMeanwhile));
}

QString Engine::columnList(const EngineTable& table) {
    QStringList names;
    for (const EngineColumn& c : table.columns)
        names << schema::quotedIdentifier(c.name);
    return names.join(QLatin1Char(','));
}

bool Engine::sameColumns(const std::vector<EngineColumn>& a, const std::vector<EngineColumn>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const EngineColumn& x, const EngineColumn& y) {
                          return x.name == y.name && x.kind == y.kind;
                      });
}

} // namespace kavelon
