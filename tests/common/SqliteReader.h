#pragma once
// Reads a database file straight through sqlite3, independently of the program's own code, so
// that the tests look at what is really in the file. The one way the tests query a file.

#include "common/QtPrinting.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

struct sqlite3;

namespace kavelon::test {

class SqliteReader {
public:
    // ReadWrite opens the file as the program opens it, so that a journal left by a killed writer
    // is rolled back first; neither creates the file. Throws when it cannot open.
    enum class Access { ReadOnly, ReadWrite };
    explicit SqliteReader(const QString& path, Access access = Access::ReadOnly);
    ~SqliteReader();
    SqliteReader(const SqliteReader&) = delete;
    SqliteReader& operator=(const SqliteReader&) = delete;

    // Every row of a query; NULL as an invalid QVariant, integers as qint64, texts as QString.
    // Each of these throws when the query fails.
    std::vector<std::vector<QVariant>> rows(const QString& sql) const;
    // Every row of a query, each column as the text SQLite gives for it, NULL as nullText.
    QList<QStringList> texts(const QString& sql, const QString& nullText = {}) const;
    // The first column of every row, as texts does.
    QStringList column(const QString& sql, const QString& nullText = {}) const;
    // Every row of a table in rowid order, all columns.
    std::vector<std::vector<QVariant>> table(const QString& name) const;
    // (name, declared type) of each column in order.
    std::vector<std::pair<QString, QString>> columns(const QString& table) const;

private:
    sqlite3* db_ = nullptr;
};

QString quotedName(const QString& name);

} // namespace kavelon::test
