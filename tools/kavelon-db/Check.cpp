#include "tools/kavelon-db/Check.h"

#include "tools/kavelon-db/ToolError.h"

#include <QFile>
#include <QFileInfo>
#include <memory>
#include <sqlite3.h>

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

    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    const std::unique_ptr<sqlite3, decltype(&sqlite3_close_v2)> db(raw, &sqlite3_close_v2);
    if (rc != SQLITE_OK)
        throw ToolError(QStringLiteral("%1: cannot be opened: %2")
                            .arg(path, QString::fromUtf8(sqlite3_errstr(rc))));
    sqlite3_busy_timeout(raw, 5000);
    CheckReport report;
    sqlite3_stmt* raw_st = nullptr;
    int step = sqlite3_prepare_v2(raw, "PRAGMA integrity_check(100)", -1, &raw_st, nullptr);
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> st(raw_st, &sqlite3_finalize);
    if (step == SQLITE_OK) {
        while ((step = sqlite3_step(raw_st)) == SQLITE_ROW) {
            const QStringList lines =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(raw_st, 0)))
                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            for (const QString& line : lines)
                if (line != QLatin1String("ok") && !line.startsWith(QLatin1String("***")))
                    report.problems << line.trimmed();
        }
    }
    if (step != SQLITE_DONE) {
        if ((step & 0xff) == SQLITE_BUSY)
            throw ToolError(
                QStringLiteral("%1 is being written by another program; try again").arg(path));
        report.problems << QString::fromUtf8(sqlite3_errmsg(raw));
    }
    return report;
}

} // namespace kavelon::dbtool
