#pragma once
// Driving a modal showing from inside it: the call that starts the showing returns only when it
// has ended, so the test's actions run from a timer in the showing's own message loop.

#include <QDeadlineTimer>
#include <QString>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace kavelon::test {

// Calls show and, inside the showing it starts, act once ready() holds. Returns whether act ran;
// when it did not, the test fails, "<what> was never shown". Nothing is left waiting after show
// returns, so act never runs later in another test. ready is asked every few milliseconds; the
// limit only keeps a broken test from waiting for ever.
inline bool actInShowing(const QString& what, const std::function<bool()>& ready,
                         const std::function<void()>& show, const std::function<void()>& act,
                         int limitMs = 60000) {
    bool ran = false, gaveUp = false;
    const QDeadlineTimer deadline(limitMs);
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (ready()) {
            poll.stop();
            ran = true;
            act();
        } else if (deadline.hasExpired()) {
            poll.stop();
            gaveUp = true;
            ADD_FAILURE() << qPrintable(what) << " was never shown";
        }
    });
    poll.start();
    show();
    poll.stop();
    if (!ran && !gaveUp)
        ADD_FAILURE() << qPrintable(what) << " was never shown";
    return ran;
}

} // namespace kavelon::test
