#include "data/Connection.h"

#include "data/Errors.h"
#include "data/LinkFile.h"
#include "data/PostgresEngine.h"
#include "data/SqliteEngine.h"

#include <QDir>
#include <QStringList>

namespace kavelon {

Connection::Connection()
    : ConnectionString(QStringLiteral(
          "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=кавелон.mdb;Persist Security Info=False")) {
    // The engine is made with the connection: when it cannot start, the program cannot either.
    SqliteEngine::initialize();
}

Connection::~Connection() = default;

QString Connection::dataSource() const {
    const QStringList parts = ConnectionString.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        if (part.left(eq).trimmed().compare(QLatin1String("Data Source"), Qt::CaseInsensitive) ==
            0) {
            QString value = part.mid(eq + 1).trimmed();
            if (value.size() >= 2 &&
                (value.startsWith(QLatin1Char('"')) || value.startsWith(QLatin1Char('\''))) &&
                value.endsWith(value.front()))
                value = value.mid(1, value.size() - 2);
            return value;
        }
    }
    return {};
}

void Connection::Open() {
    if (engine_)
        return;
    const QString source = dataSource();
    if (source.isEmpty())
        throw DatabaseError(QStringLiteral("The connection names no database file (Data Source)"));
    // Relative to the working folder as it is now, not as it was when the program started.
    const QString path = QDir::current().absoluteFilePath(source);
    // The file is the database, or a link file naming the database on a server.
    if (const std::optional<QString> uri = link::readUri(path))
        engine_ = std::make_shared<PostgresEngine>(path, *uri);
    else
        engine_ = std::make_shared<SqliteEngine>(path);
}

void Connection::Close() {
    engine_.reset();
}

bool Connection::Connected() const {
    return engine_ != nullptr;
}

void Connection::setConnected(bool connected) {
    if (connected)
        Open();
    else
        Close();
}

Engine& Connection::engine() {
    if (!engine_)
        throw DatabaseError(QStringLiteral("The connection to the database is closed"));
    return *engine_;
}

std::shared_ptr<Engine> Connection::sharedEngine() {
    engine();
    return engine_;
}

} // namespace kavelon
