#pragma once
// A second process on the same database file: the test binary started again in a role, chosen by
// the environment before main runs. It reports each row it has posted on its standard output,
// one line per row, after Post has returned.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

namespace kavelon::test {

// Roles:
//   "append":      says "opening" as it opens the file, then appends orders to "Журнал" for ever
//                  (or KAVELON_TEST_COUNT of them), printing each order's ID and weight as
//                  "ID weight" once its Post has returned;
//   "append-edit": as "append", then changes each order's sum once posted, printing
//                  "posted ID weight" and "edited ID sum" as each Post returns;
//   "rename":      renames the first client to KAVELON_TEST_TEXT and prints "done".
// busyTimeoutMs > 0 sets the child's busy timeout (KAVELON_TEST_BUSY_MS).
std::unique_ptr<QProcess> startChild(const QString& role, const QString& folder, int count = 0,
                                     const QString& text = {}, int busyTimeoutMs = 0);

// Runs a role in this process.
int runChildRole(const QString& role, const QString& folder, int count, const QString& text);

// One row as the parent read it from the child's report.
struct PostedOrder {
    int id;
    int weight;
};
// The complete lines the child has printed since the last call, without their ends; partial
// keeps the start of a line not yet ended.
QList<QByteArray> readLines(QProcess& child, QByteArray& partial);
// Reads whatever complete lines the child has printed so far.
void readPosted(QProcess& child, std::vector<PostedOrder>& posted, QByteArray& partial);

class TempDatabase;

// An "append" writer on the database's file killed with SIGKILL: once it has reported
// postsBeforeKill orders posted, or with 0 as soon as it says it is opening the file. Returns
// what is wrong with the file then, empty when nothing is: it passes SQLite's integrity check
// and holds every order whose Post had returned, with its weight, and at most the one more that
// was being posted. posted, when given, is set to the number of orders reported.
QString killedWriterProblem(const TempDatabase& db, int postsBeforeKill, int* posted = nullptr);

} // namespace kavelon::test
