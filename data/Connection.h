#pragma once
// The one database connection (the main window's ADOConnection1). It names the file relative to
// the working folder at the moment it opens, and never creates a missing file.

#include <QString>
#include <memory>

namespace kavelon {

class Engine; // the database engine below (data/Engine.h)

class Connection {
public:
    // Starts the engine; throws EngineUnavailableError when it cannot (the program stops).
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=кавелон.mdb;Persist Security Info=False"
    QString ConnectionString;
    QString Provider = QStringLiteral("Microsoft.Jet.OLEDB.4.0");
    bool LoginPrompt = false;

    // The "Data Source" of the connection string.
    QString dataSource() const;

    // Opens the file; throws DatabaseError with the engine's message when it cannot.
    void Open();
    void Close();
    bool Connected() const;
    // Sets Connected: true opens (throwing as Open does), false closes.
    void setConnected(bool connected);

    // The open engine; throws DatabaseError when the connection is closed.
    Engine& engine();
    // The same, shared: cursors keep the file open until they close, whatever the connection does.
    std::shared_ptr<Engine> sharedEngine();

private:
    std::shared_ptr<Engine> engine_;
};

} // namespace kavelon
