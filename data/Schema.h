#pragma once
// The five tables of the database file: names, column kinds, widths and the display widths that
// the windows with a grid declare. The one definition used by the engine, the database tool and
// the tests.

#include <QString>
#include <vector>

namespace kavelon {

// Kinds of column. The first five are those the program declares; the others are what a file
// may hold instead and only serve to name a mismatch.
enum class FieldKind {
    AutoInc,
    Integer,
    DateTime,
    WideString,
    Boolean,
    SmallInt,
    Float,
    Currency,
    Memo,
    Blob
};

// "AutoInc", "Integer", "DateTime", "WideString", "Boolean", "SmallInt", …
QString fieldKindName(FieldKind kind);
// The display width a field of this kind carries when nothing declares one (text: its width).
int defaultDisplayWidth(FieldKind kind, int size);

struct ColumnSchema {
    QString name;
    FieldKind kind;
    int size = 0;         // text(N): N; 0 for other kinds
    int displayWidth = 0; // as declared by the window with the grid
    bool readOnly = false;
};

struct TableSchema {
    QString name;
    std::vector<ColumnSchema> columns;
};

namespace schema {
inline const QString journalTable = QStringLiteral("Журнал");
inline const QString clientsTable = QStringLiteral("Клиенты");
inline const QString settlementsTable = QStringLiteral("Населённые пункты");
inline const QString vehiclesTable = QStringLiteral("Транспортные ср-ва");
inline const QString driversTable = QStringLiteral("Водители");

const TableSchema& journal();
const TableSchema& clients();
const TableSchema& settlements();
const TableSchema& vehicles();
const TableSchema& drivers();
// The five tables in the order above.
const std::vector<TableSchema>& all();
const TableSchema* find(const QString& tableName);

// An SQL identifier in double quotes, inner quotes doubled ("Растояние до НП").
QString quotedIdentifier(const QString& name);

// The CREATE TABLE statement of a table, with quoted identifiers and the declared SQLite types
// from which the engine reads the kinds back: INTEGER PRIMARY KEY AUTOINCREMENT, INTEGER,
// DATETIME, VARCHAR(N), BOOLEAN.
QString createStatement(const TableSchema& table);
} // namespace schema

} // namespace kavelon
