#include "common/TempDatabase.h"

#include "common/PgServer.h"
#include "common/SqliteReader.h"
#include "data/LinkFile.h"
#include "data/PostgresEngine.h"
#include "data/Schema.h"
#include "data/SqliteEngine.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>
#include <stdexcept>

namespace kavelon::test {

TempDatabase::TempDatabase(bool withTables) {
    if (!dir_.isValid())
        throw std::runtime_error("cannot make a temporary folder");
    if (!withTables)
        return;
    for (const TableSchema& t : schema::all())
        exec(schema::createStatement(t));
    if (qEnvironmentVariable("KAVELON_TEST_ENGINE") != QLatin1String("postgresql"))
        return;
    // The same tables on the tests' own PostgreSQL server, and the link file in the file's place.
    serverUri_ = PgServer::shared().createDatabase();
    {
        SqliteEngine file(path());
        PostgresEngine::publish(file, serverUri_);
    }
    QFile::remove(path());
    link::write(path(), serverUri_);
}

bool TempDatabase::onServer() const {
    return !serverUri_.isEmpty();
}

QString TempDatabase::path() const {
    return dir_.filePath(QStringLiteral("кавелон.mdb"));
}

void TempDatabase::exec(const QString& sql) const {
    if (onServer())
        return PgServer::exec(serverUri_, sql);
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
    if (onServer())
        return PgServer::query(serverUri_, sql);
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
