#include "common/PgServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QUrl>
#include <QVersionNumber>
#include <cstdlib>
#include <libpq-fe.h>
#include <memory>
#include <pwd.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace kavelon::test {

namespace {

const char* const package = "postgresql-15";
const int programLimitMs = 120000;

[[noreturn]] void fail(const QString& message) {
    throw std::runtime_error(message.toStdString());
}

// The bin folder of the highest PostgreSQL version installed.
QString findBinaries() {
    const QDir root(QStringLiteral("/usr/lib/postgresql"));
    QString best;
    QVersionNumber bestVersion;
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString bin = root.filePath(name + QStringLiteral("/bin"));
        const QVersionNumber version = QVersionNumber::fromString(name);
        if (version.isNull() || !QFile::exists(bin + QStringLiteral("/initdb")) ||
            !QFile::exists(bin + QStringLiteral("/pg_ctl")))
            continue;
        if (best.isEmpty() || version > bestVersion) {
            best = bin;
            bestVersion = version;
        }
    }
    if (best.isEmpty())
        fail(QStringLiteral("no PostgreSQL server binaries in /usr/lib/postgresql/<version>/bin: "
                            "install Debian's %1 package (scripts/setup)")
                 .arg(QLatin1String(package)));
    return best;
}

struct Connection {
    explicit Connection(const QString& uri) {
        const QByteArray dsn = uri.toUtf8();
        const char* keywords[] = {"dbname", "client_encoding", nullptr};
        const char* values[] = {dsn.constData(), "UTF8", nullptr};
        pg = PQconnectdbParams(keywords, values, 1);
        if (PQstatus(pg) != CONNECTION_OK) {
            const QString message = QString::fromUtf8(PQerrorMessage(pg)).trimmed();
            PQfinish(pg);
            fail(QStringLiteral("cannot connect to %1: %2").arg(uri, message));
        }
    }
    ~Connection() { PQfinish(pg); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The result of SQL that succeeded; throws with the server's message otherwise.
    std::unique_ptr<PGresult, void (*)(PGresult*)> run(const QString& sql) const {
        std::unique_ptr<PGresult, void (*)(PGresult*)> result(PQexec(pg, sql.toUtf8().constData()),
                                                              PQclear);
        const ExecStatusType status = PQresultStatus(result.get());
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
            fail(QStringLiteral("test SQL failed: %1\n%2")
                     .arg(QString::fromUtf8(PQresultErrorMessage(result.get())).trimmed(), sql));
        return result;
    }

    PGconn* pg = nullptr;
};

PgServer* sharedServer = nullptr;

void stopShared() {
    delete sharedServer;
    sharedServer = nullptr;
}

} // namespace

PgServer::PgServer() : bin_(findBinaries()), asNobody_(geteuid() == 0) {
    QByteArray pattern("/tmp/kavelon-pg-XXXXXX");
    if (!mkdtemp(pattern.data()))
        fail(QStringLiteral("cannot make a temporary folder for PostgreSQL"));
    folder_ = QString::fromLocal8Bit(pattern);
    try {
        if (asNobody_) {
            const passwd* nobody = getpwnam("nobody");
            if (!nobody)
                fail(QStringLiteral("running as root, but there is no user nobody to run "
                                    "PostgreSQL as"));
            if (chown(pattern.constData(), nobody->pw_uid, nobody->pw_gid) != 0 ||
                chmod(pattern.constData(), 0711) != 0)
                fail(QStringLiteral("cannot give %1 to the user nobody").arg(folder_));
        }
        run(QStringLiteral("initdb"),
            {QStringLiteral("-D"), dataFolder(), QStringLiteral("--auth=trust"),
             QStringLiteral("-U"), QStringLiteral("kavelon"), QStringLiteral("--encoding=UTF8"),
             QStringLiteral("--locale=C.UTF-8")});
        start();
    } catch (...) {
        removeFolder();
        throw;
    }
}

PgServer::~PgServer() {
    if (running_)
        runQuietly(QStringLiteral("pg_ctl"),
                   {QStringLiteral("stop"), QStringLiteral("-D"), dataFolder(),
                    QStringLiteral("-m"), QStringLiteral("immediate")},
                   nullptr);
    removeFolder();
}

PgServer& PgServer::shared() {
    static PgServer* server = [] {
        sharedServer = new PgServer;
        // Stopped while the application object still stands, so that QProcess has what it needs;
        // without one, at exit.
        if (QCoreApplication::instance())
            qAddPostRoutine(stopShared);
        else
            std::atexit(stopShared);
        return sharedServer;
    }();
    return *server;
}

void PgServer::start() {
    // pg_ctl hands -o to the shell; the folder's name is mkdtemp's, without quotes in it.
    run(QStringLiteral("pg_ctl"),
        {QStringLiteral("start"), QStringLiteral("-w"), QStringLiteral("-D"), dataFolder(),
         QStringLiteral("-l"), folder_ + QStringLiteral("/log"), QStringLiteral("-o"),
         QStringLiteral("-c listen_addresses='' -k '%1'").arg(folder_)});
    running_ = true;
}

void PgServer::stop() {
    run(QStringLiteral("pg_ctl"),
        {QStringLiteral("stop"), QStringLiteral("-w"), QStringLiteral("-D"), dataFolder(),
         QStringLiteral("-m"), QStringLiteral("fast")});
    running_ = false;
}

QString PgServer::uri(const QString& database) const {
    return QStringLiteral("postgresql:///%1?host=%2&user=kavelon")
        .arg(QString::fromLatin1(QUrl::toPercentEncoding(database)),
             QString::fromLatin1(QUrl::toPercentEncoding(folder_)));
}

QString PgServer::createDatabase() {
    const QString name = QStringLiteral("kavelon_test_%1").arg(++databases_);
    exec(uri(QStringLiteral("postgres")), QStringLiteral("CREATE DATABASE \"%1\"").arg(name));
    return uri(name);
}

void PgServer::exec(const QString& uri, const QString& sql) {
    Connection(uri).run(sql);
}

QStringList PgServer::query(const QString& uri, const QString& sql) {
    const Connection connection(uri);
    const auto result = connection.run(sql);
    QStringList column;
    if (PQnfields(result.get()) == 0)
        return column;
    for (int row = 0; row < PQntuples(result.get()); ++row)
        column << (PQgetisnull(result.get(), row, 0)
                       ? QString()
                       : QString::fromUtf8(PQgetvalue(result.get(), row, 0)));
    return column;
}

void PgServer::run(const QString& program, const QStringList& arguments) const {
    QString output;
    if (!runQuietly(program, arguments, &output)) {
        QFile log(folder_ + QStringLiteral("/log"));
        const QString logText =
            log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
        fail(QStringLiteral("%1 %2 failed:\n%3%4")
                 .arg(program, arguments.join(QLatin1Char(' ')), output,
                      logText.isEmpty() ? QString() : QStringLiteral("\nserver log:\n") + logText));
    }
}

bool PgServer::runQuietly(const QString& program, const QStringList& arguments,
                          QString* output) const {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Nothing of the caller's libpq settings or locale reaches the cluster.
    for (const QString& name : environment.keys())
        if (name.startsWith(QLatin1String("PG")))
            environment.remove(name);
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    // The cluster's folder, which the user nobody may enter (root's home, say, is closed to it).
    process.setWorkingDirectory(folder_);
    process.setProcessChannelMode(QProcess::MergedChannels);
    const QString path = bin_ + QLatin1Char('/') + program;
    if (asNobody_)
        process.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), QStringLiteral("nobody"),
                                  QStringLiteral("--"), path} +
                          arguments);
    else
        process.start(path, arguments);
    const bool finished = process.waitForFinished(programLimitMs);
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    if (output)
        *output = QString::fromLocal8Bit(process.readAll());
    if (!finished && output)
        output->append(process.error() == QProcess::FailedToStart
                           ? QStringLiteral("(could not be started)")
                           : QStringLiteral("(did not end)"));
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QString PgServer::dataFolder() const {
    return folder_ + QStringLiteral("/data");
}

void PgServer::removeFolder() {
    if (!folder_.isEmpty())
        QDir(folder_).removeRecursively();
}

} // namespace kavelon::test
