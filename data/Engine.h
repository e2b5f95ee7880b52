#pragma once
// What a database engine does for the cursors: describe a table, read its rows, read one row
// again, and write rows (insert, and update and delete of a row named by its identity and the
// values it had when read). Nothing above the data layer knows which engine serves; the
// SQLite file's engine is in SqliteEngine.h.

#include "data/Errors.h"
#include "data/RowStore.h"
#include "data/Value.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace kavelon {

// A column as the engine describes it.
struct EngineColumn {
    QString name;
    FieldKind kind = FieldKind::Integer;
    int size = 0;          // text(N): N
    bool updatable = true; // false for the counter and for what the engine cannot write back
    bool counter = false;  // auto-number: the row's identity, given by the engine
};

struct EngineTable {
    QString name;
    std::vector<EngineColumn> columns;
    bool updatable = true; // false when the file is read-only
    int counterColumn = -1;
    // Whether a stored row may hold more than the values handed over besides its counter
    // (defaults of columns, triggers): then it is worth reading back after a write.
    bool addsToWrittenRows = false;
    std::vector<FieldKind> kinds() const;
};

// A column and a value for it.
struct ColumnValue {
    int column;
    Value value;
};

// What the engine throws for a failure of the database (other than a busy one): beside the message,
// the engine's own short words for it ("UNIQUE constraint failed: …"), for the database tool, which
// words its messages itself and names the file it makes rather than the one it writes.
class EngineFailure : public DatabaseError {
public:
    EngineFailure(QString message, QString detail)
        : DatabaseError(std::move(message)), detail_(std::move(detail)) {}
    const QString& detail() const noexcept { return detail_; }

private:
    QString detail_;
};

class Engine {
public:
    virtual ~Engine() = default;

    // The database's name in the engine's messages: the file's absolute path.
    virtual const QString& path() const = 0;

    // The columns of a table; fails when the database lacks the table.
    virtual EngineTable describe(const QString& tableName) = 0;
    // Every row of the table, each with its identity, into a store made for table.kinds().
    virtual void readRows(const EngineTable& table, RowStore& rows) = 0;
    // Every row of the table as readRows gives them, in a store that cursors share and never
    // change: the rows of an earlier read when the database has not changed since, through this
    // connection or any other, or else read afresh.
    virtual std::shared_ptr<const RowStore> sharedRows(const EngineTable& table) = 0;
    // Reads one row again into the store's row; false when the row is gone.
    virtual bool readRow(const EngineTable& table, std::int64_t rowid, RowStore& rows, int row) = 0;

    // Stores a new row with these values (other columns get the engine's defaults); returns its
    // identity. The row is durable when the call returns.
    virtual std::int64_t insert(const EngineTable& table,
                                const std::vector<ColumnValue>& values) = 0;
    // Changes a row, named by its identity and every value it had when read (originals), so
    // that a row changed or deleted by someone else meanwhile is refused, never overwritten.
    virtual void update(const EngineTable& table, std::int64_t rowid,
                        const std::vector<ColumnValue>& changes,
                        const std::vector<ColumnValue>& originals) = 0;
    // Deletes a row, named as for update by its identity and the values it had when read.
    virtual void remove(const EngineTable& table, std::int64_t rowid,
                        const std::vector<ColumnValue>& originals) = 0;

    // Whether the table can still be read at all; false when it or the database is gone. A
    // busy database counts as readable.
    bool tableReadable(const QString& tableName);

protected:
    // Refuses a date the database cannot hold.
    static void checkStorable(const Value& value);
    static void checkStorable(const std::vector<ColumnValue>& values);
    // Refuses an update or delete that found no row as it was read.
    [[noreturn]] static void refuseChangedMeanwhile();

    // The table's columns, quoted and separated by commas, for a SELECT.
    static QString columnList(const EngineTable& table);
    // Whether rows read for one description of a table serve another: the same names and kinds.
    static bool sameColumns(const std::vector<EngineColumn>& a, const std::vector<EngineColumn>& b);

    Engine() = default;
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;
};

// An engine message as the user reads it: trailing spaces, line breaks and periods removed.
QString engineMessage(QString text);
} // namespace kavelon
