// Rows read once and handed to every cursor that opens on an unchanged file: at start-up the
// windows open three or four cursors on each table one after the other.
#include "data/SqliteEngine.h"

#include <sqlite3.h>

namespace kavelon {

std::optional<SqliteEngine::FileVersion> SqliteEngine::fileVersion() {
    sqlite3_stmt* st = statement(QStringLiteral("PRAGMA data_version"));
    std::optional<FileVersion> version;
    if (sqlite3_step(st) == SQLITE_ROW)
        version = FileVersion{sqlite3_column_int64(st, 0), sqlite3_total_changes64(db_.get())};
    sqlite3_reset(st);
    return version;
}

std::shared_ptr<const RowStore> SqliteEngine::sharedRows(const EngineTable& table) {
    const std::optional<FileVersion> before = fileVersion();
    const auto known = sharedReads_.find(table.name);
    if (before && known != sharedReads_.end() && known->second.version == *before &&
        sameColumns(known->second.columns, table.columns))
        if (std::shared_ptr<const RowStore> rows = known->second.rows.lock())
            return rows;

    auto rows = std::make_shared<RowStore>(table.kinds());
    readRows(table, *rows);
    rows->listRows();
    // The pages just read hold the same rows again, in the file's form: SQLite's cache of them
    // (a couple of megabytes for the journal) goes, and the file's pages are read anew when a
    // write or a later read needs them.
    sqlite3_db_release_memory(db_.get());
    // Shared only when nothing changed the file while it was read: then the rows are the file's
    // at one moment, and stay so until the version moves.
    const std::optional<FileVersion> after = fileVersion();
    if (before && after && *before == *after)
        sharedReads_[table.name] = SharedRead{table.columns, *before, rows};
    else
        sharedReads_.erase(table.name);
    return rows;
}

} // namespace kavelon
