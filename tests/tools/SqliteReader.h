#pragma once
// Reads a database file made by the tool straight through sqlite3, independently of the tool's
// own code, so that the tests look at what is really in the file.

#include <QString>
#include <QVariant>
#include <ostream>
#include <vector>

// Readable failure messages for Qt values.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QVariant& v, std::ostream* os) {
    *os << (v.isValid() ? v.toString().toStdString() : std::string("NULL"));
}

struct sqlite3;

namespace kavelon::test {

class SqliteReader {
public:
    explicit SqliteReader(const QString& path); // read-only; throws when it cannot open
    ~SqliteReader();
    SqliteReader(const SqliteReader&) = delete;
    SqliteReader& operator=(const SqliteReader&) = delete;

    // Every row of a query; NULL as an invalid QVariant, integers as qint64, texts as QString.
    std::vector<std::vector<QVariant>> rows(const QString& sql) const;
    // Every row of a table in rowid order, all columns.
    std::vector<std::vector<QVariant>> table(const QString& name) const;
    // (name, declared type) of each column in order.
    std::vector<std::pair<QString, QString>> columns(const QString& table) const;

private:
    sqlite3* db_ = nullptr;
};

QString quotedName(const QString& name);

} // namespace kavelon::test
