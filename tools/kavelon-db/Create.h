#pragma once
// `kavelon-db create`: a new database file with the five empty tables, or with demo data.

#include <QDate>
#include <QString>

namespace kavelon::dbtool {

// Throws ToolError when the file exists (it is left unchanged) or cannot be written; nothing is
// left behind on failure.
void createDatabase(const QString& path, bool withDemo, const QDate& today = QDate::currentDate());

} // namespace kavelon::dbtool
