#include "tools/kavelon-db/Check.h"

#include "data/SqliteEngine.h"
#include "tools/kavelon-db/ToolError.h"

#include <QFile>
#include <QFileInfo>

namespace kavelon::dbtool {

QString CheckReport::text(const QString& path) const {
    if (problems.isEmpty())
        return QStringLiteral("%1: no damage found\n").arg(path);
    QString out = QStringLiteral("%1 is damaged:\n").arg(path);
    for (const QString& p : problems)
        out += QStringLiteral("  ") + p + QLatin1Char('\n');
    out += QStringLiteral("Keep a copy of the file as it is, then put the last backup in its "
                          "place.\n");
    return out;
}

CheckReport checkDatabase(const QString& path) {
    if (!QFileInfo(path).isFile())
        throw ToolError(QStringLiteral("%1: no such file").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ToolError(QStringLiteral("%1: cannot be read: %2").arg(path, file.errorString()));
    if (!file.read(16).startsWith(QByteArrayLiteral("SQLite format 3")))
        throw ToolError(QStringLiteral("%1 is not a database of Kavelon (it is empty, damaged "
                                       "beyond its first page or of another kind)")
                            .arg(path));
    file.close();

    CheckReport report;
    try {
        report.problems = SqliteEngine::integrityProblems(path, 100);
    } catch (const DatabaseBusyError&) {
        throw ToolError(
            QStringLiteral("%1 is being written by another program; try again").arg(path));
    } catch (const EngineFailure& e) {
        throw ToolError(QStringLiteral("%1: cannot be opened: %2").arg(path, e.detail()));
    }
    return report;
}

} // namespace kavelon::dbtool
