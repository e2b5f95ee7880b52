#pragma once
// The engine of a database on a PostgreSQL server, named by a link file (LinkFile.h), through
// libpq. It behaves as the file's engine does: every write is its own transaction, durable when
// the call returns; an update or delete names the row by its identity and the values it had when
// read, and is refused when another user changed the row meanwhile.
//
// Tables are those that publish() makes: the schema's columns with PostgreSQL's types, an
// auto-number as an identity column, and in a table without one a hidden identity column
// (kavelon_row) that names its rows.

#include "data/Engine.h"
#include "data/Schema.h"

#include <QString>
#include <map>
#include <memory>
#include <unordered_map>

struct pg_conn;
struct pg_result;

namespace kavelon {

class SqliteEngine;

class PostgresEngine final : public Engine {
public:
    // Connects to the server the URI names; linkPath is the link file, named in messages.
    // Throws DatabaseError when the server cannot be reached or refuses the login.
    PostgresEngine(const QString& linkPath, const QString& uri);
    ~PostgresEngine() override;

    const QString& path() const override { return path_; }
    EngineTable describe(const QString& tableName) override;
    void readRows(const EngineTable& table, RowStore& rows) override;
    std::shared_ptr<const RowStore> sharedRows(const EngineTable& table) override;
    bool readRow(const EngineTable& table, std::int64_t rowid, RowStore& rows, int row) override;
    std::int64_t insert(const EngineTable& table, const std::vector<ColumnValue>& values) override;
    void update(const EngineTable& table, std::int64_t rowid,
                const std::vector<ColumnValue>& changes,
                const std::vector<ColumnValue>& originals) override;
    void remove(const EngineTable& table, std::int64_t rowid,
                const std::vector<ColumnValue>& originals) override;

    // Copies every table and row of a database file into the empty database the URI names, in
    // one transaction: all of it or nothing. Auto-numbers keep their values, and new ones
    // continue after the largest. Returns the rows copied per table, in the schema's order.
    static std::vector<std::pair<QString, int>> publish(SqliteEngine& source, const QString& uri);

    // The name of the hidden identity column of a table without an auto-number.
    static constexpr char hiddenRowColumn[] = "kavelon_row";

private:
    struct ResultClearer {
        void operator()(pg_result* r) const;
    };
    using Result = std::unique_ptr<pg_result, ResultClearer>;

    void connect();
    void ensureConnected();
    // Runs a statement with text parameters (null pointers for NULL); prepared once per text.
    Result run(const QString& sql, const std::vector<QByteArray>& parameters,
               const std::vector<bool>& nulls, const QString& doing);
    Result run(const QString& sql, const QString& doing) { return run(sql, {}, {}, doing); }
    [[noreturn]] void fail(pg_result* result, const QString& doing);
    QString identityOf(const EngineTable& table) const;
    void readCell(const char* text, int bytes, RowStore& rows, int row, int column,
                  TextInterner* interner) const;
    QString snapshot();

    QString path_;
    QString uri_;
    pg_conn* conn_ = nullptr;
    std::unordered_map<std::string, std::string> prepared_; // SQL -> statement name
    std::map<QString, QString> identities_;                 // table -> identity column
    struct SharedRead {
        std::vector<EngineColumn> columns;
        QString snapshot;
        std::weak_ptr<const RowStore> rows;
    };
    std::map<QString, SharedRead> sharedReads_;
};

} // namespace kavelon
