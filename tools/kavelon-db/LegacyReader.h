#pragma once
// Reads the five tables out of a predecessor's Jet 4 file. libmdb does the reading in a child
// process, because on a damaged file it can crash or loop for ever: the parent watches it with a
// time limit, collects what libmdb complains about, and compares the rows read with the row count
// each table's definition stores, so a damaged file ends in a plain error, never a partial import.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace kavelon::dbtool {

// One value as the old file holds it, before it is fitted to our columns.
struct LegacyValue {
    enum class Kind { Null, Integer, Date, Text, Boolean };
    Kind kind = Kind::Null;
    std::int64_t integer = 0;
    double days = 0.0; // the stored double: days since 30.12.1899, time as the fraction
    QString text;
    bool flag = false;
};

struct LegacyTable {
    int schemaIndex = 0; // into schema::all()
    std::uint32_t storedRows = 0;
    QStringList skippedColumns; // columns of the old table that our table does not have
};

class LegacySink {
public:
    virtual ~LegacySink() = default;
    virtual void beginTable(const LegacyTable& table) = 0;
    // Values in our table's column order.
    virtual void row(const std::vector<LegacyValue>& values) = 0;
    virtual void endTable(std::uint32_t rowsRead) = 0;
};

struct ReadLimits {
    // The child is taken for stuck when it sends nothing for this long.
    int stallMilliseconds = 20000;
};

// Throws ToolError with a plain message when the file cannot be read completely.
void readLegacyFile(const QString& path, LegacySink& sink, const ReadLimits& limits = {});

} // namespace kavelon::dbtool
