#include "data/SqliteEngine.h"
#include "data/Schema.h"

#include "data/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <sqlite3.h>

#include <cmath>
#include <limits>

namespace kavelon {

namespace {

int busyTimeoutMs = 5000;

QString fromUtf8(const unsigned char* text) {
    return QString::fromUtf8(reinterpret_cast<const char*>(text));
}

QString fileOnly(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// What is wrong with a file that SQLite would open without complaint: empty, garbage, a legacy
// Jet/Access file. Empty when the header looks like one of ours.
QString checkHeader(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("The database file \"%1\" cannot be read: %2")
            .arg(fileOnly(path), file.errorString());
    const QByteArray head = file.read(100);
    const QByteArray jet = QByteArrayLiteral("\x00\x01\x00\x00Standard Jet DB");
    const QByteArray ace = QByteArrayLiteral("\x00\x01\x00\x00Standard ACE DB");
    if (head.startsWith(jet) || head.startsWith(ace)) {
        const QString name = QFileInfo(path).fileName();
        const QString old =
            QFileInfo(path).completeBaseName() + QStringLiteral("-old.") + QFileInfo(path).suffix();
        return QStringLiteral(
                   "The file \"%1\" is a database of the old Microsoft Access (Jet) format, "
                   "which this program does not read. Convert it once:\n"
                   "1. Rename the file to %2\n"
                   "2. Run: kavelon-db import %2 %3\n"
                   "3. Start the program again")
            .arg(fileOnly(path), old, name);
    }
    if (head.size() < 100 || !head.startsWith(QByteArrayLiteral("SQLite format 3\x00")))
        return QStringLiteral("The file \"%1\" is not a database of this program (it is empty, "
                              "damaged or of another kind)")
            .arg(fileOnly(path));
    return {};
}

QString damagedMessage(const QString& path, const QString& problem) {
    QString text =
        QStringLiteral("The database file \"") + fileOnly(path) + QStringLiteral("\" is damaged");
    if (!problem.isEmpty())
        text += QStringLiteral(" (") + engineMessage(problem) + QLatin1Char(')');
    return text +
           QStringLiteral(", and nothing more is written into it. Keep a copy of the file "
                          "as it is, then put the last backup in its place; "
                          "\"kavelon-db check ") +
           fileOnly(path) + QStringLiteral("\" lists what is wrong");
}

// Steps through the rows of an integrity check, collecting each problem it names; returns the
// code that ended the steps.
int stepThroughCheck(sqlite3_stmt* st, QStringList& problems) {
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        const QStringList lines =
            fromUtf8(sqlite3_column_text(st, 0)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& line : lines)
            if (line != QLatin1String("ok") && !line.startsWith(QLatin1String("***")))
                problems << line.trimmed();
    }
    return rc;
}

bool isIdentifierOf(const QString& declared, std::initializer_list<const char*> names) {
    for (const char* n : names)
        if (declared.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

using schema::quotedIdentifier;

EngineColumn columnFromDeclaredType(const QString& name, const QString& declaredType,
                                    bool rowidAlias) {
    EngineColumn c;
    c.name = name;
    const QString t = declaredType.trimmed();
    if (rowidAlias) {
        c.kind = FieldKind::AutoInc;
        c.counter = true;
        c.updatable = false;
        return c;
    }
    static const QRegularExpression sized(
        QStringLiteral("^(\\w+)\\s*\\(\\s*(\\d+)\\s*(,\\s*\\d+\\s*)?\\)$"));
    const QRegularExpressionMatch m = sized.match(t);
    const QString base = m.hasMatch() ? m.captured(1) : t;
    if (isIdentifierOf(base, {"VARCHAR", "NVARCHAR", "CHAR", "NCHAR", "CHARACTER", "TEXT"}) &&
        m.hasMatch()) {
        c.kind = FieldKind::WideString;
        c.size = m.captured(2).toInt();
    } else if (isIdentifierOf(base, {"INTEGER", "INT", "LONG", "BIGINT", "MEDIUMINT"})) {
        c.kind = FieldKind::Integer;
    } else if (isIdentifierOf(base, {"SMALLINT", "TINYINT", "INT2", "SHORT", "BYTE"})) {
        c.kind = FieldKind::SmallInt;
    } else if (isIdentifierOf(base, {"DATETIME", "DATE", "TIME", "TIMESTAMP"})) {
        c.kind = FieldKind::DateTime;
    } else if (isIdentifierOf(base, {"BOOLEAN", "BOOL", "BIT", "YESNO"})) {
        c.kind = FieldKind::Boolean;
    } else if (isIdentifierOf(base, {"REAL", "FLOAT", "DOUBLE", "SINGLE"})) {
        c.kind = FieldKind::Float;
    } else if (isIdentifierOf(base, {"CURRENCY", "MONEY", "DECIMAL", "NUMERIC"})) {
        c.kind = FieldKind::Currency;
    } else if (isIdentifierOf(base, {"TEXT", "MEMO", "CLOB", "VARCHAR", "NVARCHAR", "LONGTEXT"})) {
        c.kind = FieldKind::Memo;
    } else if (base.isEmpty() ||
               isIdentifierOf(base, {"BLOB", "BINARY", "VARBINARY", "IMAGE", "OLEOBJECT"})) {
        c.kind = FieldKind::Blob;
        c.updatable = false; // the program has no value that would write a blob back
    } else {
        // SQLite's own affinity rules for the rest.
        const QString u = base.toUpper();
        if (u.contains(QLatin1String("INT")))
            c.kind = FieldKind::Integer;
        else if (u.contains(QLatin1String("CHAR")) || u.contains(QLatin1String("CLOB")) ||
                 u.contains(QLatin1String("TEXT")))
            c.kind = FieldKind::Memo;
        else if (u.contains(QLatin1String("REAL")) || u.contains(QLatin1String("FLOA")) ||
                 u.contains(QLatin1String("DOUB")))
            c.kind = FieldKind::Float;
        else
            c.kind = FieldKind::Currency;
    }
    return c;
}

void SqliteEngine::setBusyTimeout(int milliseconds) {
    busyTimeoutMs = milliseconds;
}
int SqliteEngine::busyTimeout() {
    return busyTimeoutMs;
}

bool SqliteEngine::libraryUsable(int runtimeVersion, int builtVersion) {
    return runtimeVersion >= builtVersion;
}

void SqliteEngine::initialize() {
    const int rc = sqlite3_initialize();
    if (rc != SQLITE_OK)
        throw EngineUnavailableError(
            QStringLiteral("The database engine (SQLite) cannot be started: %1")
                .arg(QString::fromUtf8(sqlite3_errstr(rc))));
    if (!libraryUsable(sqlite3_libversion_number(), SQLITE_VERSION_NUMBER))
        throw EngineUnavailableError(
            QStringLiteral("The database engine (SQLite) found on this computer is version %1, "
                           "older than version %2 "
                           "that this program needs; install a newer SQLite library")
                .arg(QString::fromUtf8(sqlite3_libversion()), QStringLiteral(SQLITE_VERSION)));
}

void SqliteEngine::DatabaseCloser::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}
void SqliteEngine::StatementFinalizer::operator()(sqlite3_stmt* st) const {
    sqlite3_finalize(st);
}

SqliteEngine::SqliteEngine(const QString& path) : path_(QFileInfo(path).absoluteFilePath()) {
    initialize();
    const QFileInfo info(path_);
    if (!info.exists())
        throw DatabaseError(
            QStringLiteral("The database file \"%1\" was not found").arg(fileOnly(path_)));
    if (!info.isFile())
        throw DatabaseError(
            QStringLiteral("\"%1\" is a folder, not a database file").arg(fileOnly(path_)));
    if (const QString problem = checkHeader(path_); !problem.isEmpty())
        throw DatabaseError(problem);

    turnstile_ = std::make_unique<WriteTurnstile>(path_);
    const WriteTurnstile::Turn turn(*turnstile_, busyTimeoutMs, WriteTurnstile::Reading);
    connect(SQLITE_OPEN_READWRITE);
    // A real read: hot journals are rolled back here, and a damaged first page shows.
    exec("PRAGMA journal_mode=DELETE", QStringLiteral("open"));
    exec("PRAGMA synchronous=FULL", QStringLiteral("open"));
    exec("SELECT count(*) FROM sqlite_master", QStringLiteral("open"));
    // A file cut short: fewer pages than its header promises.
    sqlite3_stmt* st = statement(QStringLiteral("PRAGMA page_count"));
    qint64 pages = 0;
    if (sqlite3_step(st) == SQLITE_ROW)
        pages = sqlite3_column_int64(st, 0);
    sqlite3_reset(st);
    st = statement(QStringLiteral("PRAGMA page_size"));
    qint64 pageSize = 0;
    if (sqlite3_step(st) == SQLITE_ROW)
        pageSize = sqlite3_column_int64(st, 0);
    sqlite3_reset(st);
    if (QFileInfo(path_).size() < pages * pageSize)
        fail(SQLITE_CORRUPT, QStringLiteral("open"));
    checkIntegrity();
    opened_ = true;
}

SqliteEngine::SqliteEngine(const QString& emptyFile, NewFileTag)
    : path_(QFileInfo(emptyFile).absoluteFilePath()) {
    initialize();
    const QFileInfo info(path_);
    if (!info.exists())
        throw DatabaseError(
            QStringLiteral("The database file \"%1\" was not found").arg(fileOnly(path_)));
    if (!info.isFile() || info.size() != 0)
        throw DatabaseError(QStringLiteral("\"%1\" is not an empty file: a new database is made "
                                           "only in an empty file")
                                .arg(fileOnly(path_)));
    turnstile_ = std::make_unique<WriteTurnstile>(path_);
    connect(SQLITE_OPEN_READWRITE);
    exec("PRAGMA synchronous=FULL", QStringLiteral("open"));
    opened_ = true;
}

void SqliteEngine::connect(int flags) {
    sqlite3* db = nullptr;
    const QByteArray file = path_.toUtf8();
    // Never SQLITE_OPEN_CREATE: a file that vanished since the check must not come back empty.
    // One thread uses a connection: no mutex around every call that reads a cell.
    const int rc = sqlite3_open_v2(file.constData(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    db_.reset(db);
    if (rc != SQLITE_OK)
        fail(rc, QStringLiteral("open"));
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, busyTimeoutMs);
}

// SQLite reads around damaged pages without complaint until a statement lands on one: a file
// that opens may still show half its rows and take writes that make matters worse. The quick
// check reads every page once (the indexes' contents are left out), which the start-up can pay.
void SqliteEngine::checkIntegrity() {
    sqlite3_stmt* st = statement(QStringLiteral("PRAGMA quick_check(20)"));
    QStringList problems;
    const int rc = stepThroughCheck(st, problems);
    sqlite3_reset(st);
    if (rc != SQLITE_DONE && (rc & 0xff) != SQLITE_CORRUPT && (rc & 0xff) != SQLITE_NOTADB)
        fail(rc, QStringLiteral("open"));
    if (rc != SQLITE_DONE && problems.isEmpty())
        problems << QString::fromUtf8(sqlite3_errmsg(db_.get()));
    if (problems.isEmpty())
        return;
    damaged_ = true;
    throw DatabaseError(engineMessage(damagedMessage(path_, problems.front())));
}

QStringList SqliteEngine::integrityProblems(const QString& path, int limit) {
    initialize();
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    const std::unique_ptr<sqlite3, DatabaseCloser> db(raw);
    if (rc != SQLITE_OK)
        throw EngineFailure(
            QStringLiteral("The database file \"%1\" cannot be opened").arg(fileOnly(path)),
            QString::fromUtf8(sqlite3_errstr(rc)));
    sqlite3_busy_timeout(raw, busyTimeoutMs);
    QStringList problems;
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = QStringLiteral("PRAGMA integrity_check(%1)").arg(limit).toUtf8();
    int step = sqlite3_prepare_v2(raw, sql.constData(), int(sql.size()), &st, nullptr);
    const std::unique_ptr<sqlite3_stmt, StatementFinalizer> finalize(st);
    if (step == SQLITE_OK)
        step = stepThroughCheck(st, problems);
    if (step != SQLITE_DONE) {
        if ((step & 0xff) == SQLITE_BUSY)
            throw DatabaseBusyError(
                engineMessage(QStringLiteral("The database file \"%1\" is busy: another program "
                                             "has been writing it for too long; try again")
                                  .arg(fileOnly(path))));
        problems << QString::fromUtf8(sqlite3_errmsg(raw));
    }
    return problems;
}

void SqliteEngine::beforeWriting() {
    if (damaged_)
        throw DatabaseError(engineMessage(damagedMessage(path_, QString())));
    if (bulk_)
        throw DatabaseError(QStringLiteral("The database file \"%1\" is being written in one "
                                           "transaction; nothing else is written meanwhile")
                                .arg(fileOnly(path_)));
    // Every write is its own transaction, in the file when the statement returns; a read
    // transaction left open by a failure must not swallow it.
    if (!sqlite3_get_autocommit(db_.get()))
        sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
}

SqliteEngine::~SqliteEngine() {
    statements_.clear(); // statements before the database they belong to
}

void SqliteEngine::exec(const char* sql, const QString& doing) {
    char* error = nullptr;
    const int rc = sqlite3_exec(db_.get(), sql, nullptr, nullptr, &error);
    sqlite3_free(error);
    if (rc != SQLITE_OK)
        fail(rc, doing);
}

void SqliteEngine::fail(int code, const QString& doing) const {
    const QString file = fileOnly(path_);
    const QString detail = db_ ? QString::fromUtf8(sqlite3_errmsg(db_.get()))
                               : QString::fromUtf8(sqlite3_errstr(code));
    QString message;
    switch (code & 0xff) {
    case SQLITE_CORRUPT:
        if (opened_) {
            // Found while reading or writing an open file: say so, and write nothing more.
            damaged_ = true;
            throw EngineFailure(engineMessage(damagedMessage(path_, detail)), detail);
        }
        [[fallthrough]];
    case SQLITE_NOTADB:
        message = QStringLiteral("The file \"%1\" is not a database of this program (it is empty, "
                                 "damaged or of another kind)")
                      .arg(file);
        break;
    case SQLITE_CANTOPEN:
        message = QStringLiteral("The database file \"%1\" cannot be opened").arg(file);
        break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw DatabaseBusyError(
            engineMessage(QStringLiteral("The database file \"%1\" is busy: another program has "
                                         "been writing it for too long; try again")
                              .arg(file)));
    case SQLITE_READONLY:
        message =
            QStringLiteral("The database file \"%1\" is read-only: the change cannot be written")
                .arg(file);
        break;
    case SQLITE_FULL:
        message =
            QStringLiteral(
                "The disk holding the database file \"%1\" is full: the change was not written")
                .arg(file);
        break;
    case SQLITE_IOERR:
        message = QStringLiteral("The database file \"%1\" cannot be read or written (%2)")
                      .arg(file, detail);
        break;
    case SQLITE_CONSTRAINT:
        message = QStringLiteral("The row cannot be stored: %1").arg(detail);
        break;
    default:
        message =
            QStringLiteral("The database file \"%1\" failed to %2: %3").arg(file, doing, detail);
        break;
    }
    throw EngineFailure(engineMessage(message), detail);
}

sqlite3_stmt* SqliteEngine::statement(const QString& sql) {
    const std::string key = sql.toStdString();
    if (auto it = statements_.find(key); it != statements_.end()) {
        sqlite3_reset(it->second.get());
        sqlite3_clear_bindings(it->second.get());
        return it->second.get();
    }
    sqlite3_stmt* st = nullptr;
    const int rc = sqlite3_prepare_v3(db_.get(), key.c_str(), int(key.size()),
                                      SQLITE_PREPARE_PERSISTENT, &st, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(st);
        fail(rc, QStringLiteral("prepare a statement"));
    }
    return statements_.emplace(key, StatementHandle(st)).first->second.get();
}

EngineTable SqliteEngine::describe(const QString& tableName) {
    const WriteTurnstile::Turn turn(*turnstile_, busyTimeoutMs, WriteTurnstile::Reading);
    EngineTable table;
    table.name = tableName;
    sqlite3_stmt* exists = statement(QStringLiteral(
        "SELECT type = 'view' FROM sqlite_master WHERE type IN ('table','view') AND name = ?1"));
    const QByteArray name = tableName.toUtf8();
    sqlite3_bind_text(exists, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    int rc = sqlite3_step(exists);
    const bool view = rc == SQLITE_ROW && sqlite3_column_int(exists, 0) != 0;
    sqlite3_reset(exists);
    if (rc == SQLITE_DONE)
        throw DatabaseError(QStringLiteral("The database file \"%1\" has no table \"%2\"")
                                .arg(fileOnly(path_), tableName));
    if (rc != SQLITE_ROW)
        fail(rc, QStringLiteral("describe the table \"%1\"").arg(tableName));

    sqlite3_stmt* info =
        statement(QStringLiteral("PRAGMA table_info(%1)").arg(quotedIdentifier(tableName)));
    struct Raw {
        QString name, type;
        int pk;
        bool hasDefault;
    };
    std::vector<Raw> raw;
    int primaryKeys = 0;
    while ((rc = sqlite3_step(info)) == SQLITE_ROW) {
        raw.push_back({fromUtf8(sqlite3_column_text(info, 1)),
                       fromUtf8(sqlite3_column_text(info, 2)), sqlite3_column_int(info, 5),
                       sqlite3_column_type(info, 4) != SQLITE_NULL});
        if (raw.back().pk > 0)
            ++primaryKeys;
    }
    sqlite3_reset(info);
    if (rc != SQLITE_DONE)
        fail(rc, QStringLiteral("describe the table \"%1\"").arg(tableName));
    for (const Raw& r : raw) {
        // INTEGER PRIMARY KEY is the row's identity: the engine numbers new rows itself.
        const bool alias = primaryKeys == 1 && r.pk == 1 &&
                           r.type.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
        table.columns.push_back(columnFromDeclaredType(r.name, r.type, alias));
        table.addsToWrittenRows = table.addsToWrittenRows || r.hasDefault;
        if (alias)
            table.counterColumn = int(table.columns.size()) - 1;
    }
    sqlite3_stmt* triggers = statement(QStringLiteral(
        "SELECT count(*) FROM sqlite_master WHERE type = 'trigger' AND tbl_name = ?1"));
    sqlite3_bind_text(triggers, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    rc = sqlite3_step(triggers);
    if (rc == SQLITE_ROW && sqlite3_column_int(triggers, 0) > 0)
        table.addsToWrittenRows = true;
    sqlite3_reset(triggers);
    // A view's rows, like those of a file opened read-only, cannot be changed.
    table.updatable = !view && sqlite3_db_readonly(db_.get(), "main") == 0;
    if (!table.updatable)
        for (EngineColumn& c : table.columns)
            c.updatable = false;
    return table;
}

void SqliteEngine::readCell(sqlite3_stmt* st, int index, RowStore& rows, int row, int column,
                            TextInterner* interner) const {
    const int type = sqlite3_column_type(st, index);
    if (type == SQLITE_NULL)
        return; // appended rows start empty
    const FieldKind kind = rows.kind(column);
    switch (kind) {
    case FieldKind::AutoInc:
    case FieldKind::Integer:
    case FieldKind::SmallInt:
    case FieldKind::Boolean: {
        if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
            const double d = sqlite3_column_double(st, index);
            const sqlite3_int64 v = type == SQLITE_INTEGER ? sqlite3_column_int64(st, index)
                                                           : sqlite3_int64(std::llround(d));
            // A value beyond 32 bits is left empty rather than shown wrong.
            if (v >= std::numeric_limits<std::int32_t>::min() &&
                v <= std::numeric_limits<std::int32_t>::max())
                rows.setInteger(row, column, std::int32_t(kind == FieldKind::Boolean ? v != 0 : v));
        } else if (type == SQLITE_TEXT && kind == FieldKind::Boolean) {
            const QString t = fromUtf8(sqlite3_column_text(st, index));
            if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                rows.setInteger(row, column, 1);
            else if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                rows.setInteger(row, column, 0);
        } else if (type == SQLITE_TEXT) {
            bool ok = false;
            const int v = fromUtf8(sqlite3_column_text(st, index)).trimmed().toInt(&ok);
            if (ok)
                rows.setInteger(row, column, v);
        }
        break;
    }
    case FieldKind::DateTime: {
        if (type == SQLITE_TEXT) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, index));
            DateTime d;
            if (DateTime::fromIsoUtf8(text, sqlite3_column_bytes(st, index), d))
                rows.setDays(row, column, d.days);
        } else if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
            rows.setDays(row, column, sqlite3_column_double(st, index)); // days since the zero date
        }
        break;
    }
    case FieldKind::Blob:
        break; // not shown, never written back
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, index));
        const int bytes = sqlite3_column_bytes(st, index);
        rows.setText(row, column,
                     interner ? interner->get(text, bytes) : QString::fromUtf8(text, bytes));
        break;
    }
    }
}

void SqliteEngine::readRows(const EngineTable& table, RowStore& rows) {
    const QString columns = columnList(table);
    // One read transaction for the count and the rows: the lock is waited for once, and no
    // writer comes in between.
    const WriteTurnstile::Turn turn(*turnstile_, busyTimeoutMs, WriteTurnstile::Reading);
    exec("BEGIN", QStringLiteral("read the table \"%1\"").arg(table.name));
    const auto endRead = [](sqlite3* db) {
        if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    };
    const std::unique_ptr<sqlite3, decltype(endRead)> readEnds(db_.get(), endRead);
    sqlite3_stmt* count =
        statement(QStringLiteral("SELECT count(*) FROM %1").arg(quotedIdentifier(table.name)));
    int rc = sqlite3_step(count);
    if (rc == SQLITE_ROW)
        rows.reserve(rows.rowCount() + sqlite3_column_int(count, 0));
    sqlite3_reset(count);
    if (rc != SQLITE_ROW)
        fail(rc, QStringLiteral("read the table \"%1\"").arg(table.name));
    sqlite3_stmt* st = statement(QStringLiteral("SELECT rowid%1%2 FROM %3")
                                     .arg(columns.isEmpty() ? QString() : QStringLiteral(","),
                                          columns, quotedIdentifier(table.name)));
    // Reset however the loop ends, so that no read lock outlives it.
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_reset)> resetAtEnd(st, &sqlite3_reset);
    std::vector<TextInterner> interners(table.columns.size());
    const int n = int(table.columns.size());
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        const int row = rows.append(sqlite3_column_int64(st, 0));
        for (int c = 0; c < n; ++c)
            readCell(st, c + 1, rows, row, c, &interners[std::size_t(c)]);
    }
    if (rc != SQLITE_DONE)
        fail(rc, QStringLiteral("read the table \"%1\"").arg(table.name));
}

bool SqliteEngine::readRow(const EngineTable& table, std::int64_t rowid, RowStore& rows, int row) {
    const WriteTurnstile::Turn turn(*turnstile_, busyTimeoutMs, WriteTurnstile::Reading);
    sqlite3_stmt* st = statement(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                                     .arg(columnList(table), quotedIdentifier(table.name)));
    sqlite3_bind_int64(st, 1, rowid);
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
        for (int c = 0; c < int(table.columns.size()); ++c) {
            rows.setNull(row, c);
            readCell(st, c, rows, row, c, nullptr);
        }
    }
    sqlite3_reset(st);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        fail(rc, QStringLiteral("read the table \"%1\"").arg(table.name));
    return rc == SQLITE_ROW;
}

void SqliteEngine::bind(sqlite3_stmt* st, int index, const Value& v, FieldKind kind) const {
    switch (v.type()) {
    case Value::Type::Null:
        sqlite3_bind_null(st, index);
        break;
    case Value::Type::Integer:
        sqlite3_bind_int(st, index, v.toInteger());
        break;
    case Value::Type::Boolean:
        sqlite3_bind_int(st, index, v.toBoolean() ? 1 : 0);
        break;
    case Value::Type::DateTime: {
        const QByteArray text = v.toDateTime().toIsoText().toUtf8();
        sqlite3_bind_text(st, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        break;
    }
    case Value::Type::Text: {
        const QString& t = v.toText();
        static const char16_t empty[] = u"";
        const void* data =
            t.isNull() ? static_cast<const void*>(empty) : static_cast<const void*>(t.utf16());
        sqlite3_bind_text16(st, index, data, int(t.size() * 2), SQLITE_TRANSIENT);
        break;
    }
    }
    (void)kind;
}

} // namespace kavelon
