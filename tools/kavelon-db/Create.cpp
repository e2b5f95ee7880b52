#include "tools/kavelon-db/Create.h"

#include "data/Schema.h"
#include "tools/kavelon-db/Demo.h"
#include "tools/kavelon-db/NewDatabase.h"

namespace kavelon::dbtool {

void createDatabase(const QString& path, bool withDemo, const QDate& today) {
    NewDatabase database(path);
    if (withDemo) {
        const DemoData demo = makeDemoData(today);
        const std::pair<const TableSchema&, const std::vector<Row>&> tables[] = {
            {schema::clients(), demo.clients},
            {schema::settlements(), demo.settlements},
            {schema::vehicles(), demo.vehicles},
            {schema::drivers(), demo.drivers},
            {schema::journal(), demo.journal}};
        for (const auto& [table, rows] : tables)
            for (const Row& row : rows)
                database.insert(table, row);
    }
    database.commit();
}

} // namespace kavelon::dbtool
