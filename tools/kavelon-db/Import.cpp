#include "tools/kavelon-db/Import.h"

#include "data/Schema.h"
#include "tools/kavelon-db/NewDatabase.h"
#include "tools/kavelon-db/ToolError.h"

#include <algorithm>
#include <cmath>
#include <iterator>
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

// Jet pages carry no checksums, and libmdb turns a damaged byte of a text into some other
// character. The old program took every text through the Windows code page of its Russian
// system (windows-1251; the file's own header may name windows-1252): a character that neither
// page has cannot have come from it, and tells of a damaged page.
bool onAnsiCodePage(char16_t c) {
    if (c == u'\t' || c == u'\n' || c == u'\r' || (c >= 0x20 && c <= 0x7e) ||
        (c >= 0xa0 && c <= 0xff))
        return true;
    if ((c >= 0x0401 && c <= 0x044f && c != 0x040d) ||
        (c >= 0x0451 && c <= 0x045f && c != 0x045d) || c == 0x0490 || c == 0x0491)
        return true;
    static const char16_t others[] = {0x0152, 0x0153, 0x0160, 0x0161, 0x0178, 0x017d, 0x017e,
                                      0x0192, 0x02c6, 0x02dc, 0x2013, 0x2014, 0x2018, 0x2019,
                                      0x201a, 0x201c, 0x201d, 0x201e, 0x2020, 0x2021, 0x2022,
                                      0x2026, 0x2030, 0x2039, 0x203a, 0x20ac, 0x2116, 0x2122};
    return std::find(std::begin(others), std::end(others), c) != std::end(others);
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
        for (size_t c = 0; c < values.size(); ++c) {
            refuseImplausible(table_->columns[c], values[c], values);
            QString why;
            row_.push_back(fitLegacyValue(table_->columns[c], values[c], why));
            if (!why.isEmpty())
                report_.changes << where(table_->columns[c], values) + QStringLiteral(": ") + why;
        }
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
    void refuseImplausible(const ColumnSchema& column, const LegacyValue& v,
                           const std::vector<LegacyValue>& values) const {
        if (v.kind != LegacyValue::Kind::Text)
            return;
        for (const QChar ch : v.text)
            if (!onAnsiCodePage(ch.unicode()))
                throw ToolError(QStringLiteral("%1 cannot be imported: %2 holds the character "
                                               "U+%3, which the old program could not have "
                                               "written; the file is damaged")
                                    .arg(oldPath_, where(column, values),
                                         QString::number(ch.unicode(), 16)
                                             .toUpper()
                                             .rightJustified(4, QLatin1Char('0'))));
    }

    QString where(const ColumnSchema& column, const std::vector<LegacyValue>& values) const {
        const QString row = key_ >= 0 && values[size_t(key_)].kind == LegacyValue::Kind::Integer
                                ? QStringLiteral("%1 %2")
                                      .arg(table_->columns[size_t(key_)].name)
                                      .arg(values[size_t(key_)].integer)
                                : QStringLiteral("row %1").arg(report_.tables.back().read);
        return QStringLiteral("%1, %2, %3").arg(quoted(table_->name), row, quoted(column.name));
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

Value fitLegacyValue(const ColumnSchema& column, const LegacyValue& v, QString& why) {
    using K = LegacyValue::Kind;
    switch (v.kind) {
    case K::Null:
        if (column.kind == FieldKind::AutoInc)
            why = QStringLiteral("empty number; a new one is given");
        return Value();
    case K::Boolean:
        return Value::boolean(v.flag);
    case K::Integer:
        if (v.integer < std::numeric_limits<std::int32_t>::min() ||
            v.integer > std::numeric_limits<std::int32_t>::max()) {
            why =
                QStringLiteral("%1 is outside the 32-bit integer range; left empty").arg(v.integer);
            return Value();
        }
        return Value::integer(std::int32_t(v.integer));
    case K::Date:
        if (!std::isfinite(v.days) || v.days < firstDay || v.days > lastDay) {
            why = QStringLiteral("the stored date %1 lies outside the years 100–9999; left empty")
                      .arg(v.days, 0, 'g', 17);
            return Value();
        }
        return Value::dateTime(DateTime{v.days});
    case K::Text:
        if (v.text.size() > column.size) {
            const QString cut = cutTo(v.text, column.size);
            why = QStringLiteral("text of %1 characters cut to the column's width %2: \"%3\" "
                                 "became \"%4\"")
                      .arg(v.text.size())
                      .arg(column.size)
                      .arg(v.text, cut);
            return Value::text(cut);
        }
        return Value::text(v.text);
    }
    return Value();
}

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
