#pragma once
// A fresh database file for one test, made from the one schema definition, in a temporary folder
// that is removed with the object.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace kavelon::test {

class TempDatabase {
public:
    // Creates the folder and, when withTables, "кавелон.mdb" with the five empty tables in it.
    // With KAVELON_TEST_ENGINE=postgresql the tables are made in a new database on the tests' own
    // PostgreSQL server instead, and "кавелон.mdb" is a link file naming it; exec and query then
    // run there.
    explicit TempDatabase(bool withTables = true);
    bool onServer() const;
    QString serverUri() const { return serverUri_; }
    QString folder() const { return dir_.path(); }
    QString path() const; // folder + "/кавелон.mdb"
    // Runs SQL on the file directly (test fixtures only).
    void exec(const QString& sql) const;
    // The first column of every row a query gives, as text (NULL as a null QString), the file
    // opened as the program opens it (see SqliteReader).
    QStringList query(const QString& sql) const;
    // Makes the folder the working folder for the object's lifetime (the connection names the file
    // relatively).
    void enter();
    ~TempDatabase();

private:
    QTemporaryDir dir_;
    QString previousFolder_;
    QString serverUri_;
};

} // namespace kavelon::test
