#include "tools/kavelon-db/NewDatabase.h"

#include "tools/kavelon-db/ToolError.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
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
    try {
        engine_ = std::make_unique<SqliteEngine>(temporary_, SqliteEngine::NewFile);
    } catch (const Error& e) {
        fail(QStringLiteral("Cannot open the new database"), e);
    }
    try {
        bulk_ = std::make_unique<SqliteEngine::Bulk>(*engine_);
        for (const TableSchema& table : schema::all())
            tables_.emplace(table.name, bulk_->createTable(table));
    } catch (const Error& e) {
        fail(QStringLiteral("Cannot write the new database"), e);
    }
}

NewDatabase::~NewDatabase() {
    if (!committed_)
        discard();
}

void NewDatabase::fail(const QString& what, const Error& error) {
    const auto* failure = dynamic_cast<const EngineFailure*>(&error);
    const QString detail = failure ? failure->detail() : error.message();
    discard();
    throw ToolError(QStringLiteral("%1 %2: %3").arg(what, target_, detail));
}

void NewDatabase::discard() {
    bulk_.reset(); // an open transaction is rolled back
    engine_.reset();
    if (!temporary_.isEmpty()) {
        ::unlink(QFile::encodeName(temporary_).constData());
        ::unlink(QFile::encodeName(temporary_ + QStringLiteral("-journal")).constData());
        temporary_.clear();
        forget();
    }
}

void NewDatabase::insert(const TableSchema& table, const std::vector<Value>& row) {
    if (row.size() != table.columns.size())
        throw ToolError(QStringLiteral("A row of \"%1\" has %2 values instead of %3")
                            .arg(table.name)
                            .arg(row.size())
                            .arg(table.columns.size()));
    try {
        bulk_->insert(tables_.at(table.name), row);
    } catch (const Error& e) {
        fail(QStringLiteral("Cannot write a row of \"%1\" into").arg(table.name), e);
    }
}

void NewDatabase::commit() {
    try {
        bulk_->commit();
    } catch (const Error& e) {
        fail(QStringLiteral("Cannot write the new database"), e);
    }
    bulk_.reset();
    engine_.reset(); // closed before it is put in place
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
