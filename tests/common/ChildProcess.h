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
//   "append":      appends orders to "Журнал" for ever (or KAVELON_TEST_COUNT of them), printing
//                  each order's ID and weight as "ID weight" once its Post has returned;
//   "append-edit": as "append", then changes each order's sum once posted, printing
//                  "posted ID weight" and "edited ID sum" as each Post returns;
//   "rename":      renames the first client to KAVELON_TEST_TEXT and prints "done".
// busyTimeoutMs > 0 sets the child's busy timeout (KAVELON_TEST_BUSY_MS).
std::unique_ptr<QProcess> startChild(const QString& role, const QString& folder, int count = 0,
                                     const QString& text = {}, int busyTimeoutMs = 0);

// Runs a role in this process (the durability program starts itself this way too).
int runChildRole(const QString& role, const QString& folder, int count, const QString& text);

// One row as the parent read it from the child's report.
struct PostedOrder {
    int id;
    int weight;
};
// Reads whatever complete lines the child has printed so far.
void readPosted(QProcess& child, std::vector<PostedOrder>& posted, QByteArray& partial);

} // namespace kavelon::test
