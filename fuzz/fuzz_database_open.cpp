// A database file of any content: the engine opens it and reads every table, or refuses it
// with one of its own messages.
#include "data/Errors.h"
#include "data/RowStore.h"
#include "data/Schema.h"
#include "data/SqliteEngine.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

using namespace kavelon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("кавелон.mdb"));
    QFile::remove(path + QStringLiteral("-journal"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    SqliteEngine::setBusyTimeout(0);
    try {
        SqliteEngine engine(path);
        for (const TableSchema& t : schema::all()) {
            try {
                const EngineTable table = engine.describe(t.name);
                RowStore rows(table.kinds());
                engine.readRows(table, rows);
            } catch (const DatabaseError&) {
            }
        }
    } catch (const DatabaseError&) {
    }
    return 0;
}
