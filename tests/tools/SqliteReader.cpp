#include "SqliteReader.h"

#include "data/Schema.h"

#include <sqlite3.h>
#include <stdexcept>

namespace kavelon::test {

QString quotedName(const QString& name) {
    return kavelon::schema::quotedIdentifier(name);
}

SqliteReader::SqliteReader(const QString& path) {
    if (sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db_);
        throw std::runtime_error("cannot open " + path.toStdString());
    }
}

SqliteReader::~SqliteReader() {
    sqlite3_close(db_);
}

std::vector<std::vector<QVariant>> SqliteReader::rows(const QString& sql) const {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("bad query: ") + sqlite3_errmsg(db_));
    std::vector<std::vector<QVariant>> result;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        std::vector<QVariant> row;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            switch (sqlite3_column_type(statement, i)) {
            case SQLITE_NULL:
                row.emplace_back();
                break;
            case SQLITE_INTEGER:
                row.emplace_back(qint64(sqlite3_column_int64(statement, i)));
                break;
            case SQLITE_FLOAT:
                row.emplace_back(sqlite3_column_double(statement, i));
                break;
            default:
                row.emplace_back(QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, i))));
            }
        }
        result.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    return result;
}

std::vector<std::vector<QVariant>> SqliteReader::table(const QString& name) const {
    return rows(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(quotedName(name)));
}

std::vector<std::pair<QString, QString>> SqliteReader::columns(const QString& table) const {
    std::vector<std::pair<QString, QString>> result;
    for (const auto& row : rows(QStringLiteral("PRAGMA table_info(%1)").arg(quotedName(table))))
        result.emplace_back(row[1].toString(), row[2].toString());
    return result;
}

} // namespace kavelon::test
