#include "data/RowStore.h"

#include "data/Errors.h"

#include <QSet>
#include <cmath>
#include <limits>
#include <numeric>

namespace kavelon {

RowStore::Storage RowStore::storageOf(FieldKind kind) {
    switch (kind) {
    case FieldKind::AutoInc:
    case FieldKind::Integer:
    case FieldKind::SmallInt:
    case FieldKind::Boolean:
        return Storage::Integer;
    case FieldKind::DateTime:
        return Storage::Days;
    default:
        return Storage::Text;
    }
}

RowStore::RowStore(const std::vector<FieldKind>& kinds) {
    columns_.reserve(kinds.size());
    for (FieldKind k : kinds)
        columns_.push_back(Column{k, storageOf(k), {}, {}, {}, {}});
}

void RowStore::reserve(int rows) {
    rowids_.reserve(std::size_t(rows));
    for (Column& c : columns_) {
        switch (c.storage) {
        case Storage::Integer:
            c.integers.reserve(std::size_t(rows));
            break;
        case Storage::Days:
            c.days.reserve(std::size_t(rows));
            break;
        case Storage::Text:
            c.texts.reserve(std::size_t(rows));
            break;
        }
        if (c.storage != Storage::Text)
            c.nulls.reserve(std::size_t(rows));
    }
}

int RowStore::append(std::int64_t rowid) {
    rowids_.push_back(rowid);
    for (Column& c : columns_) {
        switch (c.storage) {
        case Storage::Integer:
            c.integers.push_back(0);
            break;
        case Storage::Days:
            c.days.push_back(0.0);
            break;
        case Storage::Text:
            c.texts.emplace_back();
            break;
        }
        if (c.storage != Storage::Text)
            c.nulls.push_back(true);
    }
    return rowCount() - 1;
}

void RowStore::listRows() {
    std::vector<int> rows(rowids_.size());
    std::iota(rows.begin(), rows.end(), 0);
    rowList_ = RowList(std::move(rows));
}

bool RowStore::isNull(int row, int column) const {
    const Column& c = columns_[std::size_t(column)];
    return c.storage == Storage::Text ? c.texts[std::size_t(row)].isNull()
                                      : bool(c.nulls[std::size_t(row)]);
}

Value RowStore::value(int row, int column) const {
    const Column& c = columns_[std::size_t(column)];
    const auto r = std::size_t(row);
    switch (c.storage) {
    case Storage::Integer:
        if (c.nulls[r])
            return {};
        return c.kind == FieldKind::Boolean ? Value::boolean(c.integers[r] != 0)
                                            : Value::integer(c.integers[r]);
    case Storage::Days:
        return c.nulls[r] ? Value() : Value::dateTime(DateTime{c.days[r]});
    case Storage::Text:
        return c.texts[r].isNull() ? Value() : Value::text(c.texts[r]);
    }
    return {};
}

void RowStore::setNull(int row, int column) {
    Column& c = columns_[std::size_t(column)];
    if (c.storage == Storage::Text)
        c.texts[std::size_t(row)] = QString();
    else
        c.nulls[std::size_t(row)] = true;
}

void RowStore::setInteger(int row, int column, std::int32_t v) {
    Column& c = columns_[std::size_t(column)];
    c.integers[std::size_t(row)] = v;
    c.nulls[std::size_t(row)] = false;
}

void RowStore::setDays(int row, int column, double days) {
    Column& c = columns_[std::size_t(column)];
    c.days[std::size_t(row)] = days;
    c.nulls[std::size_t(row)] = false;
}

void RowStore::setText(int row, int column, QString text) {
    columns_[std::size_t(column)].texts[std::size_t(row)] = std::move(text);
}

void RowStore::setValue(int row, int column, const Value& v) {
    switch (v.type()) {
    case Value::Type::Null:
        setNull(row, column);
        break;
    case Value::Type::Integer:
        setInteger(row, column, v.toInteger());
        break;
    case Value::Type::Boolean:
        setInteger(row, column, v.toBoolean() ? 1 : 0);
        break;
    case Value::Type::DateTime:
        setDays(row, column, v.toDateTime().days);
        break;
    case Value::Type::Text:
        setText(row, column, v.toText().isNull() ? QStringLiteral("") : v.toText());
        break;
    }
}

std::size_t RowStore::memoryUsage() const {
    std::size_t bytes = rowids_.capacity() * sizeof(std::int64_t) + rowList_.memoryUsage();
    QSet<const QChar*> buffers;
    for (const Column& c : columns_) {
        bytes += c.integers.capacity() * sizeof(std::int32_t) + c.days.capacity() * sizeof(double) +
                 c.texts.capacity() * sizeof(QString) + c.nulls.capacity() / 8;
        for (const QString& t : c.texts)
            if (!t.isNull() && !buffers.contains(t.constData())) {
                buffers.insert(t.constData());
                bytes += 16 + std::size_t(t.capacity() + 1) * sizeof(QChar); // header + characters
            }
    }
    return bytes;
}

QString TextInterner::get(const char* utf8, int bytes) {
    if (bytes == 0)
        return QStringLiteral("");
    if (!enabled_)
        return QString::fromUtf8(utf8, bytes);
    ++lookups_;
    const std::string_view key(utf8, std::size_t(bytes));
    if (auto it = texts_.find(key); it != texts_.end())
        return it->second;
    QString text = QString::fromUtf8(utf8, bytes);
    // Mostly distinct texts (addresses, telephones) gain nothing from sharing.
    if (lookups_ >= 4096 && texts_.size() * 2 > std::size_t(lookups_)) {
        enabled_ = false;
        texts_.clear();
    } else {
        texts_.emplace(std::string(key), text);
    }
    return text;
}

namespace {
QString numberText(std::int32_t v) {
    return QString::number(v);
}
} // namespace

Value coerceToKind(const Value& v, FieldKind kind, int size) {
    if (v.isNull())
        return v;
    const auto failure = [&](const char* what) {
        return ConversionError(
            QStringLiteral("'%1' is not a valid %2")
                .arg(v.type() == Value::Type::Text ? v.toText() : QString(), QLatin1String(what)));
    };
    switch (kind) {
    case FieldKind::AutoInc:
    case FieldKind::Integer:
    case FieldKind::SmallInt:
        switch (v.type()) {
        case Value::Type::Integer:
            return v;
        case Value::Type::Boolean:
            return Value::integer(v.toBoolean() ? 1 : 0);
        case Value::Type::DateTime: {
            const double d = std::trunc(v.toDateTime().days);
            if (d < std::numeric_limits<std::int32_t>::min() ||
                d > std::numeric_limits<std::int32_t>::max())
                throw failure("integer value");
            return Value::integer(std::int32_t(d));
        }
        case Value::Type::Text: {
            bool ok = false;
            const int n = v.toText().trimmed().toInt(&ok);
            if (!ok)
                throw failure("integer value");
            return Value::integer(n);
        }
        default:
            return v;
        }
    case FieldKind::Boolean:
        switch (v.type()) {
        case Value::Type::Boolean:
            return v;
        case Value::Type::Integer:
            return Value::boolean(v.toInteger() != 0);
        case Value::Type::Text:
            if (v.toText().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
                return Value::boolean(true);
            if (v.toText().compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
                return Value::boolean(false);
            throw failure("boolean value");
        default:
            throw failure("boolean value");
        }
    case FieldKind::DateTime:
        switch (v.type()) {
        case Value::Type::DateTime:
            return v;
        case Value::Type::Integer:
            return Value::dateTime(DateTime{double(v.toInteger())});
        case Value::Type::Text: {
            DateTime d;
            if (!DateTime::fromIsoText(v.toText(), d))
                throw failure("date and time");
            return Value::dateTime(d);
        }
        default:
            throw failure("date and time");
        }
    default: {
        QString text;
        switch (v.type()) {
        case Value::Type::Text:
            text = v.toText();
            break;
        case Value::Type::Integer:
            text = numberText(v.toInteger());
            break;
        case Value::Type::Boolean:
            text = v.toBoolean() ? QStringLiteral("True") : QStringLiteral("False");
            break;
        case Value::Type::DateTime:
            text = v.toDateTime().toIsoText();
            break;
        default:
            break;
        }
        if (size > 0 && text.size() > size)
            text.truncate(text.at(size - 1).isHighSurrogate() ? size - 1 : size);
        // An emptied text is stored as an empty text, not as no value: held as it is in the
        // file, it still names its row for a later update.
        if (text.isNull())
            text = QStringLiteral("");
        return Value::text(text);
    }
    }
}

} // namespace kavelon
