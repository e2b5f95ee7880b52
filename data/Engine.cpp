#include "data/Engine.h"

namespace kavelon {

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

} // namespace kavelon
