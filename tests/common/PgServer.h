#pragma once
// A PostgreSQL server of the tests' own: a cluster made by initdb in a fresh folder under /tmp,
// reached only through a Unix socket in that folder (no TCP port), so that test processes run side
// by side never meet. The binaries are Debian's (postgresql-15) under /usr/lib/postgresql; as root
// (CI) initdb and pg_ctl run as the user nobody, since PostgreSQL refuses to run as root.
// Failures throw std::runtime_error with what the programs or the server said; GoogleTest counts
// the throw as the test's failure.

#include <QString>
#include <QStringList>

namespace kavelon::test {

class PgServer {
public:
    // Makes a cluster in a new folder and starts its server.
    PgServer();
    // Stops the server at once (pg_ctl stop -m immediate) and removes the folder.
    ~PgServer();
    PgServer(const PgServer&) = delete;
    PgServer& operator=(const PgServer&) = delete;

    // The one server of this test process, started on first use and stopped at its exit. Tests
    // that stop a server make their own instead.
    static PgServer& shared();

    // pg_ctl stop -m fast, returning once the server is down.
    void stop();
    // pg_ctl start -w, returning once the server accepts connections.
    void start();
    bool running() const { return running_; }

    // The socket folder, libpq's host.
    QString host() const { return folder_; }
    // The connection URI of a database of this server, for PQconnectdb.
    QString uri(const QString& database) const;
    // Creates an empty database with a name not used before on this server; returns its URI.
    QString createDatabase();

    // Runs SQL (one or more statements) on the database a URI names.
    static void exec(const QString& uri, const QString& sql);
    // The first column of every row a query gives, as text (NULL as a null QString).
    static QStringList query(const QString& uri, const QString& sql);

private:
    // Runs one of the server's programs (as nobody when root) and waits for it to end; throws
    // with its output when it fails.
    void run(const QString& program, const QStringList& arguments) const;
    bool runQuietly(const QString& program, const QStringList& arguments, QString* output) const;
    QString dataFolder() const;
    void removeFolder();

    QString bin_;
    QString folder_;
    bool asNobody_ = false;
    bool running_ = false;
    int databases_ = 0;
};

} // namespace kavelon::test
