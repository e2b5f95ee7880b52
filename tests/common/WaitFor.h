#pragma once
// Waiting on a condition, with the events of this process handled meanwhile. The limit only
// keeps a broken test from hanging: on a sound run the condition decides, never the clock.
// Use as ASSERT_TRUE(waitFor([&] { return …; })) so that a condition never met fails the test.
// Not QTRY_VERIFY or QTRY_COMPARE: outside QTest's own runner their failure only returns from
// the test function, and GoogleTest counts the test as passed.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace kavelon::test {

template <typename Condition> bool waitFor(Condition condition, int limitMs = 60000) {
    QDeadlineTimer deadline(limitMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

} // namespace kavelon::test
