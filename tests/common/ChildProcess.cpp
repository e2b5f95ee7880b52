#include "common/ChildProcess.h"

#include "common/SqliteReader.h"
#include "common/TempDatabase.h"
#include "data/Connection.h"
#include "data/SqliteEngine.h"
#include "data/TableCursor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <cstdlib>
#include <map>
#include <unistd.h>

namespace kavelon::test {

namespace {

// Straight to the pipe, unbuffered: a line is out the moment Post has returned.
void report(const QByteArray& line) {
    const QByteArray l = line + '\n';
    qsizetype done = 0;
    while (done < l.size()) {
        const ssize_t n = ::write(1, l.constData() + done, std::size_t(l.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

QString envText(const char* name) {
    return QString::fromLocal8Bit(qgetenv(name));
}

// A test binary started with KAVELON_TEST_CHILD set is a child: it plays its role and ends
// before the tests' main() runs.
const bool startedAsChild = [] {
    if (!qEnvironmentVariableIsSet("KAVELON_TEST_CHILD"))
        return false;
    const int code =
        runChildRole(envText("KAVELON_TEST_CHILD"), envText("KAVELON_TEST_FOLDER"),
                     envText("KAVELON_TEST_COUNT").toInt(), envText("KAVELON_TEST_TEXT"));
    std::_Exit(code);
}();

} // namespace

int runChildRole(const QString& role, const QString& folder, int count, const QString& text) {
    try {
        QDir::setCurrent(folder);
        if (qEnvironmentVariableIsSet("KAVELON_TEST_BUSY_MS"))
            SqliteEngine::setBusyTimeout(envText("KAVELON_TEST_BUSY_MS").toInt());
        if (role == QLatin1String("append"))
            report("opening");
        Connection connection;
        connection.Open();
        if (role == QLatin1String("append") || role == QLatin1String("append-edit")) {
            // "append-edit" changes each order once posted: "posted ID WEIGHT", "edited ID SUM".
            const bool edits = role == QLatin1String("append-edit");
            TableCursor journal(QStringLiteral("ADOTable1"));
            journal.setConnection(&connection);
            journal.setTableName(QStringLiteral("Журнал"));
            journal.Open();
            for (int i = 1; count == 0 || i <= count; ++i) {
                journal.Append();
                if (!edits)
                    journal.FieldByName(QStringLiteral("Клиент"))
                        .setAsString(QStringLiteral("Клиент %1").arg(getpid()));
                journal.FieldByName(QStringLiteral("Вес груза")).setAsInteger(i);
                journal.FieldByName(QStringLiteral("Сумма")).setAsInteger(i * 10);
                journal.Post();
                const QByteArray id =
                    QByteArray::number(journal.FieldByName(QStringLiteral("ID")).AsInteger());
                if (!edits) {
                    report(id + ' ' + QByteArray::number(i));
                    continue;
                }
                report("posted " + id + ' ' + QByteArray::number(i));
                journal.Edit();
                journal.FieldByName(QStringLiteral("Сумма")).setAsInteger(i * 10 + 1);
                journal.Post();
                report("edited " + id + ' ' + QByteArray::number(i * 10 + 1));
            }
            return 0;
        }
        if (role == QLatin1String("rename")) {
            TableCursor clients(QStringLiteral("ADOTable1"));
            clients.setConnection(&connection);
            clients.setTableName(QStringLiteral("Клиенты"));
            clients.Open();
            clients.Edit();
            clients.FieldByName(QStringLiteral("Наименование")).setAsString(text);
            clients.Post();
            report("done");
            return 0;
        }
        report("unknown role");
        return 2;
    } catch (const std::exception& e) {
        report(QByteArray("error: ") + e.what());
        return 1;
    }
}

std::unique_ptr<QProcess> startChild(const QString& role, const QString& folder, int count,
                                     const QString& text, int busyTimeoutMs) {
    auto child = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (busyTimeoutMs > 0)
        env.insert(QStringLiteral("KAVELON_TEST_BUSY_MS"), QString::number(busyTimeoutMs));
    env.insert(QStringLiteral("KAVELON_TEST_CHILD"), role);
    env.insert(QStringLiteral("KAVELON_TEST_FOLDER"), folder);
    env.insert(QStringLiteral("KAVELON_TEST_COUNT"), QString::number(count));
    env.insert(QStringLiteral("KAVELON_TEST_TEXT"), text);
    child->setProcessEnvironment(env);
    child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child->start(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath(), {});
    child->waitForStarted();
    return child;
}

QList<QByteArray> readLines(QProcess& child, QByteArray& partial) {
    partial += child.readAllStandardOutput();
    QList<QByteArray> lines;
    qsizetype end;
    while ((end = partial.indexOf('\n')) >= 0) {
        lines << partial.left(end);
        partial.remove(0, end + 1);
    }
    return lines;
}

void readPosted(QProcess& child, std::vector<PostedOrder>& posted, QByteArray& partial) {
    for (const QByteArray& line : readLines(child, partial)) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2)
            posted.push_back({parts[0].toInt(), parts[1].toInt()});
    }
}

QString killedWriterProblem(const TempDatabase& db, int postsBeforeKill, int* postedCount) {
    auto child = startChild(QStringLiteral("append"), db.folder());
    std::vector<PostedOrder> posted;
    QByteArray partial;
    if (postsBeforeKill == 0) {
        bool opening = false;
        while (!opening && child->waitForReadyRead(30000))
            opening = readLines(*child, partial).contains("opening");
        if (!opening)
            return QStringLiteral("the writer did not start");
    }
    while (int(posted.size()) < postsBeforeKill && child->waitForReadyRead(30000))
        readPosted(*child, posted, partial);
    if (int(posted.size()) < postsBeforeKill)
        return QStringLiteral("the writer stopped reporting after %1 orders").arg(posted.size());
    child->kill();
    child->waitForFinished(30000);
    readPosted(*child, posted, partial);
    if (postedCount)
        *postedCount = int(posted.size());

    try {
        // Opened for writing, as the next program opens it: a journal left by the kill is rolled
        // back first.
        const SqliteReader file(db.path(), SqliteReader::Access::ReadWrite);
        const QStringList integrity = file.column(QStringLiteral("PRAGMA integrity_check"));
        if (integrity != QStringList{QStringLiteral("ok")})
            return QStringLiteral("integrity check: ") + integrity.join(QLatin1Char(' '));
        std::map<int, int> stored;
        for (const QStringList& row :
             file.texts(QStringLiteral("SELECT \"ID\", \"Вес груза\" FROM \"Журнал\"")))
            stored[row[0].toInt()] = row[1].toInt();
        for (const PostedOrder& o : posted) {
            if (!stored.count(o.id))
                return QStringLiteral("order %1 was posted but is not in the file").arg(o.id);
            if (stored[o.id] != o.weight)
                return QStringLiteral("order %1 is in the file with weight %2, posted with %3")
                    .arg(o.id)
                    .arg(stored[o.id])
                    .arg(o.weight);
        }
        if (stored.size() > posted.size() + 1)
            return QStringLiteral("%1 orders in the file, %2 posted")
                .arg(stored.size())
                .arg(posted.size());
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace kavelon::test
