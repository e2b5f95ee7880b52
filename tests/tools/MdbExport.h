#pragma once
// An independent reading of a Jet table through Debian's `mdb-export`, for comparison with what
// the import wrote. Dates come as "YYYY-MM-DD HH:MM:SS", NULL as an invalid QVariant.

#include <QString>
#include <QVariant>
#include <vector>

namespace kavelon::test {

// Rows of the table, header excluded; texts as QString, NULL as QVariant(). Fails the test
// (returns empty) when mdb-export is missing or fails.
std::vector<std::vector<QVariant>> mdbExport(const QString& file, const QString& table);

} // namespace kavelon::test
