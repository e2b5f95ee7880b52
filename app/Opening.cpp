#include "app/Opening.h"

#include "app/Guard.h"
#include "data/Connection.h"
#include "data/TableCursor.h"

namespace kavelon {

void openAtStart(Connection& connection) {
    try {
        connection.Open();
    } catch (const DatabaseError& e) {
        showErrorBox(e.message());
    }
}

void openAtStart(TableCursor& cursor) {
    try {
        cursor.Open();
    } catch (const DatabaseError& e) {
        showErrorBox(e.message());
    }
}

} // namespace kavelon

namespace kavelon {

std::unique_ptr<TableCursor> tableCursor(const QString& name, Connection* connection,
                                         const QString& table,
                                         const std::vector<ColumnSchema>& declared) {
    auto cursor = std::make_unique<TableCursor>(name);
    cursor->setConnection(connection);
    cursor->setTableName(table);
    if (!declared.empty())
        cursor->declareFields(declared);
    return cursor;
}

} // namespace kavelon
