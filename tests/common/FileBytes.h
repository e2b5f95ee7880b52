#pragma once
// A whole file's bytes, read or written at once (test fixtures only).

#include <QByteArray>
#include <QFile>
#include <QString>

namespace kavelon::test {

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// False when the file cannot be written.
inline bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace kavelon::test
