#pragma once
// Opening the connection and the cursors while the windows are created: a failed opening is
// shown in the error box and the creation goes on with the cursor closed. Any other error (the
// engine that cannot start, a damaged resource) is left to stop the start-up.

namespace kavelon {

class Connection;
class TableCursor;

void openAtStart(Connection& connection);
void openAtStart(TableCursor& cursor);

} // namespace kavelon

#include "data/Schema.h"

#include <QString>
#include <memory>
#include <vector>

namespace kavelon {

// A cursor with its settings as its window stores them: name, connection, table and, for the
// windows with a grid, the declared fields. It opens later, with openAtStart.
std::unique_ptr<TableCursor> tableCursor(const QString& name, Connection* connection,
                                         const QString& table,
                                         const std::vector<ColumnSchema>& declared = {});

} // namespace kavelon
