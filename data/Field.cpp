// A field reads and writes its column in the cursor's current or pending row.
#include "data/TableCursor.h"
#include "data/TableCursorImpl.h"

namespace kavelon {

Field::Field(TableCursor* cursor, ColumnSchema column, int index, int columnIndex)
    : cursor_(cursor), column_(std::move(column)), index_(index), columnIndex_(columnIndex) {}

const QString& Field::FieldName() const {
    return column_.name;
}
FieldKind Field::kind() const {
    return column_.kind;
}
int Field::Size() const {
    return column_.size;
}
int Field::DisplayWidth() const {
    return column_.displayWidth;
}
bool Field::ReadOnly() const {
    return column_.readOnly;
}
int Field::index() const {
    return index_;
}

Value Field::value() const {
    return cursor_->d->fieldValue(*this);
}
bool Field::IsNull() const {
    return value().isNull();
}

std::int32_t Field::AsInteger() const {
    const Value v = value();
    switch (v.type()) {
    case Value::Type::Integer:
        return v.toInteger();
    case Value::Type::Boolean:
        return v.toBoolean() ? 1 : 0;
    case Value::Type::DateTime:
        return std::int32_t(v.toDateTime().days);
    case Value::Type::Text:
        return v.toText().trimmed().toInt();
    default:
        return 0;
    }
}

DateTime Field::AsDateTime() const {
    const Value v = value();
    if (v.type() == Value::Type::DateTime)
        return v.toDateTime();
    if (v.type() == Value::Type::Integer)
        return DateTime{double(v.toInteger())};
    return DateTime{};
}

bool Field::AsBoolean() const {
    const Value v = value();
    if (v.type() == Value::Type::Boolean)
        return v.toBoolean();
    if (v.type() == Value::Type::Integer)
        return v.toInteger() != 0;
    return false;
}

QString Field::AsString() const {
    const Value v = value();
    return v.type() == Value::Type::Text ? v.toText() : QString();
}

void Field::setValue(const Value& v) {
    cursor_->d->assign(*this, v);
}
void Field::setAsInteger(std::int32_t v) {
    setValue(Value::integer(v));
}
void Field::setAsDateTime(DateTime v) {
    setValue(Value::dateTime(v));
}
void Field::setAsBoolean(bool v) {
    setValue(Value::boolean(v));
}
void Field::setAsString(const QString& v) {
    setValue(Value::text(v));
}
void Field::Clear() {
    setValue(Value());
}

} // namespace kavelon
