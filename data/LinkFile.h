#pragma once
// A link file: in place of the database file, a small text file naming a PostgreSQL database on a
// server, so that every dispatcher's program opens the same journal. Its first line says what it
// is; the second is the server's connection URI (postgresql://HOST/DB). It never holds a
// password: that comes from the user's ~/.pgpass or the server's own authentication.

#include <QString>
#include <optional>

namespace kavelon {

namespace link {
// The first line of every link file.
inline constexpr char firstLine[] = "Kavelon database on a PostgreSQL server";

// The URI a link file names; nothing when the file is not a link file (a database file, say).
// Throws DatabaseError when the file starts as a link file but names no usable URI.
std::optional<QString> readUri(const QString& path);
// Whether the URI is one a link file may hold: a postgresql:// or postgres:// URI without a
// password. Empty when it is; else what is wrong with it.
QString uriProblem(const QString& uri);
// Writes a new link file; never overwrites a file. Throws DatabaseError when it cannot.
void write(const QString& path, const QString& uri);
} // namespace link

} // namespace kavelon
