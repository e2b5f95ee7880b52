#pragma once
// A new database file, written all or nothing: the rows go into a hidden file beside the target
// inside one transaction of the engine's bulk write, and only a completed file is linked under
// the target's name. A target that exists is never overwritten, and a failure leaves nothing
// behind.

#include "data/Schema.h"
#include "data/SqliteEngine.h"
#include "data/Value.h"

#include <QString>
#include <map>
#include <memory>
#include <vector>

namespace kavelon::dbtool {

class NewDatabase {
public:
    // Refuses (ToolError) when the target exists; creates the five empty tables and begins the
    // transaction.
    explicit NewDatabase(const QString& targetPath);
    ~NewDatabase(); // removes the unfinished file unless commit() succeeded
    NewDatabase(const NewDatabase&) = delete;
    NewDatabase& operator=(const NewDatabase&) = delete;

    // One row, the values in the table's column order. An auto-number given as null is assigned
    // by the database; a value given keeps its number.
    void insert(const TableSchema& table, const std::vector<Value>& row);
    // Commits, closes and puts the file in place under the target's name.
    void commit();

private:
    // Discards the file and refuses with what failed, the target's name and the engine's words.
    [[noreturn]] void fail(const QString& what, const Error& error);
    void discard();

    QString target_;
    QString temporary_;
    std::unique_ptr<SqliteEngine> engine_;
    std::unique_ptr<SqliteEngine::Bulk> bulk_;
    std::map<QString, EngineTable> tables_;
    bool committed_ = false;
};

// Makes an interrupted run (Ctrl+C, a closed terminal) remove the unfinished file too.
void removeUnfinishedFileOnSignals();

// Refuses with a plain message when something exists under the path already.
void refuseExisting(const QString& path);

} // namespace kavelon::dbtool
