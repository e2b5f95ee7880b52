#pragma once
// Readable failure messages for Qt values in GoogleTest's assertions.

#include <QString>
#include <QVariant>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QVariant& v, std::ostream* os) {
    *os << (v.isValid() ? v.toString().toStdString() : std::string("NULL"));
}
