#include "common/TempDatabase.h"

#include "common/SqliteReader.h"
#include "data/Schema.h"

#include <QDir>
#include <sqlite3.h>
#include <stdexcept>

namespace kavelon::test {

TempDatabase::TempDatabase(bool withTables) {
    if (!dir_.isValid())
        throw std::runtime_error("cannot make a temporary folder");
    if (withTables)
        for (const TableSchema& t : schema::all())
            exec(schema::createStatement(t));
}

QString TempDatabase::path() const {
    return dir_.filePath(QStringLiteral("кавелон.mdb"));
}

void TempDatabase::exec(const QString& sql) const {
    sqlite3* db = nullptr;
    const QByteArray file = path().toUtf8();
    if (sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open the test database");
    }
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw std::runtime_error("test SQL failed: " + message);
}

QStringList TempDatabase::query(const QString& sql) const {
    return SqliteReader(path(), SqliteReader::Access::ReadWrite).column(sql);
}

void TempDatabase::enter() {
    if (previousFolder_.isEmpty())
        previousFolder_ = QDir::currentPath();
    QDir::setCurrent(folder());
}

TempDatabase::~TempDatabase() {
    if (!previousFolder_.isEmpty())
        QDir::setCurrent(previousFolder_);
}

} // namespace kavelon::test
