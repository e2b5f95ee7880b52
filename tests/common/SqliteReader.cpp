#include "common/SqliteReader.h"

#include "data/Schema.h"

#include <sqlite3.h>
#include <stdexcept>

namespace kavelon::test {

namespace {

// A prepared statement, finalized however the reading ends.
class Statement {
public:
    Statement(sqlite3* db, const QString& sql) : db_(db) {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &st_, nullptr) !=
            SQLITE_OK) {
            const std::string message = sqlite3_errmsg(db);
            sqlite3_finalize(st_);
            throw std::runtime_error("bad query: " + message);
        }
    }
    ~Statement() { sqlite3_finalize(st_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Steps to the next row; false at the end, throws on an error.
    bool next() {
        const int rc = sqlite3_step(st_);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            throw std::runtime_error(std::string("query failed: ") + sqlite3_errmsg(db_));
        return false;
    }
    sqlite3_stmt* get() const { return st_; }

private:
    sqlite3* db_;
    sqlite3_stmt* st_ = nullptr;
};

} // namespace

QString quotedName(const QString& name) {
    return kavelon::schema::quotedIdentifier(name);
}

SqliteReader::SqliteReader(const QString& path, Access access) {
    const int flags = access == Access::ReadWrite ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db_);
        throw std::runtime_error("cannot open " + path.toStdString());
    }
    sqlite3_busy_timeout(db_, 5000);
}

SqliteReader::~SqliteReader() {
    sqlite3_close(db_);
}

std::vector<std::vector<QVariant>> SqliteReader::rows(const QString& sql) const {
    Statement statement(db_, sql);
    sqlite3_stmt* st = statement.get();
    std::vector<std::vector<QVariant>> result;
    while (statement.next()) {
        std::vector<QVariant> row;
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            switch (sqlite3_column_type(st, i)) {
            case SQLITE_NULL:
                row.emplace_back();
                break;
            case SQLITE_INTEGER:
                row.emplace_back(qint64(sqlite3_column_int64(st, i)));
                break;
            case SQLITE_FLOAT:
                row.emplace_back(sqlite3_column_double(st, i));
                break;
            default:
                row.emplace_back(
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i))));
            }
        }
        result.push_back(std::move(row));
    }
    return result;
}

QList<QStringList> SqliteReader::texts(const QString& sql, const QString& nullText) const {
    Statement statement(db_, sql);
    sqlite3_stmt* st = statement.get();
    QList<QStringList> result;
    while (statement.next()) {
        QStringList row;
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            const auto* text = sqlite3_column_text(st, i);
            row << (text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : nullText);
        }
        result << row;
    }
    return result;
}

QStringList SqliteReader::column(const QString& sql, const QString& nullText) const {
    QStringList result;
    for (const QStringList& row : texts(sql, nullText))
        result << row.value(0, nullText);
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
