#include "tools/kavelon-db/NewDatabase.h"

#include "tools/kavelon-db/ToolError.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavelon::dbtool {

namespace {
bool exists(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

// A new empty file beside the target, made exclusively so that two runs never share one.
QString makeTemporaryBeside(const QString& target) {
    const QFileInfo info(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = info.dir().filePath(
            QStringLiteral(".%1.%2-%3.part").arg(info.fileName()).arg(::getpid()).arg(attempt));
        const int fd = ::open(QFile::encodeName(name).constData(),
                              O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return name;
        }
        if (errno != EEXIST)
            throw ToolError(QStringLiteral("Cannot create a file in the folder of %1: %2")
                                .arg(target, QString::fromLocal8Bit(std::strerror(errno))));
    }
    throw ToolError(QStringLiteral("Cannot create a file in the folder of %1").arg(target));
}

// The unfinished file's name where a signal handler can reach it without allocating.
char unfinished[4096];
char unfinishedJournal[4096 + 16];

void remember(const QString& temporary) {
    const QByteArray name = QFile::encodeName(temporary);
    const QByteArray journal = name + "-journal";
    if (size_t(journal.size()) >= sizeof unfinished)
        return;
    std::memcpy(unfinishedJournal, journal.constData(), size_t(journal.size()) + 1);
    std::memcpy(unfinished, name.constData(), size_t(name.size()) + 1);
}

void forget() {
    unfinished[0] = unfinishedJournal[0] = '\0';
}

extern "C" void removeUnfinishedAndExit(int signal) {
    if (unfinished[0]) {
        ::unlink(unfinished);
        ::unlink(unfinishedJournal);
    }
    ::_exit(128 + signal);
}

void syncFolderOf(const QString& path) {
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
} // namespace

void removeUnfinishedFileOnSignals() {
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, removeUnfinishedAndExit);
}

void refuseExisting(const QString& path) {
    if (exists(path))
        throw ToolError(
            QStringLiteral(
                "%1 already exists; it is left unchanged. Choose a new file name or move "
                "the existing file away first")
                .arg(path));
}

NewDatabase::NewDatabase(const QString& targetPath) : target_(targetPath) {
    refuseExisting(target_);
    if (!QFileInfo(target_).absoluteDir().exists())
        throw ToolError(QStringLiteral("The folder of %1 does not exist").arg(target_));
    temporary_ = makeTemporaryBeside(target_);
    remember(temporary_);
    const QByteArray name = QFile::encodeName(temporary_);
    if (sqlite3_open_v2(name.constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        fail(QStringLiteral("Cannot open the new database"));
    exec("PRAGMA synchronous=FULL");
    exec("BEGIN IMMEDIATE");
    for (const TableSchema& table : schema::all())
        exec(schema::createStatement(table).toUtf8().constData());
}

NewDatabase::~NewDatabase() {
    if (!committed_)
        discard();
}

void NewDatabase::exec(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(QStringLiteral("Cannot write the new database"));
}

void NewDatabase::fail(const QString& what) {
    const QString detail = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString();
    discard();
    throw ToolError(QStringLiteral("%1 %2: %3").arg(what, target_, detail));
}

void NewDatabase::discard() {
    for (auto& [name, statement] : inserts_)
        sqlite3_finalize(statement);
    inserts_.clear();
    if (db_) {
        sqlite3_close(db_); // an open transaction is rolled back
        db_ = nullptr;
    }
    if (!temporary_.isEmpty()) {
        ::unlink(QFile::encodeName(temporary_).constData());
        ::unlink(QFile::encodeName(temporary_ + QStringLiteral("-journal")).constData());
        temporary_.clear();
        forget();
    }
}

void NewDatabase::insert(const TableSchema& table, const std::vector<Value>& row) {
    sqlite3_stmt*& statement = inserts_[table.name];
    if (!statement) {
        QStringList columns, places;
        for (const ColumnSchema& c : table.columns) {
            columns << schema::quotedIdentifier(c.name);
            places << QStringLiteral("?");
        }
        const QByteArray sql =
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(schema::quotedIdentifier(table.name), columns.join(QLatin1Char(',')),
                     places.join(QLatin1Char(',')))
                .toUtf8();
        if (sqlite3_prepare_v2(db_, sql.constData(), -1, &statement, nullptr) != SQLITE_OK)
            fail(QStringLiteral("Cannot write the table \"%1\" of").arg(table.name));
    }
    if (row.size() != table.columns.size())
        throw ToolError(QStringLiteral("A row of \"%1\" has %2 values instead of %3")
                            .arg(table.name)
                            .arg(row.size())
                            .arg(table.columns.size()));
    sqlite3_reset(statement);
    for (int i = 0; i < int(row.size()); ++i) {
        const Value& v = row[size_t(i)];
        switch (v.type()) {
        case Value::Type::Null:
            sqlite3_bind_null(statement, i + 1);
            break;
        case Value::Type::Integer:
            sqlite3_bind_int(statement, i + 1, v.toInteger());
            break;
        case Value::Type::Boolean:
            sqlite3_bind_int(statement, i + 1, v.toBoolean() ? 1 : 0);
            break;
        case Value::Type::DateTime:
        case Value::Type::Text: {
            const QByteArray text =
                (v.type() == Value::Type::Text ? v.toText() : v.toDateTime().toIsoText()).toUtf8();
            sqlite3_bind_text(statement, i + 1, text.constData(), int(text.size()),
                              SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (sqlite3_step(statement) != SQLITE_DONE)
        fail(QStringLiteral("Cannot write a row of \"%1\" into").arg(table.name));
}

void NewDatabase::commit() {
    for (auto& [name, statement] : inserts_)
        sqlite3_finalize(statement);
    inserts_.clear();
    exec("COMMIT");
    if (sqlite3_close(db_) != SQLITE_OK)
        fail(QStringLiteral("Cannot close the new database"));
    db_ = nullptr;
    const QByteArray from = QFile::encodeName(temporary_);
    const QByteArray to = QFile::encodeName(target_);
    // link() refuses an existing name, so a file that appeared meanwhile is not overwritten.
    if (::link(from.constData(), to.constData()) != 0) {
        const int error = errno;
        if (error == EEXIST) {
            discard();
            refuseExisting(target_);
        }
        const bool noLinks = error == EPERM || error == ENOTSUP || error == EOPNOTSUPP;
        if (!noLinks || exists(target_) || ::rename(from.constData(), to.constData()) != 0) {
            discard();
            throw ToolError(QStringLiteral("Cannot put the new database in place as %1: %2")
                                .arg(target_, QString::fromLocal8Bit(std::strerror(error))));
        }
    } else {
        ::unlink(from.constData());
    }
    temporary_.clear();
    forget();
    committed_ = true;
    syncFolderOf(target_);
}

} // namespace kavelon::dbtool
