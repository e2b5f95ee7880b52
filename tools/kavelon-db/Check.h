#pragma once
// `kavelon-db check FILE`: what SQLite's full integrity check finds wrong with a database file.
// The file is opened read-only and never changed.

#include <QString>
#include <QStringList>

namespace kavelon::dbtool {

struct CheckReport {
    QStringList problems; // empty: no damage found
    QString text(const QString& path) const;
};

// Throws ToolError when the file is missing or not an SQLite database at all.
CheckReport checkDatabase(const QString& path);

} // namespace kavelon::dbtool
