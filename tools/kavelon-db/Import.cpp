#include "tools/kavelon-db/Import.h"

#include "data/Schema.h"
#include "tools/kavelon-db/NewDatabase.h"
#include "tools/kavelon-db/ToolError.h"

#include <cmath>
#include <limits>

namespace kavelon::dbtool {

namespace {

QString quoted(const QString& name) {
    return QLatin1Char('"') + name + QLatin1Char('"');
}

// The dates SQLite's text form and the program's date box can hold: years 100 … 9999.
constexpr double firstDay = -657434.0;     // 01.01.0100
constexpr double lastDay = 2958465.999999; // 31.12.9999 23:59:59.999

// A text cut to a width never ends in half a surrogate pair.
QString cutTo(const QString& text, int width) {
    QString cut = text.left(width);
    if (!cut.isEmpty() && cut.back().isHighSurrogate())
        cut.chop(1);
    return cut;
}

class Importer : public LegacySink {
public:
    Importer(const QString& oldPath, NewDatabase& target, ImportReport& report)
        : oldPath_(oldPath), target_(target), report_(report) {}

    void beginTable(const LegacyTable& table) override {
        table_ = &schema::all()[size_t(table.schemaIndex)];
        stored_ = table.storedRows;
        report_.tables.push_back({table_->name, 0, 0});
        for (const QString& c : table.skippedColumns)
            report_.skippedColumns << quoted(table_->name) + QLatin1Char('.') + quoted(c);
        key_ = -1;
        for (size_t c = 0; c < table_->columns.size(); ++c)
            if (table_->columns[c].kind == FieldKind::AutoInc)
                key_ = int(c);
    }

    void row(const std::vector<LegacyValue>& values) override {
        ImportReport::Table& counts = report_.tables.back();
        ++counts.read;
        row_.clear();
        for (size_t c = 0; c < values.size(); ++c)
            row_.push_back(fit(table_->columns[c], values[c], values));
        target_.insert(*table_, row_);
        ++counts.written;
    }

    void endTable(std::uint32_t rowsRead) override {
        if (rowsRead != stored_ || report_.tables.back().read != rowsRead)
            throw ToolError(
                QStringLiteral("%1 cannot be imported: the table %2 holds %3 rows by its "
                               "definition, but %4 could be read; the file is damaged")
                    .arg(oldPath_, quoted(table_->name))
                    .arg(stored_)
                    .arg(report_.tables.back().read));
    }

private:
    QString where(const ColumnSchema& column, const std::vector<LegacyValue>& values) const {
        const QString row = key_ >= 0 && values[size_t(key_)].kind == LegacyValue::Kind::Integer
                                ? QStringLiteral("%1 %2")
                                      .arg(table_->columns[size_t(key_)].name)
                                      .arg(values[size_t(key_)].integer)
                                : QStringLiteral("row %1").arg(report_.tables.back().read);
        return QStringLiteral("%1, %2, %3").arg(quoted(table_->name), row, quoted(column.name));
    }

    void changed(const ColumnSchema& column, const std::vector<LegacyValue>& values,
                 const QString& what) {
        report_.changes << where(column, values) + QStringLiteral(": ") + what;
    }

    Value fit(const ColumnSchema& column, const LegacyValue& v,
              const std::vector<LegacyValue>& values) {
        using K = LegacyValue::Kind;
        switch (v.kind) {
        case K::Null:
            if (column.kind == FieldKind::AutoInc)
                changed(column, values, QStringLiteral("empty number; a new one is given"));
            return Value();
        case K::Boolean:
            return Value::boolean(v.flag);
        case K::Integer:
            if (v.integer < std::numeric_limits<std::int32_t>::min() ||
                v.integer > std::numeric_limits<std::int32_t>::max()) {
                changed(column, values,
                        QStringLiteral("%1 is outside the 32-bit integer range; left empty")
                            .arg(v.integer));
                return Value();
            }
            return Value::integer(std::int32_t(v.integer));
        case K::Date:
            if (!std::isfinite(v.days) || v.days < firstDay || v.days > lastDay) {
                changed(column, values,
                        QStringLiteral("the stored date %1 lies outside the years 100–9999; left "
                                       "empty")
                            .arg(v.days, 0, 'g', 17));
                return Value();
            }
            return Value::dateTime(DateTime{v.days});
        case K::Text:
            if (v.text.size() > column.size) {
                const QString cut = cutTo(v.text, column.size);
                changed(column, values,
                        QStringLiteral("text of %1 characters cut to the column's width %2: "
                                       "\"%3\" became \"%4\"")
                            .arg(v.text.size())
                            .arg(column.size)
                            .arg(v.text, cut));
                return Value::text(cut);
            }
            return Value::text(v.text);
        }
        return Value();
    }

    QString oldPath_;
    NewDatabase& target_;
    ImportReport& report_;
    const TableSchema* table_ = nullptr;
    std::uint32_t stored_ = 0;
    int key_ = -1;
    std::vector<Value> row_;
};

} // namespace

ImportReport importLegacyDatabase(const QString& oldPath, const QString& newPath,
                                  const ReadLimits& limits) {
    ImportReport report;
    NewDatabase target(newPath); // refuses an existing NEW before anything is read
    Importer importer(oldPath, target, report);
    readLegacyFile(oldPath, importer, limits);
    if (report.tables.size() != schema::all().size())
        throw ToolError(
            QStringLiteral("%1 cannot be imported: not every table was read").arg(oldPath));
    target.commit();
    return report;
}

QString ImportReport::text(const QString& oldPath, const QString& newPath) const {
    QString out = QStringLiteral("Imported %1 into %2\n").arg(oldPath, newPath);
    for (const Table& t : tables)
        out += QStringLiteral("  %1: %2 rows read, %3 written\n")
                   .arg(quoted(t.name))
                   .arg(t.read)
                   .arg(t.written);
    if (!skippedColumns.isEmpty()) {
        out += QStringLiteral("Columns that Kavelon does not have, not carried over:\n");
        for (const QString& c : skippedColumns)
            out += QStringLiteral("  ") + c + QLatin1Char('\n');
    }
    if (changes.isEmpty()) {
        out += QStringLiteral("No value had to be changed.\n");
    } else {
        out += QStringLiteral("Values that had to be changed (%1):\n").arg(changes.size());
        for (const QString& c : changes)
            out += QStringLiteral("  ") + c + QLatin1Char('\n');
    }
    return out;
}

} // namespace kavelon::dbtool
