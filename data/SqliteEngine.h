#pragma once
// The engine of a database in one SQLite file holding the five tables, the database tool's new
// files and checks included. Every failure is a DatabaseError whose message names the file and
// says plainly what is wrong; messages carry no trailing spaces, line breaks or periods.

#include "data/Engine.h"
#include "data/Errors.h"
#include "data/RowStore.h"
#include "data/Schema.h"
#include "data/Value.h"
#include "data/WriteTurnstile.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace kavelon {

class SqliteEngine final : public Engine {
public:
    // Starts SQLite once per process; throws EngineUnavailableError when it cannot start or when
    // the library found at run time is older than the one the program was built for.
    static void initialize();
    static bool libraryUsable(int runtimeVersion, int builtVersion);
    // How long a statement waits for another program's lock before it fails as busy; applies to
    // engines opened afterwards (tests shorten it).
    static void setBusyTimeout(int milliseconds);
    static int busyTimeout();

    // Opens an existing database file (never creates one) and checks that it is one.
    explicit SqliteEngine(const QString& path);
    // Opens an empty file that the caller has just made, to become a new database through a Bulk
    // (tables and rows); refuses a file that holds anything. The engine still never creates a
    // file itself.
    enum NewFileTag { NewFile };
    SqliteEngine(const QString& emptyFile, NewFileTag);
    ~SqliteEngine() override;
    SqliteEngine(const SqliteEngine&) = delete;
    SqliteEngine& operator=(const SqliteEngine&) = delete;

    const QString& path() const override { return path_; }

    // The columns of a table; fails when the file lacks the table.
    EngineTable describe(const QString& tableName) override;
    // Every row of the table, each with its identity, into a store made for table.kinds().
    void readRows(const EngineTable& table, RowStore& rows) override;
    // Every row of the table as readRows gives them, in a store that cursors share and never
    // change: the rows of an earlier read when the file has not changed since, through this
    // connection or any other, or else read afresh.
    std::shared_ptr<const RowStore> sharedRows(const EngineTable& table) override;
    // Reads one row again into the store's row; false when the row is gone.
    bool readRow(const EngineTable& table, std::int64_t rowid, RowStore& rows, int row) override;

    // Stores a new row with these values (other columns get the engine's defaults); returns its
    // identity.
    std::int64_t insert(const EngineTable& table, const std::vector<ColumnValue>& values) override;
    // Changes a row, named by its identity and every value it had when read (originals): a
    // table without a counter column gets the rowid of a deleted row back for the next row
    // stored, so the rowid alone may name another row by now. Refuses when no row matches
    // (changed or deleted by someone else meanwhile).
    void update(const EngineTable& table, std::int64_t rowid,
                const std::vector<ColumnValue>& changes,
                const std::vector<ColumnValue>& originals) override;
    // Deletes a row, named as for update by its identity and the values it had when read.
    void remove(const EngineTable& table, std::int64_t rowid,
                const std::vector<ColumnValue>& originals) override;

    // Many rows written in one transaction: all of them are in the file once commit() returns,
    // none when anything fails before (the transaction is rolled back at once, and the bulk
    // takes nothing more) or when the bulk ends without commit(). While it is open the engine
    // writes nothing else, and other programs that would write the file wait for it.
    class Bulk {
    public:
        explicit Bulk(SqliteEngine& engine); // begins the transaction
        ~Bulk();                             // rolls it back unless committed
        Bulk(const Bulk&) = delete;
        Bulk& operator=(const Bulk&) = delete;

        // A new table as the schema declares it, described as describe() gives it.
        EngineTable createTable(const TableSchema& table);
        // One row: a value for every column, in the table's order. A counter given as null gets
        // the next number; a number given is kept, and later ones continue after the largest.
        // One statement per table, prepared once and bound for each row.
        void insert(const EngineTable& table, const std::vector<Value>& row);
        void commit();

    private:
        // Runs one step of the bulk; a failure rolls everything back and ends the bulk.
        template <typename F> void step(F&& work);
        void rollback();

        SqliteEngine& engine_;
        std::map<QString, sqlite3_stmt*> inserts_; // held by the engine's statements
        bool open_ = false;
    };

    // SQLite's full check of a file opened read-only, never changed and taken as it is, damaged
    // or not: each thing it finds wrong, at most `limit` of them; an error that stops the check
    // is one more. Throws DatabaseBusyError while another program writes the file for longer
    // than the engine waits, EngineFailure when the file cannot be opened.
    static QStringList integrityProblems(const QString& path, int limit);

private:
    void connect(int flags);
    sqlite3_stmt* statement(const QString& sql);
    [[noreturn]] void fail(int code, const QString& doing) const;
    void bind(sqlite3_stmt* st, int index, const Value& v, FieldKind kind) const;
    void readCell(sqlite3_stmt* st, int index, RowStore& rows, int row, int column,
                  TextInterner* interner) const;
    void exec(const char* sql, const QString& doing);
    void checkIntegrity();
    void beforeWriting();
    // Runs a prepared write in this program's turn; an engine error names what was being done.
    void write(sqlite3_stmt* st, const QString& doing);

    // The state of the file as this connection knows it: SQLite's data version moves with every
    // change another connection commits, the count of changed rows with every change of ours.
    struct FileVersion {
        std::int64_t others = 0;
        std::int64_t own = 0;
        friend bool operator==(const FileVersion&, const FileVersion&) = default;
    };
    std::optional<FileVersion> fileVersion();
    struct SharedRead {
        std::vector<EngineColumn> columns;
        FileVersion version;
        std::weak_ptr<const RowStore> rows; // kept while some cursor holds them
    };
    std::map<QString, SharedRead> sharedReads_;

    struct DatabaseCloser {
        void operator()(sqlite3* db) const;
    };
    struct StatementFinalizer {
        void operator()(sqlite3_stmt* st) const;
    };
    using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

    QString path_;
    std::unique_ptr<sqlite3, DatabaseCloser> db_;
    std::unordered_map<std::string, StatementHandle> statements_;
    std::unique_ptr<WriteTurnstile> turnstile_;
    mutable bool damaged_ = false; // SQLite found the file damaged: nothing more is written
    bool opened_ = false;
    Bulk* bulk_ = nullptr; // the bulk write under way
};

// The kind, width and updatability that a declared SQLite type stands for.
EngineColumn columnFromDeclaredType(const QString& name, const QString& declaredType,
                                    bool rowidAlias);

} // namespace kavelon
