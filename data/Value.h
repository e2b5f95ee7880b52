#pragma once
// A field's value: empty, a 32-bit integer, a date-time, a text or a boolean.

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>
#include <variant>

namespace kavelon {

// Days since 30 December 1899 (day 0), the time of day as the fraction of a day.
struct DateTime {
    double days = 0.0;
    friend bool operator==(const DateTime&, const DateTime&) = default;
    friend auto operator<=>(const DateTime&, const DateTime&) = default;

    static DateTime fromQDateTime(const QDateTime& dt);
    static DateTime fromQDate(const QDate& d);
    QDateTime toQDateTime() const; // local time, no time zone arithmetic
    QDate date() const;
    QTime time() const;
    bool hasTime() const;
    // Whether the date lies in the years 1 to 9999, the dates the database stores and reads back.
    bool isStorable() const;
    // ISO text as stored in the database: "YYYY-MM-DD HH:MM:SS", with ".zzz" when there are
    // milliseconds.
    QString toIsoText() const;
    // Parses the stored ISO text (date alone, date and time, with or without ".zzz"); false if it
    // does not read.
    static bool fromIsoText(const QString& text, DateTime& out);
    // The same for the stored UTF-8 bytes, without building strings: the engine reads every
    // date of the journal through it.
    static bool fromIsoUtf8(const char* text, int bytes, DateTime& out);
};

class Value {
public:
    enum class Type { Null, Integer, DateTime, Text, Boolean };

    Value() = default;
    static Value integer(std::int32_t v) { return Value(Storage(v)); }
    static Value dateTime(DateTime v) { return Value(Storage(v)); }
    static Value text(QString v) { return Value(Storage(std::move(v))); }
    static Value boolean(bool v) { return Value(Storage(v)); }

    Type type() const { return static_cast<Type>(storage_.index()); }
    bool isNull() const { return storage_.index() == 0; }
    std::int32_t toInteger() const { return std::get<std::int32_t>(storage_); }
    DateTime toDateTime() const { return std::get<DateTime>(storage_); }
    const QString& toText() const { return std::get<QString>(storage_); }
    bool toBoolean() const { return std::get<bool>(storage_); }

    friend bool operator==(const Value&, const Value&) = default;

private:
    using Storage = std::variant<std::monostate, std::int32_t, DateTime, QString, bool>;
    explicit Value(Storage s) : storage_(std::move(s)) {}
    Storage storage_;
};

// Integers, dates (days) and booleans (0/1) as the numbers they compare and sort by; nothing for
// an empty value or a text.
inline std::optional<double> numberOf(const Value& v) {
    switch (v.type()) {
    case Value::Type::Integer:
        return double(v.toInteger());
    case Value::Type::DateTime:
        return v.toDateTime().days;
    case Value::Type::Boolean:
        return v.toBoolean() ? 1.0 : 0.0;
    default:
        return std::nullopt;
    }
}

} // namespace kavelon
