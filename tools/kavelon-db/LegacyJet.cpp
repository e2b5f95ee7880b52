// The only file that speaks to libmdb. It runs in the child process only.
#include "tools/kavelon-db/LegacyJet.h"

#include "data/Schema.h"
#include "tools/kavelon-db/LegacyFrames.h"

#include <QStringList>
#include <cerrno>
#include <cstdlib>
#include <unistd.h>
#include <vector>

// mdbtools.h includes glib inside its extern "C" block, so glib comes first.
#include <glib.h>
#include <mdbtools.h>

namespace kavelon::dbtool {

namespace {

class FrameOut {
public:
    explicit FrameOut(int fd) : fd_(fd) {}
    ~FrameOut() { flush(); }
    void send(char kind, const frames::Payload& payload) {
        const std::uint32_t size = std::uint32_t(payload.bytes().size());
        buffer_.append(kind);
        buffer_.append(reinterpret_cast<const char*>(&size), 4);
        buffer_.append(payload.bytes());
        if (buffer_.size() >= 64 * 1024)
            flush();
    }
    void fail(const QString& message, char kind = frames::Failure) {
        frames::Payload p;
        p.text(message.toStdString());
        send(kind, p);
        flush();
    }
    void flush() {
        const char* at = buffer_.constData();
        qsizetype left = buffer_.size();
        while (left > 0) {
            const ssize_t n = ::write(fd_, at, size_t(left));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                _exit(3); // the parent is gone
            at += n;
            left -= n;
        }
        buffer_.clear();
    }

private:
    int fd_;
    QByteArray buffer_;
};

QString folded(const char* utf8) {
    return QString::fromUtf8(utf8).toCaseFolded();
}
QString quoted(const QString& name) {
    return QLatin1Char('"') + name + QLatin1Char('"');
}

const char* typeName(int type) {
    switch (type) {
    case MDB_BOOL:
        return "Yes/No";
    case MDB_BYTE:
        return "Byte";
    case MDB_INT:
        return "Integer";
    case MDB_LONGINT:
        return "Long Integer";
    case MDB_MONEY:
        return "Currency";
    case MDB_FLOAT:
        return "Single";
    case MDB_DOUBLE:
        return "Double";
    case MDB_DATETIME:
        return "Date/Time";
    case MDB_BINARY:
        return "Binary";
    case MDB_TEXT:
        return "Text";
    case MDB_OLE:
        return "OLE Object";
    case MDB_MEMO:
        return "Memo";
    case MDB_REPID:
        return "Replication ID";
    case MDB_NUMERIC:
        return "Decimal";
    default:
        return nullptr;
    }
}

// The old column types each of our kinds is read from; anything else is refused by name.
bool fits(FieldKind kind, int type) {
    switch (kind) {
    case FieldKind::AutoInc:
    case FieldKind::Integer:
        return type == MDB_LONGINT || type == MDB_INT || type == MDB_BYTE;
    case FieldKind::DateTime:
        return type == MDB_DATETIME;
    case FieldKind::WideString:
        return type == MDB_TEXT;
    case FieldKind::Boolean:
        return type == MDB_BOOL;
    default:
        return false;
    }
}

const char* expectedName(FieldKind kind) {
    switch (kind) {
    case FieldKind::AutoInc:
        return "AutoNumber (Long Integer)";
    case FieldKind::Integer:
        return "Long Integer";
    case FieldKind::DateTime:
        return "Date/Time";
    case FieldKind::WideString:
        return "Text";
    case FieldKind::Boolean:
        return "Yes/No";
    default:
        return "?";
    }
}

MdbColumn* columnAt(MdbTableDef* t, unsigned i) {
    return static_cast<MdbColumn*>(g_ptr_array_index(t->columns, i));
}

struct OpenTable {
    const TableSchema* schema = nullptr;
    int schemaIndex = 0;
    MdbTableDef* table = nullptr;
    std::vector<int> source; // per column of ours: the index of the old column
    QStringList skipped;
};

// Finds the five tables and their columns by name, ignoring case (libmdb's own look-up folds
// ASCII only), and checks every type before any row is read.
bool openTables(MdbHandle* mdb, std::vector<OpenTable>& out, FrameOut& frames) {
    if (!mdb_read_catalog(mdb, MDB_TABLE)) {
        frames.fail(QStringLiteral("its list of tables cannot be read; the file is damaged"));
        return false;
    }
    // The list of objects is itself a table: a short read of it means a damaged file, not a
    // file without our tables.
    int userTables = 0;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (e->object_type != MDB_TABLE)
            continue;
        if (qstrcmp(e->object_name, "MSysObjects") == 0) {
            MdbTableDef* t = mdb_read_table(e);
            unsigned rows = 0;
            if (t && mdb_read_columns(t)) {
                mdb_rewind_table(t);
                while (rows <= t->num_rows && mdb_fetch_row(t))
                    ++rows;
            }
            if (!t || rows != t->num_rows) {
                frames.fail(QStringLiteral("its list of objects is incomplete; the file is "
                                           "damaged"));
                return false;
            }
        } else if (!QByteArray(e->object_name).startsWith("MSys")) {
            ++userTables;
        }
    }
    if (userTables == 0) {
        frames.fail(QStringLiteral("it lists no tables at all; the file is damaged or empty"));
        return false;
    }
    QStringList missingTables, problems;
    const auto& tables = schema::all();
    for (int s = 0; s < int(tables.size()); ++s) {
        const TableSchema& ours = tables[size_t(s)];
        MdbCatalogEntry* entry = nullptr;
        for (unsigned i = 0; i < mdb->num_catalog; ++i) {
            auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
            if (e->object_type == MDB_TABLE && folded(e->object_name) == ours.name.toCaseFolded())
                entry = e;
        }
        if (!entry) {
            missingTables << quoted(ours.name);
            continue;
        }
        MdbTableDef* t = mdb_read_table(entry);
        if (!t || !mdb_read_columns(t) || t->columns->len != t->num_cols) {
            frames.fail(QStringLiteral("the definition of the table %1 cannot be read; the file "
                                       "is damaged")
                            .arg(quoted(ours.name)));
            return false;
        }
        OpenTable open{&ours, s, t, std::vector<int>(ours.columns.size(), -1), {}};
        std::vector<bool> used(t->num_cols, false);
        for (size_t c = 0; c < ours.columns.size(); ++c) {
            const ColumnSchema& column = ours.columns[c];
            for (unsigned i = 0; i < t->num_cols; ++i)
                if (!used[i] && folded(columnAt(t, i)->name) == column.name.toCaseFolded()) {
                    open.source[c] = int(i);
                    used[i] = true;
                    break;
                }
            if (open.source[c] < 0) {
                problems << QStringLiteral("the table %1 has no column %2")
                                .arg(quoted(ours.name), quoted(column.name));
                continue;
            }
            const int type = columnAt(t, unsigned(open.source[c]))->col_type;
            if (!fits(column.kind, type)) {
                const char* name = typeName(type);
                problems << QStringLiteral("the column %1 of the table %2 is %3 where Kavelon "
                                           "needs %4")
                                .arg(quoted(column.name), quoted(ours.name),
                                     name ? QString::fromLatin1(name)
                                          : QStringLiteral("of an unknown type (%1)").arg(type),
                                     QString::fromLatin1(expectedName(column.kind)));
            }
        }
        for (unsigned i = 0; i < t->num_cols; ++i)
            if (!used[i])
                open.skipped << QString::fromUtf8(columnAt(t, i)->name);
        out.push_back(std::move(open));
    }
    if (missingTables.size() == int(tables.size())) {
        frames.fail(QStringLiteral("it has none of the tables %1")
                        .arg(missingTables.join(QStringLiteral(", "))),
                    frames::Foreign);
        return false;
    }
    for (const QString& t : missingTables)
        problems.prepend(QStringLiteral("the table %1 is missing").arg(t));
    if (!problems.isEmpty()) {
        frames.fail(problems.join(QStringLiteral("; ")));
        return false;
    }
    return true;
}

bool sendRows(MdbHandle* mdb, const OpenTable& open, FrameOut& frames) {
    MdbTableDef* t = open.table;
    const TableSchema& ours = *open.schema;
    {
        frames::Payload p;
        p.u32(std::uint32_t(open.schemaIndex));
        p.u32(t->num_rows);
        p.u32(std::uint32_t(open.skipped.size()));
        for (const QString& s : open.skipped)
            p.text(s.toStdString());
        frames.send(frames::TableBegin, p);
    }
    std::vector<std::vector<char>> texts(ours.columns.size());
    std::vector<int> lengths(ours.columns.size(), 0);
    for (size_t c = 0; c < ours.columns.size(); ++c)
        if (ours.columns[c].kind == FieldKind::WideString) {
            texts[c].assign(mdb->bind_size + 1, '\0');
            mdb_bind_column(t, open.source[c] + 1, texts[c].data(), &lengths[c]);
        }
    std::vector<MdbField> fields(std::max<size_t>(t->num_cols, 256));
    const int pageSize = int(mdb->fmt->pg_size);
    std::uint32_t count = 0;
    frames::Payload p;
    mdb_rewind_table(t);
    while (mdb_fetch_row(t)) {
        if (++count > t->num_rows) {
            frames.fail(QStringLiteral("the table %1 gives more rows than the %2 its definition "
                                       "counts; the file is damaged")
                            .arg(quoted(ours.name))
                            .arg(t->num_rows));
            return false;
        }
        int start = 0;
        size_t size = 0;
        if (t->cur_row == 0 || mdb_find_row(mdb, int(t->cur_row) - 1, &start, &size) != 0 ||
            start < 0 || size_t(start) + size > size_t(pageSize) ||
            mdb_crack_row(t, start, size, fields.data()) != int(t->num_cols)) {
            frames.fail(QStringLiteral("a row of the table %1 cannot be read; the file is damaged")
                            .arg(quoted(ours.name)));
            return false;
        }
        p.clear();
        for (size_t c = 0; c < ours.columns.size(); ++c) {
            const MdbField& f = fields[size_t(open.source[c])];
            const int type = columnAt(t, unsigned(open.source[c]))->col_type;
            if (type == MDB_BOOL) { // a Yes/No is the row's null bit itself
                p.tag(f.is_null ? frames::False : frames::True);
                continue;
            }
            if (f.is_null) {
                p.tag(frames::Null);
                continue;
            }
            const int width = type == MDB_BYTE       ? 1
                              : type == MDB_INT      ? 2
                              : type == MDB_LONGINT  ? 4
                              : type == MDB_DATETIME ? 8
                                                     : 0;
            // A value outside its own row, or a text longer than the row holds, is read from a
            // damaged row's offsets.
            const int length = width ? width : f.siz;
            if (f.start < start || length < 0 || f.start + length > start + int(size) ||
                f.start + length > pageSize) {
                frames.fail(QStringLiteral("a value in the table %1 lies outside its page; the "
                                           "file is damaged")
                                .arg(quoted(ours.name)));
                return false;
            }
            switch (type) {
            case MDB_BYTE:
                p.tag(frames::Integer);
                p.i64(mdb_get_byte(mdb->pg_buf, f.start));
                break;
            case MDB_INT:
                p.tag(frames::Integer);
                p.i64(std::int16_t(mdb_get_int16(mdb->pg_buf, f.start)));
                break;
            case MDB_LONGINT:
                p.tag(frames::Integer);
                p.i64(std::int32_t(mdb_get_int32(mdb->pg_buf, f.start)));
                break;
            case MDB_DATETIME:
                // The stored double itself: libmdb's text for dates depends on the C locale and
                // fails outside 1899–4637.
                p.tag(frames::Date);
                p.f64(mdb_get_double(mdb->pg_buf, f.start));
                break;
            case MDB_TEXT:
                p.tag(frames::Text);
                p.text(std::string_view(texts[c].data(),
                                        size_t(std::clamp(lengths[c], 0, int(mdb->bind_size)))));
                break;
            }
        }
        frames.send(frames::Row, p);
    }
    frames::Payload end;
    end.u32(count);
    frames.send(frames::TableEnd, end);
    return true;
}

} // namespace

int readJetTablesInto(const char* path, int outFd) {
    ::unsetenv("MDBICONV"); // texts arrive as UTF-8 only without it
    FrameOut frames(outFd);
    MdbHandle* mdb = mdb_open(path, MDB_NOFLAGS); // read-only
    if (!mdb) {
        frames.fail(QStringLiteral("libmdb cannot open it as a Jet database; the file is damaged"));
        return 0;
    }
    if (mdb->f->jet_version != MDB_VER_JET4) {
        frames.fail(QStringLiteral("it is not in the Jet 4 (Access 2000–2003) format"),
                    frames::Foreign);
        return 0;
    }
    std::vector<OpenTable> tables;
    bool ok = openTables(mdb, tables, frames);
    for (const OpenTable& t : tables)
        if (ok)
            ok = sendRows(mdb, t, frames);
    if (ok)
        frames.send(frames::Done, {});
    frames.flush();
    // Nothing is freed: the process ends now, and freeing a damaged file's structures can crash.
    return 0;
}

} // namespace kavelon::dbtool
